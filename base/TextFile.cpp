#include "base/TextFile.h"

#include <cerrno>

#include "base/StdioFile.h"

int WriteTextFile(const std::string& path, const std::string& text) {
  errno = 0;
  std::FILE* file = OpenStdioFile(path.c_str(), "wb");
  if (!file) return errno;
  int error = fwrite(text.data(), 1, text.size(), file) == text.size() ? 0 : errno;
  errno = 0;
  if (fclose(file) != 0 && error == 0) error = errno;
  return error;
}
