// Conversion of text between encodings given by name (see CharsetCodePage).
#pragma once

// Bytes per code unit of text in `codePage`: 2 for UTF-16 (1200), 4 for UTF-32 (65005),
// otherwise 1.
int CodeUnitWidth(int codePage);

// Converts `units` code units at `source` from encoding `from` to encoding `to` (unknown
// names count as the ANSI code page). UTF-16 units are char16_t and UTF-32 units char32_t
// in host order; every other encoding has byte units. With `output` null, returns the
// units the result needs; otherwise writes the result there and returns the units written.
// *lost (when given) tells whether a character could not be represented and was replaced.
// Returns -1 when the platform cannot convert one of the encodings or `room` is too small.
int ConvertText(const char* from, const void* source, int units, const char* to, void* output, int room, bool* lost);
