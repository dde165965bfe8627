// xml-nesting-bench [COUNT...]: times the parse of texts that nest COUNT elements deep and
// end them badly or not at all, the shapes a damaged or hostile workspace can take. Each
// COUNT (default 100000 and 1000000) is timed in every shape; a parse that grows faster
// than the text shows here as a time that grows faster than COUNT.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "xml/XmlDocument.h"

namespace {

std::string Repeat(const char* piece, long count) {
  std::string text;
  for (long i = 0; i < count; ++i) text += piece;
  return text;
}

struct Shape {
  const char* name;
  std::string (*make)(long count);
};

const Shape SHAPES[] = {
    {"nested, ended in order", [](long n) { return Repeat("<a>", n) + Repeat("</a>", n); }},
    {"nested, never ended", [](long n) { return Repeat("<a>", n); }},
    {"nested, ended by the outermost", [](long n) { return "<r>" + Repeat("<a>", n) + "</r>"; }},
    {"lone end tags under nested", [](long n) { return Repeat("<a>", n) + Repeat("</b>", n); }},
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<long> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(atol(argv[i]));
  if (counts.empty()) counts = {100000, 1000000};
  printf("%-32s %10s %12s %12s\n", "shape", "count", "bytes", "parse ms");
  for (long count : counts) {
    for (const Shape& shape : SHAPES) {
      const std::string text = shape.make(count);
      CXmlDocument doc;
      const auto start = std::chrono::steady_clock::now();
      doc.SetDocument(text.c_str());
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      printf("%-32s %10ld %12zu %12.1f\n", shape.name, count, text.size(), ms);
      fflush(stdout);
    }
  }
  return 0;
}
