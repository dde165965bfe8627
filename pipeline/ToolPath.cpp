#include "pipeline/ToolPath.h"

#include <cmath>
#include <cstdlib>

#include "pipeline/BlockWriter.h"
#include "pipeline/JobFileReader.h"

JobResult TraceToolPath(CPlotJob& job, const JobFormat& format, const OffsetOptions& options, ToolPath& path) {
  IntPoint moved{0, 0};
  const JobResult prepared = PrepareJobForWriting(job, &moved);
  if (prepared != JOB_DONE) return prepared;
  path.moves.clear();
  CJobFileReader reader(format.dialect, [&path](const PenCommand& command) {
    path.moves.push_back(ToolMove{command.cut, command.to});
  });
  {
    CBlockWriter out([&reader](const char* bytes, size_t length) {
      reader.Take(bytes, length);
      return true;
    });
    WriteJobCommands(out, job, format, options);
  }

  // The encoder writes (x, y) as (y, W - x) with the swap, as (W - x, y) without, after
  // the move to the origin; undone in 64 bits, since W - x may leave the int32 range.
  const int64_t width = llabs(static_cast<int64_t>(job.m_bounds.maxX) - job.m_bounds.minX);
  const int64_t height = llabs(static_cast<int64_t>(job.m_bounds.maxY) - job.m_bounds.minY);
  path.extent = IntPoint{TruncToCoord(static_cast<double>(width)), TruncToCoord(static_cast<double>(height))};
  const auto unplaced = [&](int64_t first, int64_t second) {
    const int64_t x = width - (format.swapXY ? second : first), y = format.swapXY ? first : second;
    return IntPoint{TruncToCoord(static_cast<double>(x - moved.x)), TruncToCoord(static_cast<double>(y - moved.y))};
  };
  // With a placement the cutter's point goes back through its inverse to the drawing, and
  // from there to the job as it was before.
  const auto toJob = [&](int64_t first, int64_t second) {
    double x = 0, y = 0;
    if (!job.m_placement ||
        !UnplacedPoint(*job.m_placement, static_cast<double>(first), static_cast<double>(second), x, y))
      return unplaced(first, second);
    return IntPoint{TruncToCoord(std::round(x - job.m_drawingOrigin.x - moved.x)),
                    TruncToCoord(std::round(y - job.m_drawingOrigin.y - moved.y))};
  };
  for (ToolMove& move : path.moves) move.to = toJob(move.to.x, move.to.y);
  // The axes' directions are the job file's own: a placement turns them by a few degrees
  // at most, and a unit step through it would round to nothing.
  const IntPoint origin = unplaced(0, 0), first = unplaced(1, 0), second = unplaced(0, 1);
  path.axes = CutterAxes{toJob(0, 0), IntPoint{first.x - origin.x, first.y - origin.y},
                         IntPoint{second.x - origin.x, second.y - origin.y}};
  return JOB_DONE;
}
