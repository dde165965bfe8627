// plotgate send INPUT [--model NAME] [--port PORT] [--mirror] [--rotate R]
//   [--blade-offset TEXT | --no-blade-offset] [--overcut TEXT | --no-overcut] [--ini FILE]
//   [--from-path N]:
// what the dialog's Send does for a COM port: start from the remembered choices, open the
// driver, save the choices, write the job file (one of this send's own in the temporary
// folder, removed after), stream it piece by piece (a long one announced, with a progress line on a terminal), and
// tell how it went with the choices it used. A send that stops early says in which path it
// stopped and the command that goes on from there.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "AmountText.h"
#include "CliCommon.h"
#include "Commands.h"
#include "FileException.h"
#include "JobPaths.h"
#include "MappedFile.h"
#include "ModelTable.h"
#include "PortDiscovery.h"
#include "PrivateJobFile.h"
#include "ProgressLine.h"
#include "RememberedChoices.h"
#include "SendSession.h"
#include "SettingsLocation.h"
#include "SystemError.h"
#include "Terminal.h"
#include "TransferRate.h"

namespace {

// The exit code of a send stopped by Ctrl-C, as a shell reports a command ended by SIGINT.
const int EXIT_INTERRUPTED = 130;

// The session a Ctrl-C cancels while it streams; the handler only sets its atomic flag.
CSendSession* volatile g_pInterrupted = nullptr;

extern "C" void CancelOnInterrupt(int) {
  if (g_pInterrupted) g_pInterrupted->Cancel();
}

// A send expected to take longer than this is announced before it starts.
const double LONG_SEND_SECONDS = 10;

// Draws the progress line on stderr at the terminal's width of the moment: at most ten
// times a second, and once more at the end.
class CProgressDrawer {
 public:
  explicit CProgressDrawer(const CSendSession& session) : m_session(session) {}

  // Called after every piece: measures the rate and draws the line when it is time.
  void Update(int percent) {
    const double now = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    const uint64_t sent = m_session.BytesSent();
    m_rate.Add(now, sent);
    if (percent < 100 && m_bDrawn && now - m_fDrawnAt < REDRAW_SECONDS) return;
    m_bDrawn = true;
    m_fDrawnAt = now;
    const int columns = TerminalColumns(stderr);
    std::string line = ProgressLine(columns, sent, m_session.JobSize(), m_rate.SecondsLeft(m_session.JobSize()));
    // Spaces over what is left of a longer line before, within the width.
    const size_t cover = std::min(m_nLength, static_cast<size_t>(std::max(columns - 1, 0)));
    m_nLength = line.size();
    if (line.size() < cover) line.append(cover - line.size(), ' ');
    fprintf(stderr, "\r%s%s", line.c_str(), percent >= 100 ? "\n" : "");
    fflush(stderr);
  }

 private:
  static constexpr double REDRAW_SECONDS = 0.1;
  const CSendSession& m_session;
  const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
  CTransferRate m_rate;
  bool m_bDrawn = false;
  double m_fDrawnAt = 0;
  size_t m_nLength = 0;
};

// Which choices came from the settings file, as the command line did not give them.
struct SavedMarks {
  bool model = false;
  bool port = false;
  bool bladeOffset = false;
  bool overCut = false;
};

SavedMarks MarksOf(const SendChoices& given, const SendChoices& used, const RememberOptions& remember,
                   bool haveSettings) {
  SavedMarks marks;
  if (!haveSettings) return marks;
  marks.model = given.cutter.model < 0;
  marks.port = given.port.empty() && !used.port.empty();
  marks.bladeOffset = !given.cutter.offsets.bladeOffset && !remember.noBladeOffset;
  marks.overCut = !given.cutter.offsets.overCut && !remember.noOverCut;
  return marks;
}

const char* Mark(bool saved) { return saved ? " (saved)" : ""; }

std::string OffsetText(const char* name, bool ticked, const std::string& text, bool saved) {
  return std::string(name) + (ticked ? " " + text + " mm" : " off") + Mark(saved);
}

// The closing line: "Sent 412 bytes to Finch-Series (saved) on /dev/ttyACM0 at 38400
// baud; mirror off, rotation 90, blade offset 0.38 mm (saved), over-cut off (saved)."
std::string SentText(uint64_t size, const char* model, const std::string& port, int baudRate, const SendChoices& used,
                     const SavedMarks& marks) {
  const OffsetOptions& offsets = used.cutter.offsets;
  return "Sent " + std::to_string(size) + " bytes to " + model + Mark(marks.model) + " on " + port + Mark(marks.port) +
         " at " + std::to_string(baudRate) + " baud; mirror " + (used.job.mirror ? "on" : "off") + ", rotation " +
         std::to_string(std::max(used.job.rotate, 0)) + ", " +
         OffsetText("blade offset", offsets.bladeOffset, offsets.bladeOffsetText, marks.bladeOffset) + ", " +
         OffsetText("over-cut", offsets.overCut, offsets.overCutText, marks.overCut) + ".";
}

int Fail(const std::string& message) {
  fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

// A word of the command to paste, in double quotes when it holds more than letters,
// digits and the marks of paths and numbers.
std::string CommandWord(const std::string& word) {
  if (!word.empty() && word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_./:,+-"
                                              "\\") == std::string::npos)
    return word;
  return "\"" + word + "\"";
}

// The send command with every choice this send used, going on from path `fromPath`.
std::string GoOnCommand(const SendChoices& used, const std::string& port, const RememberOptions& remember,
                        int fromPath) {
  const OffsetOptions& offsets = used.cutter.offsets;
  std::string command = "plotgate send " + CommandWord(used.job.input) + " --model " +
                        CommandWord(ModelTable[used.cutter.model].name) + " --port " + CommandWord(port);
  if (used.job.mirror) command += " --mirror";
  if (used.job.rotate > 0) command += " --rotate " + std::to_string(used.job.rotate);
  command += offsets.bladeOffset ? " --blade-offset " + CommandWord(offsets.bladeOffsetText) : " --no-blade-offset";
  command += offsets.overCut ? " --overcut " + CommandWord(offsets.overCutText) : " --no-overcut";
  if (!remember.iniPath.empty()) command += " --ini " + CommandWord(remember.iniPath);
  return command + " --from-path " + std::to_string(fromPath);
}

// Keeps in the job file only what cuts from path `fromPath` on (0 for the whole job),
// with its opening and ending. `total` receives the number of paths of the whole job and
// `sent` the paths of the file as it is left, which the send streams. Returns 0 when done;
// after a message on stderr 1 when the file cannot be read or written, EXIT_USAGE when the
// job has no such path.
int KeepFromPath(const std::string& jobFile, int dialect, int fromPath, int& total, JobPaths& sent) {
  std::string kept;
  {
    CMappedFile file;
    if (!file.Open(jobFile)) return Fail(SendOutcomeText(SEND_JOB_FILE_UNREADABLE));
    sent = ReadJobPaths(file.Data(), file.Size(), dialect);
    total = static_cast<int>(sent.starts.size());
    if (fromPath > total) {
      fprintf(stderr, "plotgate: --from-path %d: the job has %d path%s\n", fromPath, total, total == 1 ? "" : "s");
      return EXIT_USAGE;
    }
    if (fromPath <= 1) return 0;
    kept = JobFromPath(file.Data(), file.Size(), sent, fromPath);
  }
  sent = ReadJobPaths(kept.data(), kept.size(), dialect);
  return WriteOutput(jobFile, kept) ? 0 : 1;
}

int RunSend(SendChoices choices, const RememberOptions& remember, int fromPath) {
  CIniFile ini;
  ini.IniPath = remember.iniPath.empty() ? DefaultSettingsPath() : remember.iniPath;
  // Reading creates an absent file; an empty one has nothing to remember.
  std::error_code noSettings;
  const uintmax_t settingsSize = std::filesystem::file_size(std::filesystem::u8path(ini.IniPath), noSettings);
  const bool haveSettings = !noSettings && settingsSize > 0;
  SavedChoices saved;
  std::string rememberedPort;
  try {
    saved = ReadSavedChoices(ini);
    rememberedPort = ReadRememberedPort(ini);
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: cannot read the settings: ") + e.what());
  }
  const SendChoices given = choices;
  CompleteFromSaved(choices, remember, saved, rememberedPort);
  const SavedMarks marks = MarksOf(given, choices, remember, haveSettings);

  CPlotJob job;
  if (!LoadChosenJob(job, choices.job)) return 1;
  const CutterModel& model = ModelTable[choices.cutter.model];
  const std::vector<SerialDevice> devices = ListSerialDevices();
  const std::string port = choices.port.empty() ? ChoosePort(model.ProtocolNumber, devices) : choices.port;

  CSendSession session;
  const SendOutcome opened = session.Open(model, port, MatchSerialPort(devices, USB_SERIAL_PREFIX));
  if (opened == SEND_UNKNOWN_CUTTER) return Fail(SendOutcomeText(opened));
  if (session.Settings().mode == MODE_VENDOR_USB) {
    return Fail(std::string("plotgate: ") + model.name +
                " cutters take jobs through the maker's USB link (VORN_USB), which only the Plotgate program on "
                "Windows serves (through VornUSBSend)");
  }
  if (opened != SEND_DONE) {
    return Fail(std::string(SendOutcomeText(opened)) + "\nplotgate: opening " + port + ": " +
                OpenFailureReason(session));
  }
  // Saved once the cutter answers, as the dialog does before it writes the job file.
  try {
    WriteSavedChoices(ini, ChoicesToRemember(choices, port, saved));
    WriteRememberedPort(ini, port);
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: cannot save the settings: ") + e.what());
  }

  // A file of this send's own, removed when the send is over.
  const CPrivateJobFile privateFile;
  const std::string& jobFile = privateFile.Path();
  if (jobFile.empty()) {
    return Fail(std::string(SendOutcomeText(SEND_JOB_FILE_FAILED)) +
                " (no job file in the temporary folder: " + SystemErrorText(privateFile.Error()) + ")");
  }
  JobFailure why;
  if (session.WriteJobFile(job, jobFile, choices.cutter.offsets, &why) != SEND_DONE) {
    return Fail(std::string(SendOutcomeText(SEND_JOB_FILE_FAILED)) + " (" + jobFile + ": " + JobFailureReason(why) +
                ")");
  }
  const JobFormat format = JobFormatOf(model.ProtocolNumber);
  int pathCount = 0;
  JobPaths sentPaths;
  if (const int kept = KeepFromPath(jobFile, format.dialect, fromPath, pathCount, sentPaths)) return kept;
  // Just written, so its size is known; were it not, no announcement.
  std::error_code unknownSize;
  const uintmax_t fileSize = std::filesystem::file_size(std::filesystem::u8path(jobFile), unknownSize);
  const uint64_t jobSize = unknownSize ? 0 : fileSize;
  const double expectedSeconds = LineSeconds(jobSize, session.Settings().baudRate);
  if (expectedSeconds >= LONG_SEND_SECONDS) {
    fprintf(stderr, "sending %s to %s on %s at %d baud, %s\n", SizeText(jobSize).c_str(), model.name, port.c_str(),
            session.Settings().baudRate, AboutText(expectedSeconds).c_str());
  }
  const bool showProgress = IsTerminal(stderr);
  CProgressDrawer drawer(session);
  // Ctrl-C cancels the stream, which then lifts the pen and ends the job on the cutter.
  g_pInterrupted = &session;
  const auto previous = std::signal(SIGINT, CancelOnInterrupt);
  const SendOutcome sent = session.Stream([&](int percent) {
    if (showProgress) drawer.Update(percent);
  });
  std::signal(SIGINT, previous);
  g_pInterrupted = nullptr;
  if (sent != SEND_DONE && showProgress) fputc('\n', stderr);
  if (sent == SEND_JOB_FILE_UNREADABLE) return Fail(SendOutcomeText(sent));
  // Counted in the whole job, also when this send began at a later path.
  const int stoppedPath = std::max(fromPath, 1) - 1 + PathAt(sentPaths, session.BytesSent());
  const std::string stopped =
      "plotgate: stopped in path " + std::to_string(stoppedPath) + " of " + std::to_string(pathCount) + " after " +
      CountText(session.BytesSent()) + " of " + CountText(session.JobSize()) + " bytes; " +
      (session.JobEnded() ? "the pen was lifted and the job ended" : "the pen-up and the job's end could not be sent") +
      ". To go on: " + GoOnCommand(choices, port, remember, stoppedPath);
  if (sent == SEND_CANCELLED) {
    Fail("plotgate: interrupted\n" + stopped);
    return EXIT_INTERRUPTED;
  }
  if (sent != SEND_DONE) {
    return Fail("plotgate: writing to " + port + ": " + WriteFailureReason(session) + "\n" + stopped);
  }
  printf("%s\n", SentText(session.JobSize(), model.name, port, session.Settings().baudRate, choices, marks).c_str());
  return 0;
}

}  // namespace

void AddSendCommand(CLI::App& app, int& exitCode) {
  auto choices = std::make_shared<SendChoices>();
  auto remember = std::make_shared<RememberOptions>();
  auto fromPath = std::make_shared<int>(0);
  CLI::App* send = app.add_subcommand(
      "send",
      "Send the job to a cutter on a serial port. Choices not given are the ones saved by the last send (of "
      "plotgate or of the dialog), and every send saves its choices.");
  AddJobOptions(*send, choices->job);
  AddCutterOptions(*send, choices->cutter, false);
  send->add_option("--port", choices->port,
                   "COM port (COM1..COM999) or device path; by default the saved port, or with --model the port "
                   "the dialog would choose");
  AddRememberOptions(*send, *remember);
  send->add_option("--from-path", *fromPath,
                   "Go on with a stopped job: send the job file's opening, then the job from the pen-up of its "
                   "N-th path on, then its ending, so that the paths before N are not cut again. A path is a "
                   "pen-up and the pen-downs after it in the job file as written for the model, counted over the "
                   "paths that cut something; a send that stops early says which N to go on from")
      ->type_name("N")
      ->check(CLI::Range(1, 1 << 30).description(""));
  send->callback([choices, remember, fromPath, &exitCode] { exitCode = RunSend(*choices, *remember, *fromPath); });
}
