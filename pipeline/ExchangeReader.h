// Reader of the exchange file that the CorelDRAW macro writes: a text of commands ended
// by ";" in plotter units, for example
//
//   IN;SP1;PU0,0;PD4000,0;BZ4000,100,4100,200,4200,200;SP0;
//
// CR and LF bytes are dropped anywhere, spaces count as commas. "PU x,y" moves, "PD x,y"
// draws a line, "BZ x1,y1,x2,y2,x3,y3" draws a cubic curve from the current point, "SP0;"
// ends the drawing, anything else is skipped.
#pragma once

#include "JobModel.h"
#include "JobResult.h"

// The stored text of one command holds at most this many bytes; longer commands are cut
// there and the rest of them, up to their ";", is dropped.
const int EXCHANGE_COMMAND_MAX = 255;

// Reads the file into `out`: JOB_DONE (0) when reading ended (end command or end of file),
// JOB_CANNOT_OPEN (1) when the path is null or the file cannot be opened (then `out` is
// untouched). The list ends with one placeholder node unless the file ended with "SP0;";
// an "SP0;" before any drawing command gives an empty list (null). A failed read ends the
// input with JOB_READ_FAILED and a failed allocation with JOB_NO_MEMORY; either releases
// what was read and leaves `out` null.
JobResult ReadExchangeFile(CommandList& out, const char* path);
