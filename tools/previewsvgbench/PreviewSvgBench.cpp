// preview-svg-bench [MEGABYTES] [WxH]: writes a drawing of about MEGABYTES (50 by default)
// of closed polylines, as a traced picture gives them, and prints the size of the preview
// SVG for a WxH control (400x300 by default) and the time to make it: the default picture
// (never thinned), and the detailed picture without thinning, thinned to a quarter pixel,
// and as `plotgate preview --detail` chooses. Prints figures; not a test.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "cli/PreviewDetail.h"
#include "cli/PreviewSvg.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/PipelineRoutines.h"
#include "pipeline/PlotJob.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Shapes of 100 points round a circle of 1 to 5 mm with a little wobble, on a grid of
// 12 mm cells 200 wide, until the file holds `bytes`. Returns the number of points.
long WriteDrawing(const std::string& path, long bytes) {
  std::mt19937 random(16);
  std::uniform_real_distribution<double> radius(40, 200), wobble(-3, 3);
  std::ofstream out(path, std::ios::binary);
  std::string text = "IN;SP1;";
  long points = 0, written = 0;
  for (int shape = 0; written + static_cast<long>(text.size()) < bytes; ++shape) {
    const double r = radius(random), cx = (shape % 200) * 480 + 240, cy = (shape / 200) * 480 + 240;
    for (int i = 0; i <= 100; ++i) {
      const double angle = (i % 100) * 6.283185307179586 / 100, wr = r + (i % 100 ? wobble(random) : 0);
      text += (i == 0 ? "PU" : "PD") + std::to_string(static_cast<int>(cx + wr * std::cos(angle))) + "," +
              std::to_string(static_cast<int>(cy + wr * std::sin(angle))) + ";";
      ++points;
    }
    if (text.size() > (1 << 20)) {
      out << text;
      written += static_cast<long>(text.size());
      text.clear();
    }
  }
  out << text << "SP0;";
  return points;
}

void Report(const char* what, size_t bytes, double seconds) {
  printf("  %-38s %8.1f MB %7.2f s\n", what, bytes / 1e6, seconds);
}

}  // namespace

int main(int argc, char** argv) {
  FillStandardRoutines(g_routines);
  const long megabytes = argc > 1 ? atol(argv[1]) : 50;
  int width = 400, height = 300;
  if (argc > 2 && sscanf(argv[2], "%dx%d", &width, &height) != 2) return 2;
  const auto folder = std::filesystem::temp_directory_path() / "plotgate-preview-svg-bench";
  std::filesystem::create_directories(folder);
  const std::string drawing = (folder / "drawing.plt").string();
  const long points = WriteDrawing(drawing, megabytes * 1000000);
  printf("drawing: %.1f MB, %ld points; preview %dx%d\n", std::filesystem::file_size(drawing) / 1e6, points, width,
         height);

  CPlotJob job;
  job.LoadJob(drawing.c_str());
  auto start = std::chrono::steady_clock::now();
  const CPreviewLayout layout(job.m_pPoints, job.m_bounds, width, height);
  const std::string plain = PreviewSvg({layout.begin(), layout.end()}, width, height);
  Report("default picture (never thinned)", plain.size(), Seconds(start));

  const struct {
    const char* what;
    Thinning thinning;
  } detailed[] = {{"detailed, not thinned", THIN_NEVER},
                  {"detailed, thinned to a quarter pixel", THIN_ALWAYS},
                  {"detailed, as plotgate preview chooses", THIN_WHEN_LARGE}};
  for (const auto& d : detailed) {
    job.LoadJob(drawing.c_str());  // the encoding of the tool path simplifies the job
    start = std::chrono::steady_clock::now();
    std::string svg;
    if (DetailedPreviewOfJob(job, {DialectHpgl, true}, OffsetOptions(), width, height, d.thinning, svg) != JOB_DONE)
      return 1;
    Report(d.what, svg.size(), Seconds(start));
  }
  std::filesystem::remove_all(folder);
  return 0;
}
