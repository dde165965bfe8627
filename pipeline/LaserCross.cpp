#include "pipeline/LaserCross.h"

#include <cstring>

#include "base/TextFile.h"
#include "pipeline/BlockWriter.h"
#include "pipeline/PlotJob.h"

namespace {

const int HALF = LASER_CROSS_SIZE / 2;

// The cross as an exchange file: its cuts from (0, h) to (2h, h) and from (h, 0) to
// (h, 2h), h half its size; CrossPlace puts its centre (h, h) at the cross's place.
std::string CrossDrawing() {
  const std::string h = std::to_string(HALF), size = std::to_string(LASER_CROSS_SIZE);
  return "IN;PU0," + h + ";PD" + size + "," + h + ";PU" + h + ",0;PD" + h + "," + size + ";SP0;";
}

// The drawing turned a quarter as the cutter takes every drawing (first = y, second = -x)
// and moved so that the cross's centre lands at (LASER_CROSS_AT, LASER_CROSS_AT).
Placement CrossPlace() { return Placement{0, 1, LASER_CROSS_AT - HALF, -1, 0, LASER_CROSS_AT + HALF}; }

}  // namespace

JobFailure LaserCrossJob(const std::string& drawingPath, const JobFormat& format, const OffsetOptions& options,
                         std::string& bytes) {
  const int unwritten = WriteTextFile(drawingPath, CrossDrawing());
  if (unwritten != 0) return JobFailure{JOB_CANNOT_CREATE, unwritten};
  CPlotJob job;
  job.LoadJob(drawingPath.c_str());
  if (job.m_loadResult != JOB_DONE) return JobFailure{job.m_loadResult, job.m_nLoadError};
  // The tool's choices only: no cut order, mirror or turn.
  job.m_placement = CrossPlace();
  const JobResult prepared = PrepareJobForWriting(job);
  if (prepared != JOB_DONE) return JobFailure{prepared, 0};
  bytes.clear();
  CBlockWriter out([&bytes](const char* block, size_t length) {
    bytes.append(block, length);
    return true;
  });
  WriteJobCommands(out, job, format, options);
  out.Flush();
  // Every job file ends with its dialect's terminator.
  bytes.resize(bytes.size() - strlen(StringsFor(format.dialect).terminator));
  return JobFailure{};
}

IntPoint LaserCrossJobEnd() { return PlacedPoint(CrossPlace(), 2 * HALF, 2 * HALF); }
