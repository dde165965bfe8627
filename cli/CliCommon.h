// Pieces shared by the subcommands of the command-line front end.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "PlotJob.h"

// Exit codes: 0 done, 1 failure (message on stderr), 2 usage error.
const int EXIT_USAGE = 2;

// The dialog's mirror and rotation choices as options.
struct JobChoices {
  std::string input;
  bool mirror = false;
  int rotate = -1;  // degrees; -1 when not given
};

// Adds INPUT, --mirror and --rotate to a subcommand.
void AddJobOptions(CLI::App& command, JobChoices& choices);

// Loads the input and applies the choices as the dialog would: with --rotate the rotation
// rebuild (mirrored first when --mirror is given), with --mirror alone the mirror.
// Returns false, after a message on stderr, when the input cannot be read.
bool LoadChosenJob(CPlotJob& job, const JobChoices& choices);
