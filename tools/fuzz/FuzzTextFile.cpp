// Text files in any encoding: a document loaded from the file and saved again, and the
// conversion between two encodings of the bytes themselves.
// Input: a flags byte (the document's byte-order-mark and value bits), an encoding pair
// byte, then the file bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "ScratchFile.h"
#include "xml/CharsetCodePage.h"
#include "xml/ConvertText.h"
#include "xml/XmlDocument.h"

namespace {

const char* const Encodings[] = {"UTF-8",     "UTF-16",  "UTF-32", "utf-32be", "ISO-8859-1", "windows-1252",
                                 "Shift_JIS", "gb18030", "big5",   "koi8-r",   "cp437",      "iso-2022-jp",
                                 "x-unknown", "",        "utf-7",  "euc-kr"};
const int EncodingCount = sizeof Encodings / sizeof Encodings[0];

// Converts the bytes as `from` text to `to`, sizing the output by a first call as the
// callers do; the second call must produce what the first promised.
void Convert(const char* from, const std::string& bytes, const char* to) {
  const int width = CodeUnitWidth(CharsetCodePage(from));
  const int units = static_cast<int>(bytes.size()) / width;
  const int needed = ConvertText(from, bytes.data(), units, to, nullptr, 0, nullptr);
  if (needed < 0) return;
  std::vector<char32_t> out(static_cast<size_t>(needed) + 1);
  bool lost = false;
  const int written = ConvertText(from, bytes.data(), units, to, out.data(), needed, &lost);
  if (written != needed) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const CScratchFile source("plotgate-fuzz-text");
  static const CScratchFile target("plotgate-fuzz-text-out");
  CFuzzInput in(data, size);
  const unsigned flags = in.Byte() & (DocBomUtf16Le | DocBomUtf8 | DocBomUtf16Be | DocTrimValues | DocCollapseValues);
  const int pair = in.Byte();
  const std::string bytes = in.Rest();
  source.Write(bytes);

  CXmlDocument doc;
  doc.SetDocFlags(flags);
  doc.Load(source.Path());
  doc.Save(target.Path());
  CXmlDocument again;
  again.Load(target.Path());

  Convert(Encodings[pair % EncodingCount], bytes, Encodings[pair / EncodingCount % EncodingCount]);
  return 0;
}
