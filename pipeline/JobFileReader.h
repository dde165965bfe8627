// Reads the pen commands back out of job-file bytes, through the dialect's command
// grammar. A command runs up to and including the dialect's end byte:
//
//   IN;SP1;PU0,0;PU0,8000;PD0,4000;PD300,4000;PU300,0;SP0;@      (HPGL)
//   ;:H A L0 ECN U U0,0 U0,8000 D0,4000 D300,4000 U300,0 @        (DM/PL)
//
// A pen command is the dialect's pen-up or pen-down keyword followed by two numbers; every
// other command (the header's "IN;", "SP1;", the lone "U", the terminator) moves nothing
// and is passed over. The bytes may arrive in pieces that split a command anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "pipeline/CommandDialect.h"
#include "pipeline/Geometry.h"

// One pen command as the file holds it: where it runs in the file (`end` is one past its
// end byte) and where it moves the pen, in the file's own coordinates.
struct PenCommand {
  bool cut;  // false: pen-up move; true: pen-down cut
  IntPoint to;
  uint64_t begin;
  uint64_t end;
};

class CJobFileReader {
 public:
  // Reads `dialect` (DialectHpgl or DialectDmpl) and calls `visit` for every pen command,
  // in file order, once its end byte has arrived.
  CJobFileReader(int dialect, std::function<void(const PenCommand&)> visit);

  // Takes the next `length` bytes of the file.
  void Take(const char* bytes, size_t length);

 private:
  void Read(uint64_t end);

  const DialectStrings& m_strings;
  std::function<void(const PenCommand&)> m_visit;
  std::string m_sCommand;
  uint64_t m_nPosition = 0;
};
