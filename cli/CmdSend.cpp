// plotgate send INPUT [--model NAME] [--port PORT] [--mirror] [--rotate R]
//   [--blade-offset TEXT | --no-blade-offset] [--overcut TEXT | --no-overcut] [--ini FILE]:
// what the dialog's Send does for a COM port: start from the remembered choices, open the
// driver, save the choices, write the job file "cutcorldata.hb" in the temporary folder,
// stream it piece by piece, and tell how it went.
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "CliCommon.h"
#include "Commands.h"
#include "FileException.h"
#include "ModelTable.h"
#include "PortDiscovery.h"
#include "RememberedChoices.h"
#include "SendSession.h"
#include "SettingsLocation.h"
#include "SystemError.h"
#include "Terminal.h"

namespace {

// The exit code of a send stopped by Ctrl-C, as a shell reports a command ended by SIGINT.
const int EXIT_INTERRUPTED = 130;

// The session a Ctrl-C cancels while it streams; the handler only sets its atomic flag.
CSendSession* volatile g_pInterrupted = nullptr;

extern "C" void CancelOnInterrupt(int) {
  if (g_pInterrupted) g_pInterrupted->Cancel();
}

void DrawProgressBar(int percent) {
  const int width = 40;
  const int filled = percent * width / 100;
  fprintf(stderr, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(), std::string(width - filled, ' ').c_str(),
          percent);
  if (percent >= 100) fputc('\n', stderr);
  fflush(stderr);
}

int Fail(const std::string& message) {
  fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

// The system's reason for a failed open or write, or what is known without one.
std::string ReasonOf(const CSendSession& session, const char* withoutSystemError) {
  return session.SystemError() ? SystemErrorText(session.SystemError()) : withoutSystemError;
}

int RunSend(SendChoices choices, const RememberOptions& remember) {
  CIniFile ini;
  ini.IniPath = remember.iniPath.empty() ? DefaultSettingsPath() : remember.iniPath;
  SavedChoices saved;
  std::string rememberedPort;
  try {
    saved = ReadSavedChoices(ini);
    rememberedPort = ReadRememberedPort(ini);
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: cannot read the settings: ") + e.what());
  }
  CompleteFromSaved(choices, remember, saved, rememberedPort);

  CPlotJob job;
  if (!LoadChosenJob(job, choices.job)) return 1;
  const CutterModel& model = ModelTable[choices.cutter.model];
  const std::vector<SerialDevice> devices = ListSerialDevices();
  const std::string port = choices.port.empty() ? ChoosePort(model.ProtocolNumber, devices) : choices.port;

  CSendSession session;
  const SendOutcome opened = session.Open(model, port, MatchSerialPort(devices, USB_SERIAL_PREFIX));
  if (opened == SEND_UNKNOWN_CUTTER) return Fail(UNKNOWN_CUTTER_TEXT);
  if (session.Settings().mode == MODE_VENDOR_USB) {
    return Fail(std::string("plotgate: ") + model.name +
                " cutters take jobs through the maker's USB link (VORN_USB), which only the Plotgate program on "
                "Windows serves (through VornUSBSend)");
  }
  if (opened != SEND_DONE) {
    return Fail("Connect to Cutter fail!\nplotgate: opening " + port + ": " +
                ReasonOf(session, "not a port number from 1 to 999"));
  }
  // Saved once the cutter answers, as the dialog does before it writes the job file.
  try {
    WriteSavedChoices(ini, ChoicesToRemember(choices, port, saved));
    WriteRememberedPort(ini, port);
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: cannot save the settings: ") + e.what());
  }

  const std::string jobFile = (std::filesystem::temp_directory_path() / "cutcorldata.hb").string();
  JobResult why = JOB_DONE;
  if (session.WriteJobFile(job, jobFile, choices.cutter.offsets, &why) != SEND_DONE) {
    return Fail("SaveCutTempData error1 (" + jobFile + ": " + JobFailureReason(why) + ")");
  }
  const bool showProgress = IsTerminal(stderr);
  // Ctrl-C cancels the stream, which then lifts the pen and ends the job on the cutter.
  g_pInterrupted = &session;
  const auto previous = std::signal(SIGINT, CancelOnInterrupt);
  const SendOutcome sent = session.Stream([&](int percent) {
    if (showProgress) DrawProgressBar(percent);
  });
  std::signal(SIGINT, previous);
  g_pInterrupted = nullptr;
  if (sent != SEND_DONE && showProgress) fputc('\n', stderr);
  if (sent == SEND_JOB_FILE_UNREADABLE) return Fail("Open temp file fail!");
  const std::string stopped =
      "plotgate: stopped after " + std::to_string(session.BytesSent()) + " of " + std::to_string(session.JobSize()) +
      " bytes; " +
      (session.JobEnded() ? "the pen was lifted and the job ended" : "the pen-up and the job's end could not be sent");
  if (sent == SEND_CANCELLED) {
    Fail("plotgate: interrupted\n" + stopped);
    return EXIT_INTERRUPTED;
  }
  if (sent != SEND_DONE) {
    return Fail("plotgate: writing to " + port + ": " + ReasonOf(session, "the port did not take the whole piece") +
                "\n" + stopped);
  }
  std::error_code ignored;
  printf("Sent %llu bytes to %s on %s at %d baud.\n",
         static_cast<unsigned long long>(std::filesystem::file_size(jobFile, ignored)), model.name, port.c_str(),
         session.Settings().baudRate);
  return 0;
}

}  // namespace

void AddSendCommand(CLI::App& app, int& exitCode) {
  auto choices = std::make_shared<SendChoices>();
  auto remember = std::make_shared<RememberOptions>();
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
  send->callback([choices, remember, &exitCode] { exitCode = RunSend(*choices, *remember); });
}
