// cut-order-bench [EXAMPLES [PLOTGATE [RUNS]]]: first the processor time and peak resident
// memory of whole `plotgate encode` runs (PLOTGATE, by default the one built with this
// program; the median of RUNS, by default 3) with and without --inside-first on the
// drawings that cost inner shapes first most: nested squares and a circle of many points
// drawn twice. Then the pen-up travel of the example "CUT" and of a generated sheet of 500
// small letters with counters, in the drawing's order and with inner shapes first and the
// nearest start next; then the processor time to order 100,000 paths (50,000 letters of an
// outline and a counter) against the time the job file takes on a 38400-baud line, and the
// processor time to cut the same job in panels on 100 mm media against the time its job
// file takes on that line.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "pipeline/CommandDialect.h"
#include "pipeline/CutOrder.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/PlotJob.h"
#include "tools/ChildProcess.h"

namespace {

// A closed polygon of `corners` points round (cx, cy) with radii rx, ry, starting on the
// right; `clockwise` as a counter is often drawn.
std::string Ring(double cx, double cy, double rx, double ry, int corners, bool clockwise) {
  std::string text;
  for (int i = 0; i <= corners; ++i) {
    const double a = (clockwise ? -1 : 1) * 2 * std::acos(-1.0) * (i % corners) / corners;
    text += (i == 0 ? "PU" : "PD") + std::to_string(static_cast<int>(cx + rx * std::cos(a))) + "," +
            std::to_string(static_cast<int>(cy + ry * std::sin(a))) + ";";
  }
  return text;
}

// One small letter (about 5 by 7 mm) at (x, y) with its outline first, then its counters:
// an "o", a "D" (four-cornered), a "B" (two counters) or an "A" (three-cornered).
std::string Letter(int kind, int x, int y) {
  switch (kind) {
    case 0: return Ring(x + 100, y + 140, 100, 140, 24, false) + Ring(x + 100, y + 140, 55, 90, 24, true);
    case 1: return Ring(x + 100, y + 140, 100, 140, 4, false) + Ring(x + 100, y + 140, 50, 80, 4, true);
    case 2:
      return Ring(x + 100, y + 140, 100, 140, 12, false) + Ring(x + 100, y + 200, 45, 40, 12, true) +
             Ring(x + 100, y + 75, 45, 40, 12, true);
    default: return Ring(x + 100, y + 120, 110, 150, 3, false) + Ring(x + 100, y + 110, 40, 50, 3, true);
  }
}

// `letters` letters in lines of 40 across, read left to right and top to bottom, as a
// drawing holds typed text: each letter's outline, then its counters.
std::string Sheet(int letters) {
  std::mt19937 random(20261209);
  std::string text = "IN;SP1;";
  for (int i = 0; i < letters; ++i) text += Letter(random() % 4, (i % 40) * 240, -(i / 40) * 360);
  return text + "SP0;";
}

// `count` squares around one centre, 4 units apart, the outermost first: each is inside
// every one drawn before it.
std::string NestedSquares(int count) {
  std::string text = "IN;SP1;";
  for (int k = 0; k < count; ++k) {
    const std::string low = std::to_string(4 * k), high = std::to_string(8 * count - 4 * k);
    text += "PU" + low + "," + low + ";PD" + high + "," + low + ";PD" + high + "," + high + ";PD" + low + "," + high +
            ";PD" + low + "," + low + ";";
  }
  return text + "SP0;";
}

// A circle of `corners` points (1 m across) drawn twice, one copy on the other.
std::string DoubledCircle(int corners) {
  const std::string ring = Ring(20000, 20000, 20000, 20000, corners, false);
  return "IN;SP1;" + ring + ring + "SP0;";
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Prints the processor time and peak resident memory of `plotgate encode` on `text`, with
// and without --inside-first.
void InsideFirstAtScale(const char* what, const std::string& text, const std::string& plotgate, int runs) {
  const auto folder = std::filesystem::temp_directory_path();
  const std::string input = (folder / ("cut-order-bench-" + std::to_string(getpid()) + ".plt")).string();
  const std::string output = (folder / ("cut-order-bench-" + std::to_string(getpid()) + ".hb")).string();
  std::ofstream(input, std::ios::binary) << text;
  for (bool inside : {false, true}) {
    std::vector<std::string> args = {plotgate, "encode", input, "--model", "1", "--output", output};
    if (inside) args.push_back("--inside-first");
    std::vector<double> cpu, rss;
    for (int run = 0; run < runs; ++run) {
      const ProcessCost cost = RunProcess(args);
      cpu.push_back(cost.cpuMs);
      rss.push_back(cost.peakMiB);
    }
    printf("| %s (%.1f MB) | %s | %.0f ms | %.1f MiB |\n", what, text.size() / 1e6, inside ? "on" : "off", Median(cpu),
           Median(rss));
  }
  std::filesystem::remove(input);
  std::filesystem::remove(output);
}

double CpuMs() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Loaded {
  explicit Loaded(const std::string& path) { job.LoadJob(path.c_str()); }
  double TravelMm() const {
    const JobBounds& b = job.m_bounds;
    return PenUpTravel(job.m_pPoints, IntPoint{b.maxX, b.minY}, IntPoint{b.maxX, b.maxY}) / PLOT_UNITS_PER_MM;
  }
  CPlotJob job;
};

CutOrder InsideFirstNearest() {
  CutOrder order;
  order.insideFirst = true;
  order.shortestTravel = true;
  return order;
}

void Travel(const char* what, const std::string& path) {
  Loaded l(path);
  if (!l.job.HasJob()) {
    printf("%s: cannot load %s\n", what, path.c_str());
    return;
  }
  const double before = l.TravelMm();
  l.job.SetCutOrder(InsideFirstNearest());
  const double after = l.TravelMm();
  printf("%-34s pen-up travel %9.1f mm in the drawing's order, %9.1f mm inner first and nearest next (%+.0f%%)\n", what,
         before, after, 100.0 * (after - before) / before);
}

// The median of three processor times of `step` on `job`, each followed by `undo`.
template <typename Step, typename Undo>
double MedianMs(CPlotJob& job, Step step, Undo undo) {
  std::vector<double> times;
  for (int run = 0; run < 3; ++run) {
    const double start = CpuMs();
    step(job);
    times.push_back(CpuMs() - start);
    undo(job);
  }
  return Median(times);
}

// The time the job's file takes on a 38400-baud line, in milliseconds, and its size in MB.
double LineMs(CPlotJob& job, double& megabytes) {
  const std::string jobFile = (std::filesystem::temp_directory_path() / "cut-order-bench.hb").string();
  WriteJobFile(job, jobFile.c_str(), {DialectHpgl, true}, OffsetOptions{});
  const double bytes = static_cast<double>(std::filesystem::file_size(jobFile));
  std::filesystem::remove(jobFile);
  megabytes = bytes / 1e6;
  return bytes * 10 / 38400 * 1000;  // 10 bits a byte on the line
}

std::string WriteTemp(const std::string& name, const std::string& text) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string examples = argc > 1 ? argv[1] : EXAMPLES_DIR;
  const std::string plotgate = argc > 2 ? argv[2] : PLOTGATE_CLI;
  const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
  // Processes first, while this one is small: a child's peak resident memory counts what
  // it shared with this process before it started the program.
  printf("plotgate encode, processor time and peak resident memory (median of %d):\n\n", runs);
  printf("| drawing | --inside-first | time | peak memory |\n|---|---|---|---|\n");
  InsideFirstAtScale("10,000 nested squares", NestedSquares(10000), plotgate, runs);
  InsideFirstAtScale("20,000 nested squares", NestedSquares(20000), plotgate, runs);
  InsideFirstAtScale("circle of 50,000 points drawn twice", DoubledCircle(50000), plotgate, runs);
  InsideFirstAtScale("circle of 100,000 points drawn twice", DoubledCircle(100000), plotgate, runs);
  printf("\n");
  Travel("example \"CUT\"", examples + "/cut-word.plt");
  const std::string sheet = WriteTemp("cut-order-bench-sheet.plt", Sheet(500));
  Travel("sheet of 500 letters", sheet);

  const std::string large = WriteTemp("cut-order-bench-large.plt", Sheet(50000));
  Loaded l(large);
  const double ordering = MedianMs(
      l.job, [](CPlotJob& job) { job.SetCutOrder(InsideFirstNearest()); },
      [](CPlotJob& job) { job.SetCutOrder(CutOrder{}); });
  l.job.SetCutOrder(InsideFirstNearest());
  double megabytes = 0;
  double lineMs = LineMs(l.job, megabytes);
  printf(
      "ordering 100,000 paths (50,000 letters): %.0f ms processor time (median of 3); the job file of %.1f MB "
      "takes %.0f s at 38400 baud: %.3f%% of it\n",
      ordering, megabytes, lineMs / 1000, 100.0 * ordering / lineMs);

  // The sheet is 240 mm across: three panels of 100 mm media with 10 mm overlap.
  l.job.SetCutOrder(CutOrder{});
  const PanelLayout panels = {100 * PLOT_UNITS_PER_MM, 10 * PLOT_UNITS_PER_MM, 20 * PLOT_UNITS_PER_MM};
  const double panelling = MedianMs(
      l.job, [&](CPlotJob& job) { job.SetPanels(panels); }, [](CPlotJob& job) { job.SetPanels(PanelLayout{}); });
  l.job.SetPanels(panels);
  lineMs = LineMs(l.job, megabytes);
  printf(
      "cutting them in panels (%s): %.0f ms processor time (median of 3); the job file of %.1f MB takes %.0f s "
      "at 38400 baud: %.3f%% of it\n",
      PanelText(l.job.GetPanels()).c_str(), panelling, megabytes, lineMs / 1000, 100.0 * panelling / lineMs);
  std::filesystem::remove(sheet);
  std::filesystem::remove(large);

  return 0;
}
