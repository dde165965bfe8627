// plotgate send when the cutter cannot be reached: the dialog's message, then what was
// being done and the system's own reason.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempDir.h"
#include "base/SystemError.h"

namespace {

const std::string CONNECT_FAIL = "Connect to Cutter fail!\nplotgate: opening ";

TEST(CliSend, AFailedOpenSaysWhatWasDoneAndWhy) {
  TempDir dir;
  const std::string job = dir.Write("job.plt", "IN;SP1;PU0,0;PD4000,0;SP0;");
  const std::string ini = (dir.Path() / "Plotgate.ini").string();

  CliRun outOfRange({"send", job, "--model", "Robin-Series", "--port", "COM0", "--ini", ini});
  EXPECT_EQ(outOfRange.code, 1);
  EXPECT_EQ(outOfRange.err, CONNECT_FAIL + "COM0: not a port number from 1 to 999\n");

  CliRun missing({"send", job, "--model", "Robin-Series", "--port", "COM250", "--ini", ini});
  EXPECT_EQ(missing.code, 1);
  ASSERT_EQ(missing.err.compare(0, CONNECT_FAIL.size(), CONNECT_FAIL), 0) << missing.err;
  const std::string reason = missing.err.substr(CONNECT_FAIL.size() + std::string("COM250: ").size());
  EXPECT_GT(reason.size(), 1u) << missing.err;
  // The open's own failure, not what "no error" reads as.
  EXPECT_NE(reason, SystemErrorText(0) + "\n");
}

}  // namespace
