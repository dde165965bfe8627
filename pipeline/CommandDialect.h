// The two command dialects a cutter understands. Every driver holds one in m_nDialect;
// the value 1 selects DM/PL and any other value HPGL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CBlockWriter;

const int DialectHpgl = 0;
const int DialectDmpl = 1;

// How a cutter wants the job file written: its command dialect and whether the coordinate
// pair is swapped.
struct JobFormat {
  int dialect;  // DialectHpgl or DialectDmpl
  bool swapXY;
};

// The strings of one dialect, exactly as they go into the job file. A pen command is its
// keyword, the two coordinates as decimal integers separated by ",", and its end byte:
// "PU12,-5;" in HPGL, "U12,-5 " in DM/PL.
struct DialectStrings {
  const char* header;
  size_t toolAt;             // where the force and speed commands go into the header
  const char* forceKeyword;  // nullptr when the dialect has no confirmed force command
  const char* speedKeyword;
  const char* penUpKeyword;    // also how the offset filter recognises a pen-up
  const char* penDownKeyword;  // and a pen-down
  char commandEnd;
  const char* terminator;
};

// The knife force and speed a job sets before it cuts, each 0 when the job leaves the
// cutter's own setting alone.
struct ToolSettings {
  int force = 0;  // grams
  int speed = 0;  // cm/s
};

// The strings for `dialect`: DM/PL for 1, HPGL for every other value.
const DialectStrings& StringsFor(int dialect);

// Formats the pen-up (KIND_PEN_UP) or pen-down (any other kind) command to (x, y) into
// `out`, which holds at least COMMAND_TEXT_MAX bytes; returns its length. No terminating
// zero is written.
const size_t COMMAND_TEXT_MAX = 32;
size_t FormatCommand(char* out, const DialectStrings& strings, int32_t kind, int32_t x, int32_t y);

// Formats the command straight into the writer's pending output.
void PutCommand(CBlockWriter& out, const DialectStrings& strings, int32_t kind, int32_t x, int32_t y);

// The dialect's header carrying `tool`: after the opening ("IN;SP1;", ";:H A L0 ") the force
// command, where the dialect has one, then the speed command, each only when set and each
// its keyword, the number and the end byte: "IN;SP1;FS80;VS20;PU0,0;...",
// ";:H A L0 V20 ECN U U0,0 ...". With neither set, the plain header.
std::string HeaderText(const DialectStrings& strings, const ToolSettings& tool);

// The length of the header, plain or carrying a force or speed command, that the `size`
// bytes at `data` begin with; 0 when they begin with none.
size_t HeaderLength(const char* data, size_t size, const DialectStrings& strings);
