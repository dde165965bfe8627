// Print and cut to a cutter on a pseudo-terminal: send and frame with --registration put
// the job where the measured marks say, and the marks measured by jogging the head. The drawing and the sheet as in
// CliMarksTest: marks at (0,0), (8000,0), (0,6000) measured at (400,9000), (400,1000), (6400,9000), a 10 mm square at
// (4000,3000).
#include <gtest/gtest.h>

#include <filesystem>

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

// The keys a terminal sends for the arrows.
const std::string UP = "\x1b[A", DOWN = "\x1b[B", RIGHT = "\x1b[C", LEFT = "\x1b[D";

std::string Repeated(const std::string& keys, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += keys;
  return all;
}

// Catches jog keys read or sent wrongly: an arrow on the wrong axis, a step ladder that
// wraps, a head sent below 0, a header inside the jog, "go to mark" not predicting from
// the marks set (by translation after one, by the similarity after two), the marks not
// saved as set, and a missing terminator.
TEST(CliMarksOnACutter, JoggingTheHeadOntoTheMarks) {
  TempDir dir;
  const std::string input = dir.Write("job.plt",
                                      "IN;RM1,0,0;RM2,8000,0;RM3,0,6000;PU4000,3000;PD4400,3000;PD4400,3400;"
                                      "PD4000,3400;PD4000,3000;SP0;");
  const std::string reg = (dir.Path() / "sheet.reg").string();
  const std::string ini = (dir.Path() / "Plotgate.ini").string();
  PseudoTerminal cutter;
  ASSERT_FALSE(cutter.Path().empty());
  // g with nothing set, Right and Down at the origin: no move. The step down to 0.1 mm and
  // up to 10 mm, past both ends; an arrow in the terminal's other form, a key of no use.
  // Mark 1 at (400, 9000): 10 mm up, 22 times 10 mm and 5 times 1 mm left. Mark 2 where
  // mark 1 puts it, (400, 1000), then 1 mm up and left. Mark 3 where the similarity of
  // marks 1 and 2 puts it: first 0.005 x + 0.995 y + 400 and second -0.995 x + 0.005 y +
  // 9000, at (0, 6000) (6370, 9030). The drawing has no mark 4: g does nothing.
  const std::string keys = "g" + RIGHT + DOWN + "[[[]]]]" + "\x1bOA" + "\x1b[5~" + Repeated(LEFT, 22) + "[" +
                           Repeated(LEFT, 5) + "1\r" + "2g" + UP + LEFT + "\n" + "3g\r" + "4g" + "q";
  const std::string keysFile = dir.Write("keys", keys);
  const CliRun jog({"marks", input, "--model", "Robin-Series", "--port", cutter.Path(), "--ini", ini, "--save", reg,
                    "--keys", keysFile});
  std::string moves = HPGL_HEADER + "PU0,0;" + "PU400,0;";
  for (int second = 400; second <= 8800; second += 400) moves += "PU400," + std::to_string(second) + ";";
  for (int second = 8840; second <= 9000; second += 40) moves += "PU400," + std::to_string(second) + ";";
  moves += "PU400,1000;PU440,1000;PU440,1040;PU6370,9030;SP0;@";
  EXPECT_EQ(cutter.Receive(moves.size()), moves);
  EXPECT_EQ(cutter.Arrived(), "");
  ASSERT_EQ(jog.code, 0) << jog.err;
  EXPECT_EQ(TempDir::Read(reg),
            "plotgate registration 1\nlaser-offset 0,0\nmark 1 design 0,0 measured 400,9000\n"
            "mark 2 design 8000,0 measured 440,1040\nmark 3 design 0,6000 measured 6370,9030\n");
  EXPECT_NE(jog.out.find("turned 0.29\xC2\xB0, scale 99.50% x 99.50%, skew 0.00\xC2\xB0; 3 marks fit exactly\n"),
            std::string::npos)
      << jog.out;

  // Ended before marks 1 and 2 are set: the jog still ends its job, nothing is saved.
  const CliRun early({"marks", input, "--model", "Robin-Series", "--port", cutter.Path(), "--ini", ini, "--save",
                      reg + "2", "--keys", dir.Write("q", "1\rq")});
  EXPECT_EQ(cutter.Receive(HPGL_HEADER.size() + 11), HPGL_HEADER + "PU0,0;SP0;@");
  EXPECT_EQ(early.code, 1);
  EXPECT_EQ(early.err, "plotgate: set marks 1 and 2 at least to place the sheet; nothing was saved\n");
  EXPECT_FALSE(std::filesystem::exists(reg + "2"));
}

// Catches a cross cut elsewhere than at (20, 20) mm or in other than 10 mm, a jog that
// starts away from its centre, the offset's sign turned (the cross less the head), the
// offset kept under another model's key, and marks measured where the head is rather than
// where the dot is.
TEST(CliMarksOnACutter, TheLaserOffsetCalibratedAndUsed) {
  TempDir dir;
  const std::string ini = (dir.Path() / "Plotgate.ini").string();
  PseudoTerminal cutter;
  ASSERT_FALSE(cutter.Path().empty());
  // The dot lies 1 mm before the knife along the roll and 1 mm short across it: the head
  // goes 1 mm up and 1 mm left from the cross's centre.
  const CliRun calibrate({"marks", "--calibrate-laser", "--model", "Robin-Series", "--port", cutter.Path(), "--ini",
                          ini, "--keys", dir.Write("keys", UP + LEFT + "\r")});
  // The cross's centre (200, 200) of the drawing at (800, 800), the drawing turned a
  // quarter: (x, y) at (y + 600, 1000 - x); its cut ends at its corner (400, 400). The jog
  // goes on in the same job: a second header would stop a cheap cutter's cut.
  const std::string cross = HPGL_HEADER + "PU800,1000;PD800,600;PU600,800;PD1000,800;PU1000,600;";
  const std::string jog = "PU800,800;PU840,800;PU840,840;SP0;@";
  EXPECT_EQ(cutter.Receive(cross.size() + jog.size()), cross + jog);
  ASSERT_EQ(calibrate.code, 0) << calibrate.err;
  EXPECT_EQ(TempDir::Read(ini), "[Registration]\r\nLaserOffset5=-40,-40\r\n");

  // Mark 1 with the head at (400, 9200) lies at (360, 9160); the dot on mark 2, predicted
  // at (360, 1160), puts the head at (400, 1200).
  const std::string input = dir.Write("job.plt",
                                      "IN;RM1,0,0;RM2,8000,0;RM3,0,6000;PU4000,3000;PD4400,3000;PD4400,3400;"
                                      "PD4000,3400;PD4000,3000;SP0;");
  const std::string reg = (dir.Path() / "sheet.reg").string();
  const CliRun marks({"marks", input, "--model", "Robin-Series", "--port", cutter.Path(), "--ini", ini, "--save", reg,
                      "--keys", dir.Write("marks", "]" + UP + Repeated(LEFT, 23) + "1\r2g\rq")});
  std::string moves = HPGL_HEADER + "PU0,0;PU400,0;";
  for (int second = 400; second <= 9200; second += 400) moves += "PU400," + std::to_string(second) + ";";
  moves += "PU400,1200;SP0;@";
  EXPECT_EQ(cutter.Receive(moves.size()), moves);
  ASSERT_EQ(marks.code, 0) << marks.err;
  EXPECT_EQ(TempDir::Read(reg),
            "plotgate registration 1\nlaser-offset -40,-40\nmark 1 design 0,0 measured 360,9160\n"
            "mark 2 design 8000,0 measured 360,1160\n");
}

}  // namespace
