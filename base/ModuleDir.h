// The folder of the running program, where its settings file and shipped files lie.
#pragma once

#include <string>

// The full path of the program's executable cut after its last separator (which is kept),
// so that a file name can be appended directly; "" when it cannot be found. On Windows the
// path is read into 256 UTF-16 units, as the dialog program always has, and given as UTF-8.
std::string GetModuleDir();

// The folder part of an executable path read into a buffer of `bufferSize` bytes: at most
// bufferSize - 1 characters of `path` are kept, then cut after the last `separator`,
// which is kept; "" when the kept text holds none.
std::string ModuleFolderOf(const std::string& path, size_t bufferSize, char separator);
