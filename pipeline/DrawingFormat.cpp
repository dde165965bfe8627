#include "pipeline/DrawingFormat.h"

#include <cstring>

namespace {

bool StartsWith(const unsigned char* bytes, size_t count, const char* prefix) {
  const size_t length = strlen(prefix);
  return count >= length && memcmp(bytes, prefix, length) == 0;
}

bool Holds(const unsigned char* bytes, size_t count, const char* text) {
  const size_t length = strlen(text);
  for (size_t at = 0; at + length <= count; ++at) {
    if (memcmp(bytes + at, text, length) == 0) return true;
  }
  return false;
}

}  // namespace

DrawingFormat FormatOf(const unsigned char* bytes, size_t count) {
  if (StartsWith(bytes, count, "\xC5\xD0\xD3\xC6")) return FORMAT_EPS;
  size_t at = StartsWith(bytes, count, "\xEF\xBB\xBF") ? 3 : 0;
  while (at < count && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n')) ++at;
  const unsigned char* text = bytes + at;
  const size_t left = count - at;
  if (StartsWith(text, left, "%PDF-")) return FORMAT_PDF;
  if (StartsWith(text, left, "%!")) return FORMAT_EPS;
  if (StartsWith(text, left, "<") && Holds(text, left, "<svg")) return FORMAT_SVG;
  return FORMAT_HPGL;
}

std::string NotHpglText(DrawingFormat format) {
  const char* what = format == FORMAT_SVG   ? "an SVG drawing"
                     : format == FORMAT_PDF ? "a PDF document"
                                            : "an EPS or PostScript drawing";
  return std::string("is ") + what +
         ", not HPGL: save it from your drawing program as HPGL (in Inkscape: Save a Copy, \"HP Graphics Language "
         "file\")";
}
