#include "cli/PreviewSvg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/CollinearMerge.h"

std::string PixelText(double value) {
  // Far beyond any picture, a place only has to stay a number that fits the text.
  const double limit = 1e12;
  double rounded = !std::isnan(value) ? std::round(std::max(-limit, std::min(limit, value)) * 100) / 100 : 0;
  if (rounded == 0) rounded = 0;  // no "-0"
  char text[48];
  int length = snprintf(text, sizeof text, "%.2f", rounded);
  while (length > 0 && text[length - 1] == '0') --length;
  if (length > 0 && text[length - 1] == '.') --length;
  return std::string(text, length);
}

std::string PointText(PixelPoint p) { return PixelText(p.x) + " " + PixelText(p.y); }

std::string MediaEdgeSvg(const CPreviewFrame& frame, const JobBounds& bounds, int32_t mediaWidth, int height) {
  if (mediaWidth <= 0) return "";
  const double x = frame.Exact(MediaEdgeX(bounds, mediaWidth), 0).x;
  return "<path id=\"media-edge\" fill=\"none\" stroke=\"black\" stroke-width=\"1\" stroke-dasharray=\"4 3\" d=\"M " +
         PointText(PixelPoint{x, 0}) + " L " + PointText(PixelPoint{x, static_cast<double>(height)}) + "\"/>\n";
}

namespace {

// Writes each run of the preview as one path in `colour`, its points thinned within
// `tolerance`.
class CRunPaths {
 public:
  CRunPaths(double tolerance, const char* colour) : m_fTolerance(tolerance), m_colour(colour) {}

  void Start(int x, int y) { m_run.assign(1, PixelPoint{static_cast<double>(x), static_cast<double>(y)}); }
  void LineTo(int x, int y) { m_run.push_back(PixelPoint{static_cast<double>(x), static_cast<double>(y)}); }
  void End() {
    const std::vector<PixelPoint> drawn = MergeCollinear(m_run, m_fTolerance);
    m_sPaths += "<path fill=\"none\" stroke=\"" + std::string(m_colour) + "\" stroke-width=\"1\" d=\"M " +
                PointText(drawn.front());
    for (size_t i = 1; i < drawn.size(); ++i) m_sPaths += " L " + PointText(drawn[i]);
    m_sPaths += "\"/>\n";
  }

  std::string m_sPaths;

 private:
  double m_fTolerance;
  const char* m_colour;
  std::vector<PixelPoint> m_run;
};

}  // namespace

std::string PreviewRunPaths(const std::vector<PreviewStroke>& strokes, double tolerance, const char* colour) {
  CRunPaths runs(tolerance, colour);
  ForEachPreviewRun(strokes, runs);
  return runs.m_sPaths;
}

std::string PreviewSvg(const std::vector<PreviewStroke>& strokes, int width, int height,
                       const std::vector<PreviewStroke>& marks) {
  const std::string w = std::to_string(width), h = std::to_string(height);
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " +
         h + "\">\n<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n" + PreviewRunPaths(strokes, 0) +
         PreviewRunPaths(marks, 0, "blue") + "</svg>\n";
}
