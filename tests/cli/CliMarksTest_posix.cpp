// Print and cut to a cutter on a pseudo-terminal: send and frame with --registration put
// the job where the measured marks say. The drawing and the sheet as in CliMarksTest: marks at (0,0), (8000,0),
// (0,6000) measured at (400,9000), (400,1000), (6400,9000), a 10 mm square at (4000,3000).
#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempDir.h"
#include "cutter/PseudoTerminal.h"

namespace {

const std::string HPGL_HEADER =
    "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;";

// Catches send and frame that leave the placement out, and a send that places the job but
// sends its own frame or the job file's own corner.
TEST(CliMarksOnACutter, SendAndFrameCutWhereTheMarksPutTheJob) {
  TempDir dir;
  const std::string input = dir.Write("job.plt",
                                      "IN;RM1,0,0;RM2,8000,0;RM3,0,6000;PU4000,3000;PD4400,3000;PD4400,3400;"
                                      "PD4000,3400;PD4000,3000;SP0;");
  const std::string reg =
      dir.Write("sheet.reg",
                "plotgate registration 1\nlaser-offset 0,0\nmark 1 design 0,0 measured 400,9000\n"
                "mark 2 design 8000,0 measured 400,1000\nmark 3 design 0,6000 measured 6400,9000\n");
  const std::string ini = (dir.Path() / "Plotgate.ini").string();
  PseudoTerminal cutter;
  ASSERT_FALSE(cutter.Path().empty());

  const CliRun send(
      {"send", input, "--model", "Robin-Series", "--port", cutter.Path(), "--ini", ini, "--registration", reg});
  ASSERT_EQ(send.code, 0) << send.err;
  const std::string square = "PU3400,5000;PD3400,4600;PD3800,4600;PD3800,5000;PD3400,5000;PU3800,4600;SP0;@";
  EXPECT_EQ(cutter.Receive(HPGL_HEADER.size() + square.size()), HPGL_HEADER + square);
  EXPECT_NE(send.out.find("placed by " + reg + ": turned 0.00"), std::string::npos) << send.out;

  const CliRun frame(
      {"frame", input, "--model", "Robin-Series", "--port", cutter.Path(), "--ini", ini, "--registration", reg});
  ASSERT_EQ(frame.code, 0) << frame.err;
  const std::string corners = "PU3400,4600;PU3800,4600;PU3800,5000;PU3400,5000;PU3400,4600;SP0;@";
  EXPECT_EQ(cutter.Receive(HPGL_HEADER.size() + corners.size()), HPGL_HEADER + corners);

  // The marks fix the placement: a mirror or turn with them is a usage error, and nothing
  // reaches the cutter.
  for (const char* command : {"send", "frame"}) {
    const CliRun mirrored({command, input, "--model", "Robin-Series", "--port", cutter.Path(), "--ini", ini,
                           "--registration", reg, "--mirror"});
    EXPECT_EQ(mirrored.code, 2) << command;
  }
  EXPECT_EQ(cutter.Arrived(), "");
}

}  // namespace
