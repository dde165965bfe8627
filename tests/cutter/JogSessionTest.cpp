// Jogging the head and measuring marks with it, the bytes recorded instead of sent. The
// drawing's marks are at (0,0), (8000,0) and (0,6000); the cutter takes the drawing turned
// a quarter, so a sheet placed as the job file would put it has mark n at (400 + y, 9000 - x).
#include <gtest/gtest.h>

#include "cutter/JogSession.h"
#include "cutter/MarkJog.h"
#include "pipeline/CommandDialect.h"

namespace {

const std::string HPGL_HEADER =
    "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;";

// A jog session whose parts go to `sent`, one string each.
struct RecordedJog {
  explicit RecordedJog(int dialect = DialectHpgl)
      : jog(dialect, [this](const std::string& bytes) {
          sent.push_back(bytes);
          return SEND_DONE;
        }) {}
  std::vector<std::string> sent;
  CJogSession jog;
};

// Catches an arrow on the wrong axis or the wrong way, a step ladder that wraps or starts
// elsewhere than 1 mm, a head sent below 0, a move sent when the head cannot go on, and a
// header sent again after the start.
TEST(JogSession, ArrowsStepsAndTheOrigin) {
  RecordedJog r;
  ASSERT_EQ(r.jog.Start(), SEND_DONE);
  EXPECT_EQ(r.jog.Step(), 40);
  r.jog.Arrow(JOG_UP);     // PU40,0;
  r.jog.Arrow(JOG_LEFT);   // PU40,40;
  r.jog.Arrow(JOG_RIGHT);  // PU40,0;
  r.jog.Arrow(JOG_RIGHT);  // at 0 across: nothing
  r.jog.Arrow(JOG_DOWN);   // PU0,0;
  r.jog.Arrow(JOG_DOWN);   // nothing
  r.jog.StepUp();
  r.jog.StepUp();         // 10 mm, the largest
  r.jog.Arrow(JOG_UP);    // PU400,0;
  r.jog.Arrow(JOG_LEFT);  // PU400,400;
  r.jog.StepDown();
  r.jog.StepDown();
  r.jog.StepDown();  // 0.1 mm, the smallest
  EXPECT_EQ(r.jog.Step(), 4);
  r.jog.Arrow(JOG_DOWN);  // PU396,400;
  r.jog.StepUp();
  r.jog.StepUp();          // 10 mm again
  r.jog.Arrow(JOG_RIGHT);  // PU396,0;
  r.jog.Arrow(JOG_RIGHT);  // nothing
  r.jog.Arrow(JOG_DOWN);   // stops at 0: PU0,0;
  // The step buttons choose a step at once, none beyond the ladder's ends.
  r.jog.SetStep(-1);
  EXPECT_EQ(r.jog.Step(), 4);
  r.jog.SetStep(JOG_STEP_COUNT);
  EXPECT_EQ(r.jog.Step(), 400);
  ASSERT_EQ(r.jog.End(), SEND_DONE);
  const std::vector<std::string> expected = {
      HPGL_HEADER + "PU0,0;", "PU40,0;",    "PU40,40;", "PU40,0;", "PU0,0;", "PU400,0;",
      "PU400,400;",           "PU396,400;", "PU396,0;", "PU0,0;",  "SP0;@"};
  EXPECT_EQ(r.sent, expected);
  EXPECT_EQ(r.jog.Head().x, 0);
  EXPECT_EQ(r.jog.Head().y, 0);
}

// Catches DM/PL jogs written in HPGL's words or end bytes, and a header without the
// tool's speed, which a cut later in the jog (the laser pointer's cross) would then lack.
TEST(JogSession, DmplSpeaksItsOwnDialect) {
  RecordedJog r(DialectDmpl);
  ToolSettings tool;
  tool.speed = 20;
  r.jog.Start(tool);
  r.jog.Arrow(JOG_LEFT);
  r.jog.MoveTo(IntPoint{-5, 12});  // below 0 stops at 0
  r.jog.End();
  std::string header = StringsFor(DialectDmpl).header;
  header.insert(header.find("ECN"), "V20 ");  // ";:H A L0 V20 ECN U ..."
  const std::vector<std::string> expected = {header + "U0,0 ", "U0,40 ", "U0,12 ", "@ "};
  EXPECT_EQ(r.sent, expected);
}

// A failed write leaves the head where the cutter last had it, so that the next move is
// not skipped as one to where the head already is.
TEST(JogSession, AFailedMoveDoesNotMoveTheHead) {
  bool fail = false;
  CJogSession jog(DialectHpgl, [&](const std::string&) { return fail ? SEND_WRITE_FAILED : SEND_DONE; });
  jog.Start();
  fail = true;
  EXPECT_EQ(jog.Arrow(JOG_UP), SEND_WRITE_FAILED);
  EXPECT_EQ(jog.Head().x, 0);
}

DrawingMarks ThreeMarks() {
  DrawingMarks marks;
  const IntPoint design[] = {{0, 0}, {8000, 0}, {0, 6000}};
  for (int i = 0; i < 3; ++i) {
    marks.has[i] = true;
    marks.at[i] = design[i];
  }
  return marks;
}

void ExpectPoint(IntPoint got, int32_t first, int32_t second, const char* what) {
  EXPECT_EQ(got.x, first) << what;
  EXPECT_EQ(got.y, second) << what;
}

// Catches a prediction with the drawing's axes not turned as the cutter takes them, a
// similarity not used once two marks are measured (truncated instead of rounded: 9064.5
// must give 9065), a laser offset added where it should be taken away or the reverse, and
// a prediction below 0 sent as it is.
TEST(MarkJog, GoToAndSetMarks) {
  RecordedJog r;
  CMarkJog marks(ThreeMarks(), IntPoint{0, 0});
  IntPoint head = {-1, -1};
  EXPECT_FALSE(marks.HeadForMark(2, head)) << "nothing measured yet";
  EXPECT_FALSE(marks.Set(r.jog, 4)) << "the drawing has no mark 4";
  r.jog.MoveTo(IntPoint{400, 9000});
  ASSERT_TRUE(marks.Set(r.jog, 1));
  ASSERT_TRUE(marks.HeadForMark(2, head));
  ExpectPoint(head, 400, 1000, "mark 2 by translation");
  ASSERT_TRUE(marks.HeadForMark(3, head));
  ExpectPoint(head, 6400, 9000, "mark 3 by translation");

  // The sheet turned and stretched a little: after marks 1 and 2, the similarity puts
  // mark 3 at (6414.25, 9064.5).
  r.jog.MoveTo(IntPoint{412, 9021});
  marks.Set(r.jog, 1);  // measured again
  r.jog.MoveTo(IntPoint{470, 1018});
  marks.Set(r.jog, 2);
  ASSERT_TRUE(marks.HeadForMark(3, head));
  ExpectPoint(head, 6414, 9065, "mark 3 by the similarity");
  const std::vector<MeasuredMark> measured = marks.Measured();
  ASSERT_EQ(measured.size(), 2u);
  ExpectPoint(measured[0].measured, 412, 9021, "mark 1 as measured the second time");
  // The list's rows: the place in millimetres, two decimals.
  EXPECT_EQ(marks.MarkText(2), "2 at 11.75, 25.45 mm");
  EXPECT_EQ(marks.MarkText(3), "3 not measured");

  // The laser dot 2.5 mm along the roll and 1.25 mm across from the knife: the head stops
  // short of the mark by the offset, and the mark is where the dot is.
  CMarkJog laser(ThreeMarks(), IntPoint{100, -50});
  r.jog.MoveTo(IntPoint{312, 9071});
  laser.Set(r.jog, 1);
  ExpectPoint(laser.Measured()[0].measured, 412, 9021, "the dot's place");
  ASSERT_TRUE(laser.HeadForMark(2, head));
  ExpectPoint(head, 312, 1071, "the head for the dot on mark 2");
  // Calibrated again: the mark set stays where the dot found it, and the next is aimed at
  // with the new offset.
  laser.SetLaserOffset(IntPoint{0, 0});
  ExpectPoint(laser.Measured()[0].measured, 412, 9021, "mark 1 after the calibration");
  ASSERT_TRUE(laser.HeadForMark(2, head));
  ExpectPoint(head, 412, 1021, "the head for the knife on mark 2");

  // Mark 1 measured near the edge: mark 2 would lie beyond the cutter's origin.
  r.jog.MoveTo(IntPoint{0, 100});
  CMarkJog edge(ThreeMarks(), IntPoint{0, 0});
  edge.Set(r.jog, 1);
  ASSERT_TRUE(edge.HeadForMark(2, head));
  ExpectPoint(head, 0, 0, "held at 0");
}

}  // namespace
