#include "PreviewSvg.h"

std::string PreviewSvg(const std::vector<PreviewStroke>& strokes, int width, int height) {
  const std::string w = std::to_string(width), h = std::to_string(height);
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                    "\" viewBox=\"0 0 " + w + " " + h + "\">\n<rect width=\"" + w + "\" height=\"" + h +
                    "\" fill=\"white\"/>\n";
  std::string path;
  auto flush = [&] {
    // A run of moves alone draws nothing.
    if (path.find(" L ") != std::string::npos)
      svg += "<path fill=\"none\" stroke=\"red\" stroke-width=\"1\" d=\"" + path + "\"/>\n";
    path.clear();
  };
  for (const PreviewStroke& s : strokes) {
    if (!s.line) flush();
    if (path.empty()) path = s.line ? "M 0 0" : "M " + std::to_string(s.x) + " " + std::to_string(s.y);
    if (s.line) path += " L " + std::to_string(s.x) + " " + std::to_string(s.y);
  }
  flush();
  return svg + "</svg>\n";
}
