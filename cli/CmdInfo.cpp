// plotgate info INPUT [--mirror] [--rotate R] [--detail [--model NAME] [--blade-offset TEXT |
//   --no-blade-offset] [--overcut TEXT | --no-overcut] [--ini FILE]]: the job's size as the
// dialog shows it; with --detail also its paths, their lengths, and the job file a send
// would write for the model with the time the line needs for it.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "AmountText.h"
#include "BlockWriter.h"
#include "CliCommon.h"
#include "Commands.h"
#include "FileException.h"
#include "JobPaths.h"
#include "ModelTable.h"
#include "PortSettings.h"
#include "RememberedChoices.h"
#include "SettingsLocation.h"
#include "TransferRate.h"

namespace {

// Plotter units to the millimetre.
const double UNITS_PER_MM = 40.0;

// Completes `choices` from the settings file as a send would, without creating the file
// when there is none (the dialog's first choices then). False, after a message, when the
// file cannot be read.
bool CompleteAsSend(SendChoices& choices, const RememberOptions& remember) {
  CIniFile ini;
  ini.IniPath = remember.iniPath.empty() ? DefaultSettingsPath() : remember.iniPath;
  std::error_code unknown;
  SavedChoices saved;
  try {
    if (std::filesystem::exists(std::filesystem::u8path(ini.IniPath), unknown)) saved = ReadSavedChoices(ini);
  } catch (const CFileException& e) {
    fprintf(stderr, "plotgate: cannot read the settings: %s\n", e.what());
    return false;
  }
  CompleteFromSaved(choices, remember, saved);
  return true;
}

// Prints the paths, their lengths, and the job file's size and line time for the chosen
// model. False, after a message, when the job cannot be encoded.
bool PrintDetail(CPlotJob& job, const CutterChoice& cutter) {
  const CutterModel& model = ModelTable[cutter.model];
  const JobFormat format = JobFormatOf(model.ProtocolNumber);
  const JobResult prepared = PrepareJobForWriting(job);
  if (prepared != JOB_DONE) {
    fprintf(stderr, "plotgate: cannot encode the job: %s\n", JobResultText(prepared));
    return false;
  }
  std::string bytes;
  {
    CBlockWriter out([&bytes](const char* block, size_t length) {
      bytes.append(block, length);
      return true;
    });
    WriteJobCommands(out, job, format.dialect, format.swapXY, cutter.offsets);
  }
  const JobPaths paths = ReadJobPaths(bytes.data(), bytes.size(), format.dialect);
  const int baudRate = GetPortSettings(model.ProtocolNumber, "", "").baudRate;
  printf("paths: %s\n", CountText(paths.starts.size()).c_str());
  printf("cut length: %.1f mm\n", paths.cutUnits / UNITS_PER_MM);
  printf("pen-up travel: %.1f mm\n", paths.travelUnits / UNITS_PER_MM);
  printf("job file: %s bytes for %s\n", CountText(bytes.size()).c_str(), model.name);
  printf("line time: %s at %d baud\n", AboutText(LineSeconds(bytes.size(), baudRate)).c_str(), baudRate);
  return true;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& exitCode) {
  struct Options {
    SendChoices choices;
    RememberOptions remember;
    bool detail = false;
  };
  auto o = std::make_shared<Options>();
  CLI::App* info = app.add_subcommand(
      "info", "Print the job's width and height in millimetres; with --detail, what a send of it would take");
  AddJobOptions(*info, o->choices.job);
  CLI::Option* detail = info->add_flag(
      "--detail", o->detail,
      "Also print the number of paths (a pen-up and the pen-downs after it, counted over the paths that cut "
      "something), the cut length and the pen-up travel in millimetres, and the size of the job file for the "
      "model with the time the line needs for it at the model's baud rate; the model and options not given are "
      "the ones a send would take");
  AddCutterOptions(*info, o->choices.cutter, false);
  AddRememberOptions(*info, o->remember);
  for (const char* name : {"--model", "--blade-offset", "--overcut", "--ini", "--no-blade-offset", "--no-overcut"})
    info->get_option(name)->needs(detail);
  info->callback([o, &exitCode] {
    CPlotJob job;
    if (!LoadChosenJob(job, o->choices.job)) {
      exitCode = 1;
      return;
    }
    printf("%s x %s mm\n", job.WidthText().c_str(), job.HeightText().c_str());
    if (o->detail && !(CompleteAsSend(o->choices, o->remember) && PrintDetail(job, o->choices.cutter))) exitCode = 1;
  });
}
