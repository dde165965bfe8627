// The pipeline at its limits: memory that runs out at any allocation, jobs too large to
// fit, coordinates and distances at the ends of their range, files that fail to write.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "JobText.h"
#include "SwappedRoutines.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/PlotJob.h"
#include "pipeline/PreviewLayout.h"

namespace {

const std::string HPGL_HEADER =
    "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;";

// What a user does with a job: load, rotate (mirrored first), mirror back, look at the
// preview, write the job file with both options. Stops at the first step that fails and
// says which one and how.
struct Session {
  std::string Run(const std::string& input, const std::string& output) {
    CPlotJob job;
    job.LoadJob(input.c_str());
    if (!job.HasJob()) return "load: " + std::string(JobResultText(job.m_loadResult));
    job.Mirror();
    const JobResult rotated = job.RotateTo(1);
    if (rotated != JOB_DONE || !job.HasJob()) {
      return "rotate: " + std::string(rotated == JOB_DONE ? "no points" : JobResultText(rotated));
    }
    job.Mirror();
    const CPreviewLayout layout(job.m_pPoints, job.m_bounds, 200, 150);
    strokes = static_cast<size_t>(std::distance(layout.begin(), layout.end()));
    JobFailure why;
    if (!WriteJobFile(job, output.c_str(), {DialectHpgl, true}, Options("0.38", "0.85"), &why))
      return "write: " + std::string(JobResultText(why.result));
    return "done";
  }
  size_t strokes = 0;
};

TEST(OutOfMemory, EveryAllocationCanFailWithoutACrashOrALeak) {
  TempDir dir;
  // Curves, a diagonal, and a vertical run that reaches the end of the list, where the
  // merge fills its open node.
  const std::string input =
      dir.Write("job.plt", "IN;SP1;PU0,0;BZ100,-50,300,50,400,0;PD400,300;PD250,450;PU500,0;PD500,100;PD500,200;");
  const std::string output = (dir.Path() / "job.hb").string();
  SwappedRoutines swap;
  AllocationCounter::Start(0);
  Session reference;
  ASSERT_EQ(reference.Run(input, output), "done");
  const std::string expected = TempDir::Read(output);
  const long allocations = AllocationCounter::calls;
  ASSERT_GT(allocations, 40);
  ASSERT_EQ(AllocationCounter::live, 0);

  for (long k = 1; k <= allocations; ++k) {
    std::remove(output.c_str());
    AllocationCounter::Start(k);
    Session session;
    const std::string result = session.Run(input, output);
    // Reading and flattening fail the load, merging fails the write; nothing else may fail
    // (the rotation flattens into the nodes the load made), nothing may be left behind.
    EXPECT_TRUE(result == "load: not enough memory for this job" || result == "write: not enough memory for this job" ||
                result == "done")
        << "allocation " << k << ": " << result;
    if (result == "done") {
      EXPECT_EQ(TempDir::Read(output), expected) << "allocation " << k;
    }
    EXPECT_EQ(AllocationCounter::live, 0) << "allocation " << k;
  }
}

// What a holder of the job shows and sends: the points, their bounds, the states, the order,
// the panels.
std::string JobState(const CPlotJob& job) {
  const CutOrder& order = job.GetCutOrder();
  const PanelLayout& panels = job.GetPanelLayout();
  const JobBounds& b = job.m_bounds;
  return PointsText(job.m_pPoints) + " | " + std::to_string(b.minX) + "," + std::to_string(b.minY) + "," +
         std::to_string(b.maxX) + "," + std::to_string(b.maxY) + " | " + std::to_string(job.MirrorState) + " " +
         std::to_string(job.RotateState) + " | " + std::to_string(order.insideFirst) +
         std::to_string(order.shortestTravel) + " " + std::to_string(order.weedMargin) + " x" +
         std::to_string(order.passes) + " | " + std::to_string(panels.mediaWidth) + " " +
         std::to_string(job.GetPanels().plan.count);
}

// A choice refused for want of memory leaves the job as it was, whichever allocation
// fails: the same points, bounds, states and cut order, and no block lost or released
// twice. Catches a refused cut order, mirror or rotation that releases the job (or half
// of it), or that keeps the new state over the old points.
TEST(OutOfMemory, ARefusedChoiceLeavesTheJobAsItWas) {
  TempDir dir;
  const std::string input =
      dir.Write("job.plt",
                "IN;SP1;PU0,0;PD4000,0;PD4000,2000;PD0,2000;PD0,0;PU1000,500;BZ1500,1500,2500,0,3000,1500;PD1000,500;");
  const std::string written = (dir.Path() / "job.hb").string();
  CutOrder inner;
  inner.insideFirst = true;
  inner.weedMargin = 40;
  inner.passes = 2;
  CutOrder travel;
  travel.shortestTravel = true;
  travel.passes = 3;
  // The job is 4000 by 2000 units, turned 2000 across: two panels of 1200 units' media
  // with 100 overlap, or three of 800 units'.
  const PanelLayout two = {1200, 100, 200}, three = {800, 100, 200};
  // The job as the dialog holds it: in the drawing's order, in a cut order, or with its
  // points merged by a job file written before (a rotation then builds a new list).
  struct Start {
    const char* name;
    CutOrder order;
    bool merged;
    PanelLayout panels;
  };
  const Start starts[] = {{"drawing order", CutOrder{}, false, PanelLayout{}},
                          {"cut order", inner, false, PanelLayout{}},
                          {"merged points", CutOrder{}, true, PanelLayout{}},
                          {"panels", CutOrder{}, false, two},
                          {"panels in a cut order", inner, false, two}};
  struct Choice {
    const char* name;
    std::function<JobResult(CPlotJob&)> make;
  };
  const Choice choices[] = {{"cut order", [&](CPlotJob& job) { return job.SetCutOrder(travel); }},
                            {"mirror", [](CPlotJob& job) { return job.Mirror(); }},
                            {"rotation", [](CPlotJob& job) { return job.RotateTo(3); }},
                            {"panels", [&](CPlotJob& job) { return job.SetPanels(three); }}};
  SwappedRoutines swap;
  for (const Start& start : starts) {
    for (const Choice& choice : choices) {
      const auto prepare = [&](CPlotJob& job) {
        job.SetCutOrder(start.order);
        job.SetPanels(start.panels);
        job.LoadJob(input.c_str());
        job.RotateTo(1);
        job.Mirror();
        if (start.merged) {
          ASSERT_EQ(WriteJobFile(job, written.c_str(), {DialectHpgl, true}, Options("", "")), 1);
        }
      };
      AllocationCounter::Start(0);
      std::string before, after;
      long allocations = 0;
      {
        CPlotJob job;
        prepare(job);
        before = JobState(job);
        const long prepared = AllocationCounter::calls;
        ASSERT_EQ(choice.make(job), JOB_DONE);
        after = JobState(job);
        allocations = AllocationCounter::calls - prepared;
      }
      ASSERT_EQ(AllocationCounter::live, 0);
      int refused = 0;
      for (long k = 1; k <= allocations; ++k) {
        const std::string label = std::string(start.name) + ", " + choice.name + ", allocation " + std::to_string(k);
        AllocationCounter::Start(0);
        {
          CPlotJob job;
          prepare(job);
          AllocationCounter::failAt = AllocationCounter::calls + k;
          const JobResult result = choice.make(job);
          if (result == JOB_DONE) {
            EXPECT_EQ(JobState(job), after) << label;
          } else {
            ++refused;
            EXPECT_EQ(result, JOB_NO_MEMORY) << label;
            EXPECT_EQ(JobState(job), before) << label;
            EXPECT_TRUE(job.HasJob()) << label;
          }
        }
        EXPECT_EQ(AllocationCounter::live, 0) << label;
      }
      // Every allocation the choice makes is needed: each that fails refuses it. A new cut
      // order always builds a new list. Caught for panels: a refused panelling or a turn
      // that needs panels it cannot build keeping the new layout over the old points.
      EXPECT_EQ(refused, allocations) << start.name << ", " << choice.name;
      if (choice.name == std::string("cut order")) {
        EXPECT_GT(allocations, 0) << start.name;
      }
    }
  }
}

// `curves` curves back and forth between opposite corners of the coordinate range: each
// has a chord of about 6.07e9 units, so 77,935 segments.
std::string CornerToCorner(int curves) {
  std::string text = "PU-2147483648,-2147483648;";
  for (int i = 0; i < curves; ++i)
    text += i % 2 ? "BZ0,0,0,0,-2147483648,-2147483648;" : "BZ0,0,0,0,2147483647,2147483647;";
  return text;
}

TEST(JobTooLarge, CountedWhileReadingAndRefusedAtTheLimit) {
  TempDir dir;
  SwappedRoutines swap;
  AllocationCounter::Start(0);
  CPlotJob job;
  // Each curve counts for 77,944 points (77,935 segments, the overshoot allowance and two),
  // after the first node and the move: the 257th curve passes the 20 million a job may have.
  // Reading stops there, so of the 100,000 curves only those are ever held in memory.
  job.LoadJob(dir.Write("big.plt", CornerToCorner(100000)).c_str());
  EXPECT_FALSE(job.HasJob());
  EXPECT_EQ(job.m_loadResult, JOB_TOO_LARGE);
  // The first node, then a coordinate block and a node for the move and each curve read.
  EXPECT_EQ(AllocationCounter::calls, 1 + 2 * (1 + 257));
  EXPECT_EQ(AllocationCounter::live, 0);

  job.LoadJob(dir.Write("ok.plt", "PU0,0;PD10,10;").c_str());  // the next load starts afresh
  EXPECT_TRUE(job.HasJob());
  EXPECT_EQ(job.m_loadResult, JOB_DONE);
}

TEST(JobTooLarge, CountIsNeverBelowWhatFlatteningBuilds) {
  // Exact below 10,000 segments a curve; above, the accumulated parameter runs past 1 by up
  // to 1/10,000 and the count allows for it.
  for (const std::string& text : {std::string("PU0,0;BZ0,0,400,0,400,0;PD5,5;BZ9,9,9,9,9,9;"),
                                  std::string("PU0,0;BZ1,2,3,4,100000000,0;"), CornerToCorner(2), std::string("")}) {
    CommandList commands = ReadText(text);
    PointList points = nullptr;
    ASSERT_EQ(FlattenCommands(commands, points), JOB_DONE);
    int64_t built = 0;
    for (PlotPoint* p = points; p; p = p->next) ++built;
    const int64_t counted = CountFlattenedPoints(commands);
    EXPECT_GE(counted, built) << text.substr(0, 40);
    EXPECT_LE(counted, built + 2 * 3) << text.substr(0, 40);
    FreeCommands(commands);
    FreePoints(points);
  }
}

TEST(Saturation, BladeOffsetPlusOverCutAtTheLimit) {
  // A blade offset that saturates at INT32_MAX units plus an over-cut of 200: the closing
  // cut goes toward the first segment's end and stops at the limit, not 2e9 units the
  // other way.
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("square.plt", "PU0,0;PD1000,0;PD1000,1000;PD0,1000;PD0,0;").c_str());
  const std::string path = (dir.Path() / "job.hb").string();
  ASSERT_EQ(WriteJobFile(job, path.c_str(), {DialectHpgl, true}, Options("99999999", "5")), 1);
  // In output coordinates the path starts at (0,1000) and its first segment runs to (0,0):
  // 1000 + trunc(-2147483847 / 1000 * 1000), the product saturated.
  const std::string bytes = TempDir::Read(path);
  const std::string end = "PD0,-2147482648;PU1000,0;SP0;@";
  EXPECT_EQ(bytes.substr(bytes.size() - end.size()), end);
}

TEST(Saturation, CoordinatesAtTheEndsOfTheRangeGoThroughEveryStage) {
  // Under the sanitizers any overflow here is a failure.
  TempDir dir;
  const std::string input =
      dir.Write("extreme.plt",
                "PU-2147483648,2147483647;PD2147483647,2147483647;PD2147483647,-2147483648;PD-2147483648,-2147483648;"
                "PD-2147483648,2147483647;BZ2147483647,-2147483648,-2147483648,2147483647,-2147483000,2147483000;"
                "PU0,0;PD0,2147483647;");
  const std::string output = (dir.Path() / "job.hb").string();
  const OffsetOptions options[] = {Options("", ""), Options("0.38", "0.85"), Options("99999999", "99999999"),
                                   Options("-99999999", "99999999"), Options("1e30", "-1e30")};
  for (int rotate = ROTATE_0; rotate <= ROTATE_270; ++rotate) {
    for (int mirror : {MIRROR_NORMAL, MIRROR_MIRRORED}) {
      for (const OffsetOptions& o : options) {
        for (int dialect : {DialectHpgl, DialectDmpl}) {
          CPlotJob job;
          job.LoadJob(input.c_str());
          job.MirrorState = mirror;
          job.RotateTo(rotate - ROTATE_0);
          job.Mirror();
          EXPECT_FALSE(CPreviewLayout(job.m_pPoints, job.m_bounds, 400, 300).empty());
          EXPECT_FALSE(CPreviewLayout(job.m_pPoints, job.m_bounds, 1, 1).empty());
          ASSERT_EQ(WriteJobFile(job, output.c_str(), {dialect, dialect == DialectHpgl}, o), 1);
          const std::string bytes = TempDir::Read(output);
          const std::string end = StringsFor(dialect).terminator;
          EXPECT_EQ(bytes.substr(bytes.size() - end.size()), end);
        }
      }
    }
  }
}

// Write and close routines that fail, as a full disk makes them.
struct FailingFile {
  static inline long writesLeft = 0;
  static size_t Write(const void* buffer, size_t size, size_t count, FILE* file) {
    if (writesLeft-- <= 0) return count / 2;
    return fwrite(buffer, size, count, file);
  }
  static int Close(FILE* file) {
    fclose(file);
    return EOF;
  }
};

TEST(WriteFailure, AnyShortWriteOrAFailedCloseFailsTheJobFile) {
  TempDir dir;
  // 10,000 segments: 160 KB of commands, so the file takes several writes.
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "PU0,0;PD10,10;";
  const std::string input = dir.Write("job.plt", text);
  const std::string output = (dir.Path() / "job.hb").string();
  SwappedRoutines swap;
  for (long good : {0, 1, 2}) {
    FailingFile::writesLeft = good;
    g_routines.Write = FailingFile::Write;
    CPlotJob job;
    job.LoadJob(input.c_str());
    JobFailure why;
    EXPECT_EQ(WriteJobFile(job, output.c_str(), {DialectHpgl, true}, {}, &why), 0) << good;
    EXPECT_EQ(why.result, JOB_WRITE_FAILED);
  }
  g_routines.Write = fwrite;
  g_routines.Close = FailingFile::Close;
  CPlotJob job;
  job.LoadJob(input.c_str());
  JobFailure why;
  EXPECT_EQ(WriteJobFile(job, output.c_str(), {DialectDmpl, true}, Options("0.38", ""), &why), 0);
  EXPECT_EQ(why.result, JOB_WRITE_FAILED);
}

TEST(BlockWrites, LongJobIsWrittenWholeInBothModes) {
  // 10,000 single-segment paths: more than two of the encoder's 64 KB blocks. In output
  // coordinates (y, 10 - x) each is a move to (0,10) and a line to (10,0).
  TempDir dir;
  std::string text, direct, offset;
  for (int i = 0; i < 10000; ++i) {
    text += "PU0,0;PD10,10;";
    direct += "PU0,10;PD10,0;";
    // With over-cut 34 an open path goes on past its end: 34 / sqrt(200) of the segment
    // more, so (10,0) + 2.404 * (10,-10), truncated per axis.
    offset += "PU0,10;PD34,-24;";
  }
  const std::string input = dir.Write("job.plt", text);
  const std::string output = (dir.Path() / "job.hb").string();
  CPlotJob job;
  job.LoadJob(input.c_str());
  ASSERT_EQ(WriteJobFile(job, output.c_str(), {DialectHpgl, true}, {}), 1);
  EXPECT_EQ(TempDir::Read(output), HPGL_HEADER + direct + "PU10,0;SP0;@");
  ASSERT_EQ(WriteJobFile(job, output.c_str(), {DialectHpgl, true}, Options("0.38", "0.85")), 1);
  EXPECT_EQ(TempDir::Read(output), HPGL_HEADER + offset + "PU10,0;SP0;@");
}

}  // namespace
