// How a pipeline operation ended. Reading, flattening and writing each report one of these,
// so that the dialog and the command-line front end can tell the user what went wrong.
#pragma once

#include <cstdint>

// The most points a job may flatten to. A point is a node of 16 bytes in the 32-bit release
// (24 in the 64-bit builds) and the block pool adds 8 to each: 20 million points take
// about 480 MB there, which leaves room in its 2 GB of address space for the command list,
// the preview's strokes and the heap's fragmentation. Real drawings stay far below it: 20,000
// shapes of four curves make 2.7 million points.
const int64_t MAX_JOB_POINTS = 20000000;

enum JobResult : int {
  JOB_DONE = 0,
  JOB_CANNOT_OPEN = 1,   // the exchange file cannot be opened for reading
  JOB_READ_FAILED,       // a read from the exchange file failed (a folder, a device error)
  JOB_NO_MEMORY,         // an allocation failed; the operation's lists are released
  JOB_TOO_LARGE,         // the job would flatten to more than MAX_JOB_POINTS points
  JOB_NOTHING_TO_WRITE,  // no job, or no point left after merging
  JOB_CANNOT_CREATE,     // the job file cannot be created
  JOB_WRITE_FAILED,      // a write to the job file or its close failed
  JOB_NOT_HPGL,          // the file is a drawing in another format (DrawingFormat.h)
  JOB_TOO_MANY_PANELS,   // the job would be cut in more than MAX_PANELS panels (Panels.h)
};

// A pipeline result with the system's reason for it: the error number (errno) that the
// failed file call set, 0 when the result is no failed file call or the call set none.
struct JobFailure {
  JobResult result = JOB_DONE;
  int systemError = 0;
};

// The message a front end shows for `result`, such as "not enough memory for this job".
const char* JobResultText(JobResult result);
