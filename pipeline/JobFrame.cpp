#include "pipeline/JobFrame.h"

#include "pipeline/CommandDialect.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/JobModel.h"

std::string JobFrameCommands(CPlotJob& job, const JobFormat& format, const ToolSettings& tool) {
  if (PrepareJobForWriting(job) != JOB_DONE) return "";
  const DialectStrings& strings = StringsFor(format.dialect);
  const JobBounds& b = job.m_bounds;
  // Round the box from the corner the job file puts at its origin (the job's right edge
  // runs along the cutter's axis there), then back to that origin.
  const IntPoint corners[] = {
      JobFilePoint(b, b.maxX, b.minY, format.swapXY),
      JobFilePoint(b, b.maxX, b.maxY, format.swapXY),
      JobFilePoint(b, b.minX, b.maxY, format.swapXY),
      JobFilePoint(b, b.minX, b.minY, format.swapXY),
      {0, 0},
  };
  std::string frame = HeaderText(strings, tool);
  char command[COMMAND_TEXT_MAX];
  for (const IntPoint& corner : corners)
    frame.append(command, FormatCommand(command, strings, KIND_PEN_UP, corner.x, corner.y));
  return frame + strings.terminator;
}
