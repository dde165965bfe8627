// Texts inside the programs are UTF-8, paths among them; the wide Win32 calls take UTF-16.
// Converting at the call lets a path hold any character Windows allows, whatever the
// system's code page (a folder named in Cyrillic, Arabic and Chinese at once has no ANSI
// code page at all). Windows only.
#pragma once

#include <string>

// The UTF-16 form of UTF-8 `text`; bytes that are not UTF-8 become U+FFFD.
std::wstring WideFromUtf8(const std::string& text);

// The UTF-8 form of `length` UTF-16 units at `text`; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(const wchar_t* text, size_t length);
std::string Utf8FromWide(const std::wstring& text);
