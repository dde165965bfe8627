// Times the XML document library on a workspace-like file of about 5 MB beside a
// reference parser in the same run: parse, find a path five levels deep, add three
// elements with attributes, save. Prints the median of several runs in milliseconds,
// then the time of one result-log entry while logs are written full.
//
//   xml-bench [runs] [folder for the saved files]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "xml/XmlDocument.h"
#include "xml/XmlResult.h"

namespace {

std::string Guid(int n) {
  char text[40];
  snprintf(text, sizeof text, "%08x-e5ab-44d8-a452-%012d", n * 2654435761u, n);
  return text;
}

// A workspace of dock bars, command-bar definitions and items with bitmaps, until it
// holds at least `size` bytes. The path uiConfig/items/itemGroup/itemData/userSmallBitmap
// leads to the very last group and item, whose names differ from their siblings'.
std::string MakeWorkspace(size_t size) {
  std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<uiConfig version=\"17\">\r\n <frame>\r\n";
  for (int d = 0; d < 40; ++d) {
    x += "  <dockBar position=\"" + std::string(d % 5 ? "top" : "float") + "\" index=\"" + std::to_string(d) +
         "\">\r\n   <cmdBarLane>\r\n";
    for (int c = 0; c < 10; ++c)
      x += "    <commandBar guidRef=\"" + Guid(d * 10 + c) + "\" floatX=\"200\" floatY=\"200\" visible=\"true\"/>\r\n";
    x += "   </cmdBarLane>\r\n  </dockBar>\r\n";
  }
  x += " </frame>\r\n <commandBars>\r\n";
  for (int b = 0; b < 2000; ++b) {
    x += "  <commandBarData guid=\"" + Guid(b) +
         "\" type=\"toolbar\" nonLocalizableName=\"Bar\" userCaption=\"Bar &amp; more\" userCreated=\"true\">\r\n"
         "   <container floatWidth=\"32767\">\r\n";
    for (int i = 0; i < 4; ++i) x += "    <item guidRef=\"" + Guid(b * 4 + i) + "\"/>\r\n";
    x += "   </container>\r\n  </commandBarData>\r\n";
  }
  x += " </commandBars>\r\n <items>\r\n";
  const std::string bitmap(600, 'Q');
  int n = 0;
  while (x.size() < size) {
    x += "  <itemGroup>\r\n";
    for (int i = 0; i < 50; ++i, ++n)
      x += "   <itemData guid=\"" + Guid(n) + "\" dynamicCommand=\"Macro.Command" + std::to_string(n) +
           "\" dynamicCategory=\"" + Guid(n + 7) +
           "\"><userSmallBitmap xmlns:dt=\"urn:schemas\" dt:dt=\"bin.base64\">" + bitmap +
           "</userSmallBitmap></itemData>\r\n";
    x += "  </itemGroup>\r\n";
  }
  x += "  <finalGroup>\r\n   <itemData guid=\"a\"/>\r\n   <finalItem guid=\"b\"><userSmallBitmap>QQ==</userSmallBitmap>"
       "</finalItem>\r\n  </finalGroup>\r\n </items>\r\n</uiConfig>\r\n";
  return x;
}

const char* const Path[] = {"uiConfig", "items", "finalGroup", "finalItem", "userSmallBitmap"};

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Times {
  std::vector<double> parse, find, add, save;
};

void RunOurs(const std::string& text, const std::string& path, Times& t) {
  CXmlDocument doc;
  t.parse.push_back(Milliseconds([&] { doc.SetDocument(text.c_str()); }));
  bool found = true;
  t.find.push_back(Milliseconds([&] {
    doc.ResetPosition();
    for (size_t i = 0; i < 5 && found; ++i) found = (i == 0 || doc.EnterElement()) && doc.FindElement(Path[i]);
  }));
  if (!found) {
    fprintf(stderr, "xml-bench: path not found by CXmlDocument\n");
    exit(1);
  }
  doc.LeaveElement();
  t.add.push_back(Milliseconds([&] {
    for (int i = 0; i < 3; ++i) {
      doc.AddElement("commandBar", nullptr, 0);
      const int e = doc.CurrentElement();
      doc.SetAttribute(e, "guidRef", "cce012b7-e5ab-44d8-a452-db398ff869a7");
      doc.SetAttribute(e, "floatX", "200");
      doc.SetAttribute(e, "visible", "true");
    }
  }));
  t.save.push_back(Milliseconds([&] { doc.Save(path.c_str()); }));
}

void RunReference(const std::string& text, const std::string& path, Times& t) {
  pugi::xml_document doc;
  t.parse.push_back(Milliseconds([&] { doc.load_buffer(text.data(), text.size()); }));
  pugi::xml_node node = doc;
  t.find.push_back(Milliseconds([&] {
    node = doc;
    for (const char* name : Path) node = node.child(name);
  }));
  if (!node) {
    fprintf(stderr, "xml-bench: path not found by the reference parser\n");
    exit(1);
  }
  pugi::xml_node parent = node.parent();
  t.add.push_back(Milliseconds([&] {
    for (int i = 0; i < 3; ++i) {
      pugi::xml_node e = parent.append_child("commandBar");
      e.append_attribute("guidRef") = "cce012b7-e5ab-44d8-a452-db398ff869a7";
      e.append_attribute("floatX") = "200";
      e.append_attribute("visible") = "true";
    }
  }));
  t.save.push_back(Milliseconds([&] { doc.save_file(path.c_str(), "  ", pugi::format_raw); }));
}

// Microseconds per entry while `logs` result logs are written full, each as a parse full of
// stray end tags would: one entry per tag, the "read" entry updated after every tenth.
double MicrosecondsPerLogEntry(int logs) {
  long long entries = 0;
  const double ms = Milliseconds([&] {
    for (int n = 0; n < logs; ++n) {
      std::string log;
      WriteResultEntry(log, "read", "UTF-8", ResultEncoding | ResultLength, 12);
      for (long long offset = 0; log.size() < ResultLogLimit; offset += 4, ++entries) {
        WriteResultEntry(log, "lone_end_tag", "b", 0, offset);
        if (entries % 10 == 0) WriteResultEntry(log, "read", "UTF-16", ResultEncoding | ResultUpdate, -1);
      }
    }
  });
  return entries ? ms * 1000 / static_cast<double>(entries) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? atoi(argv[1]) : 9;
  const std::string folder = argc > 2 ? argv[2] : "/tmp";
  const std::string text = MakeWorkspace(5 * 1000 * 1000);
  {
    CXmlDocument check(text.c_str());
    printf("workspace: %zu bytes, %d elements, well formed: %s\n", text.size(), check.RecordCount() - 1,
           check.IsWellFormed() ? "yes" : "no");
  }
  Times ours, reference;
  for (int r = 0; r < runs; ++r) {
    RunOurs(text, folder + "/xmlbench-ours.xml", ours);
    RunReference(text, folder + "/xmlbench-reference.xml", reference);
  }
  printf("median of %d runs, milliseconds\n", runs);
  printf("%-34s %12s %12s %8s\n", "step", "CXmlDocument", "pugixml", "ratio");
  const struct {
    const char* name;
    const std::vector<double>& ours;
    const std::vector<double>& reference;
  } rows[] = {{"parse", ours.parse, reference.parse},
              {"find a path of five levels", ours.find, reference.find},
              {"add three elements, 3 attributes", ours.add, reference.add},
              {"save", ours.save, reference.save}};
  for (const auto& row : rows) {
    const double a = Median(row.ours), b = Median(row.reference);
    printf("%-34s %12.3f %12.3f %8.2f\n", row.name, a, b, b > 0 ? a / b : 0.0);
  }
  std::vector<double> perEntry;
  for (int r = 0; r < runs; ++r) perEntry.push_back(MicrosecondsPerLogEntry(2000));
  printf("result log written full, median microseconds per entry: %.3f\n", Median(perEntry));
  return 0;
}
