// The placement from measured marks, with figures worked by hand: marks designed at (0,0),
// (8000,0), (0,6000) (and (8000,6000)); the cutter takes the drawing turned a quarter, so
// a sheet placed as the job file would put it has mark n at (400 + y, 9000 - x).
#include <gtest/gtest.h>

#include <cmath>

#include "JobText.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/CutOrder.h"
#include "pipeline/JobFrame.h"
#include "pipeline/JobPlacement.h"
#include "pipeline/PreviewScene.h"
#include "pipeline/Registration.h"
#include "pipeline/RegistrationFile.h"

namespace {

const IntPoint DESIGN[] = {{0, 0}, {8000, 0}, {0, 6000}, {8000, 6000}};

std::vector<MeasuredMark> Marks(std::initializer_list<IntPoint> measured, const IntPoint* design = DESIGN) {
  std::vector<MeasuredMark> marks;
  for (const IntPoint& m : measured) {
    const int number = static_cast<int>(marks.size()) + 1;
    marks.push_back(MeasuredMark{number, design[number - 1], m});
  }
  return marks;
}

// Each row catches a fault of the fit or of how it reads: the quarter turn the cutter
// takes the drawing with counted as a turn, the wrong axis of the skew, a reflection in
// the similarity, the least squares' centre, the refusals' limits and words.
TEST(Registration, FitsReadAndRefusalsFromMeasuredMarks) {
  const IntPoint nearlyInLine[] = {{0, 0}, {8000, 0}, {8000, 700}};  // sine 0.087 at mark 1
  const IntPoint justOffLine[] = {{0, 0}, {8000, 0}, {8000, 900}};   // sine 0.112
  const IntPoint onePlace[] = {{0, 0}, {0, 0}};
  const struct {
    const char* what;
    std::vector<MeasuredMark> marks;
    std::string said;  // the result line, or the refusal
  } rows[] = {
      {"translation", Marks({{400, 9000}, {400, 1000}, {6400, 9000}}),
       "turned 0.00\xC2\xB0, scale 100.00% x 100.00%, skew 0.00\xC2\xB0; 3 marks fit exactly"},
      // The x axis goes to (1.000375, 0.00725): 0.4152°, 100.04%; the y axis to
      // (-0.008833, 1.003): 0.5046°, 100.30%, a skew of 0.0894°.
      {"turned and stretched", Marks({{412, 9021}, {470, 1018}, {6430, 9074}}),
       "turned 0.42\xC2\xB0, scale 100.04% x 100.30%, skew 0.09\xC2\xB0; 3 marks fit exactly"},
      // k = (58 - 8003i) / 8000: one scale on both axes, no skew.
      {"2 marks", Marks({{412, 9021}, {470, 1018}}),
       "turned 0.42\xC2\xB0, scale 100.04% x 100.04%, skew 0.00\xC2\xB0; 2 marks fit exactly"},
      // Mark 4 measured 8 units along the roll from its place: least squares leave 2 units
      // at every mark, a = 8/16000 (0.03°) and b = 1 + 8/12000 (100.07%).
      {"4 marks least squares", Marks({{400, 9000}, {400, 1000}, {6400, 9000}, {6408, 1000}}),
       "turned 0.03\xC2\xB0, scale 100.00% x 100.07%, skew -0.03\xC2\xB0; largest misfit 0.05 mm"},
      {"collinear", Marks({{400, 9000}, {400, 1000}, {1100, 1000}}, nearlyInLine),
       "marks 1, 2 and 3 lie almost on one line: place mark 3 away from the line through 1 and 2"},
      {"off the line by a sine of 0.11", Marks({{400, 9000}, {400, 1000}, {1300, 1000}}, justOffLine),
       "turned 0.00\xC2\xB0, scale 100.00% x 100.00%, skew 0.00\xC2\xB0; 3 marks fit exactly"},
      {"one place", Marks({{400, 9000}, {400, 1000}}, onePlace),
       "marks 1 and 2 lie at one place in the drawing: place them apart"},
      {"scale up", Marks({{400, 9000}, {400, 672}, {6400, 9000}}),
       "the marks are 4.1% farther apart than in the drawing: was it printed at 100% (not \"fit to page\")?"},
      {"scale down", Marks({{400, 9000}, {400, 1320}, {6400, 9000}}),
       "the marks are 4.0% closer together than in the drawing: was it printed at 100% (not \"fit to page\")?"},
      // 8000 units turned 23.5°: (sin, -cos) * 8000 = (3190, -7336).
      {"turn", Marks({{400, 9000}, {3590, 1664}}),
       "the sheet is turned 23.5\xC2\xB0: is it loaded the way the drawing shows?"},
      // Mark 3 measured 20° off the line square to marks 1 and 2: b = 5638 / 6000 and
      // e = 2052 / 6000, atan(2052 / 5638) = 20.0°, the scale still 100%.
      {"skew", Marks({{400, 9000}, {400, 1000}, {6038, 11052}}),
       "the marks are skewed 20.0\xC2\xB0: was each mark measured under its own number?"},
      // Mark 4 200 units off: 50 units (1.25 mm) left at every mark.
      {"4 marks misfit", Marks({{400, 9000}, {400, 1000}, {6400, 9000}, {6600, 1000}}),
       " lies 1.25 mm from where the four marks together put it: measure the marks again"},
  };
  for (const auto& row : rows) {
    PlacementFit fit;
    const std::string refusal = FitPlacement(row.marks, fit);
    const std::string said = refusal.empty() ? PlacementResultLine(fit) : refusal;
    if (row.said[0] == ' ')
      EXPECT_EQ(said.substr(said.find(' ', 5)), row.said) << row.what;
    else
      EXPECT_EQ(said, row.said) << row.what;
  }
}

// With three marks the similarity of marks 1 and 2 predicts mark 3 at (6414.25, 9064.5),
// 0.46 mm (18.39 units) from where it was measured. Catches a similarity that reflects or
// turns the wrong way, which would put mark 3 on the other side.
TEST(Registration, ThirdMarkAgainstThePairsPrediction) {
  PlacementFit pair, three;
  ASSERT_EQ(FitPlacement(Marks({{412, 9021}, {470, 1018}}), pair), "");
  const Placement& m = pair.map;
  EXPECT_NEAR(m.a * 0 + m.b * 6000 + m.c, 6414.25, 1e-9);
  EXPECT_NEAR(m.d * 0 + m.e * 6000 + m.f, 9064.5, 1e-9);
  EXPECT_EQ(pair.thirdOff, -1);
  ASSERT_EQ(FitPlacement(Marks({{412, 9021}, {470, 1018}, {6430, 9074}}), three), "");
  EXPECT_NEAR(three.thirdOff, std::hypot(15.75, 9.5), 1e-9);
}

// Rounding, not truncation: 3449.9999... must give 3450; halves go away from zero.
TEST(Registration, PlacedPointsRoundHalfAwayFromZero) {
  const Placement identity = {1, 0, 0, 0, 1, 0};
  EXPECT_EQ(PlacedPoint(identity, 3449.9999999, -0.5).x, 3450);
  EXPECT_EQ(PlacedPoint(identity, 2.5, -0.5).x, 3);
  EXPECT_EQ(PlacedPoint(identity, 2.5, -0.5).y, -1);
  EXPECT_EQ(PlacedPoint(identity, 1e12, -1e12).x, INT32_MAX);  // held, not wrapped
}

// A square of 10 mm at (4000,3000)-(4400,3400) among the marks.
const char* const MARKED_SQUARE =
    "IN;RM1,0,0;RM2,8000,0;RM3,0,6000;PU4000,3000;PD4400,3000;PD4400,3400;PD4000,3400;PD4000,3000;SP0;";
const std::string HPGL_HEADER =
    "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;";

struct PlacedJob {
  explicit PlacedJob(std::initializer_list<IntPoint> measured, const CutOrder& order = {}) {
    job.LoadJob(dir.Write("job.plt", MARKED_SQUARE).c_str());
    job.SetCutOrder(order);
    if (measured.size() == 0) return;
    PlacementFit fit;
    refusal = FitPlacement(Marks(measured), fit);
    job.m_placement = fit.map;
  }
  std::string Bytes() {
    const std::string path = (dir.Path() / "job.hb").string();
    WriteJobFile(job, path.c_str(), {DialectHpgl, true}, {});
    return TempDir::Read(path);
  }
  TempDir dir;
  CPlotJob job;
  std::string refusal;
};

// The job file with a placement: the drawing's points through the map, rounded, the final
// pen-up at the image of the corner (4400, 3400). Catches points mapped from the job's
// moved coordinates instead of the drawing's, truncation (3449), the swap applied on top of
// the map, and marks counted in the job's size.
TEST(Registration, JobFileBytesWithAndWithoutAPlacement) {
  EXPECT_EQ(PlacedJob({{400, 9000}, {400, 1000}, {6400, 9000}}).Bytes(),
            HPGL_HEADER + "PU3400,5000;PD3400,4600;PD3800,4600;PD3800,5000;PD3400,5000;PU3800,4600;SP0;@");
  EXPECT_EQ(PlacedJob({{412, 9021}, {470, 1018}, {6430, 9074}}).Bytes(),
            HPGL_HEADER + "PU3450,5046;PD3453,4646;PD3854,4649;PD3851,5050;PD3450,5046;PU3854,4649;SP0;@");
  // Without one: the square alone at the origin, 400 x 400, written as (y, 400 - x).
  PlacedJob plain({});
  EXPECT_EQ(plain.Bytes(), HPGL_HEADER + "PU0,400;PD0,0;PD400,0;PD400,400;PD0,400;PU400,0;SP0;@");
  EXPECT_EQ(plain.job.WidthText(), "10.00");
}

// A weed border moves the ordered job to a new origin; the square must still land where
// the marks put it (the drawing's origin followed through the cut order).
TEST(Registration, PlacementFollowsTheCutOrdersMove) {
  CutOrder border;
  border.weedMargin = 40;
  const std::string bytes = PlacedJob({{400, 9000}, {400, 1000}, {6400, 9000}}, border).Bytes();
  EXPECT_NE(bytes.find("PU3400,5000;PD3400,4600;PD3800,4600;PD3800,5000;PD3400,5000;"), std::string::npos) << bytes;
  // The border 1 mm outside: its corner (3360, 5040) is the image of (3960, 2960).
  EXPECT_NE(bytes.find("3360,5040;"), std::string::npos) << bytes;
}

// The frame visits the four corners' images from the image of (maxX, minY) and back.
// Catches a frame that goes round the job file's own box instead of the sheet's.
TEST(Registration, FrameRoundsTheCornersImages) {
  PlacedJob placed({{400, 9000}, {400, 1000}, {6400, 9000}});
  EXPECT_EQ(JobFrameCommands(placed.job, {DialectHpgl, true}, {}),
            HPGL_HEADER + "PU3400,4600;PU3800,4600;PU3800,5000;PU3400,5000;PU3400,4600;SP0;@");
}

// How far below the origin: every mark 3528 units lower along the roll puts the square's
// first coordinate at -128 (3.20 mm); the nominal sheet reaches nowhere below. Catches a
// reach measured on the job's own coordinates, which never go below 0.
TEST(Registration, ReachBeyondTheCutterOrigin) {
  PlacedJob low({{-3128, 9000}, {-3128, 1000}, {2872, 9000}});
  ASSERT_EQ(PrepareJobForWriting(low.job), JOB_DONE);
  EXPECT_EQ(BeyondCutterOrigin(low.job), 128);
  PlacedJob nominal({{400, 9000}, {400, 1000}, {6400, 9000}});
  ASSERT_EQ(PrepareJobForWriting(nominal.job), JOB_DONE);
  EXPECT_EQ(BeyondCutterOrigin(nominal.job), 0);
}

// A job placed once keeps that placement through every refusal of another, and a
// mirrored job takes none. Catches a refusal that drops or replaces the placement held
// (the dialog's refused OK must leave the job as it was), marks 1 and 2 or mark 3 not
// asked for, and a placement laid on a mirrored or panelled drawing, where the marks'
// places mean nothing.
TEST(Registration, PlaceJobRefusesAndKeepsWhatWasHeld) {
  PlacedJob placed({});
  PlacementFit fit;
  ASSERT_EQ(PlaceJob(placed.job, Marks({{400, 9000}, {400, 1000}, {6400, 9000}}), fit), "");
  const std::string bytes = placed.Bytes();
  EXPECT_EQ(bytes, HPGL_HEADER + "PU3400,5000;PD3400,4600;PD3800,4600;PD3800,5000;PD3400,5000;PU3800,4600;SP0;@");
  const struct {
    std::vector<MeasuredMark> marks;
    const char* refusal;
  } rows[] = {
      {Marks({{400, 9000}}), "set marks 1 and 2 at least to place the sheet"},
      {{{1, DESIGN[0], {400, 9000}}, {2, DESIGN[1], {400, 1000}}, {4, DESIGN[3], {6400, 1000}}},
       "mark 4 is used only with mark 3; set mark 3 too"},
      {Marks({{-3128, 9000}, {-3128, 1000}, {2872, 9000}}),
       "the job would reach 3.20 mm beyond the cutter's origin: move the origin or the sheet"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PlaceJob(placed.job, row.marks, fit), row.refusal);
    EXPECT_EQ(placed.Bytes(), bytes) << row.refusal;
  }
  PlacedJob mirrored({});
  mirrored.job.Mirror();
  EXPECT_EQ(PlaceJob(mirrored.job, Marks({{400, 9000}, {400, 1000}, {6400, 9000}}), fit),
            "the job is mirrored or turned, and the marks place the drawing as it was printed: undo the mirror and the "
            "rotation first");
  EXPECT_FALSE(mirrored.job.m_placement);
  // The 10 mm square on media 5 mm wide: two panels, which would move its halves apart.
  PlacedJob panelled({});
  ASSERT_EQ(panelled.job.SetPanels({200, 0, 0}), JOB_DONE);
  EXPECT_EQ(PlaceJob(panelled.job, Marks({{400, 9000}, {400, 1000}, {6400, 9000}}), fit),
            "the job is cut in panels, and the marks place the drawing as it was printed: turn the panels off first");
  EXPECT_FALSE(panelled.job.m_placement);
}

// The preview of a placed job, worked from the translation above: the square where the
// cutter cuts it (x = 9000 - second, y = first), the marks where they were measured and
// the cutter's origin at the bottom right. Catches the preview left showing the drawing
// unplaced, drawn mirrored against the jog's arrows, or framed without the origin.
TEST(Registration, PreviewSceneShowsWhereThePlacedJobIsCut) {
  PlacedJob placed({});
  PlacementFit fit;
  ASSERT_EQ(PlaceJob(placed.job, Marks({{400, 9000}, {400, 1000}, {6400, 9000}}), fit), "");
  const CPreviewScene scene(placed.job);
  std::vector<std::pair<int32_t, int32_t>> points, marks;
  for (const PlotPoint* p = scene.Points(); p; p = p->next) points.emplace_back(p->x, p->y);
  EXPECT_EQ(points, (std::vector<std::pair<int32_t, int32_t>>{
                        {4000, 3400}, {4400, 3400}, {4400, 3800}, {4000, 3800}, {4000, 3400}}));
  for (const IntPoint& m : scene.AlsoFit()) marks.emplace_back(m.x, m.y);
  EXPECT_EQ(marks, (std::vector<std::pair<int32_t, int32_t>>{{0, 400}, {8000, 400}, {0, 6400}, {9000, 0}}));
  EXPECT_EQ(scene.Marks().size(), 3u);
  ASSERT_TRUE(scene.CutterOrigin());
  EXPECT_EQ(std::make_pair(scene.CutterOrigin()->x, scene.CutterOrigin()->y), std::make_pair(9000, 0));
  const PlacedJob unplaced({});
  EXPECT_FALSE(CPreviewScene(unplaced.job).CutterOrigin());
  const JobBounds b = scene.Bounds();
  EXPECT_EQ(std::vector<int32_t>({b.minX, b.maxX, b.maxY, b.minY}), std::vector<int32_t>({0, 9000, 6400, 0}));
}

// Marks of another drawing: a mark the drawing lacks, or more than 0.05 mm (2 units) away.
// Catches the limit taken as at least rather than more than, and a missing mark passed.
TEST(Registration, MarksOfAnotherDrawing) {
  DrawingMarks drawing;
  drawing.has[0] = drawing.has[1] = true;
  drawing.at[0] = {0, 0};
  drawing.at[1] = {7200, 0};
  const std::vector<MeasuredMark> theirs = {{1, {0, 0}, {0, 0}}, {2, {8000, 0}, {0, 0}}};
  EXPECT_EQ(OtherDrawingProblem(theirs, drawing), "mark 2 is at 200.00, 0.00 mm there and 180.00, 0.00 mm here");
  drawing.at[1] = {7998, 0};  // 2 units: the same drawing
  EXPECT_EQ(OtherDrawingProblem(theirs, drawing), "");
  drawing.at[1] = {7997, 0};
  EXPECT_NE(OtherDrawingProblem(theirs, drawing), "");
  const std::vector<MeasuredMark> three = {{1, {0, 0}, {0, 0}}, {2, {7997, 0}, {0, 0}}, {3, {0, 6000}, {0, 0}}};
  EXPECT_EQ(OtherDrawingProblem(three, drawing), "mark 3 is at 0.00, 150.00 mm there and missing here");
}

// Catches a file that does not read back as written, and line ends or an order of marks
// that a hand-edited file may have refused.
TEST(RegistrationFile, WrittenAndReadBack) {
  RegistrationRecord record;
  record.laserOffset = {-12, 30};
  record.marks = Marks({{412, 9021}, {470, 1018}, {6430, 9074}});
  const std::string text = RegistrationText(record);
  EXPECT_EQ(text,
            "plotgate registration 1\nlaser-offset -12,30\nmark 1 design 0,0 measured 412,9021\n"
            "mark 2 design 8000,0 measured 470,1018\nmark 3 design 0,6000 measured 6430,9074\n");
  RegistrationRecord read;
  ASSERT_EQ(ReadRegistrationText(text, read), "");
  EXPECT_EQ(RegistrationText(read), text);
  // CR LF line ends, empty lines and marks out of order are taken.
  ASSERT_EQ(ReadRegistrationText("plotgate registration 1\r\n\r\nlaser-offset 0,0\r\nmark 2 design 8000,0 measured "
                                 "1,2\r\nmark 1 design 0,0 measured 3,4\r\n",
                                 read),
            "");
  ASSERT_EQ(read.marks.size(), 2u);
  EXPECT_EQ(read.marks[0].number, 1);
  EXPECT_EQ(read.marks[1].measured.y, 2);
}

// Each malformed file is named by its line (or by what the whole file lacks) and leaves
// no marks behind.
TEST(RegistrationFile, MalformedFilesNameTheLine) {
  const std::string head = "plotgate registration 1\nlaser-offset 0,0\n";
  const std::string one = "mark 1 design 0,0 measured 400,9000\n";
  const std::string two = "mark 2 design 8000,0 measured 400,1000\n";
  const struct {
    std::string text;
    std::string why;
  } rows[] = {
      {"", "line 1: expected \"plotgate registration 1\""},
      {"plotgate registration 2\n", "line 1: expected \"plotgate registration 1\""},
      {"plotgate registration 1\n", "line 2: expected laser-offset DX,DY"},
      {"plotgate registration 1\nlaser-offset 0;0\n", "line 2: expected laser-offset DX,DY"},
      {head + one + "mark 2 design 8000,0 measured 400,1000,7\n", "line 4: expected mark N design X,Y measured X,Y"},
      {head + one + "mark 2  design 8000,0 measured 400,1000\n", "line 4: expected mark N design X,Y measured X,Y"},
      {head + one + "mark 2 design 8000,0 measured 400,2147483648\n",
       "line 4: expected mark N design X,Y measured X,Y"},  // beyond 32 bits
      {head + one + "mark 5 design 8000,0 measured 400,1000\n", "line 4: mark 5: marks are numbered 1 to 4"},
      {head + one + one, "line 4: mark 1 is given twice"},
      {head + one, "mark 2 is missing: marks 1 and 2 are needed"},
      {head + one + two + "mark 4 design 8000,6000 measured 6400,1000\n", "mark 4 needs mark 3"},
  };
  for (const auto& row : rows) {
    RegistrationRecord record;
    EXPECT_EQ(ReadRegistrationText(row.text, record), row.why) << row.text;
    EXPECT_TRUE(record.marks.empty());
  }
}

}  // namespace
