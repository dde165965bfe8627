// Reader of the exchange file that the CorelDRAW macro writes, and of the HPGL that other
// programs write: a text of commands ended by ";" in plotter units, for example
//
//   IN;SP1;PU0,0;PD4000,0;BZ4000,100,4100,200,4200,200;SP0;     (the macro: one pair a command)
//   IN;VS10;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;PR100,0;      (other programs)
//
// CR and LF bytes are dropped anywhere, spaces count as commas. "PU" lifts the pen and
// "PD" lowers it; "PA" plots the pairs that follow it, and those of later "PU" and "PD",
// absolute, "PR" relative to the current point. Each pair of these four commands is a move
// with the pen up or a line with it down; without numbers they change only the pen or the
// plotting mode. "BZ x1,y1,x2,y2,x3,y3" draws a cubic curve from the current point to
// (x3, y3), "RMn,x,y" places registration mark n (1 to 4) at (x, y) without drawing or
// moving (a later mark of the same number replaces it; other numbers, or fewer than three
// numbers, are skipped), "SP0;" ends the drawing. Commands that set the pen's width or colour, the speed
// or the force ("VS", "FS" and their like) are skipped and named in the report; anything
// else is skipped. An SVG, PDF or EPS file is refused before any command is read.
#pragma once

#include <cstdint>
#include <string>

#include "pipeline/DrawingFormat.h"
#include "pipeline/JobModel.h"
#include "pipeline/JobResult.h"

// The stored text of one command holds at most this many bytes; longer commands are cut
// there and the rest of them, up to their ";", is dropped.
const int EXCHANGE_COMMAND_MAX = 255;

// A place in the exchange file: the line, from 1, and the byte in it, from 1. Counted on
// the bytes as read, so a CR of a CR LF line end counts only where the system keeps it,
// at the end of its line.
struct TextPlace {
  int64_t line = 0;
  int64_t column = 0;
};

// How often the reader met one kind of text that the job may not show as meant, and where
// the first command holding it starts: its first byte that is not a line break (line 0
// while the count is 0).
struct ReadTally {
  int64_t count = 0;
  TextPlace first;
};

// What the reader met that makes the job differ from the drawing. The commands it skips
// by design because they change nothing ("IN;", "DF;", a pen select "SP;" or "SPn;", an
// empty command) and the end command are not counted.
struct ExchangeReport {
  ReadTally skipped;     // commands not understood: lower case, unknown, led by a space or a NUL byte
  ReadTally unnumbered;  // a pair or a curve short of numbers: earlier commands' numbers fill in
  ReadTally clamped;     // coordinates beyond 32 bits, held at INT32_MIN or INT32_MAX (one count each)
  ReadTally cut;         // commands longer than EXCHANGE_COMMAND_MAX bytes, cut there
  // The commands that set the pen's width or colour, the speed or the force that were
  // skipped: one bit for each name of SettingNames, in its order. They leave the drawing
  // as it is; the cutter keeps its own settings.
  unsigned settings = 0;
  // The format of a file refused with JOB_NOT_HPGL; FORMAT_HPGL otherwise.
  DrawingFormat format = FORMAT_HPGL;
};

// True when the report counts nothing that makes the job differ from the drawing: skipped
// settings do not.
bool IsCleanRead(const ExchangeReport& report);

// The names of the skipped settings in `report`, "VS, FS"; "" when there were none.
std::string SkippedSettingNames(const ExchangeReport& report);

// Reads the file into `out`: JOB_DONE (0) when reading ended (end command or end of file),
// JOB_CANNOT_OPEN (1) when the path is null or the file cannot be opened (then `out` is
// untouched), JOB_NOT_HPGL with `out` null when the file's first bytes show an SVG, PDF or
// EPS file (the report's `format` names it). The list ends with one placeholder node
// unless the file ended with "SP0;"; an "SP0;" before any drawing command gives an empty
// list (null). A failed read ends the
// input with JOB_READ_FAILED, a failed allocation with JOB_NO_MEMORY, and a job that would
// flatten to more than MAX_JOB_POINTS points (or hold more commands than that) with
// JOB_TOO_LARGE as soon as it is read that far; each releases what was read and leaves
// `out` null. `report`, when given, is cleared and then counts what the commands read
// held; what is read does not depend on it. `systemError`, when given, receives the error
// number of the open or read that failed (JOB_CANNOT_OPEN, JOB_READ_FAILED), else 0.
// `marks`, when given, receives the registration marks read (none unless JOB_DONE).
JobResult ReadExchangeFile(CommandList& out, const char* path, ExchangeReport* report = nullptr,
                           int* systemError = nullptr, DrawingMarks* marks = nullptr);
