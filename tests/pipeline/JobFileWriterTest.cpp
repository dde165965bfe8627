#include <gtest/gtest.h>

#include "JobText.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/Geometry.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/StraightRuns.h"

namespace {

const std::string HPGL_HEADER =
    "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;";
const std::string DMPL_HEADER =
    ";:H A L0 ECN U U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 ";

// The stream cut after every ";" or space, so that a mismatch names the command.
std::vector<std::string> Tokens(const std::string& stream) {
  std::vector<std::string> tokens(1);
  for (char c : stream) {
    tokens.back() += c;
    if (c == ';' || c == ' ') tokens.emplace_back();
  }
  if (tokens.back().empty()) tokens.pop_back();
  return tokens;
}

struct Encoded {
  Encoded(const std::string& exchange, int dialect, bool swap = true, const OffsetOptions& options = {}) {
    job.LoadJob(dir.Write("job.plt", exchange).c_str());
    path = (dir.Path() / "cutcorldata.hb").string();
    result = WriteJobFile(job, path.c_str(), {dialect, swap}, options);
    bytes = TempDir::Read(path);
  }
  TempDir dir;
  CPlotJob job;
  std::string path;
  int result;
  std::string bytes;
};

TEST(JobFile, HeadersAreExact) {
  EXPECT_EQ(HPGL_HEADER.size(), 97u);
  EXPECT_EQ(DMPL_HEADER.size(), 90u);
  EXPECT_EQ(StringsFor(DialectHpgl).header, HPGL_HEADER);
  EXPECT_EQ(StringsFor(DialectDmpl).header, DMPL_HEADER);
  EXPECT_EQ(StringsFor(7).header, HPGL_HEADER);  // any value but 1 is HPGL
}

TEST(JobFile, OneSegmentInBothDialects) {
  Encoded hpgl("PU0,0;PD4000,0;", DialectHpgl);
  EXPECT_EQ(hpgl.result, 1);
  EXPECT_EQ(Tokens(hpgl.bytes), Tokens(HPGL_HEADER + "PU0,4000;PD0,0;PU0,0;SP0;@"));
  Encoded dmpl("PU0,0;PD4000,0;", DialectDmpl);
  EXPECT_EQ(Tokens(dmpl.bytes), Tokens(DMPL_HEADER + "U0,4000 D0,0 U0,0 @ "));
}

// Force and speed go in after the header's opening, each only when set, and never a force
// in DM/PL. Caught: a command in the wrong place or order, a force sent to DM/PL, a byte
// changed with neither set, and a header with them that a send from a later path (which
// copies the opening) does not recognise and so drops.
TEST(JobFile, ForceAndSpeedInTheHeaderOfBothDialects) {
  std::string hpglHoming, dmplHoming;
  for (int i = 0; i < 15; ++i) {
    hpglHoming += "PU0,0;";
    dmplHoming += "U0,0 ";
  }
  const std::string hpglBody = "PU0,4000;PD0,0;PU0,0;SP0;@", dmplBody = "U0,4000 D0,0 U0,0 @ ";
  const struct {
    int dialect, force, speed;
    std::string header;
  } rows[] = {
      {DialectHpgl, 0, 0, "IN;SP1;" + hpglHoming},
      {DialectHpgl, 80, 20, "IN;SP1;FS80;VS20;" + hpglHoming},
      {DialectHpgl, 1000, 0, "IN;SP1;FS1000;" + hpglHoming},
      {DialectHpgl, 0, 1, "IN;SP1;VS1;" + hpglHoming},
      {DialectDmpl, 0, 0, ";:H A L0 ECN U " + dmplHoming},
      {DialectDmpl, 0, 20, ";:H A L0 V20 ECN U " + dmplHoming},
      {DialectDmpl, 80, 20, ";:H A L0 V20 ECN U " + dmplHoming},
      {DialectDmpl, 80, 0, ";:H A L0 ECN U " + dmplHoming},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.header);
    OffsetOptions options;
    options.tool = ToolSettings{row.force, row.speed};
    const std::string& body = row.dialect == DialectDmpl ? dmplBody : hpglBody;
    const std::string bytes = Encoded("PU0,0;PD4000,0;", row.dialect, true, options).bytes;
    EXPECT_EQ(Tokens(bytes), Tokens(row.header + body));
    EXPECT_EQ(HeaderLength(bytes.data(), bytes.size(), StringsFor(row.dialect)), row.header.size());
  }
  // The two examples by their length: 7 + 5 + 5 + 15 * 6 + 9 + 6 + 6 + 5 and 9 + 4 + 6 + 15 * 5 + 8 + 5 + 5 + 2.
  EXPECT_EQ(rows[1].header.size() + hpglBody.size(), 133u);
  EXPECT_EQ(rows[5].header.size() + dmplBody.size(), 114u);
}

TEST(JobFile, WithoutSwapTheReversedXComesFirst) {
  Encoded e("PU0,0;PD4000,0;PD4000,100;", DialectHpgl, false);
  // W = 4000, H = 100: (W - x, y); the final pen-up goes to (0, H).
  EXPECT_EQ(Tokens(e.bytes), Tokens(HPGL_HEADER + "PU4000,0;PD0,0;PD0,100;PU0,100;SP0;@"));
}

const char* SQUARE = "PU0,0;PD1000,0;PD1000,1000;PD0,1000;PD0,0;";
// The square in output coordinates (y, 1000 - x): (0,1000) (0,0) (1000,0) (1000,1000) (0,1000).
const std::string SQUARE_DIRECT = "PU0,1000;PD0,0;PD1000,0;PD1000,1000;PD0,1000;PU1000,0;SP0;@";

TEST(JobFile, OptionsReadingZeroGiveTheDirectFile) {
  OffsetOptions zero;
  zero.bladeOffset = zero.overCut = true;
  zero.bladeOffsetText = "0";
  zero.overCutText = "not a number";
  EXPECT_EQ(Tokens(Encoded(SQUARE, DialectHpgl, true, zero).bytes), Tokens(HPGL_HEADER + SQUARE_DIRECT));
  EXPECT_EQ(Tokens(Encoded(SQUARE, DialectHpgl).bytes), Tokens(HPGL_HEADER + SQUARE_DIRECT));
}

TEST(JobFile, BladeOffsetSwingsRoundEveryCorner) {
  OffsetOptions blade;
  blade.bladeOffset = true;
  blade.bladeOffsetText = "0.38";  // 15 units
  blade.overCutText = "0.85";      // not ticked: ignored
  EXPECT_EQ(Tokens(Encoded(SQUARE, DialectHpgl, true, blade).bytes),
            Tokens(HPGL_HEADER + "PU0,1000;PD0,1000;PD0,-14;PD15,0;PD1014,0;PD1000,15;PD1000,1014;PD985,1000;"
                                 "PD-14,1000;PD0,985;PD0,0;PU1000,0;SP0;@"));
}

TEST(JobFile, OverCutAloneRecutsTheFirstSegment) {
  OffsetOptions over;
  over.overCut = true;
  over.overCutText = "0.85";  // 34 units
  EXPECT_EQ(Tokens(Encoded(SQUARE, DialectDmpl, true, over).bytes),
            Tokens(DMPL_HEADER + "U0,1000 D0,1000 D0,0 D1000,0 D1000,1000 D0,1000 D0,1000 D0,966 U1000,0 @ "));
}

// The offset filter's path belongs to one job file: a job that starts with a pen-down, no
// pen-up before it, is written the same whatever job was written before it.
TEST(JobFile, EachJobFileStartsTheOffsetFilterAfresh) {
  OffsetOptions both;
  both.bladeOffset = both.overCut = true;
  both.bladeOffsetText = "0.38";
  both.overCutText = "0.85";
  const char* penDownFirst = "PD0,0;PD1000,0;PD1000,1000;PU0,0;PD500,0;";
  Encoded(SQUARE, DialectHpgl, true, both);
  const std::string afterSquare = Encoded(penDownFirst, DialectHpgl, true, both).bytes;
  Encoded("PU0,0;PD4000,0;PD4000,3000;", DialectDmpl, false, both);
  EXPECT_EQ(Encoded(penDownFirst, DialectHpgl, true, both).bytes, afterSquare);
}

TEST(JobFile, DistanceTextIsCutAtNineCharacters) {
  EXPECT_EQ(DistanceFromText("0.38"), 15);
  EXPECT_EQ(DistanceFromText("0.85"), 34);
  EXPECT_EQ(DistanceFromText("-0.5"), -20);
  EXPECT_EQ(DistanceFromText("1.5mm"), 60);
  EXPECT_EQ(DistanceFromText("abc"), 0);
  EXPECT_EQ(DistanceFromText(""), 0);
  EXPECT_EQ(DistanceFromText("00000000025"), 0);  // only "000000000" counts
  EXPECT_EQ(DistanceFromText("1e30"), INT32_MAX);
}

TEST(JobFile, NoJobOrNoFileWritesNothing) {
  Encoded missing("PU0,0;PD10,0;", DialectHpgl);
  CPlotJob empty;
  EXPECT_EQ(WriteJobFile(empty, missing.path.c_str(), {DialectHpgl, true}, {}), 0);
  EXPECT_EQ(TempDir::Read(missing.path), missing.bytes);  // the earlier file stays

  const std::string folder = (missing.dir.Path() / "no-such-folder" / "job.hb").string();
  EXPECT_EQ(WriteJobFile(missing.job, folder.c_str(), {DialectHpgl, true}, {}), 0);

  Encoded endFirst("SP0;PU0,0;", DialectHpgl);  // an empty command list
  EXPECT_EQ(endFirst.result, 0);
}

TEST(JobFile, CurvesAreWrittenAsTheirFlattenedPoints) {
  // A chord of 3 units: one segment, start and end. The curve's last point is written
  // although the list ends with a placeholder.
  Encoded e("PU0,0;BZ1,1,2,1,3,0;", DialectHpgl);
  EXPECT_EQ(Tokens(e.bytes), Tokens(HPGL_HEADER + "PU0,3;PD0,0;PU0,0;SP0;@"));
}

std::string Merge(const std::string& exchange) { return FlattenedText(exchange, MergeStraightRuns); }

TEST(MergeStraightRuns, MonotoneRunCollapsesToItsEnd) {
  EXPECT_EQ(Merge("PU0,0;PD0,0;PD100,0;PD200,0;PD300,0;"), "U0,0 D300,0");
  EXPECT_EQ(Merge("PU0,0;PD0,100;PD0,200;PD50,250;PD60,260;"), "U0,0 D0,200 D50,250 D60,260 E");
}

TEST(MergeStraightRuns, RunThatDoublesBackKeepsItsTurningPoint) {
  EXPECT_EQ(Merge("PU0,0;PD300,0;PD100,0;PD100,-200;"), "U0,0 D300,0 D100,0 D100,-200");
  // A repeated point neither sets nor reverses the direction.
  EXPECT_EQ(Merge("PU0,0;PD0,100;PD0,100;PD0,50;PD10,50;"), "U0,0 D0,100 D0,50 D10,50");
}

TEST(MergeStraightRuns, MoveEndsARun) {
  EXPECT_EQ(Merge("PU0,0;PD100,0;PD200,0;PU500,500;PD600,600;"), "U0,0 D200,0 U500,500 D600,600 E");
}

TEST(MergeStraightRuns, TrailingPlaceholderEndsTheRun) {
  // The flattened curve runs from (100,0) toward (0,0): its placeholder's (0,0) must not
  // count as a further point of the run.
  EXPECT_EQ(Merge("PU100,0;BZ80,0,60,0,0,0;"), "U100,0 D0,0 E");
}

// The curves of Flatten's DoublePrecision test as whole job files: (y, W - x) of the points
// after the move to the origin, the repeated start dropped.
TEST(JobFile, CurvesComputedInDoublesGiveTheseBytes) {
  EXPECT_EQ(Tokens(Encoded("IN;PU65,12;BZ61,4,52,52,65,3;SP0;", DialectHpgl).bytes),
            Tokens(HPGL_HEADER + "PU9,0;PD14,5;PD22,7;PD0,0;PU22,0;SP0;@"));
  EXPECT_EQ(Tokens(Encoded("IN;PU65,12;BZ61,4,52,52,65,3;SP0;", DialectDmpl).bytes),
            Tokens(DMPL_HEADER + "U9,0 D14,5 D22,7 D0,0 U22,0 @ "));
  EXPECT_EQ(Tokens(Encoded("IN;PU29,33;BZ13,74,64,59,67,25;SP0;", DialectHpgl).bytes),
            Tokens(HPGL_HEADER + "PU8,38;PD24,41;PD31,36;PD32,27;PD26,15;PD15,5;PD0,0;PU32,0;SP0;@"));
  EXPECT_EQ(Tokens(Encoded("IN;PU27,11;BZ57,5,78,35,50,42;SP0;", DialectHpgl).bytes),
            Tokens(HPGL_HEADER + "PU1,36;PD0,22;PD4,11;PD11,3;PD19,0;PD26,3;PD32,13;PU32,0;SP0;@"));
}

}  // namespace

namespace {

TEST(JobStream, SameBytesAsTheJobFileAndTheStreamStaysOpen) {
  OffsetOptions options;
  options.bladeOffset = true;
  options.bladeOffsetText = "0.38";
  const std::string exchange = "PU0,0;PD4000,0;BZ4000,2000,2000,4000,0,4000;PD0,0;";
  const Encoded file(exchange, DialectDmpl, true, options);
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("job.plt", exchange).c_str());
  const std::string path = (dir.Path() / "stream.hb").string();
  FILE* stream = fopen(path.c_str(), "wb");
  ASSERT_NE(stream, nullptr);
  JobFailure why{JOB_NO_MEMORY, 0};
  EXPECT_EQ(WriteJobStream(job, stream, {DialectDmpl, true}, options, &why), 1);
  EXPECT_EQ(why.result, JOB_DONE);
  EXPECT_EQ(TempDir::Read(path), file.bytes);  // flushed, though still open
  EXPECT_GE(fputs("more", stream), 0);
  fclose(stream);
  EXPECT_EQ(TempDir::Read(path), file.bytes + "more");
}

TEST(JobStream, FailedWritesAndNoJobAreReported) {
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("job.plt", "PU0,0;PD4000,0;").c_str());
  // A stream open for reading takes no bytes.
  FILE* readOnly = fopen(dir.Write("taken.hb", "").c_str(), "rb");
  ASSERT_NE(readOnly, nullptr);
  JobFailure why;
  EXPECT_EQ(WriteJobStream(job, readOnly, {DialectHpgl, true}, {}, &why), 0);
  EXPECT_EQ(why.result, JOB_WRITE_FAILED);
  fclose(readOnly);
  CPlotJob none;
  EXPECT_EQ(WriteJobStream(none, stdout, {DialectHpgl, true}, {}, &why), 0);
  EXPECT_EQ(why.result, JOB_NOTHING_TO_WRITE);
}

}  // namespace
