#include "cli/JobIdentity.h"

#include <cstdint>
#include <cstdio>

#include "base/StdioFile.h"

std::string JobIdentity(const std::string& path) {
  std::FILE* file = OpenStdioFile(path.c_str(), "rb");
  if (!file) return "";
  uint64_t hash = 14695981039346656037ULL;
  unsigned char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
    for (size_t i = 0; i < got; ++i) hash = (hash ^ buffer[i]) * 1099511628211ULL;
  }
  const bool failed = ferror(file) != 0;
  fclose(file);
  if (failed) return "";
  char text[13];
  snprintf(text, sizeof text, "%012llx", static_cast<unsigned long long>(hash >> 16));
  return text;
}
