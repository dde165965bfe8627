#include "PreviewSvg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CollinearMerge.h"

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

std::string PreviewRunPaths(const std::vector<PreviewStroke>& strokes, double tolerance) {
  std::string paths;
  std::vector<PixelPoint> run{{0, 0}};
  auto flush = [&] {
    // A run of moves alone draws nothing.
    if (run.size() > 1) {
      const std::vector<PixelPoint> drawn = MergeCollinear(run, tolerance);
      paths += "<path fill=\"none\" stroke=\"red\" stroke-width=\"1\" d=\"M " + PointText(drawn.front());
      for (size_t i = 1; i < drawn.size(); ++i) paths += " L " + PointText(drawn[i]);
      paths += "\"/>\n";
    }
    run.clear();
  };
  for (const PreviewStroke& s : strokes) {
    const PixelPoint p{static_cast<double>(s.x), static_cast<double>(s.y)};
    if (!s.line) flush();
    run.push_back(p);
  }
  flush();
  return paths;
}

std::string PreviewSvg(const std::vector<PreviewStroke>& strokes, int width, int height) {
  const std::string w = std::to_string(width), h = std::to_string(height);
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " +
         h + "\">\n<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n" + PreviewRunPaths(strokes, 0) +
         "</svg>\n";
}
