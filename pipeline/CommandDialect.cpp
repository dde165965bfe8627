#include "pipeline/CommandDialect.h"

#include <charconv>

#include "pipeline/BlockWriter.h"
#include "pipeline/JobModel.h"

static const DialectStrings HPGL_STRINGS = {
    "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;",
    "PU",
    "PD",
    ';',
    "SP0;@",
};

static const DialectStrings DMPL_STRINGS = {
    ";:H A L0 ECN U U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 ", "U", "D", ' ', "@ ",
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
