#include "base/StdioFile.h"

std::FILE* OpenStdioFile(const char* path, const char* mode) { return std::fopen(path, mode); }
