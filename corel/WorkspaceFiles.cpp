#include "corel/WorkspaceFiles.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "base/StdioFile.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool SameContent(const std::string& a, const std::string& b) {
  const FilePointer first(OpenStdioFile(a.c_str(), "rb")), second(OpenStdioFile(b.c_str(), "rb"));
  if (!first || !second) return false;
  char one[4096], other[4096];
  for (;;) {
    const size_t got = std::fread(one, 1, sizeof one, first.get());
    if (std::fread(other, 1, sizeof other, second.get()) != got || std::memcmp(one, other, got) != 0) return false;
    if (got < sizeof one) return !std::ferror(first.get()) && !std::ferror(second.get());
  }
}
