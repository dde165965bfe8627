// A job file on a full disk: /dev/full takes the open and fails every write.
#include <gtest/gtest.h>

#include <cerrno>

#include "TempDir.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/JobFileWriter.h"

namespace {

TEST(JobFile, FullDiskKeepsTheSystemsReason) {
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("job.plt", "PU0,0;PD4000,0;").c_str());
  JobFailure why;
  EXPECT_EQ(WriteJobFile(job, "/dev/full", {DialectHpgl, true}, {}, &why), 0);
  EXPECT_EQ(why.result, JOB_WRITE_FAILED);
  EXPECT_EQ(why.systemError, ENOSPC);
}

}  // namespace
