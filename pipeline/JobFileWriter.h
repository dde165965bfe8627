// Encoder of the job file: the exact byte stream a cutter executes, in the dialect of the
// driver that will carry it.
#pragma once

#include <cstdio>
#include <string>

#include "pipeline/CommandDialect.h"
#include "pipeline/Geometry.h"
#include "pipeline/JobResult.h"
#include "pipeline/PlotJob.h"

class CBlockWriter;

// The dialog's option controls as they stand: the two check boxes and the texts of the
// blade-offset and over-cut edits (millimetres), and the force and speed the header sets.
struct OffsetOptions {
  bool bladeOffset = false;
  std::string bladeOffsetText;
  bool overCut = false;
  std::string overCutText;
  ToolSettings tool;
};

// The characters of an edit's text that DistanceFromText reads, as the edit is read into
// 10 bytes.
const size_t DISTANCE_TEXT_MAX = 9;

// Distance in plotter units from an edit's text: at most its first DISTANCE_TEXT_MAX
// characters, read with strtod, times 40, truncated toward zero. Unreadable text gives 0.
int DistanceFromText(const std::string& text);

// Writes the job to `path` in `format` (the driver's dialect and whether it swaps the
// coordinate pair). The point list is simplified and moved to
// the origin first (the job keeps that form). With an option ticked every command passes
// through the offset filter. Returns 1 when the file has been written; 0 when there is no
// job or the file cannot be created (an earlier file is then left as it was), when memory
// runs out while merging (the job then has no points left), or when a write or the close
// of the file fails. `why`, when given, receives the reason, with the error number of the
// create, write or close that failed.
int WriteJobFile(CPlotJob& job, const char* path, const JobFormat& format, const OffsetOptions& options,
                 JobFailure* why = nullptr);

// The first steps of WriteJobFile: the point list is simplified and moved to the origin
// (the job keeps that form). JOB_DONE; JOB_NOTHING_TO_WRITE without a job or when no point
// is left; JOB_NO_MEMORY when memory runs out while merging (the job then has no points).
// `moved`, when given, receives the translation of the move to the origin.
JobResult PrepareJobForWriting(CPlotJob& job, IntPoint* moved = nullptr);

// The rest of WriteJobFile for a prepared job, into `out`: the header, every move and line,
// the final pen-up and the terminator, through the offset filter when an option is ticked.
// Each point goes where PlacedJobFilePoint puts it; the final pen-up goes to the job's
// corner (maxX, maxY).
void WriteJobCommands(CBlockWriter& out, const CPlotJob& job, const JobFormat& format, const OffsetOptions& options);

// Where the job file puts the prepared job's point (x, y): x counted from the job's right
// edge (its width less x), and the pair swapped when `swapXY` is set.
IntPoint JobFilePoint(const JobBounds& bounds, int32_t x, int32_t y, bool swapXY);

// Where the job file puts the prepared job's point (x, y): with a placement held, the
// point's place in the drawing mapped through it onto the cutter (the pair as the map
// gives it, whatever `swapXY` says); else as JobFilePoint puts it.
IntPoint PlacedJobFilePoint(const CPlotJob& job, int32_t x, int32_t y, bool swapXY);

// How many units the job file of the prepared job would reach below the cutter's origin
// on either axis, its points and the four corners of its bounds mapped through the
// placement; 0 when it reaches none, or without a placement.
int64_t BeyondCutterOrigin(const CPlotJob& job);

// Writes the job as WriteJobFile does, to `file`, an open stream such as standard output,
// which is flushed and stays open. Returns 1 when every byte has been written and flushed;
// 0 when there is no job, memory runs out while merging, or a write fails (JOB_WRITE_FAILED,
// with the error number of the write or flush that failed in `why`).
int WriteJobStream(CPlotJob& job, FILE* file, const JobFormat& format, const OffsetOptions& options,
                   JobFailure* why = nullptr);
