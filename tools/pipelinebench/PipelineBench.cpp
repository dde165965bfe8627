// pipeline-bench [CURVES]: times the job pipeline's stages on a generated job and prints,
// for each, the time and the peak of memory obtained through the pipeline's routines.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "CommandDialect.h"
#include "ExchangeReader.h"
#include "Geometry.h"
#include "JobFileWriter.h"
#include "PipelineRoutines.h"
#include "StraightRuns.h"

namespace {

// Every block carries its size in front, so that the live total and its peak can be kept.
size_t g_live = 0, g_peak = 0;

void* CountingAlloc(size_t size) {
  size_t* block = static_cast<size_t*>(malloc(size + sizeof(size_t)));
  if (!block) return nullptr;
  *block = size;
  g_live += size;
  if (g_live > g_peak) g_peak = g_live;
  return block + 1;
}

void CountingFree(void* p) {
  if (!p) return;
  size_t* block = static_cast<size_t*>(p) - 1;
  g_live -= *block;
  free(block);
}

// A grid of small closed shapes, each of four curves of about 100 units chord length:
// ten segments per curve.
std::string GenerateJob(int curves) {
  std::string text = "IN;SP1;";
  char command[256];
  for (int i = 0; i < curves / 4; ++i) {
    const int x = (i % 500) * 150, y = (i / 500) * 150;
    snprintf(command, sizeof command,
             "PU%d,%d;BZ%d,%d,%d,%d,%d,%d;BZ%d,%d,%d,%d,%d,%d;BZ%d,%d,%d,%d,%d,%d;BZ%d,%d,%d,%d,%d,%d;", x, y, x + 25,
             y - 12, x + 75, y - 12, x + 100, y, x + 112, y + 25, x + 112, y + 75, x + 100, y + 100, x + 75, y + 112,
             x + 25, y + 112, x, y + 100, x - 12, y + 75, x - 12, y + 25, x, y);
    text += command;
  }
  return text + "SP0;";
}

template <typename F>
void Stage(const char* name, F&& work) {
  g_peak = g_live;
  const size_t before = g_live;
  const auto start = std::chrono::steady_clock::now();
  work();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  printf("%-14s %9.1f ms   peak %8.1f MiB above %8.1f MiB\n", name, ms, (g_peak - before) / 1048576.0,
         before / 1048576.0);
}

int CountPoints(PointList p) {
  int n = 0;
  for (; p; p = p->next) ++n;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  const int curves = argc > 1 ? atoi(argv[1]) : 100000;
  g_routines.Alloc = CountingAlloc;
  g_routines.Free = CountingFree;
  const auto folder = std::filesystem::temp_directory_path();
  const std::string input = (folder / "pipeline_bench.plt").string();
  const std::string output = (folder / "pipeline_bench.hb").string();
  {
    const std::string text = GenerateJob(curves);
    FILE* f = fopen(input.c_str(), "wb");
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    printf("job: %d curves, %zu bytes of exchange text\n", curves, text.size());
  }

  CPlotJob job;
  Stage("read", [&] { ReadExchangeFile(job.m_pCommands, input.c_str()); });
  Stage("flatten", [&] { FlattenCommands(job.m_pCommands, job.m_pPoints); });
  printf("               %d flattened points\n", CountPoints(job.m_pPoints));
  ComputeBounds(job.m_pPoints, job.m_bounds);
  Stage("merge", [&] { MergeStraightRuns(job.m_pPoints); });
  printf("               %d points after merging\n", CountPoints(job.m_pPoints));
  OffsetOptions options;
  Stage("encode", [&] { WriteJobFile(job, output.c_str(), DialectHpgl, true, options); });
  options.bladeOffset = options.overCut = true;
  options.bladeOffsetText = "0.38";
  options.overCutText = "0.85";
  Stage("encode+offset", [&] { WriteJobFile(job, output.c_str(), DialectHpgl, true, options); });
  printf("job file: %ju bytes\n", static_cast<uintmax_t>(std::filesystem::file_size(output)));
  std::filesystem::remove(input);
  std::filesystem::remove(output);
  return 0;
}
