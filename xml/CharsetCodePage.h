// Encoding names and the code-page numbers the conversions work with.
#pragma once

// Code-page numbers with a meaning of their own besides the platform's code pages.
const int CODEPAGE_ANSI = 0;       // the system ANSI code page
const int CODEPAGE_UNKNOWN = -1;   // a name the table does not know
const int CODEPAGE_UTF16 = 1200;   // UTF-16 little-endian
const int CODEPAGE_UTF8 = 65001;   // UTF-8
const int CODEPAGE_UTF32 = 65005;  // UTF-32 in host order: this library's own number, no platform code page

// Code page of the encoding `name`: 0 for an empty (or null) name, 65005 for names
// starting with "UTF-32" in that exact case, otherwise the table's code page looked up
// without regard to ASCII case; -1 when the name is unknown or 100 bytes or longer.
int CharsetCodePage(const char* name);

// True when the encodings `a` and `b` stand for different code pages. An unknown name
// differs from nothing; an empty name stands for the system ANSI code page.
bool EncodingsDiffer(const char* a, const char* b);

// The hash table behind CharsetCodePage, exposed so that tests can check its contents:
// CHARSET_BUCKETS strings of entries "LLCCCCCname" (name length, code page, lower-case name).
const int CHARSET_BUCKETS = 155;
extern const char* const CharsetTable[CHARSET_BUCKETS];
