#include "XmlFileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "XmlResult.h"

namespace {

const unsigned ModeBits = 0x10 | 0x20 | 0x40;

bool FileError(std::string& result, std::FILE* file) {
  const int error = errno;
  if (file) fclose(file);
  WriteResultEntry(result, "file_error", strerror(error), ResultMessage | ResultNumber, error);
  return false;
}

}  // namespace

bool ReadTextFile(const char* path, std::string& text, std::string& result, unsigned& flags) {
  result.clear();
  text.clear();
  flags &= ~ModeBits;
  std::FILE* file = fopen(path, "rb");
  if (!file) return FileError(result, nullptr);
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  if (ferror(file)) return FileError(result, file);
  fclose(file);
  WriteResultEntry(result, "read", "UTF-8", ResultEncoding | ResultLength, static_cast<long long>(text.size()));
  return true;
}

bool WriteTextFile(const std::string& text, const char* path, std::string& result, unsigned& flags) {
  result.clear();
  std::FILE* file = fopen(path, (flags & 0x40) ? "ab" : "wb");
  flags &= ~ModeBits;
  if (!file) return FileError(result, nullptr);
  if (fwrite(text.data(), 1, text.size(), file) != text.size()) return FileError(result, file);
  if (fclose(file) != 0) return FileError(result, nullptr);
  WriteResultEntry(result, "write", "UTF-8", ResultEncoding | ResultLength, static_cast<long long>(text.size()));
  return true;
}
