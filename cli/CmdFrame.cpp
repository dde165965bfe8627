// plotgate frame INPUT [--model NAME] [--port PORT] [--mirror] [--rotate R | --registration
//   FILE.reg] [cut order options] [--force G | --no-force] [--speed CMS | --no-speed]
//   [--preset NAME] [--ini FILE]:
// traces the job's bounding box on the cutter with the pen up, where and how the job file
// would place it (with --registration, where the measured marks put its corners), so the
// user sees where the job will land before cutting. Model, port and
// cut order are taken as send takes them; nothing is remembered.
#include <cstdio>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/InterruptGuard.h"
#include "cli/PresetChoice.h"
#include "cli/RegistrationOption.h"
#include "cli/RememberedChoices.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"
#include "cutter/PortSettings.h"
#include "cutter/SendSession.h"
#include "pipeline/JobFrame.h"

namespace {

struct FrameOptions {
  std::string input;
  Choices given;
  std::string iniPath;
  std::string registration;
};

int RunFrame(const FrameOptions& options) {
  Choices given = options.given;
  if (const int refused = ApplyPreset(given, options.iniPath)) return refused;
  CutterTarget target;
  if (const int refused = FindCutterTarget(given, options.iniPath, target)) return refused;
  // The cut order is completed as a send would, since a weed border changes where the job
  // lands; what the file holds is refused first, as a send refuses it.
  if (!TakenAccepted(given, target.used, target.remembered, target.iniPath, USE_CUT_ORDER | USE_MEDIA | USE_TOOL))
    return EXIT_USAGE;
  if (const int refused = RefuseTarget(target)) return refused;
  PrintSettingsWarnings(target.remembered, target.iniPath);
  const CutterModel& model = ModelTable[target.model];
  CPlotJob job;
  PlacementFit fit;
  if (const int failed = LoadChosenJob(job, options.input, target.used)) return failed;
  if (!PlaceWithRegistration(job, options.input, options.registration, fit)) return 1;
  if (const int refused = CheckMediaWidth(job, target.used, true)) return refused;
  const JobFormat format = JobFormatOfModel(target.model);
  SayForceNotSent(target.used);
  const std::string frame = JobFrameCommands(job, format, OffsetsOf(target.used).tool);
  if (frame.empty()) return Fail("plotgate: cannot frame " + options.input + ": not enough memory for this job");

  if (GetPortSettings(model.ProtocolNumber, target.port, target.usbSerialPort).mode == MODE_VENDOR_USB) {
    return Fail(std::string("plotgate: frame works on serial lines only; ") + model.name +
                " cutters take jobs through the maker's USB link (VORN_USB)");
  }
  CSendSession session;
  if (const int failed = OpenCutter(session, model, target.port, target.usbSerialPort)) return failed;
  const std::string port = PortWithDevice(target.port);
  SendOutcome sent;
  {
    const CInterruptGuard guard(session);
    sent = session.StreamBytes(frame, [](int) {});
  }
  const char* ending = session.JobEnded() ? "; the head was sent back to the origin" : "";
  if (sent == SEND_CANCELLED) {
    fprintf(stderr, "plotgate: interrupted%s\n", ending);
    return EXIT_INTERRUPTED;
  }
  if (sent != SEND_DONE) {
    return Fail("plotgate: writing to " + port + ": " + WriteFailureReason(session) + ending);
  }
  // The line says what went out: whether the head moved is for the user to see.
  printf(
      "Framed %s x %s mm on %s for %s: sent %zu bytes of pen-up moves round the job's edges and back to the "
      "origin.\n",
      job.WidthText().c_str(), job.HeightText().c_str(), port.c_str(), model.name, frame.size());
  return 0;
}

}  // namespace

void AddFrameCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<FrameOptions>();
  CLI::App* frame = app.add_subcommand(
      "frame",
      "Show where the job will land: the cutter's head goes round the job's bounding box with the pen up, as the job "
      "would be placed (mirror, rotation and the cutter's origin), then back to the origin. Never lowers the pen. "
      "Choices not given are the ones saved by the last send; nothing is saved.");
  AddJobOptions(*frame, options->input, options->given);
  AddRegistrationOption(*frame, options->registration);
  AddTargetOptions(*frame, options->given, options->iniPath);
  AddUntickCutOrderOptions(*frame, options->given);
  AddToolOptions(*frame, options->given);
  AddPresetOption(*frame, options->given, nullptr);
  frame->callback([options, &exitCode] { exitCode = RunFrame(*options); });
}
