#include "pipeline/TestCut.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/StdioFile.h"

const char* const TEST_CUT_DRAWING =
    "IN;SP1;\n"
    "PU100,100;PD300,200;PD100,300;PD100,100;\n"
    "PU0,0;PD400,0;PD400,400;PD0,400;PD0,0;\n"
    "SP0;\n";

const char* const TEST_CUT_SENT_TEXT =
    "Test cut sent: a 10 mm square around a triangle at the origin. Check that the square measures 10.0 mm, its "
    "corners are sharp and closed and the backing is not cut; then move the origin before the job.";

JobFailure LoadTestCut(CPlotJob& job, const std::string& scratchPath) {
  errno = 0;
  std::FILE* file = OpenStdioFile(scratchPath.c_str(), "wb");
  if (!file) return JobFailure{JOB_CANNOT_CREATE, errno};
  const size_t size = strlen(TEST_CUT_DRAWING);
  JobFailure written;
  if (fwrite(TEST_CUT_DRAWING, 1, size, file) != size) written = JobFailure{JOB_WRITE_FAILED, errno};
  errno = 0;
  if (fclose(file) != 0 && written.result == JOB_DONE) written = JobFailure{JOB_WRITE_FAILED, errno};
  if (written.result != JOB_DONE) return written;
  job.LoadJob(scratchPath.c_str());
  return JobFailure{job.m_loadResult, job.m_nLoadError};
}
