// plotgate send when the cutter cannot be reached: what was being done, the system's own
// reason and the remedy, as check gives them; the dialog's message is for the dialog.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempDir.h"
#include "base/SystemError.h"

namespace {

const std::string CONNECT_FAIL = "plotgate: opening ";
#ifdef _WIN32
const std::string COM250 = "COM250";
#else
// The device a COM name stands for is said with it.
const std::string COM250 = "COM250 (/dev/ttyS249)";
#endif

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
  ASSERT_EQ(missing.err.compare(CONNECT_FAIL.size(), COM250.size() + 2, COM250 + ": "), 0) << missing.err;
  const std::string reason = missing.err.substr(CONNECT_FAIL.size() + COM250.size() + 2);
  EXPECT_GT(reason.size(), 1u) << missing.err;
  // The open's own failure, not what "no error" reads as.
  EXPECT_NE(reason, SystemErrorText(0) + "\n");
  // The remedy check gives for the same failure, for send and frame alike (here for a
  // missing device, the failure a test can make whatever its user).
  const std::string absent = (dir.Path() / "ttyUSB9").string();
  for (const char* command : {"send", "frame"}) {
    const CliRun run({command, job, "--model", "Robin-Series", "--port", absent, "--ini", ini});
    EXPECT_EQ(run.code, 1) << command;
    EXPECT_EQ(run.err.rfind(CONNECT_FAIL + absent + ": ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("; is the cutter plugged in and switched on?"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Connect to Cutter fail!"), std::string::npos) << run.err;
  }
}

}  // namespace
