// Drawings that users save in a format other than HPGL and hand to the program by mistake,
// told apart by their first bytes so that they can be named instead of read as commands.
#pragma once

#include <cstddef>
#include <string>

enum DrawingFormat : int {
  FORMAT_HPGL = 0,  // anything else: read as commands
  FORMAT_SVG,
  FORMAT_PDF,
  FORMAT_EPS,  // Encapsulated PostScript, or PostScript itself
};

// The format that `bytes`, the first `count` bytes of a file, show. SVG: after an optional
// UTF-8 byte order mark and white space, a "<" with "<svg" among these bytes; PDF: "%PDF-";
// EPS: "%!", or the binary header that wraps an EPS file (C5 D0 D3 C6).
DrawingFormat FormatOf(const unsigned char* bytes, size_t count);

// What to tell the user after the file's name, for a format other than FORMAT_HPGL:
// "is an SVG drawing, not HPGL: save it from your drawing program as HPGL (...)".
std::string NotHpglText(DrawingFormat format);
