#include "pipeline/JobResult.h"

#include "pipeline/Panels.h"

static_assert(MAX_JOB_POINTS == 20000000, "the message below names the limit");
static_assert(MAX_PANELS == 50, "the message below names the limit");

const char* JobResultText(JobResult result) {
  switch (result) {
    case JOB_DONE: return "done";
    case JOB_CANNOT_OPEN: return "cannot open the exchange file";
    case JOB_READ_FAILED: return "reading the exchange file failed";
    case JOB_NO_MEMORY: return "not enough memory for this job";
    case JOB_TOO_LARGE: return "this job is too large: it would need more than 20000000 points";
    case JOB_NOTHING_TO_WRITE: return "there is no job to write";
    case JOB_CANNOT_CREATE: return "cannot create the job file";
    case JOB_WRITE_FAILED: return "writing the job file failed";
    case JOB_NOT_HPGL: return "the file is a drawing in another format, not HPGL";
    case JOB_TOO_MANY_PANELS: return "this job would be cut in more than 50 panels";
  }
  return "unknown failure";
}
