// Print and cut on the command line: `plotgate marks` measuring a sheet and saving the
// registration file, --registration placing the job with it, and every refusal. The
// drawing: marks at (0,0), (8000,0), (0,6000) and a 10 mm square at (4000,3000); a sheet
// placed as the job file would put it has mark n at (400 + y, 9000 - x) units: 1 at
// (10, 225) mm, 2 at (10, 25) mm, 3 at (160, 225) mm.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"
#include "TempDir.h"

namespace {

const char* const MARKED =
    "IN;RM1,0,0;RM2,8000,0;RM3,0,6000;PU4000,3000;PD4400,3000;PD4400,3400;PD4000,3400;"
    "PD4000,3000;SP0;";
const std::string HPGL_HEADER =
    "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;";
const char* const DEGREE = "\xC2\xB0";

// Measuring and cutting: the result line, mark 3 against the pair's prediction, the file
// in units, and the job file placed by it. Catches millimetres taken as units, a
// registration file that does not read back, and --registration ignored by encode.
TEST(CliMarks, MeasuredMarksAreSavedAndPlaceTheJob) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", MARKED);
  const std::string reg = (dir.Path() / "sheet.reg").string();
  // Measured at (412,9021), (470,1018), (6430,9074) units.
  const CliRun marks({"marks", input, "--mark", "1=10.3,225.525", "--mark", "2=11.75,25.45", "--mark",
                      "3=160.75,226.85", "--save", reg});
  ASSERT_EQ(marks.code, 0) << marks.err;
  EXPECT_EQ(marks.out, std::string("turned 0.42") + DEGREE + ", scale 100.04% x 100.30%, skew 0.09" + DEGREE +
                           "; 3 marks fit exactly\nmark 3 lies 0.46 mm from where marks 1 and 2 put it\n");
  EXPECT_EQ(TempDir::Read(reg),
            "plotgate registration 1\nlaser-offset 0,0\nmark 1 design 0,0 measured 412,9021\n"
            "mark 2 design 8000,0 measured 470,1018\nmark 3 design 0,6000 measured 6430,9074\n");
  const std::string output = (dir.Path() / "job.hb").string();
  const CliRun encode({"encode", input, "--model", "Robin-Series", "--registration", reg, "--output", output});
  ASSERT_EQ(encode.code, 0) << encode.err;
  EXPECT_EQ(TempDir::Read(output),
            HPGL_HEADER + "PU3450,5046;PD3453,4646;PD3854,4649;PD3851,5050;PD3450,5046;PU3854,4649;SP0;@");
  // info names the placement; the size stays the drawing's.
  EXPECT_EQ(CliRun({"info", input, "--registration", reg}).out,
            std::string("10.00 x 10.00 mm (across the roll x along the feed)\nplaced: turned 0.42") + DEGREE +
                ", scale 100.04% x 100.30%, skew 0.09" + DEGREE + "; 3 marks fit exactly\n");
  // The preview draws the three marks as blue crosses, each of two blue paths.
  const std::string svg = (dir.Path() / "p.svg").string();
  ASSERT_EQ(CliRun({"preview", input, "--registration", reg, "--size", "213x213", "--output", svg}).code, 0);
  const std::string picture = TempDir::Read(svg);
  size_t strokes = 0;
  for (size_t at = picture.find("stroke=\"blue\""); at != std::string::npos;
       at = picture.find("stroke=\"blue\"", at + 1))
    ++strokes;
  EXPECT_EQ(strokes, 6u);
}

// Usage errors exit 2, refusals of the file or of where the marks lie exit 1; either way
// nothing is written. Each row catches a refusal missing or worded otherwise.
TEST(CliMarks, UsageErrorsAndRefusals) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", MARKED);
  const std::string plain = dir.Write("plain.plt", "PU0,0;PD400,0;PD400,400;");
  const std::string moved = dir.Write("moved.plt", std::string(MARKED).replace(11, 11, "RM2,7200,0;"));
  const std::string head = "plotgate registration 1\nlaser-offset 0,0\n";
  const std::string good = dir.Write("good.reg", head +
                                                     "mark 1 design 0,0 measured 400,9000\n"
                                                     "mark 2 design 8000,0 measured 400,1000\n");
  const std::string low = dir.Write("low.reg", head +
                                                   "mark 1 design 0,0 measured -3128,9000\n"
                                                   "mark 2 design 8000,0 measured -3128,1000\n");
  const std::string bad = dir.Write("bad.reg", "plotgate registration 1\nlaser offset 0,0\n");
  const std::string output = (dir.Path() / "out.hb").string();
  const std::string reg = (dir.Path() / "new.reg").string();
  const struct {
    std::vector<std::string> args;
    int code;
    std::string err;  // "" where the words are the argument parser's
  } rows[] = {
      {{"encode", input, "--model", "0", "--mirror", "--registration", good, "--output", output}, 2, ""},
      {{"encode", input, "--model", "0", "--rotate", "90", "--registration", good, "--output", output}, 2, ""},
      {{"marks", input, "--mark", "1=10,225", "--save", reg},
       2,
       "plotgate: give where marks 1 and 2 were measured: --mark 1=X,Y --mark 2=X,Y\n"},
      {{"marks", input, "--mark", "1=10,225", "--mark", "2=10,25", "--mark", "4=1,1", "--save", reg},
       2,
       "plotgate: --mark 4 needs --mark 3\n"},
      {{"marks", input, "--mark", "1=-10,225", "--mark", "2=10,25", "--save", reg}, 2, ""},
      // The cutter is for jogging; jogging and the laser's calibration need their own options.
      {{"marks", input, "--mark", "1=10,225", "--mark", "2=10,25", "--model", "0", "--save", reg},
       2,
       "plotgate: --model and --port are for jogging the head to the marks, not with --mark\n"},
      {{"marks", input}, 2, "plotgate: marks needs INPUT and --save FILE.reg, or --calibrate-laser\n"},
      {{"marks", "--calibrate-laser", input}, 2, ""},
      {{"marks", "--calibrate-laser", "--save", reg}, 2, ""},
      // The maker's USB link takes whole jobs only: no jog goes to it.
      {{"marks", input, "--model", "Lark-Series", "--port", "VORN_USB", "--ini", (dir.Path() / "none.ini").string(),
        "--save", reg, "--keys", dir.Write("keys", "q")},
       1,
       "plotgate: the head is jogged on serial lines only; Lark-Series cutters take jobs through the maker's USB link "
       "(VORN_USB)\n"},
      {{"marks", input, "--mark", "5=10,225", "--mark", "2=10,25", "--save", reg}, 2, ""},
      {{"marks", plain, "--mark", "1=10,225", "--mark", "2=10,25", "--save", reg},
       1,
       "plotgate: " + plain + " has no registration marks (add them with the AddMarks macro in CorelDRAW)\n"},
      {{"encode", plain, "--model", "0", "--registration", good, "--output", output},
       1,
       "plotgate: " + plain + " has no registration marks (add them with the AddMarks macro in CorelDRAW)\n"},
      {{"encode", moved, "--model", "0", "--registration", good, "--output", output},
       1,
       "plotgate: " + good +
           " was measured for another drawing (mark 2 is at 200.00, 0.00 mm there and 180.00, 0.00 mm here)\n"},
      {{"encode", input, "--model", "0", "--registration", bad, "--output", output},
       1,
       "plotgate: " + bad + ": line 2: expected laser-offset DX,DY\n"},
      {{"encode", input, "--model", "0", "--registration", low, "--output", output},
       1,
       "plotgate: the job would reach 3.20 mm beyond the cutter's origin: move the origin or the sheet\n"},
      // 8000 units turned 23.5 degrees: mark 2 at (3590, 1664) units.
      {{"marks", input, "--mark", "1=10,225", "--mark", "2=89.75,41.6", "--save", reg},
       1,
       std::string("plotgate: the sheet is turned 23.5") + DEGREE + ": is it loaded the way the drawing shows?\n"},
  };
  for (const auto& row : rows) {
    const CliRun run(row.args);
    EXPECT_EQ(run.code, row.code) << row.args[0] << " " << row.args[1] << " " << run.err;
    if (!row.err.empty()) {
      EXPECT_EQ(run.err, row.err);
    }
    EXPECT_FALSE(std::filesystem::exists(output)) << run.err;
    EXPECT_FALSE(std::filesystem::exists(reg)) << run.err;
  }
}

}  // namespace
