// The registration file: where a drawing's marks were measured on the cutter, kept so that
// a sheet measured once can be cut, framed and previewed again. Text in integers, one
// record a line:
//
//   plotgate registration 1
//   laser-offset 0,0
//   mark 1 design 0,0 measured 400,9000
//   mark 2 design 8000,0 measured 400,1000
//   mark 3 design 0,6000 measured 6400,9000
//
// The first line names the format and its version; the laser offset (cutter units) is the
// one the marks were measured with, already added to each measured place. Each mark line
// gives the mark's number (1 to 4, once each), where the drawing puts it (exchange units,
// before the job's move to the origin) and where it was found (cutter units: first along
// the roll, second across). Marks 1 and 2 are needed, mark 4 only with mark 3. Lines end
// with LF or CR LF; empty lines are passed over; numbers are decimal integers of 32 bits
// with an optional "-", separated by one "," and words by one space.
#pragma once

#include <string>
#include <vector>

#include "pipeline/Registration.h"

struct RegistrationRecord {
  IntPoint laserOffset = {0, 0};
  std::vector<MeasuredMark> marks;  // in the order of their numbers
};

// The file's text for `record`, LF line ends.
std::string RegistrationText(const RegistrationRecord& record);

// Reads the file's text into `record`. "" when it is a registration file; otherwise what is
// wrong with it and where, such as "line 3: expected mark N design X,Y measured X,Y", and
// `record` is left empty.
std::string ReadRegistrationText(const std::string& text, RegistrationRecord& record);
