// The paths of a written job file, and how to send it again from one of them. A path is a
// pen-up followed by the pen-downs that follow it, counted over the paths that cut
// something; pen-ups with no cut after them are moves that belong to the next path. In
//
//   IN;SP1;PU0,0;...PU0,0; | PU0,800;PD0,400;PD300,400; | PU300,0;PD0,0; | PU300,0;SP0;@
//   opening                  path 1                       path 2          ending
//
// the opening is the dialect's header (with the force and speed it may carry), path 1
// starts where the opening ends, each later path right after the last pen-down of the one
// before, and the ending is the job's final pen-up and the dialect's terminator. Lengths
// are in plotter units (40 to the millimetre), measured from the origin, where the header
// leaves the pen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct JobPaths {
  uint64_t openingEnd = 0;       // the header's length; 0 when the file does not start with one
  std::vector<uint64_t> starts;  // where each path begins, in file order
  uint64_t endingStart = 0;      // the final pen-up; the file's size when there is no ending
  double cutUnits = 0;           // the pen-down moves, end to end
  double travelUnits = 0;        // the pen-up moves, the final one included
};

// Where the paths of the job file `data` in `dialect` lie, and how long its moves are.
JobPaths ReadJobPaths(const char* data, uint64_t size, int dialect);

// Where the job's ending starts: its last pen-up command before the dialect's terminator,
// which a job file always ends with; `size` when the file does not end so.
uint64_t JobEndingStart(const char* data, uint64_t size, int dialect);

// What a send that got the first `sent` bytes out (0 < sent <= size) and then stopped still
// owes the cutter so that the pen is lifted and the job ended: the rest of the command in
// flight (a piece may end inside one), then the job's ending, unless the send had reached
// it. `commandEnd` receives where the command in flight ends.
std::string JobStopBytes(const char* data, uint64_t size, uint64_t sent, int dialect, uint64_t& commandEnd);

// The path, counted from 1, that a send which got the first `sent` bytes out stopped in:
// the one whose bytes hold the first byte not sent. A send stopped in the opening stopped
// in path 1, one stopped in the ending in the last path.
int PathAt(const JobPaths& paths, uint64_t sent);

// The bytes that cut the job from path `first` (1 to the number of paths) on: the opening,
// the file from that path's start, the ending included. For path 1 the whole file.
std::string JobFromPath(const char* data, uint64_t size, const JobPaths& paths, int first);
