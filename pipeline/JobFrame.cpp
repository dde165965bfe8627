#include "pipeline/JobFrame.h"

#include "pipeline/CommandDialect.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/JobModel.h"

std::string JobFrameCommands(CPlotJob& job, const JobFormat& format, const ToolSettings& tool) {
  if (PrepareJobForWriting(job) != JOB_DONE) return "";
  const DialectStrings& strings = StringsFor(format.dialect);
  const JobBounds& b = job.m_bounds;
  // Round the box from the corner the job file puts at its origin (the job's right edge
  // runs along the cutter's axis there), then back to that corner; with a placement, round
  // the corners' places on the sheet.
  const IntPoint start = PlacedJobFilePoint(job, b.maxX, b.minY, format.swapXY);
  const IntPoint corners[] = {
      start,
      PlacedJobFilePoint(job, b.maxX, b.maxY, format.swapXY),
      PlacedJobFilePoint(job, b.minX, b.maxY, format.swapXY),
      PlacedJobFilePoint(job, b.minX, b.minY, format.swapXY),
      start,
  };
  std::string frame = HeaderText(strings, tool);
  char command[COMMAND_TEXT_MAX];
  for (const IntPoint& corner : corners)
    frame.append(command, FormatCommand(command, strings, KIND_PEN_UP, corner.x, corner.y));
  return frame + strings.terminator;
}
