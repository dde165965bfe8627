// Encoding text for XML and decoding it again.
#pragma once

#include <string>
#include <string_view>

// Flags of EscapeText.
const int EscapeKeepReferences = 0x8;  // an "&" that starts a reference ("&amp;", "&#65;") is copied as it is
const int EscapeAttribute = 0x100;     // also encode both quote characters

// `text` with "<", "&" and ">" encoded ("&lt;", "&amp;", "&gt;"), and in attribute mode the
// double and single quote ("&quot;", "&apos;").
std::string EscapeText(std::string_view text, int flags);

// `text` (`length` bytes, or up to its zero byte when -1) with named entities and
// character references decoded to UTF-8. Whitespace options as in DocFlags: 0x100 drops
// leading and trailing whitespace, 0x200 also turns each inner run into one space. An
// "&" that starts no known reference is kept.
std::string UnescapeText(const char* text, int length, unsigned flags);

// `content` as a CDATA section; a "]]>" inside it is split across two sections.
std::string CdataSection(std::string_view content);
