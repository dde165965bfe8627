// plotgate send INPUT [--model NAME] [--port PORT] [--mirror] [--rotate R | --registration FILE.reg]
//   [--blade-offset TEXT | --no-blade-offset] [--overcut TEXT | --no-overcut]
//   [--inside-first | --no-inside-first] [--shortest-travel | --no-shortest-travel]
//   [--weed-border MM | --no-weed-border] [--passes N] [--media-width MM | --no-media-width]
//   [--panels [--panel-overlap MM] [--panel-gap MM] | --no-panels] [--force G | --no-force]
//   [--speed CMS | --no-speed] [--preset NAME] [--ini FILE] [--from-path N] [--job-id ID]:
// what the dialog's Send does for a COM port: start from the remembered choices (refused
// with no model chosen or remembered, or no port given, remembered or found), say what it
// will send where with which choices, open the driver, save the choices, write the job file (one of this send's own in
// the temporary folder, removed after), stream it piece by piece (a long one announced, with a progress line on a
// terminal), and tell how it went with the choices it used. A send that stops early says in which path it stopped and
// the command that goes on from there, which refuses to go on with another drawing.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "base/SystemError.h"
#include "cli/AmountText.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/InterruptGuard.h"
#include "cli/JobIdentity.h"
#include "cli/PresetChoice.h"
#include "cli/PrivateJobFile.h"
#include "cli/RegistrationOption.h"
#include "cli/RememberedChoices.h"
#include "cli/SendProgress.h"
#include "cli/ShellWord.h"
#include "cli/Terminal.h"
#include "cli/TransferRate.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"
#include "cutter/PortSettings.h"
#include "cutter/SendSession.h"
#include "pipeline/JobPaths.h"
#include "pipeline/TestCut.h"
#include "settings/FileException.h"

namespace {

// A send expected to take longer than this is announced before it starts.
const double LONG_SEND_SECONDS = 10;

// Which choices came from the settings file, as the command line did not give them.
struct SavedMarks {
  bool model = false;
  bool port = false;
  bool bladeOffset = false;
  bool overCut = false;
};

SavedMarks MarksOf(const Choices& given, const CutterTarget& target, bool haveSettings) {
  SavedMarks marks;
  if (!haveSettings) return marks;
  marks.model = target.modelSaved;
  marks.port = target.portSaved;
  marks.bladeOffset = !given.bladeOffset;
  marks.overCut = !given.overCut;
  return marks;
}

const char* Mark(bool saved) { return saved ? " (saved)" : ""; }

std::string OffsetText(const char* name, const std::optional<bool>& ticked, const std::optional<std::string>& text,
                       bool saved) {
  return std::string(name) + (ticked.value_or(false) ? " " + text.value_or("") + " mm" : " off") + Mark(saved);
}

// The cut order and the media for the closing line, "" when it is the drawing's and no
// media width is ticked: "; inner shapes first, nearest start next, weed border 3 mm, 2
// passes, media 120 mm, panels overlapping 10 mm, 20 mm apart".
std::string CutOrderText(const Choices& used) {
  std::string text;
  if (used.insideFirst.value_or(false)) text += ", inner shapes first";
  if (used.shortestTravel.value_or(false)) text += ", nearest start next";
  if (used.weedBorder.value_or(false)) text += ", weed border " + used.weedBorderText.value_or("") + " mm";
  const int passes = used.passes.value_or(1);
  if (passes > 1) text += ", " + std::to_string(passes) + " passes";
  if (used.mediaWidth.value_or(false)) text += ", media " + used.mediaWidthText.value_or("") + " mm";
  if (used.mediaWidth.value_or(false) && used.panels.value_or(false))
    text += ", panels overlapping " + used.panelOverlapText.value_or("") + " mm, " + used.panelGapText.value_or("") +
            " mm apart";
  return text.empty() ? "" : ";" + text.substr(1);
}

// The force, the speed and the preset for the closing line, each only when set: ", force
// 80 g, speed 20 cm/s, preset "Flock"".
std::string ToolText(const Choices& used) {
  std::string text;
  if (used.force.value_or(0) > 0) text += ", force " + std::to_string(*used.force) + " g";
  if (used.speed.value_or(0) > 0) text += ", speed " + std::to_string(*used.speed) + " cm/s";
  if (!used.preset.value_or("").empty()) text += ", preset \"" + *used.preset + "\"";
  return text;
}

// The choices of a send, as its opening and closing lines give them after "to ":
// "Finch-Series (saved) on COM1 (/dev/ttyS0) at 38400 baud; mirror off, rotation 90, blade
// offset 0.38 mm (saved), over-cut off (saved)."
std::string ChoicesText(const char* model, const std::string& port, int baudRate, const Choices& used,
                        const SavedMarks& marks) {
  return std::string(model) + Mark(marks.model) + " on " + PortWithDevice(port) + Mark(marks.port) + " at " +
         std::to_string(baudRate) + " baud; mirror " + (used.mirror.value_or(false) ? "on" : "off") + ", rotation " +
         std::to_string(used.rotation.value_or(0)) + ", " +
         OffsetText("blade offset", used.bladeOffset, used.bladeOffsetText, marks.bladeOffset) + ", " +
         OffsetText("over-cut", used.overCut, used.overCutText, marks.overCut) + ToolText(used) + CutOrderText(used) +
         ".";
}

// What a send is told: the drawing, the choices given, the settings file (--ini, "" for
// the default), where it goes on from and with which drawing: --from-path N (0 when
// not given) and --job-id ID ("" when not given), and the registration file that places
// it (--registration, "" when not given).
struct SendRequest {
  std::string input;
  Choices given;
  std::string iniPath;
  int fromPath = 0;
  std::string jobId;
  std::string registration;
  // A test cut: `input` is its drawing in a file of its own; the job's mirror, rotation and
  // cut order do not apply (the passes do), nothing is remembered and there is no going on.
  bool testCut = false;
};

// The send command with every choice this send used, going on from path `fromPath` of the
// drawing `jobId`, run by the name `program` the user ran this one by, each
// word quoted for this system's shell and the input after "--", so that pasted it runs
// exactly this send whatever the names hold.
std::string GoOnCommand(const std::string& program, const SendRequest& request, const Choices& used,
                        const std::string& port, int fromPath, const std::string& jobId) {
  std::string command = ShellWord(program) + " send --model " + ShellWord(ModelTable[used.model.value_or(0)].name) +
                        " --port " + ShellWord(port);
  if (used.mirror.value_or(false)) command += " --mirror";
  const int rotation = used.rotation.value_or(0);
  if (rotation > 0) command += " --rotate " + std::to_string(rotation);
  // A box ticks with its text, or is unticked.
  const auto box = [](const std::optional<bool>& ticked, const std::optional<std::string>& text, const char* on,
                      const char* off) {
    return ticked.value_or(false) ? std::string(on) + " " + ShellWord(text.value_or("")) : std::string(off);
  };
  command += box(used.bladeOffset, used.bladeOffsetText, " --blade-offset", " --no-blade-offset");
  command += box(used.overCut, used.overCutText, " --overcut", " --no-overcut");
  // The cut order numbers the paths: going on needs the same one.
  command += used.insideFirst.value_or(false) ? " --inside-first" : " --no-inside-first";
  command += used.shortestTravel.value_or(false) ? " --shortest-travel" : " --no-shortest-travel";
  command += box(used.weedBorder, used.weedBorderText, " --weed-border", " --no-weed-border");
  command += " --passes " + std::to_string(std::max(used.passes.value_or(1), 1));
  // The panels number the paths too.
  command += box(used.mediaWidth, used.mediaWidthText, " --media-width", " --no-media-width");
  command += used.panels.value_or(false)
                 ? " --panels --panel-overlap " + ShellWord(used.panelOverlapText.value_or("")) + " --panel-gap " +
                       ShellWord(used.panelGapText.value_or(""))
                 : " --no-panels";
  const auto tool = [](int value, const char* on, const char* off) {
    return value > 0 ? std::string(on) + " " + std::to_string(value) : std::string(off);
  };
  command += tool(used.force.value_or(0), " --force", " --no-force");
  command += tool(used.speed.value_or(0), " --speed", " --no-speed");
  if (!used.preset.value_or("").empty()) command += " --preset " + ShellWord(*used.preset);
  if (!request.iniPath.empty()) command += " --ini " + ShellWord(request.iniPath);
  // The paths are those of the placed job: going on needs the same placement.
  if (!request.registration.empty()) command += " --registration " + ShellWord(request.registration);
  if (!jobId.empty()) command += " --job-id " + jobId;
  return command + " --from-path " + std::to_string(fromPath) + " -- " + ShellWord(request.input);
}

// Checks that the job, as the model's job file, has a path `fromPath`, and gives in
// `keptSize` the bytes a send from there streams (0 for path 1: the whole file). 0; 1 after
// a message when the job cannot be encoded; EXIT_USAGE after saying how many paths the job
// has when it has no such path.
int CheckFromPath(CPlotJob& job, const Choices& used, int fromPath, uint64_t& keptSize) {
  keptSize = 0;
  if (fromPath <= 1) return 0;
  std::string bytes;
  if (!EncodeChosenJob(job, used, bytes)) return 1;
  const int dialect = JobFormatOfModel(used.model.value_or(0)).dialect;
  const JobPaths paths = ReadJobPaths(bytes.data(), bytes.size(), dialect);
  const size_t total = paths.starts.size();
  if (static_cast<size_t>(fromPath) > total) {
    fprintf(stderr, "plotgate: --from-path %d: the job has %zu path%s\n", fromPath, total, total == 1 ? "" : "s");
    return EXIT_USAGE;
  }
  keptSize = JobFromPath(bytes.data(), bytes.size(), paths, fromPath).size();
  return 0;
}

int RunSend(const std::string& program, const SendRequest& request) {
  CIniFile ini;
  Remembered remembered;
  Choices given = request.given;
  if (const int refused = ApplyPreset(given, request.iniPath)) return refused;
  Choices choices;
  if (const int refused = CompleteFromSettings(given, request.iniPath, ini, remembered, choices)) return refused;
  if (request.testCut) LeaveOutJobChoices(choices);
  // Refused before the drawing is read and anything is opened.
  const CutterTarget target = TargetOf(given, choices, remembered, ListSerialDevices());
  if (const int refused = RefuseTarget(target)) return refused;
  const SavedMarks marks = MarksOf(given, target, remembered.any);
  const std::string& port = target.port;
  const CutterModel& model = ModelTable[target.model];
  if (model.ProtocolNumber == 0) {
    return Fail(std::string("plotgate: ") + model.name +
                " cutters take jobs through the maker's USB link (VORN_USB), which only the Plotgate program on "
                "Windows serves (through VornUSBSend)");
  }
  // The paths to go on from are those of the drawing that was stopped; a file that cannot
  // be read is left to the loading, which says why.
  const std::string identity = JobIdentity(request.input);
  if (!request.jobId.empty() && !identity.empty() && identity != request.jobId) {
    fprintf(stderr,
            "plotgate: %s has changed since the stopped send (another drawing was exported); send it whole, or "
            "export the stopped drawing again\n",
            request.input.c_str());
    return EXIT_USAGE;
  }
  const int fromPath = request.fromPath;
  // The port is saved as the one the send went to, found or given.
  choices.port = port;

  CPlotJob job;
  PlacementFit fit;
  if (const int failed = LoadChosenJob(job, request.input, choices)) return failed;
  if (!PlaceWithRegistration(job, request.input, request.registration, fit)) return 1;
  if (const int refused = CheckMediaWidth(job, choices, true)) return refused;
  // A path beyond the job is a usage error, told before the port is opened and anything
  // is saved.
  uint64_t keptSize = 0;
  if (const int failed = CheckFromPath(job, choices, fromPath, keptSize)) return failed;

  SayForceNotSent(choices);
  // What this send will do, said before anything reaches the cutter.
  const int baudRate = GetPortSettings(model.ProtocolNumber, port, target.usbSerialPort).baudRate;
  printf("Sending %s to %s\n", request.testCut ? "the test cut" : request.input.c_str(),
         ChoicesText(model.name, port, baudRate, choices, marks).c_str());
  if (!request.registration.empty())
    printf("placed by %s: %s\n", request.registration.c_str(), PlacementResultLine(fit).c_str());
  fflush(stdout);
  CSendSession session;
  if (const int failed = OpenCutter(session, model, port, target.usbSerialPort)) return failed;
  // Saved once the cutter answers, as the dialog does before it writes the job file.
  try {
    if (!request.testCut) RememberSend(ini, choices);
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: cannot save the settings: ") + e.what());
  }

  // From the moment the job file exists a Ctrl-C stops the send rather than the program,
  // so that the file is removed whenever it comes.
  const CInterruptGuard guard(session);
  // A file of this send's own, removed when the send is over.
  const CPrivateJobFile privateFile;
  const std::string& jobFile = privateFile.Path();
  if (jobFile.empty()) {
    return Fail(std::string(SendOutcomeText(SEND_JOB_FILE_FAILED)) +
                " (no job file in the temporary folder: " + SystemErrorText(privateFile.Error()) + ")");
  }
  JobFailure why;
  if (session.WriteJobFile(job, jobFile, OffsetsOf(choices), &why) != SEND_DONE) {
    return Fail(std::string(SendOutcomeText(SEND_JOB_FILE_FAILED)) + " (" + jobFile + ": " + JobFailureReason(why) +
                ")");
  }
  // Just written, so its size is known; were it not, no announcement.
  std::error_code unknownSize;
  const uintmax_t fileSize = std::filesystem::file_size(std::filesystem::u8path(jobFile), unknownSize);
  const uint64_t jobSize = keptSize > 0 ? keptSize : unknownSize ? 0 : fileSize;
  const double expectedSeconds = LineSeconds(jobSize, baudRate);
  if (expectedSeconds >= LONG_SEND_SECONDS) {
    fprintf(stderr, "sending %s to %s on %s at %d baud, %s\n", SizeText(jobSize).c_str(), model.name,
            PortWithDevice(port).c_str(), baudRate, AboutText(expectedSeconds).c_str());
  }
  const bool showProgress = IsTerminal(stderr);
  SendOutcome sent;
  {
    std::optional<CSendProgress> progress;
    if (showProgress) progress.emplace(session);
    sent = session.Stream(
        [&](int percent) {
          if (progress) progress->Update(percent);
        },
        fromPath);
  }
  if (sent != SEND_DONE && showProgress) fputc('\n', stderr);
  // A Ctrl-C while the job file was written stops the stream before its first piece.
  if (sent == SEND_CANCELLED && session.BytesSent() == 0) {
    Fail("plotgate: interrupted before anything was sent");
    return EXIT_INTERRUPTED;
  }
  if (sent == SEND_JOB_FILE_UNREADABLE) return Fail(SendOutcomeText(sent));
  const int stoppedPath = session.StoppedPath();
  const std::string stopped =
      "plotgate: stopped in path " + std::to_string(stoppedPath) + " of " + std::to_string(session.PathCount()) +
      " after " + CountText(session.BytesSent()) + " of " + CountText(session.JobSize()) + " bytes; " +
      (session.JobEnded() ? "the pen was lifted and the job ended" : "the pen-up and the job's end could not be sent") +
      (request.testCut ? "." : ". To go on: " + GoOnCommand(program, request, choices, port, stoppedPath, identity));
  if (sent == SEND_CANCELLED) {
    Fail("plotgate: interrupted\n" + stopped);
    return EXIT_INTERRUPTED;
  }
  if (sent != SEND_DONE) {
    return Fail("plotgate: writing to " + PortWithDevice(port) + ": " + WriteFailureReason(session) + "\n" + stopped);
  }
  printf("Sent %s bytes to %s\n", std::to_string(session.JobSize()).c_str(),
         ChoicesText(model.name, port, baudRate, choices, marks).c_str());
  if (request.testCut) printf("%s\n", TEST_CUT_SENT_TEXT);
  return 0;
}

// The test cut sent as `send` sends a job, or with `output` written as `encode` writes one.
int RunTestCut(const std::string& program, SendRequest request, const std::string& output) {
  // The drawing in a file of this command's own, removed when it is over.
  const CPrivateJobFile drawing;
  const int error = drawing.Path().empty() ? drawing.Error() : WriteTestCutDrawing(drawing.Path());
  if (error != 0) return Fail("plotgate: cannot write the test cut's drawing: " + SystemErrorText(error));
  request.input = drawing.Path();
  request.testCut = true;
  if (output.empty()) return RunSend(program, request);
  Choices given = request.given;
  if (const int refused = ApplyPreset(given, request.iniPath)) return refused;
  CIniFile ini;
  Remembered remembered;
  Choices used;
  if (const int refused = CompleteFromSettings(given, request.iniPath, ini, remembered, used)) return refused;
  LeaveOutJobChoices(used);
  CPlotJob job;
  if (const int failed = LoadChosenJob(job, request.input, used)) return failed;
  return WriteChosenJobFile(job, used, output) ? 0 : 1;
}

}  // namespace

void AddSendCommand(CLI::App& app, int& exitCode, const std::string& program) {
  auto request = std::make_shared<SendRequest>();
  CLI::App* send = app.add_subcommand(
      "send",
      "Send the job to a cutter on a serial port. Choices not given are the ones saved by the last send (of "
      "plotgate or of the dialog), and every send saves its choices.");
  AddJobOptions(*send, request->input, request->given);
  AddRegistrationOption(*send, request->registration);
  AddCutterOptions(*send, request->given, false);
  AddPortOption(*send, request->given);
  AddRememberOptions(*send, request->iniPath, request->given);
  AddPresetOption(*send, request->given, nullptr);
  send->add_option("--from-path", request->fromPath,
                   "Go on with a stopped job: send the job file's opening, then the job from the pen-up of its "
                   "N-th path on, then its ending, so that the paths before N are not cut again. A path is a "
                   "pen-up and the pen-downs after it in the job file as written for the model, counted over the "
                   "paths that cut something; a send that stops early says which N to go on from")
      ->type_name("N")
      ->check(CLI::Range(1, 1 << 30).description(""));
  send->add_option("--job-id", request->jobId,
                   "Go on only with the drawing a stopped send was given: ID is the short hash of its bytes that the "
                   "stopped send printed; another drawing under the same name is refused")
      ->type_name("ID");
  send->callback([program, request, &exitCode] { exitCode = RunSend(program, *request); });
}

void AddTestCutCommand(CLI::App& app, int& exitCode, const std::string& program) {
  auto request = std::make_shared<SendRequest>();
  auto output = std::make_shared<std::string>();
  CLI::App* testcut = app.add_subcommand(
      "testcut",
      "Cut a 10 mm square around a triangle at the origin with the chosen offset, over-cut, passes, force and speed, "
      "to check them before the job (mirror, rotation and cut order do not apply). Choices not given are the ones "
      "saved by the last send; nothing is saved.");
  AddCutterOptions(*testcut, request->given, false);
  AddPortOption(*testcut, request->given);
  AddSettingsFileOption(*testcut, request->iniPath);
  AddPresetOption(*testcut, request->given, nullptr);
  AddPassesOption(*testcut, request->given);
  testcut->add_option("--output", *output, "Write the job to FILE, or - for standard output, instead of sending it");
  testcut->callback([program, request, output, &exitCode] { exitCode = RunTestCut(program, *request, *output); });
}
