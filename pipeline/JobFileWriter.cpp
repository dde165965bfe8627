#include "pipeline/JobFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "pipeline/BlockWriter.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/Geometry.h"
#include "pipeline/OffsetFilter.h"
#include "pipeline/PipelineRoutines.h"
#include "pipeline/StraightRuns.h"

int DistanceFromText(const std::string& text) {
  const std::string counted = text.substr(0, DISTANCE_TEXT_MAX);
  return TruncToCoord(strtod(counted.c_str(), nullptr) * 40.0);
}

namespace {

// Sends each command to the file directly, or through the offset filter in offset mode;
// the filter's state is this one job file's.
class CCommandSink {
 public:
  CCommandSink(CBlockWriter& out, int dialect, int offset, int overcut, bool offsetMode)
      : m_out(out),
        m_strings(StringsFor(dialect)),
        m_dialect(dialect),
        m_offset(offset),
        m_overcut(overcut),
        m_offsetMode(offsetMode) {}
  void PutPen(int32_t kind, int32_t x, int32_t y) {
    if (m_offsetMode)
      OffsetFilterPoint(m_filter, m_out, kind, IntPoint{x, y}, m_offset, m_overcut, m_dialect);
    else
      PutCommand(m_out, m_strings, kind, x, y);
  }
  void PutText(const char* command) {
    if (m_offsetMode)
      OffsetFilter(m_filter, m_out, command, m_offset, m_overcut, m_dialect);
    else
      m_out.PutText(command);
  }

 private:
  CBlockWriter& m_out;
  const DialectStrings& m_strings;
  int m_dialect, m_offset, m_overcut;
  bool m_offsetMode;
  OffsetFilterState m_filter;
};

// 1 for JOB_DONE, 0 for a failure; `why`, when given, receives `outcome`.
int Outcome(const JobFailure& outcome, JobFailure* why) {
  if (why) *why = outcome;
  return outcome.result == JOB_DONE ? 1 : 0;
}

// Writes the prepared job to `file`: JOB_DONE, or JOB_WRITE_FAILED with the error number
// of the write that fell short.
JobFailure WriteAll(FILE* file, const CPlotJob& job, const JobFormat& format, const OffsetOptions& options) {
  CBlockWriter out(file);
  WriteJobCommands(out, job, format, options);
  if (out.Flush()) return JobFailure{};
  return JobFailure{JOB_WRITE_FAILED, out.SystemError()};
}

}  // namespace

IntPoint JobFilePoint(const JobBounds& bounds, int32_t x, int32_t y, bool swapXY) {
  const int64_t width = llabs(static_cast<int64_t>(bounds.maxX) - bounds.minX);
  const int32_t reversedX = TruncToCoord(static_cast<double>(width - x));
  return swapXY ? IntPoint{y, reversedX} : IntPoint{reversedX, y};
}

IntPoint PlacedJobFilePoint(const CPlotJob& job, int32_t x, int32_t y, bool swapXY) {
  if (!job.m_placement) return JobFilePoint(job.m_bounds, x, y, swapXY);
  return PlacedPoint(*job.m_placement, static_cast<double>(x) + job.m_drawingOrigin.x,
                     static_cast<double>(y) + job.m_drawingOrigin.y);
}

int64_t BeyondCutterOrigin(const CPlotJob& job) {
  if (!job.m_placement) return 0;
  int32_t least = 0;
  const auto take = [&](int32_t x, int32_t y) {
    const IntPoint at = PlacedJobFilePoint(job, x, y, false);
    least = std::min({least, at.x, at.y});
  };
  for (const PlotPoint* p = job.m_pPoints; p; p = p->next) {
    if (p->kind == KIND_PEN_UP || p->kind == KIND_PEN_DOWN) take(p->x, p->y);
  }
  // The frame and the final pen-up go to the corners, which need not be points of the job.
  const JobBounds& b = job.m_bounds;
  for (const int32_t x : {b.minX, b.maxX}) {
    for (const int32_t y : {b.minY, b.maxY}) take(x, y);
  }
  return -static_cast<int64_t>(least);
}

void WriteJobCommands(CBlockWriter& out, const CPlotJob& job, const JobFormat& format, const OffsetOptions& options) {
  const DialectStrings& strings = StringsFor(format.dialect);
  const bool swapXY = format.swapXY;
  const int64_t height = llabs(static_cast<int64_t>(job.m_bounds.maxY) - job.m_bounds.minY);
  const int offset = options.bladeOffset ? DistanceFromText(options.bladeOffsetText) : 0;
  const int overcut = options.overCut ? DistanceFromText(options.overCutText) : 0;
  CCommandSink sink(out, format.dialect, offset, overcut, options.bladeOffset || options.overCut);
  const std::string header = HeaderText(strings, options.tool);
  out.Put(header.data(), header.size());
  for (const PlotPoint* p = job.m_pPoints; p; p = p->next) {
    if (p->kind != KIND_PEN_UP && p->kind != KIND_PEN_DOWN) continue;
    const IntPoint at = PlacedJobFilePoint(job, p->x, p->y, swapXY);
    sink.PutPen(p->kind, at.x, at.y);
  }
  // The final pen-up parks the knife at the job corner (W, H): after the move to the origin
  // (maxX, maxY), which the job file puts at (H, 0) with the swap, at (0, H) without.
  if (job.m_placement) {
    const IntPoint corner = PlacedJobFilePoint(job, job.m_bounds.maxX, job.m_bounds.maxY, swapXY);
    sink.PutPen(KIND_PEN_UP, corner.x, corner.y);
  } else {
    const int32_t h = TruncToCoord(static_cast<double>(height));
    sink.PutPen(KIND_PEN_UP, swapXY ? h : 0, swapXY ? 0 : h);
  }
  sink.PutText(strings.terminator);
}

JobResult PrepareJobForWriting(CPlotJob& job, IntPoint* moved) {
  if (!job.m_pCommands) return JOB_NOTHING_TO_WRITE;
  if (!MergeStraightRuns(job.m_pPoints)) return JOB_NO_MEMORY;
  if (!job.m_pPoints) return JOB_NOTHING_TO_WRITE;
  ComputeBounds(job.m_pPoints, job.m_bounds);
  const JobTransform toOrigin = OriginTranslation(job.m_bounds);
  TransformPoints(job.m_pPoints, toOrigin, job.m_bounds);
  job.m_drawingOrigin = IntPoint{ClampToCoord(static_cast<int64_t>(job.m_drawingOrigin.x) - toOrigin.dx),
                                 ClampToCoord(static_cast<int64_t>(job.m_drawingOrigin.y) - toOrigin.dy)};
  if (moved) *moved = IntPoint{toOrigin.dx, toOrigin.dy};
  return JOB_DONE;
}

int WriteJobFile(CPlotJob& job, const char* path, const JobFormat& format, const OffsetOptions& options,
                 JobFailure* why) {
  const JobResult prepared = PrepareJobForWriting(job);
  if (prepared != JOB_DONE) return Outcome(JobFailure{prepared, 0}, why);
  errno = 0;
  FILE* file = g_routines.Open ? g_routines.Open(path, "wb") : nullptr;
  if (!file) return Outcome(JobFailure{JOB_CANNOT_CREATE, errno}, why);
  JobFailure written = WriteAll(file, job, format, options);
  // The close writes what the file's own buffer still holds: a full disk may show only here.
  errno = 0;
  if (g_routines.Close(file) != 0 && written.result == JOB_DONE) written = JobFailure{JOB_WRITE_FAILED, errno};
  return Outcome(written, why);
}

int WriteJobStream(CPlotJob& job, FILE* file, const JobFormat& format, const OffsetOptions& options, JobFailure* why) {
  const JobResult prepared = PrepareJobForWriting(job);
  if (prepared != JOB_DONE) return Outcome(JobFailure{prepared, 0}, why);
  JobFailure written = WriteAll(file, job, format, options);
  errno = 0;
  if (written.result == JOB_DONE && fflush(file) != 0) written = JobFailure{JOB_WRITE_FAILED, errno};
  return Outcome(written, why);
}
