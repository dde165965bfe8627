// Placing a loaded job on a printed sheet by its measured marks: the marks checked, the
// placement fitted (Registration.h) and held by the job, so that its job file maps the
// drawing onto the sheet. The command line's marks and --registration and the dialog's
// Registration window place a job through here, so that both refuse the same marks.
#pragma once

#include <string>
#include <vector>

#include "pipeline/PlotJob.h"
#include "pipeline/Registration.h"

// Why `marks` (in the order of their numbers) cannot place a sheet: "set marks 1 and 2 at
// least to place the sheet", or "mark 4 is used only with mark 3; set mark 3 too"; ""
// when they can be fitted.
std::string MissingMarksProblem(const std::vector<MeasuredMark>& marks);

// Why `job` takes no placement as it stands: "the job is mirrored or turned, ..." or "the
// job is cut in panels, ..." (the marks place the drawing as it was printed); "" when it
// takes one.
std::string PlacementExcluded(const CPlotJob& job);

// Fits the placement to `marks` (in the order of their numbers) and holds it in the loaded
// `job`, which is then prepared for writing. "" with the fit in `fit`; otherwise why not,
// the job holding the placement it held before: the marks missing (MissingMarksProblem)
// or refused (FitPlacement), the job mirrored or turned (PlacementExcluded), cannot be
// encoded, or would reach below the cutter's origin ("the job would
// reach 3.20 mm beyond the cutter's origin: move the origin or the sheet").
std::string PlaceJob(CPlotJob& job, const std::vector<MeasuredMark>& marks, PlacementFit& fit);
