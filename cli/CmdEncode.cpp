// plotgate encode INPUT --model NAME [--mirror] [--rotate R | --registration FILE.reg]
//   [--blade-offset TEXT] [--overcut TEXT] --output FILE|-: the job file the dialog would
// write.
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/RegistrationOption.h"
#include "pipeline/JobFileWriter.h"

void AddEncodeCommand(CLI::App& app, int& exitCode) {
  struct Options {
    JobChoices job;
    CutterChoice cutter;
    std::string output;
    std::string registration;
  };
  auto o = std::make_shared<Options>();
  CLI::App* encode = app.add_subcommand("encode", "Write the job file for a cutter model");
  AddJobOptions(*encode, o->job);
  AddRegistrationOption(*encode, o->registration);
  AddCutterOptions(*encode, o->cutter, true);
  encode->add_option("--output", o->output, "Job file to write, or - for standard output")->required();
  encode->callback([o, &exitCode] {
    CPlotJob job;
    PlacementFit fit;
    if (OutputRefused(o->job.input, o->output) || !LoadChosenJob(job, o->job) ||
        !PlaceWithRegistration(job, o->job.input, o->registration, fit)) {
      exitCode = 1;
      return;
    }
    if (!WriteChosenJobFile(job, o->cutter, o->output)) exitCode = 1;
  });
}
