// plotgate encode INPUT --model NAME [--mirror] [--rotate R | --registration FILE.reg]
//   [--blade-offset TEXT] [--overcut TEXT] --output FILE|-: the job file the dialog would
// write.
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/PresetChoice.h"
#include "cli/RegistrationOption.h"
#include "pipeline/JobFileWriter.h"

void AddEncodeCommand(CLI::App& app, int& exitCode) {
  struct Options {
    std::string input;
    Choices given;
    std::string output;
    std::string registration;
    std::string iniPath;
  };
  auto o = std::make_shared<Options>();
  CLI::App* encode = app.add_subcommand("encode", "Write the job file for a cutter model");
  AddJobOptions(*encode, o->input, o->given);
  AddRegistrationOption(*encode, o->registration);
  AddCutterOptions(*encode, o->given, true);
  AddPresetOption(*encode, o->given, &o->iniPath);
  encode->add_option("--output", o->output, "Job file to write, or - for standard output")->required();
  encode->callback([o, &exitCode] {
    if (const int refused = ApplyPreset(o->given, o->iniPath)) {
      exitCode = refused;
      return;
    }
    const Choices used = Merged(o->given, DefaultChoices());
    CPlotJob job;
    PlacementFit fit;
    if (OutputRefused(o->input, o->output)) {
      exitCode = 1;
      return;
    }
    exitCode = LoadChosenJob(job, o->input, used);
    if (exitCode != 0) return;
    if (!PlaceWithRegistration(job, o->input, o->registration, fit)) {
      exitCode = 1;
      return;
    }
    CheckMediaWidth(job, used, false);
    if (!WriteChosenJobFile(job, used, o->output)) exitCode = 1;
  });
}
