// Code-page conversion through iconv. Windows code-page numbers are mapped to iconv names;
// where iconv stops at a byte or character it cannot convert, the conversion goes on after
// it with the replacement Windows would give (U+FFFD when decoding, the code page's
// default character when encoding).
#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstdio>

#include "xml/CodePage.h"
#include "xml/TextUnits.h"

namespace {

const int POSIX_ANSI_CODE_PAGE = 1252;

struct IconvName {
  int codePage;
  const char* name;
};

// Code pages whose iconv name is not simply "CP" and the number.
const IconvName ICONV_NAMES[] = {
    {154, "PT154"},         {708, "ASMO-708"},       {1200, "UTF-16LE"},      {1201, "UTF-16BE"},
    {10000, "MACINTOSH"},   {10007, "MAC-CYRILLIC"}, {10017, "MACUKRAINIAN"}, {10079, "MAC-IS"},
    {12000, "UTF-32LE"},    {12001, "UTF-32BE"},     {20127, "ASCII"},        {20866, "KOI8-R"},
    {20932, "EUC-JP"},      {21866, "KOI8-U"},       {28591, "ISO-8859-1"},   {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},  {28594, "ISO-8859-4"},   {28595, "ISO-8859-5"},   {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"},   {28599, "ISO-8859-9"},   {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"}, {38598, "ISO-8859-8"},   {50220, "ISO-2022-JP"},  {50221, "ISO-2022-JP"},
    {50222, "ISO-2022-JP"}, {50225, "ISO-2022-KR"},  {51932, "EUC-JP"},       {51936, "EUC-CN"},
    {51949, "EUC-KR"},      {54936, "GB18030"},      {65000, "UTF-7"},        {65001, "UTF-8"},
};

std::string NameOf(int codePage) {
  if (codePage == 0) codePage = POSIX_ANSI_CODE_PAGE;
  for (const IconvName& entry : ICONV_NAMES)
    if (entry.codePage == codePage) return entry.name;
  char name[16];
  std::snprintf(name, sizeof name, "CP%d", codePage);
  return name;
}

// One iconv descriptor for the length of a conversion.
class CIconv {
 public:
  CIconv(const std::string& to, const std::string& from) : m_cd(iconv_open(to.c_str(), from.c_str())) {}
  ~CIconv() {
    if (Valid()) iconv_close(m_cd);
  }
  CIconv(const CIconv&) = delete;
  CIconv& operator=(const CIconv&) = delete;
  bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts `in` into `out`. At input iconv cannot convert, calls `onBad(skip)`, which
  // appends a replacement to `out` and says how many input bytes to step over.
  template <typename OnBad>
  void Run(const char* in, size_t inLeft, std::string& out, OnBad onBad) {
    char buffer[4096];
    char* src = const_cast<char*>(in);
    while (inLeft > 0) {
      char* dst = buffer;
      size_t room = sizeof buffer;
      const size_t done = iconv(m_cd, &src, &inLeft, &dst, &room);
      const int error = errno;
      out.append(buffer, dst - buffer);
      if (done != static_cast<size_t>(-1) || error == E2BIG) continue;
      // EILSEQ or EINVAL (incomplete input at the end): replace and go on after it.
      const size_t skip = std::min(onBad(src, inLeft), inLeft);
      src += skip;
      inLeft -= skip;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    size_t room = sizeof buffer;
    iconv(m_cd, nullptr, nullptr, &dst, &room);  // shift back to the initial state
    out.append(buffer, dst - buffer);
  }

 private:
  iconv_t m_cd;
};

}  // namespace

int AnsiCodePage() { return POSIX_ANSI_CODE_PAGE; }

bool BytesToUtf16(int codePage, const char* bytes, size_t count, std::u16string& out) {
  CIconv cd("UTF-16LE", NameOf(codePage));
  if (!cd.Valid()) return false;
  std::string little;
  cd.Run(bytes, count, little, [&](const char*, size_t) {
    little += "\xFD\xFF";  // U+FFFD
    return size_t{1};
  });
  out += UnitsFromLittleEndian(little.data(), little.size());
  return true;
}

bool Utf16ToBytes(int codePage, const char16_t* units, size_t count, std::string& out, bool* lost) {
  const std::string name = NameOf(codePage);
  CIconv cd(name, "UTF-16LE");
  if (!cd.Valid()) return false;
  const std::string little = LittleEndianBytes(std::u16string(units, count));
  const bool toUtf8 = name == "UTF-8";
  cd.Run(little.data(), little.size(), out, [&](const char* at, size_t left) {
    // UTF-8 takes a lone surrogate as U+FFFD; other code pages put in their default character.
    out += toUtf8 ? "\xEF\xBF\xBD" : "?";
    if (lost && !toUtf8) *lost = true;
    const unsigned high = left >= 2 ? static_cast<unsigned char>(at[1]) : 0;
    const bool pair = high >= 0xD8 && high <= 0xDB && left >= 4 && static_cast<unsigned char>(at[3]) >= 0xDC &&
                      static_cast<unsigned char>(at[3]) <= 0xDF;
    return size_t{pair ? 4u : 2u};
  });
  return true;
}
