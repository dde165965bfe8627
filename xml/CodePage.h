// The platform's conversion between code pages and UTF-16. Windows uses its own code-page
// functions; other systems use iconv with the Windows code-page numbers mapped to iconv
// names. A code page the platform does not know makes the conversion fail.
#pragma once

#include <string>

// The system ANSI code page (taken as 1252 where the system has none).
int AnsiCodePage();

// Decodes `count` bytes in `codePage` (0 = ANSI) into UTF-16 units appended to `out`;
// bytes that do not decode become U+FFFD. False when the code page cannot be converted.
bool BytesToUtf16(int codePage, const char* bytes, size_t count, std::u16string& out);

// Encodes `count` UTF-16 units into `codePage` (0 = ANSI), appending to `out`; characters
// the code page cannot hold become its default character. With `lost` given, *lost is set
// when that happened (leave it null for the code pages that cannot report it). False when
// the code page cannot be converted.
bool Utf16ToBytes(int codePage, const char16_t* units, size_t count, std::string& out, bool* lost);
