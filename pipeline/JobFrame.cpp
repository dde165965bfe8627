#include "JobFrame.h"

#include "CommandDialect.h"
#include "JobFileWriter.h"
#include "JobModel.h"

std::string JobFrameCommands(CPlotJob& job, int dialect, bool swapXY) {
  if (PrepareJobForWriting(job) != JOB_DONE) return "";
  const DialectStrings& strings = StringsFor(dialect);
  const JobBounds& b = job.m_bounds;
  // Round the box from the corner the job file puts at its origin (the job's right edge
  // runs along the cutter's axis there), then back to that origin.
  const IntPoint corners[] = {
      JobFilePoint(b, b.maxX, b.minY, swapXY),
      JobFilePoint(b, b.maxX, b.maxY, swapXY),
      JobFilePoint(b, b.minX, b.maxY, swapXY),
      JobFilePoint(b, b.minX, b.minY, swapXY),
      {0, 0},
  };
  std::string frame = strings.header;
  char command[COMMAND_TEXT_MAX];
  for (const IntPoint& corner : corners)
    frame.append(command, FormatCommand(command, strings, KIND_PEN_UP, corner.x, corner.y));
  return frame + strings.terminator;
}
