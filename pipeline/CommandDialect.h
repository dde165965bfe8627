// The two command dialects a cutter understands. Every driver holds one in m_nDialect;
// the value 1 selects DM/PL and any other value HPGL.
#pragma once

#include <cstdint>

const int DialectHpgl = 0;
const int DialectDmpl = 1;

// The strings of one dialect, exactly as they go into the job file.
struct DialectStrings {
  const char* header;
  const char* penUp;    // printf format with two coordinates
  const char* penDown;  // printf format with two coordinates
  const char* terminator;
  const char* penUpKeyword;    // how the offset filter recognises a pen-up
  const char* penDownKeyword;  // and a pen-down
};

// The strings for `dialect`: DM/PL for 1, HPGL for every other value.
const DialectStrings& StringsFor(int dialect);

// Formats one command with `format` (one of the pen-up / pen-down formats) into `out`,
// which holds at least COMMAND_TEXT_MAX bytes.
const int COMMAND_TEXT_MAX = 64;
void FormatCommand(char* out, const char* format, int32_t x, int32_t y);
