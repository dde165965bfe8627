// plotgate info INPUT [--mirror] [--rotate R | --registration FILE.reg] [--detail [--model NAME] [--blade-offset TEXT |
//   --no-blade-offset] [--overcut TEXT | --no-overcut] [--ini FILE]]: the job's size as the
// dialog shows it; with --detail also its paths, their lengths, and the job file a send
// would write for the model with the time the line needs for it; with --registration also
// how the placement from the measured marks reads.
#include <cstdio>
#include <memory>

#include "cli/AmountText.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/PresetChoice.h"
#include "cli/RegistrationOption.h"
#include "cli/RememberedChoices.h"
#include "cli/TransferRate.h"
#include "cutter/ModelTable.h"
#include "cutter/PortSettings.h"
#include "pipeline/JobPaths.h"

namespace {

// Plotter units to the millimetre.
const double UNITS_PER_MM = 40.0;

// The job file the model's driver would write for `job`, in `bytes`, and its paths. False,
// after a message, when it cannot be encoded.
bool EncodeForDetail(CPlotJob& job, const Choices& used, std::string& bytes, JobPaths& paths) {
  if (!EncodeChosenJob(job, used, bytes)) return false;
  paths = ReadJobPaths(bytes.data(), bytes.size(), JobFormatOfModel(used.model.value_or(0)).dialect);
  return true;
}

// Prints the paths, their lengths, and the job file's size and line time for the chosen
// model; with panels, how many and how wide; when the cut order changes the order, also the pen-up travel of the
// drawing's own
// (`drawing`, loaded with the same choices but that order). A model neither given nor
// remembered is marked as the default it is. False, after a message, when the job cannot
// be encoded.
bool PrintDetail(CPlotJob& job, CPlotJob& drawing, const Choices& used, bool defaulted) {
  const CutterModel& model = ModelTable[used.model.value_or(0)];
  std::string bytes;
  JobPaths paths;
  if (!EncodeForDetail(job, used, bytes, paths)) return false;
  const int baudRate = GetPortSettings(model.ProtocolNumber, "", "").baudRate;
  printf("paths: %s\n", CountText(paths.starts.size()).c_str());
  printf("cut length: %.1f mm\n", paths.cutUnits / UNITS_PER_MM);
  if (!job.GetPanelLayout().IsOff()) printf("panels: %s\n", PanelText(job.GetPanels()).c_str());
  const CutOrder& order = job.GetCutOrder();
  if (order.insideFirst || order.shortestTravel) {
    std::string drawingBytes;
    JobPaths drawingPaths;
    if (!EncodeForDetail(drawing, used, drawingBytes, drawingPaths)) return false;
    printf("pen-up travel: %.1f mm (%.1f mm in the drawing's order)\n", paths.travelUnits / UNITS_PER_MM,
           drawingPaths.travelUnits / UNITS_PER_MM);
  } else {
    printf("pen-up travel: %.1f mm\n", paths.travelUnits / UNITS_PER_MM);
  }
  printf("job file: %s bytes for %s%s\n", CountText(bytes.size()).c_str(), model.name,
         defaulted ? " (the default: no model chosen yet)" : "");
  printf("line time: %s at %d baud\n", AboutText(LineSeconds(bytes.size(), baudRate)).c_str(), baudRate);
  return true;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& exitCode) {
  struct Options {
    std::string input;
    Choices given;
    std::string iniPath;
    bool detail = false;
    std::string registration;
  };
  auto o = std::make_shared<Options>();
  CLI::App* info = app.add_subcommand(
      "info", "Print the job's width and height in millimetres; with --detail, what a send of it would take");
  AddJobOptions(*info, o->input, o->given);
  AddRegistrationOption(*info, o->registration);
  CLI::Option* detail = info->add_flag(
      "--detail", o->detail,
      "Also print the number of paths (a pen-up and the pen-downs after it, counted over the paths that cut "
      "something), the cut length and the pen-up travel in millimetres, and the size of the job file for the "
      "model with the time the line needs for it at the model's baud rate; the model and options not given are "
      "the ones a send would take");
  AddCutterOptions(*info, o->given, false);
  AddRememberOptions(*info, o->iniPath, o->given);
  AddPresetOption(*info, o->given, nullptr);
  for (const char* name : {"--model", "--blade-offset", "--overcut", "--ini", "--no-blade-offset", "--no-overcut",
                           "--force", "--speed", "--no-force", "--no-speed", "--preset", "--no-inside-first",
                           "--no-shortest-travel", "--no-weed-border", "--no-media-width", "--no-panels"})
    info->get_option(name)->needs(detail);
  info->callback([o, &exitCode] {
    if (const int refused = ApplyPreset(o->given, o->iniPath)) {
      exitCode = refused;
      return;
    }
    // The detail is what a send would take, the remembered cut order included; the settings
    // file is read as a send reads it, but an absent one is not created.
    Choices used = Merged(o->given, DefaultChoices());
    bool modelDefaulted = false;
    if (o->detail) {
      CIniFile ini;
      Remembered remembered;
      exitCode = CompleteFromSettings(o->given, o->iniPath, ini, remembered, used);
      if (exitCode != 0) return;
      modelDefaulted = !o->given.model && !remembered.choices.model;
    }
    CPlotJob job;
    PlacementFit fit;
    exitCode = LoadChosenJob(job, o->input, used);
    if (exitCode != 0) return;
    if (!PlaceWithRegistration(job, o->input, o->registration, fit)) {
      exitCode = 1;
      return;
    }
    CheckMediaWidth(job, used, false);
    // Every model takes the job with its coordinates swapped: the width lies across the roll
    // and the height runs along the feed (ToolPath.h).
    printf("%s x %s mm (across the roll x along the feed)\n", job.WidthText().c_str(), job.HeightText().c_str());
    if (!o->registration.empty()) printf("placed: %s\n", PlacementResultLine(fit).c_str());
    if (o->detail) {
      Choices inDrawingOrder = used;
      inDrawingOrder.insideFirst = false;
      inDrawingOrder.shortestTravel = false;
      CPlotJob drawing;
      const CutOrder& order = job.GetCutOrder();
      if ((order.insideFirst || order.shortestTravel) &&
          (LoadChosenJob(drawing, o->input, inDrawingOrder) != 0 ||
           !PlaceWithRegistration(drawing, o->input, o->registration, fit))) {
        exitCode = 1;
      } else if (!PrintDetail(job, drawing, used, modelDefaulted)) {
        exitCode = 1;
      }
    }
    exitCode = StdoutResult(exitCode);
  });
}
