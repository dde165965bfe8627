// Moving a document's text between a file and memory. In memory the text is UTF-8; the
// file keeps its own encoding, found on reading from its byte order mark, its declaration
// or its bytes, and written back on saving:
//
//   EF BB BF 3C 61 2F 3E      "bom", "read" encoding="UTF-8"
//   61 E9 20 62               "read", "converted_to", "utf8_detection": not UTF-8, so ANSI
//   FE FF 00 3C 00 61 ...     "bom", "read", "endian_swap", "converted_to"
//   3C 00 61 00 2F 00 ...     "read" encoding="UTF-16LE", "converted_to": UTF-16 known by its "<"
//
// Every step is written as an entry into `result` (emptied first). `flags` are the
// document's flags: the byte-order-mark bits (1, 4, 0x80) found by reading come back out
// and make writing put the same mark first; the mode bits (0x10, 0x20, 0x40) are cleared.
#pragma once

#include <string>

// Files larger than this are refused: 32 MB, far beyond any workspace (real ones are a few
// hundred kilobytes), and little enough that a 32-bit process holds its document.
const long TEXT_FILE_SIZE_MAX = 32L * 1024 * 1024;

// The error number given for a file refused as larger than TEXT_FILE_SIZE_MAX: no system
// call failed, so no system number fits.
const int TEXT_FILE_TOO_LARGE = -1;

// Reads the whole file into `text` as UTF-8. False, with a "file_error" entry carrying the
// system's message and number, when the file cannot be opened or read, or is larger than
// TEXT_FILE_SIZE_MAX. `error`, when given, is set to the system's number of the failed call
// (TEXT_FILE_TOO_LARGE for a file over the limit), 0 on success. A UTF-16 file without a mark is known by its
// first character, "<", and saved without a mark again (DocNoMark). When saving the text
// unchanged would not give the file back (zero bytes dropped, bytes that did not decode
// replaced, text saved in another encoding), `flags` gets DocReadChanged.
bool ReadTextFile(const char* path, std::string& text, std::string& result, unsigned& flags, int* error = nullptr);

// Writes the UTF-8 `text` to the file in the encoding of the byte-order-mark bits or,
// without them, the one the text declares (UTF-8 when none); appends with flag 0x40.
// Without it the file is replaced whole: written beside it and renamed over it, so a
// failure half way leaves it as it was. False, with a "file_error" entry, when the file
// cannot be opened or written; `error` as for reading.
bool WriteTextFile(const std::string& text, const char* path, std::string& result, unsigned& flags,
                   int* error = nullptr);
