// An exchange file through the whole pipeline the dialog and the command line run: read,
// flatten, mirror and rotate, write the job file in either dialect with either option,
// and lay out the preview with the registration marks. What the reader reports must place each counted kind inside
// the file.
// Input: an options byte (bit 0 mirror; bits 1-3 quarter turns, 4 and above none; bit 4
// DM/PL; bit 5 coordinates swapped; bit 6 blade offset; bit 7 over-cut), the preview's
// width and height bytes, the blade-offset text "\n", the over-cut text "\n", then the
// exchange file.
//
// Jobs that would flatten to more than MAX_FUZZ_POINTS points are skipped before they are
// loaded: far-apart curves are refused only above the program's own limit of millions of
// points, which would make each run take seconds. Distances and coordinates are not
// bounded: their sums saturate.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "ScratchFile.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/ExchangeReader.h"
#include "pipeline/Geometry.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/PipelineRoutines.h"
#include "pipeline/PlotJob.h"
#include "pipeline/PreviewLayout.h"

namespace {

const int64_t MAX_FUZZ_POINTS = 200000;

// The points the exchange file would flatten to, counted from its commands.
int64_t PointsNeeded(const char* path) {
  CommandList commands = nullptr;
  if (ReadExchangeFile(commands, path) != JOB_DONE) return 0;
  const int64_t points = CountFlattenedPoints(commands);
  FreeCommands(commands);
  return points;
}

// Every counted kind has a place inside the text, and nothing uncounted has one; only a
// text longer than a command's room can hold a cut command.
bool PlausibleReport(const ExchangeReport& report, const std::string& text) {
  const int64_t lines = 1 + std::count(text.begin(), text.end(), '\n');
  const int64_t size = static_cast<int64_t>(text.size());
  for (const ReadTally* tally : {&report.skipped, &report.unnumbered, &report.clamped, &report.cut}) {
    if (tally->count == 0 ? tally->first.line != 0
                          : tally->first.line < 1 || tally->first.line > lines || tally->first.column < 1 ||
                                tally->first.column > size)
      return false;
  }
  return report.cut.count == 0 || size > EXCHANGE_COMMAND_MAX;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FillStandardRoutines(g_routines);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const CScratchFile exchange("plotgate-fuzz-exchange");
  static const CScratchFile jobFile("plotgate-fuzz-job");
  CFuzzInput in(data, size);
  const int choices = in.Byte();
  const int width = 1 + in.Byte();
  const int height = 1 + in.Byte();
  OffsetOptions options;
  options.bladeOffset = (choices & 0x40) != 0;
  options.bladeOffsetText = in.Until('\n');
  options.overCut = (choices & 0x80) != 0;
  options.overCutText = in.Until('\n');
  const std::string text = in.Rest();
  exchange.Write(text);
  if (PointsNeeded(exchange.Path()) > MAX_FUZZ_POINTS) return -1;  // not added to the corpus

  CPlotJob job;
  job.LoadJob(exchange.Path());
  if (job.m_loadResult == JOB_DONE && !PlausibleReport(job.m_readReport, text)) abort();
  if (!job.HasJob()) return 0;
  const bool mirror = (choices & 1) != 0;
  const int turns = (choices >> 1) & 7;
  if (mirror) job.Mirror();
  if (turns < 4) job.RotateTo(turns);
  job.WidthText();
  job.HeightText();
  const int dialect = (choices & 0x10) ? DialectDmpl : DialectHpgl;
  if (WriteJobFile(job, jobFile.Path(), {dialect, (choices & 0x20) != 0}, options) != 1) abort();
  const std::vector<IntPoint> marks = job.MarkPoints();
  const CPreviewLayout layout(job.m_pPoints, job.m_bounds, width, height, marks);
  static_cast<void>(std::distance(layout.begin(), layout.end()));  // walks every stroke
  PreviewMarkStrokes(layout.Frame(), marks);
  return 0;
}
