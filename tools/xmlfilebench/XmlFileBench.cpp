// xml-file-bench [MEGABYTES]: times reading and writing a generated XML file in each kind
// of encoding the file layer handles, and prints the time and throughput of each. The
// default, 15 MB of text, keeps its UTF-16 files under the 32 MB files may have.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "xml/TextFile.h"

namespace {

// A workspace-like document of about `bytes` bytes, with one accented letter per item.
std::string GenerateDocument(const std::string& declaration, size_t bytes) {
  std::string text = declaration + "<config>\r\n";
  char item[128];
  for (int i = 0; text.size() < bytes; ++i) {
    snprintf(item, sizeof item, "  <item guid=\"%08x-0000-caf\xC3\xA9\" name=\"button %d\"/>\r\n", i, i);
    text += item;
  }
  return text + "</config>\r\n";
}

template <typename F>
void Measure(const char* name, size_t bytes, F&& work) {
  const auto start = std::chrono::steady_clock::now();
  const bool ok = work();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  printf("%-26s %9.1f ms  %8.1f MB/s%s\n", name, ms, bytes / 1e6 / (ms / 1000), ok ? "" : "  FAILED");
}

void Bench(const char* label, const std::string& declaration, unsigned markFlags, size_t bytes) {
  const std::string path = (std::filesystem::temp_directory_path() / "xml_file_bench.xml").string();
  const std::string text = GenerateDocument(declaration, bytes);
  std::string result, back;
  unsigned flags = markFlags;
  Measure((std::string(label) + " write").c_str(), text.size(),
          [&] { return WriteTextFile(text, path.c_str(), result, flags); });
  flags = 0;
  Measure((std::string(label) + " read").c_str(), text.size(),
          [&] { return ReadTextFile(path.c_str(), back, result, flags) && back == text; });
  std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t bytes = static_cast<size_t>(argc > 1 ? atof(argv[1]) : 15) * 1000000;
  printf("documents of %zu bytes of UTF-8 text\n", bytes);
  Bench("UTF-8", "", 0, bytes);
  Bench("UTF-8 with mark", "", 0x4, bytes);
  Bench("UTF-16LE with mark", "", 0x1, bytes);
  Bench("UTF-16BE with mark", "", 0x80, bytes);
  Bench("ISO-8859-1 declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n", 0, bytes);
  return 0;
}
