// The placement from measured marks on the commands that write a job: --registration
// FILE.reg read, checked against the job's marks and fitted, and the job placed with it.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "pipeline/PlotJob.h"
#include "pipeline/Registration.h"

// Adds --registration FILE.reg, which excludes --mirror, --rotate and --panels (the marks
// fix the placement): given together they are a usage error.
void AddRegistrationOption(CLI::App& command, std::string& path);

// "plotgate: JOB has no registration marks (add them with the AddMarks macro in CorelDRAW)"
// for the input `input`.
std::string NoMarksText(const std::string& input);

// Fits the placement to `marks` and holds it in the loaded `job`, which is then
// prepared for writing. False, after a message on stderr, when the marks are refused
// (FitPlacement) or the job would reach below the cutter's origin.
bool HoldPlacement(CPlotJob& job, const std::vector<MeasuredMark>& marks, PlacementFit& fit);

// Places the loaded job `job` (read from `input`) with the registration file `path`: read,
// checked against the job's marks, fitted and held (HoldPlacement). Nothing happens for an
// empty `path`. False, after a message on stderr, when the file cannot be read or is
// malformed (its line named), the job has no marks or is cut in panels (remembered ones:
// given ones are refused as options), the file was measured for another
// drawing, or HoldPlacement refuses. `fit` receives the placement as it reads.
bool PlaceWithRegistration(CPlotJob& job, const std::string& input, const std::string& path, PlacementFit& fit);
