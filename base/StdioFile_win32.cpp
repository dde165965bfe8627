#include "base/StdioFile.h"
#include "base/WideText.h"

std::FILE* OpenStdioFile(const char* path, const char* mode) {
  return _wfopen(WideFromUtf8(path).c_str(), WideFromUtf8(mode).c_str());
}
