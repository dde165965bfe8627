// Writing a small text whole to a file, as a drawing made by the program itself is handed
// to the reader that loads every drawing.
#pragma once

#include <string>

// Creates or replaces the file at the UTF-8 `path` with `text`. 0; the error number of the
// open, write or close that failed.
int WriteTextFile(const std::string& path, const std::string& text);
