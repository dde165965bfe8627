#include "pipeline/PreviewLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Plotter units to points (1/72 inch; 1016 units to the inch), truncating.
int64_t ToPoints(int64_t units) { return units * 72 / 1016; }

// The same for a coordinate, as the preview converts one for every point: 72/1016 is
// 9/127, and below 238,609,294 units nine times the value fits 32 bits, whose division a
// 32-bit build does in one instruction instead of a call.
int64_t CoordToPoints(int32_t units) {
  const int32_t fits = 238609294;
  if (units < fits && units > -fits) return units * 9 / 127;
  return ToPoints(static_cast<int64_t>(units));
}

// Pixels per point: the larger scale at which eW x eH points still fit availW x availH.
double FitScale(int availW, int availH, int64_t eW, int64_t eH) {
  if (eW == 0 && eH == 0) return 0;
  if (eH == 0) return static_cast<double>(availW) / eW;
  if (eW == 0) return static_cast<double>(availH) / eH;
  double s;
  if (availW - eW > availH - eH) {
    s = static_cast<double>(availH) / eH;
    if (s * eW > availW) s *= availW / (s * eW);
  } else {
    s = static_cast<double>(availW) / eW;
    if (s * eH > availH) s *= availH / (s * eH);
  }
  return s;
}

}  // namespace

CPreviewFrame::CPreviewFrame(PointList points, const JobBounds& bounds, int width, int height,
                             const std::vector<IntPoint>& alsoFit)
    : m_nFlip(llabs(static_cast<int64_t>(bounds.maxY) - bounds.minY)) {
  const int availW = width - 13;
  const int availH = height - 13;
  // The flip reverses the order of y, so the flipped bounds come from the unflipped ones.
  JobBounds b = bounds;
  ComputeBounds(points, b);
  for (const IntPoint& p : alsoFit) {
    b = JobBounds{std::min(b.minX, p.x), std::max(b.maxX, p.x), std::max(b.maxY, p.y), std::min(b.minY, p.y)};
    m_nShiftX = std::min<int64_t>(m_nShiftX, p.x);
    m_nShiftY = std::min<int64_t>(m_nShiftY, m_nFlip - p.y);
  }
  const int32_t top = b.maxY;
  b.maxY = ClampToCoord(m_nFlip - b.minY);
  b.minY = ClampToCoord(m_nFlip - top);
  const int64_t eW = ToPoints(llabs(static_cast<int64_t>(b.maxX) - b.minX));
  const int64_t eH = ToPoints(llabs(static_cast<int64_t>(b.maxY) - b.minY));

  const double s = FitScale(availW, availH, eW, eH);
  m_nOriginX = TruncToCoord(availW / 2 - eW * s * 0.5) + 2;
  m_nOriginY = TruncToCoord(availH / 2 - eH * s * 0.5) + 2;
  m_fScale = s == 0 ? 1.0 : s;
}

IntPoint CPreviewFrame::Pixel(int32_t x, int32_t y) const {
  // The sums are integers well below 2^53, which a double holds exactly: clamping them is
  // what truncating them as doubles gives.
  const int32_t px = TruncToCoord(m_fScale * ClampToCoord(x - m_nShiftX) + 0.55);
  const int32_t py = TruncToCoord(m_fScale * ClampToCoord(m_nFlip - y - m_nShiftY) + 0.55);
  return IntPoint{ClampToCoord(CoordToPoints(px) + m_nOriginX), ClampToCoord(CoordToPoints(py) + m_nOriginY)};
}

PixelPoint CPreviewFrame::Exact(int32_t x, int32_t y) const {
  const double pointsPerUnit = 72.0 / 1016;
  return PixelPoint{m_fScale * static_cast<double>(x - m_nShiftX) * pointsPerUnit + m_nOriginX,
                    m_fScale * static_cast<double>(m_nFlip - y - m_nShiftY) * pointsPerUnit + m_nOriginY};
}

double CPreviewFrame::MillimetresPerPixel() const {
  // A control under 14 pixels has a usable area below zero, which turns the scale over.
  return std::fabs(1016.0 / (72 * m_fScale * PLOT_UNITS_PER_MM));
}

CPreviewLayout::CPreviewLayout(PointList points, const JobBounds& bounds, int width, int height,
                               const std::vector<IntPoint>& alsoFit)
    : m_pPoints(points), m_frame(points, bounds, width, height, alsoFit) {}

int32_t MediaEdgeX(const JobBounds& bounds, int32_t mediaWidth) {
  return ClampToCoord(static_cast<int64_t>(bounds.maxX) - mediaWidth);
}

std::vector<PreviewStroke> PreviewMarkStrokes(const CPreviewFrame& frame, const std::vector<IntPoint>& marks) {
  std::vector<PreviewStroke> strokes;
  for (const IntPoint& mark : marks) {
    const IntPoint c = frame.Pixel(mark.x, mark.y);
    strokes.push_back(PreviewStroke{false, c.x - PREVIEW_MARK_ARM, c.y});
    strokes.push_back(PreviewStroke{true, c.x + PREVIEW_MARK_ARM, c.y});
    strokes.push_back(PreviewStroke{false, c.x, c.y + PREVIEW_MARK_ARM});
    strokes.push_back(PreviewStroke{true, c.x, c.y - PREVIEW_MARK_ARM});
  }
  return strokes;
}

CPreviewLayout::CIterator::CIterator(const CPreviewFrame& frame, const PlotPoint* at)
    : m_pFrame(&frame), m_pAt(at), m_stroke{false, 0, 0} {
  SkipToStroke();
}

CPreviewLayout::CIterator& CPreviewLayout::CIterator::operator++() {
  m_pAt = m_pAt->next;
  SkipToStroke();
  return *this;
}

void CPreviewLayout::CIterator::SkipToStroke() {
  while (m_pAt && m_pAt->kind != KIND_PEN_UP && m_pAt->kind != KIND_PEN_DOWN) m_pAt = m_pAt->next;
  if (!m_pAt) return;
  const IntPoint pixel = m_pFrame->Pixel(m_pAt->x, m_pAt->y);
  m_stroke = PreviewStroke{m_pAt->kind == KIND_PEN_DOWN, pixel.x, pixel.y};
}
