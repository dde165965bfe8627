#include "CommandDialect.h"

#include <cstdio>

static const DialectStrings kHpgl = {
    "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;",
    "PU%ld,%ld;",
    "PD%ld,%ld;",
    "SP0;@",
    "PU",
    "PD",
};

static const DialectStrings kDmpl = {
    ";:H A L0 ECN U U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 ",
    "U%ld,%ld ",
    "D%ld,%ld ",
    "@ ",
    "U",
    "D",
};

const DialectStrings& StringsFor(int dialect) { return dialect == DialectDmpl ? kDmpl : kHpgl; }

void FormatCommand(char* out, const char* format, int32_t x, int32_t y) {
  snprintf(out, COMMAND_TEXT_MAX, format, static_cast<long>(x), static_cast<long>(y));
}
