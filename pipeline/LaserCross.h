// The cross the knife cuts to measure the laser pointer's offset: two cuts LASER_CROSS_SIZE
// long, crossing at (LASER_CROSS_AT, LASER_CROSS_AT) in cutter units, 10 mm at (20, 20) mm.
// The user then puts the laser dot on its centre, and the offset is the cross's place less
// the head's (settings/LaserOffset.h). The cross is cut with the tool choices of the job
// it calibrates for, so that it shows as the job's cuts will.
#pragma once

#include <string>

#include "pipeline/JobFileWriter.h"
#include "pipeline/JobResult.h"

const int LASER_CROSS_AT = 20 * PLOT_UNITS_PER_MM;
const int LASER_CROSS_SIZE = 10 * PLOT_UNITS_PER_MM;

// The cross's job file in `format` with `options`, without its terminator, in `bytes`: a
// jog goes on from it in the same job. The cross's drawing is written to `drawingPath`
// and loaded from there, as every drawing is. JOB_DONE; otherwise why not: the drawing
// not written (JOB_CANNOT_CREATE, with the error number) or not loaded, the job not
// encoded.
JobFailure LaserCrossJob(const std::string& drawingPath, const JobFormat& format, const OffsetOptions& options,
                         std::string& bytes);

// Where the cross's job leaves the head: the corner of the cross's bounds.
IntPoint LaserCrossJobEnd();
