// pipeline-bench [PLOTGATE]: the job pipeline on drawings of N closed paths of four cubic
// curves each (circles of 3 to 100 mm), N = 400, 2,000 and 20,000, with blade offset and
// over-cut off and on (0.25 mm and 1 mm). For each it prints the median processor time of
// every stage run in this process with the points written per second and the peak of memory
// obtained through the pipeline's routines, and the processor time and peak resident
// memory of a whole `plotgate encode` process (PLOTGATE, by default the one built with
// this program), with the bytes per output point.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "pipeline/CommandDialect.h"
#include "pipeline/ExchangeReader.h"
#include "pipeline/Geometry.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/PipelineRoutines.h"
#include "pipeline/StraightRuns.h"
#include "tools/ChildProcess.h"

namespace {

// Every block carries its size in front, so that the live total and its peak can be kept.
size_t g_live = 0, g_peak = 0;

void* CountingAlloc(size_t size) {
  size_t* block = static_cast<size_t*>(malloc(size + sizeof(size_t)));
  if (!block) return nullptr;
  *block = size;
  g_live += size;
  g_peak = std::max(g_peak, g_live);
  return block + 1;
}

void CountingFree(void* p) {
  if (!p) return;
  size_t* block = static_cast<size_t*>(p) - 1;
  g_live -= *block;
  free(block);
}

// N circles of 3 to 100 mm (120 to 4000 units) on a grid of 110 mm cells, each four
// cubic curves starting from its rightmost point.
std::string Drawing(int paths) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> diameter(120, 4000);
  const int columns = 100, cell = 4400;
  std::string text = "IN;SP1;";
  char command[160];
  for (int i = 0; i < paths; ++i) {
    const double r = diameter(random) / 2.0, k = 0.5523 * r;
    const int cx = (i % columns) * cell + cell / 2, cy = (i / columns) * cell + cell / 2;
    const auto at = [&](double dx, double dy) {
      return std::to_string(static_cast<int>(cx + dx)) + "," + std::to_string(static_cast<int>(cy + dy));
    };
    snprintf(command, sizeof command, "PU%s;", at(r, 0).c_str());
    text += command;
    const double quarter[4][6] = {
        {r, k, k, r, 0, r}, {-k, r, -r, k, -r, 0}, {-r, -k, -k, -r, 0, -r}, {k, -r, r, -k, r, 0}};
    for (const auto& q : quarter) text += "BZ" + at(q[0], q[1]) + "," + at(q[2], q[3]) + "," + at(q[4], q[5]) + ";";
  }
  return text + "SP0;";
}

int Runs(int paths) { return paths >= 20000 ? 5 : 9; }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Processor time of this process in milliseconds: on a machine shared with other work the
// wall clock would count their time too.
double CpuNow() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// Commands written between the header and the terminator, the final pen-up included.
long OutputPoints(const std::string& path) {
  FILE* f = fopen(path.c_str(), "rb");
  long semicolons = 0;
  for (int c; f && (c = fgetc(f)) != EOF;) semicolons += c == ';';
  if (f) fclose(f);
  return semicolons - 18;  // 17 in the header, 1 in the terminator
}

struct StageTimes {
  double read, flatten, merge, write, total;
  size_t peak;
};

// One pass of the stages in this process, as `plotgate encode` runs them: read, flatten
// (with the move to the origin), then WriteJobFile, whose merge is timed on its own on a
// second flattening of the same commands (left out of the peak) and counted apart.
StageTimes RunStages(const std::string& input, const std::string& output, const OffsetOptions& options) {
  StageTimes t{};
  const size_t before = g_live;
  g_peak = g_live;
  CPlotJob job;
  double start = CpuNow();
  ReadExchangeFile(job.m_pCommands, input.c_str());
  t.read = CpuNow() - start;
  start = CpuNow();
  FlattenCommands(job.m_pCommands, job.m_pPoints);
  ComputeBounds(job.m_pPoints, job.m_bounds);
  const JobTransform toOrigin = OriginTranslation(job.m_bounds);
  TransformPoints(job.m_pPoints, toOrigin);
  TransformCommands(toOrigin, job.m_pCommands);
  t.flatten = CpuNow() - start;
  size_t peak = g_peak;

  PointList spare = nullptr;
  FlattenCommands(job.m_pCommands, spare);
  start = CpuNow();
  MergeStraightRuns(spare);
  t.merge = CpuNow() - start;
  FreePoints(spare);

  g_peak = g_live;
  start = CpuNow();
  WriteJobFile(job, output.c_str(), {DialectHpgl, true}, options);
  t.write = CpuNow() - start - t.merge;
  t.total = t.read + t.flatten + t.merge + t.write;
  t.peak = std::max(peak, g_peak) - before;
  return t;
}

void WriteFile(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

struct Row {
  int paths;
  bool on;
  long points;
  double cpu, rss;
  StageTimes stages;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string plotgate = argc > 1 ? argv[1] : PLOTGATE_CLI;
  g_routines.Alloc = CountingAlloc;
  g_routines.Free = CountingFree;
  const auto folder = std::filesystem::temp_directory_path();
  const std::string input = (folder / ("pipeline-bench-" + std::to_string(getpid()) + ".plt")).string();
  const std::string output = (folder / ("pipeline-bench-" + std::to_string(getpid()) + ".hb")).string();
  const std::vector<std::string> encode = {plotgate, "encode", input, "--model", "1", "--output", output};

  // Processes first, while this one is small: a child's peak resident memory counts what
  // it shared with this process before it started the program.
  // One short line: a job without outlines is refused.
  WriteFile(input, "IN;PU0,0;PD1,0;SP0;");
  const double baseMiB = RunProcess(encode).peakMiB;  // the program itself, not the job
  std::vector<Row> rows;
  for (int paths : {400, 2000, 20000}) {
    WriteFile(input, Drawing(paths));
    for (bool on : {false, true}) {
      std::vector<std::string> args = encode;
      if (on) args.insert(args.end(), {"--blade-offset", "0.25", "--overcut", "1"});
      std::vector<double> cpu, rss;
      for (int i = 0; i < Runs(paths); ++i) {
        const ProcessCost cost = RunProcess(args);
        cpu.push_back(cost.cpuMs);
        rss.push_back(cost.peakMiB);
      }
      rows.push_back(Row{paths, on, OutputPoints(output), Median(cpu), Median(rss), {}});
    }
  }

  for (Row& row : rows) {
    WriteFile(input, Drawing(row.paths));
    OffsetOptions options;
    options.bladeOffset = options.overCut = row.on;
    options.bladeOffsetText = "0.25";
    options.overCutText = "1";
    std::vector<double> read, flatten, merge, write, total;
    size_t peak = 0;
    for (int i = 0; i < Runs(row.paths); ++i) {
      const StageTimes t = RunStages(input, output, options);
      read.push_back(t.read);
      flatten.push_back(t.flatten);
      merge.push_back(t.merge);
      write.push_back(t.write);
      total.push_back(t.total);
      peak = std::max(peak, t.peak);
    }
    row.stages = StageTimes{Median(read), Median(flatten), Median(merge), Median(write), Median(total), peak};
  }

  printf("Processor time, medians; plotgate encode on an empty job: %.1f MiB resident.\n\n", baseMiB);
  printf(
      "| N paths | options | output points | read ms | flatten ms | merge ms | write ms | total ms | points/s | "
      "pipeline heap B/point | process CPU ms | peak RSS MiB | RSS B/point | RSS above empty B/point |\n");
  printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const Row& r : rows) {
    const StageTimes& t = r.stages;
    printf("| %d | %s | %ld | %.1f | %.1f | %.1f | %.1f | %.1f | %.2f M | %.1f | %.1f | %.1f | %.1f | %.1f |\n",
           r.paths, r.on ? "on" : "off", r.points, t.read, t.flatten, t.merge, t.write, t.total,
           r.points / t.total / 1000.0, static_cast<double>(t.peak) / r.points, r.cpu, r.rss,
           r.rss * 1048576.0 / r.points, (r.rss - baseMiB) * 1048576.0 / r.points);
  }
  std::filesystem::remove(input);
  std::filesystem::remove(output);
  return 0;
}
