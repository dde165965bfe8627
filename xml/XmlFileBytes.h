// Moving a document's text between a file and memory. This version reads and writes the
// bytes as they are; the same two calls are the place where encodings are handled.
#pragma once

#include <string>

// Reads the whole file into `text`; `result` is emptied and then takes the entries
// ("read", or "file_error" on failure). The mode bits of `flags` (0x10, 0x20, 0x40)
// are cleared. False when the file cannot be read.
bool ReadTextFile(const char* path, std::string& text, std::string& result, unsigned& flags);

// Writes `text` to the file (appending with flag 0x40); `result` as in reading. False
// when the file cannot be written.
bool WriteTextFile(const std::string& text, const char* path, std::string& result, unsigned& flags);
