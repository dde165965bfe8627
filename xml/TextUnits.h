// Handling of the code units of a file's text: zero removal, byte order of UTF-16 units.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

// Removes every unit of value 0 from `text` and returns how many there were.
template <typename Text>
size_t RemoveZeroUnits(Text& text) {
  const auto end = std::remove(text.begin(), text.end(), typename Text::value_type(0));
  const size_t removed = text.end() - end;
  text.erase(end, text.end());
  return removed;
}

// Swaps the two bytes of every unit (big-endian to little-endian and back).
void SwapUnitBytes(std::u16string& units);

// The units stored little-endian in `count` bytes (a last odd byte forms no unit).
std::u16string UnitsFromLittleEndian(const char* bytes, size_t count);

// The units as little-endian bytes.
std::string LittleEndianBytes(const std::u16string& units);
