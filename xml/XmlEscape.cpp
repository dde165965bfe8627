#include "xml/XmlEscape.h"

#include <cstring>

#include "xml/XmlEntities.h"
#include "xml/XmlScanner.h"

namespace {

bool IsReferenceStart(unsigned char c) {
  return c == '#' || c == '_' || c == ':' || c >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsReferenceByte(unsigned char c) { return IsReferenceStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-'; }

// Length of the reference ("&name;" or "&#...;") at text[i], or 0 when none starts there.
size_t ReferenceLength(std::string_view text, size_t i) {
  size_t j = i + 1;
  if (j >= text.size() || !IsReferenceStart(text[j])) return 0;
  for (++j; j < text.size() && text[j] != ';'; ++j) {
    if (text[j] == '#' || !IsReferenceByte(text[j])) return 0;
  }
  return j < text.size() ? j + 1 - i : 0;
}

void AppendUtf8(std::string& out, unsigned long c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

unsigned long DigitsValue(const char* digits, int count, int base) {
  if (count <= 0) return 0;
  unsigned long value = 0;
  for (int i = 0; i < count; ++i) {
    const char c = digits[i];
    const int digit = c >= '0' && c <= '9' ? c - '0' : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return 0;
    value = value * base + digit;
  }
  return value;
}

// Code point of the reference at text[0] ("&"), and its length with "&" and ";"; 0 when
// it is none. The name is at most eight bytes, folded to small letters for numbers.
unsigned long DecodeReference(const char* text, int available, int& length) {
  char folded[9];
  int end = 0;
  for (int k = 1; k <= 9 && k < available; ++k) {
    const unsigned char c = text[k];
    if (c >= 0x80) return 0;
    if (c == ';') {
      end = k;
      break;
    }
    folded[k - 1] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  const int nameLength = end - 1;
  if (nameLength <= 0) return 0;
  length = end + 1;
  if (folded[0] != '#') return EntityCodePoint(text + 1, nameLength);
  const unsigned long c =
      folded[1] == 'x' ? DigitsValue(folded + 2, nameLength - 2, 16) : DigitsValue(folded + 1, nameLength - 1, 10);
  // Beyond the last code point there is no UTF-8 form: not a reference.
  return c <= 0x10FFFF ? c : 0;
}

}  // namespace

std::string EscapeText(std::string_view text, int flags) {
  const bool attribute = (flags & EscapeAttribute) != 0;
  std::string out;
  out.reserve(text.size() + text.size() / 10 + 7);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': {
        const size_t reference = (flags & EscapeKeepReferences) ? ReferenceLength(text, i) : 0;
        if (reference) {
          out.append(text.data() + i, reference);
          i += reference - 1;
        } else {
          out += "&amp;";
        }
        break;
      }
      case '"': out += attribute ? "&quot;" : "\""; break;
      case '\'': out += attribute ? "&apos;" : "'"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeText(const char* text, int length, unsigned flags) {
  if (length < 0) length = static_cast<int>(strlen(text));
  const bool trim = (flags & 0x300) != 0;
  const bool collapse = (flags & 0x200) != 0;
  std::string out;
  out.reserve(length);
  int run = -1;  // start of a whitespace run not yet written (trim modes only)
  bool started = false;
  for (int i = 0; i < length;) {
    const char c = text[i];
    if (trim && IsXmlSpace(c)) {
      if (run < 0) run = i;
      ++i;
      continue;
    }
    if (run >= 0) {
      if (started) {
        if (collapse) {
          out += ' ';
        } else {
          out.append(text + run, i - run);
        }
      }
      run = -1;
    }
    started = true;
    int size = 0;
    const unsigned long code = c == '&' ? DecodeReference(text + i, length - i, size) : 0;
    if (code) {
      AppendUtf8(out, code);
      i += size;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

std::string CdataSection(std::string_view content) {
  std::string out = "<![CDATA[";
  size_t from = 0;
  for (size_t at; (at = content.find("]]>", from)) != std::string_view::npos; from = at + 3) {
    out.append(content.data() + from, at - from);
    out += "]]]]><![CDATA[>";
  }
  out.append(content.data() + from, content.size() - from);
  out += "]]>";
  return out;
}
