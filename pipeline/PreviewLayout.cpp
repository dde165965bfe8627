#include "PreviewLayout.h"

#include <cstdlib>

#include "Geometry.h"

namespace {

// Plotter units to points (1/72 inch; 1016 units to the inch), truncating.
int64_t ToPoints(int64_t units) { return units * 72 / 1016; }

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

std::vector<PreviewStroke> LayoutPreview(PointList points, const JobBounds& bounds, int width, int height) {
  std::vector<PreviewStroke> strokes;
  if (!points) return strokes;
  const int availW = width - 13;
  const int availH = height - 13;

  // Drawn flipped, so that the job's largest y is at the top.
  const int64_t flip = llabs(static_cast<int64_t>(bounds.maxY) - bounds.minY);
  const auto flipped = [flip](int32_t y) { return TruncToCoord(static_cast<double>(flip - y)); };
  // The flip reverses the order of y, so the flipped bounds come from the unflipped ones.
  JobBounds b = bounds;
  ComputeBounds(points, b);
  const int32_t top = b.maxY;
  b.maxY = flipped(b.minY);
  b.minY = flipped(top);
  const int64_t eW = ToPoints(llabs(static_cast<int64_t>(b.maxX) - b.minX));
  const int64_t eH = ToPoints(llabs(static_cast<int64_t>(b.maxY) - b.minY));

  const double s = FitScale(availW, availH, eW, eH);
  const int ox = TruncToCoord(availW / 2 - eW * s * 0.5) + 2;
  const int oy = TruncToCoord(availH / 2 - eH * s * 0.5) + 2;
  const double f = s == 0 ? 1.0 : s;
  for (const PlotPoint* p = points; p; p = p->next) {
    if (p->kind != KIND_PEN_UP && p->kind != KIND_PEN_DOWN) continue;
    const int64_t px = TruncToCoord(f * p->x + 0.55);
    const int64_t py = TruncToCoord(f * flipped(p->y) + 0.55);
    strokes.push_back(PreviewStroke{p->kind == KIND_PEN_DOWN, TruncToCoord(static_cast<double>(ToPoints(px) + ox)),
                                    TruncToCoord(static_cast<double>(ToPoints(py) + oy))});
  }
  return strokes;
}
