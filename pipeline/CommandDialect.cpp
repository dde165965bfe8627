#include "pipeline/CommandDialect.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "pipeline/BlockWriter.h"
#include "pipeline/JobModel.h"

static const DialectStrings HPGL_STRINGS = {
    "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;",
    7,  // after "IN;SP1;"
    "FS",
    "VS",
    "PU",
    "PD",
    ';',
    "SP0;@",
};

static const DialectStrings DMPL_STRINGS = {
    ";:H A L0 ECN U U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 ",
    9,        // after ";:H A L0 "
    nullptr,  // no DM/PL force command is confirmed: the force stays the cutter's own
    "V",
    "U",
    "D",
    ' ',
    "@ ",
};

const DialectStrings& StringsFor(int dialect) { return dialect == DialectDmpl ? DMPL_STRINGS : HPGL_STRINGS; }

size_t FormatCommand(char* out, const DialectStrings& strings, int32_t kind, int32_t x, int32_t y) {
  // The same digits as "%ld": a minus sign for negative values, no leading zeros. Two
  // letters, two numbers of at most 11 characters, "," and the end byte fit 32 bytes.
  char* p = out;
  for (const char* k = kind == KIND_PEN_UP ? strings.penUpKeyword : strings.penDownKeyword; *k; ++k) *p++ = *k;
  p = std::to_chars(p, out + COMMAND_TEXT_MAX, x).ptr;
  *p++ = ',';
  p = std::to_chars(p, out + COMMAND_TEXT_MAX, y).ptr;
  *p++ = strings.commandEnd;
  return static_cast<size_t>(p - out);
}

void PutCommand(CBlockWriter& out, const DialectStrings& strings, int32_t kind, int32_t x, int32_t y) {
  out.Commit(FormatCommand(out.Reserve(COMMAND_TEXT_MAX), strings, kind, x, y));
}

std::string HeaderText(const DialectStrings& strings, const ToolSettings& tool) {
  std::string header(strings.header, strings.toolAt);
  const struct {
    const char* keyword;
    int value;
  } commands[] = {{strings.forceKeyword, tool.force}, {strings.speedKeyword, tool.speed}};
  for (const auto& command : commands) {
    if (!command.keyword || command.value <= 0) continue;
    header += command.keyword + std::to_string(command.value) + strings.commandEnd;
  }
  return header + (strings.header + strings.toolAt);
}

size_t HeaderLength(const char* data, size_t size, const DialectStrings& strings) {
  const std::string_view bytes(data, size);
  const std::string_view header(strings.header);
  if (bytes.substr(0, strings.toolAt) != header.substr(0, strings.toolAt)) return 0;
  size_t at = strings.toolAt;
  // The force command, then the speed command, each when present: keyword, digits, end byte.
  for (const char* keyword : {strings.forceKeyword, strings.speedKeyword}) {
    if (!keyword || bytes.substr(at, strlen(keyword)) != keyword) continue;
    const size_t digits = at + strlen(keyword);
    const size_t end = bytes.find_first_not_of("0123456789", digits);
    if (end == std::string_view::npos || end == digits || bytes[end] != strings.commandEnd) return 0;
    at = end + 1;
  }
  const std::string_view rest = header.substr(strings.toolAt);
  return bytes.substr(at, rest.size()) == rest ? at + rest.size() : 0;
}
