#include "CliCommon.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Cutter.h"
#include "ModelTable.h"

void AddJobOptions(CLI::App& command, JobChoices& choices) {
  command.add_option("INPUT", choices.input, "Exchange file written by the CorelDRAW macro")->required();
  command.add_flag("--mirror", choices.mirror, "Mirror the job (the Mirror button)");
  command.add_option("--rotate", choices.rotate, "Turn the job clockwise by 0, 90, 180 or 270 degrees")
      ->check(CLI::IsMember({0, 90, 180, 270}));
}

bool LoadChosenJob(CPlotJob& job, const JobChoices& choices) {
  // The reader does not tell why a file cannot be opened; ask once more for the reason.
  FILE* probe = fopen(choices.input.c_str(), "rb");
  if (!probe) {
    fprintf(stderr, "plotgate: cannot read %s: %s\n", choices.input.c_str(), strerror(errno));
    return false;
  }
  fclose(probe);
  job.LoadJob(choices.input.c_str());
  if (!job.HasJob()) {
    fprintf(stderr, "plotgate: cannot read %s\n", choices.input.c_str());
    return false;
  }
  // A rotation rebuilds from the commands, mirrored first, as the dialog's buttons do.
  if (choices.mirror) job.Mirror();
  if (choices.rotate >= 0) job.RotateTo(choices.rotate / 90);
  return true;
}

void AddCutterOptions(CLI::App& command, CutterChoice& choice, bool modelRequired) {
  CLI::Option* model =
      command
          .add_option_function<std::string>(
              "--model", [&choice](const std::string& name) { choice.model = FindModel(name.c_str()); },
              "Cutter model: its name as in the Device list, or its index 0 to 10")
          ->check([](const std::string& name) -> std::string {
            return FindModel(name.c_str()) < 0 ? "unknown model \"" + name + "\"" : "";
          });
  if (modelRequired) model->required();
  command.add_option_function<std::string>(
      "--blade-offset",
      [&choice](const std::string& text) {
        choice.offsets.bladeOffset = true;
        choice.offsets.bladeOffsetText = text;
      },
      "Tick Blade offset with this distance in mm (the dialog's default is 0.38)");
  command.add_option_function<std::string>(
      "--overcut",
      [&choice](const std::string& text) {
        choice.offsets.overCut = true;
        choice.offsets.overCutText = text;
      },
      "Tick OverCut with this distance in mm (the dialog's default is 0.85)");
}

bool WriteChosenJobFile(CPlotJob& job, const CutterChoice& choice, const std::string& path) {
  // The model's driver, never opened, says how its cutters want the job written.
  const std::unique_ptr<CCutter> cutter(CreateCutter(ModelTable[choice.model].ProtocolNumber));
  if (!WriteJobFile(job, path.c_str(), cutter->m_nDialect, cutter->m_bSwapXY, choice.offsets)) {
    fprintf(stderr, "plotgate: cannot write the job file %s\n", path.c_str());
    return false;
  }
  return true;
}
