// UTF-8, UTF-16 and UTF-32 among themselves are converted by the library's own coders;
// everything else goes through the platform's code-page conversion via UTF-16.
#include "xml/ConvertText.h"

#include <cstring>
#include <string>

#include "xml/CharsetCodePage.h"
#include "xml/CodePage.h"
#include "xml/Utf8.h"

namespace {

const char16_t REPLACEMENT = u'?';
const char32_t MAX_CODE_POINT = 0x10FFFF;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Code pages whose conversion cannot report a replaced character.
bool CanReportLoss(int codePage) {
  switch (codePage) {
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:
    case 52936:
    case 54936:
    case 65000:
    case 65001: return false;
    default: return !(codePage >= 57002 && codePage <= 57011);
  }
}

int ResolvedCodePage(const char* name) {
  const int codePage = CharsetCodePage(name);
  if (codePage == CODEPAGE_UNKNOWN || codePage == CODEPAGE_ANSI) return AnsiCodePage();
  return codePage;
}

template <typename Unit>
void AppendUnits(std::string& out, const Unit* units, size_t count) {
  out.append(reinterpret_cast<const char*>(units), count * sizeof(Unit));
}

std::u16string Utf32ToUtf16(const char32_t* text, size_t count, bool& lost) {
  std::u16string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const char32_t c = text[i];
    if (c > MAX_CODE_POINT) {
      out += REPLACEMENT;
      lost = true;
    } else if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::u32string Utf16ToUtf32(const std::u16string& text, bool& lost) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out += 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      out += REPLACEMENT;
      lost = true;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Utf32ToUtf8(const char32_t* text, size_t count, bool& lost) {
  std::string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (text[i] > MAX_CODE_POINT) {
      out += static_cast<char>(REPLACEMENT);
      lost = true;
    } else {
      AppendUtf8(out, text[i]);
    }
  }
  return out;
}

std::u32string Utf8ToUtf32(const char* text, size_t count, bool& lost) {
  std::u32string out;
  out.reserve(count);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  for (size_t i = 0; i < count;) {
    const Utf8Char c = DecodeUtf8(p + i, count - i);
    out += c.valid ? c.codePoint : REPLACEMENT;
    lost = lost || !c.valid;
    i += c.length;
  }
  return out;
}

bool ToUtf16(int codePage, const void* source, size_t units, std::u16string& out, bool& lost) {
  if (codePage == CODEPAGE_UTF16) {
    out.assign(static_cast<const char16_t*>(source), units);
    return true;
  }
  if (codePage == CODEPAGE_UTF32) {
    out = Utf32ToUtf16(static_cast<const char32_t*>(source), units, lost);
    return true;
  }
  return BytesToUtf16(codePage, static_cast<const char*>(source), units, out);
}

bool FromUtf16(int codePage, const std::u16string& text, std::string& out, bool& lost) {
  if (codePage == CODEPAGE_UTF16) {
    AppendUnits(out, text.data(), text.size());
    return true;
  }
  if (codePage == CODEPAGE_UTF32) {
    const std::u32string wide = Utf16ToUtf32(text, lost);
    AppendUnits(out, wide.data(), wide.size());
    return true;
  }
  return Utf16ToBytes(codePage, text.data(), text.size(), out, CanReportLoss(codePage) ? &lost : nullptr);
}

// The converted text as raw bytes of the target's units.
bool Convert(int from, const void* source, size_t units, int to, std::string& out, bool& lost) {
  if (from == CODEPAGE_UTF32 && to == CODEPAGE_UTF8) {
    out = Utf32ToUtf8(static_cast<const char32_t*>(source), units, lost);
    return true;
  }
  if (from == CODEPAGE_UTF8 && to == CODEPAGE_UTF32) {
    const std::u32string wide = Utf8ToUtf32(static_cast<const char*>(source), units, lost);
    AppendUnits(out, wide.data(), wide.size());
    return true;
  }
  std::u16string middle;
  return ToUtf16(from, source, units, middle, lost) && FromUtf16(to, middle, out, lost);
}

}  // namespace

int CodeUnitWidth(int codePage) {
  if (codePage == CODEPAGE_UTF16) return 2;
  if (codePage == CODEPAGE_UTF32) return 4;
  return 1;
}

int ConvertText(const char* from, const void* source, int units, const char* to, void* output, int room, bool* lost) {
  bool replaced = false;
  if (lost) *lost = false;
  const int toCodePage = ResolvedCodePage(to);
  std::string result;
  if (units < 0 || !Convert(ResolvedCodePage(from), source, units, toCodePage, result, replaced)) return -1;
  if (lost) *lost = replaced;
  const int produced = static_cast<int>(result.size() / CodeUnitWidth(toCodePage));
  if (!output) return produced;
  if (produced > room) return -1;
  std::memcpy(output, result.data(), result.size());
  return produced;
}
