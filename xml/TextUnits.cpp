#include "xml/TextUnits.h"

void SwapUnitBytes(std::u16string& units) {
  for (char16_t& unit : units) unit = static_cast<char16_t>(unit << 8 | unit >> 8);
}

std::u16string UnitsFromLittleEndian(const char* bytes, size_t count) {
  std::u16string units(count / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return units;
}

std::string LittleEndianBytes(const std::u16string& units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}
