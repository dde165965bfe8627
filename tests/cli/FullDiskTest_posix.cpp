// A job file on a full disk: /dev/full takes the open and fails every write.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempDir.h"

namespace {

TEST(CliEncode, FullDiskIsAFailureWithItsReason) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD4000,0;PD4000,1000;");
  CliRun full({"encode", input, "--model", "1", "--output", "/dev/full"});
  EXPECT_EQ(full.code, 1);
  EXPECT_NE(full.err.find("plotgate: cannot write the job file /dev/full: No space left on device"), std::string::npos)
      << full.err;
}

}  // namespace
