#include "JobFileWriter.h"

#include <cstdlib>
#include <cstring>

#include "CommandDialect.h"
#include "Geometry.h"
#include "OffsetFilter.h"
#include "PipelineRoutines.h"
#include "StraightRuns.h"

int DistanceFromText(const std::string& text) {
  const std::string counted = text.substr(0, 9);  // the edit is read into 10 bytes
  return TruncToCoord(strtod(counted.c_str(), nullptr) * 40.0);
}

namespace {

// Sends each command to the file directly, or through the offset filter in offset mode.
class CCommandSink {
 public:
  CCommandSink(FILE* file, int dialect, int offset, int overcut, bool offsetMode)
      : m_file(file), m_dialect(dialect), m_offset(offset), m_overcut(overcut), m_offsetMode(offsetMode) {
    if (m_offsetMode) SetOffsetFilterFile(file);
  }
  ~CCommandSink() {
    if (m_offsetMode) SetOffsetFilterFile(nullptr);
  }
  void Put(const char* command) {
    if (m_offsetMode)
      OffsetFilter(command, m_offset, m_overcut, m_dialect);
    else
      WriteRaw(command);
  }
  void WriteRaw(const char* text) { g_routines.Write(text, 1, strlen(text), m_file); }

 private:
  FILE* m_file;
  int m_dialect, m_offset, m_overcut;
  bool m_offsetMode;
};

}  // namespace

int WriteJobFile(CPlotJob& job, const char* path, int dialect, bool swapXY, const OffsetOptions& options) {
  const DialectStrings& strings = StringsFor(dialect);
  if (!job.m_pCommands) return 0;
  MergeStraightRuns(job.m_pPoints);
  if (!job.m_pPoints) return 0;
  ComputeBounds(job.m_pPoints, job.m_bounds);
  TransformPoints(job.m_pPoints, OriginTranslation(job.m_bounds));
  ComputeBounds(job.m_pPoints, job.m_bounds);
  const int64_t width = llabs(static_cast<int64_t>(job.m_bounds.maxX) - job.m_bounds.minX);
  const int64_t height = llabs(static_cast<int64_t>(job.m_bounds.maxY) - job.m_bounds.minY);

  FILE* file = g_routines.Open ? g_routines.Open(path, "wb") : nullptr;
  if (!file) return 0;
  {
    const int offset = options.bladeOffset ? DistanceFromText(options.bladeOffsetText) : 0;
    const int overcut = options.overCut ? DistanceFromText(options.overCutText) : 0;
    CCommandSink sink(file, dialect, offset, overcut, options.bladeOffset || options.overCut);
    sink.WriteRaw(strings.header);
    char command[COMMAND_TEXT_MAX];
    for (const PlotPoint* p = job.m_pPoints; p; p = p->next) {
      if (p->kind != KIND_PEN_UP && p->kind != KIND_PEN_DOWN) continue;
      const int32_t reversedX = TruncToCoord(static_cast<double>(width - p->x));
      FormatCommand(command, p->kind == KIND_PEN_UP ? strings.penUp : strings.penDown, swapXY ? p->y : reversedX,
                    swapXY ? reversedX : p->y);
      sink.Put(command);
    }
    // The final pen-up parks the knife at the job corner (W, H).
    const int32_t h = TruncToCoord(static_cast<double>(height));
    FormatCommand(command, strings.penUp, swapXY ? h : 0, swapXY ? 0 : h);
    sink.Put(command);
    sink.Put(strings.terminator);
  }
  g_routines.Close(file);
  return 1;
}
