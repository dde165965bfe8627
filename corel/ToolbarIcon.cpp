#include "corel/ToolbarIcon.h"

#include <cstdint>

namespace {

// A craft knife cutting a line, top row first. Each character is a palette index.
const char* const PICTURE[16] = {
    "................",  //
    "...........44...",  //
    "..........4444..",  //
    ".........4444...",  //
    "........4444....",  //
    ".......3444.....",  //
    "......232.......",  //
    ".....2221.......",  //
    "....2221........",  //
    "...2221.........",  //
    "..2221..........",  //
    "..221...........",  //
    "..21............",  //
    "................",  //
    "5555555555555555",  //
    "................",  //
};

struct Rgb {
  uint8_t r, g, b;
};
// Index 0 ('.') is the button face; the remaining entries of the 256 stay black.
const Rgb PALETTE[] = {
    {240, 240, 240},  // . background
    {0, 0, 0},        // 1 outline
    {208, 208, 216},  // 2 blade
    {96, 96, 104},    // 3 ferrule
    {200, 32, 32},    // 4 handle
    {0, 64, 200},     // 5 cut line
};

void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

int PaletteIndex(char c) { return c == '.' ? 0 : c - '0'; }

std::string Base64Lines(const std::string& bytes) {
  static const char BASE64_ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string plain;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k) group = group << 8 | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0);
    for (size_t k = 0; k < 4; ++k) plain += k <= n ? BASE64_ALPHABET[(group >> (18 - 6 * k)) & 0x3F] : '=';
  }
  std::string text;
  for (size_t i = 0; i < plain.size(); i += 72) {
    if (i) text += "\n \t\t\t\t\t\t";
    text += plain.substr(i, 72);
  }
  return text;
}

}  // namespace

std::string ToolbarIconBytes() {
  std::string out("\xFF\xFF\x01\x00\x10\x00", 6);
  out += "WCmnUI_UIItemBmp";
  out.append(8, '\0');
  Put32(out, 40);
  Put32(out, 1024);
  Put32(out, 256);
  // BITMAPINFOHEADER
  Put32(out, 40);
  Put32(out, 16);
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, 8);
  Put32(out, 0);  // no compression
  Put32(out, 256);
  Put32(out, 0);  // resolution: not given
  Put32(out, 0);
  Put32(out, 256);
  Put32(out, 256);
  for (int i = 0; i < 256; ++i) {
    const Rgb c = i < static_cast<int>(sizeof PALETTE / sizeof PALETTE[0]) ? PALETTE[i] : Rgb{0, 0, 0};
    out += static_cast<char>(c.b);
    out += static_cast<char>(c.g);
    out += static_cast<char>(c.r);
    out += '\0';
  }
  for (int row = 15; row >= 0; --row) {
    for (int col = 0; col < 16; ++col) out += static_cast<char>(PaletteIndex(PICTURE[row][col]));
  }
  out += std::string("\xF0\xF0\xF0\x00\xA0\xA0\xA0\x00\xF0\xF0\xF0\x00\x00\x00\x00\x00", 16);
  return out;
}

const std::string& ToolbarIcon() {
  static const std::string text = Base64Lines(ToolbarIconBytes());
  return text;
}
