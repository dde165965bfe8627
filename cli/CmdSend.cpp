// plotgate send INPUT [--model NAME] [--port PORT] [--mirror] [--rotate R]
//   [--blade-offset TEXT | --no-blade-offset] [--overcut TEXT | --no-overcut] [--ini FILE]:
// what the dialog's Send does for a COM port: start from the remembered choices, open the
// driver, save the choices, write the job file "cutcorldata.hb" in the temporary folder,
// stream it piece by piece, and tell how it went.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "CliCommon.h"
#include "Commands.h"
#include "Cutter.h"
#include "FileException.h"
#include "JobStream.h"
#include "MappedFile.h"
#include "ModelTable.h"
#include "PortDiscovery.h"
#include "PortSettings.h"
#include "RememberedChoices.h"
#include "SettingsLocation.h"
#include "SystemError.h"
#include "Terminal.h"

namespace {

// Closes the driver if it is open before it goes, as the send flow disposes of it.
struct CutterDisposer {
  void operator()(CCutter* cutter) const {
    if (cutter->IsOpen()) cutter->Close();
    delete cutter;
  }
};

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

int RunSend(SendChoices choices, const RememberOptions& remember) {
  CIniFile ini;
  ini.IniPath = remember.iniPath.empty() ? DefaultSettingsPath() : remember.iniPath;
  SavedChoices saved;
  try {
    saved = ReadSavedChoices(ini);
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: cannot read the settings: ") + e.what());
  }
  CompleteFromSaved(choices, remember, saved);

  CPlotJob job;
  if (!LoadChosenJob(job, choices.job)) return 1;
  const CutterModel& model = ModelTable[choices.cutter.model];
  std::unique_ptr<CCutter, CutterDisposer> cutter(CreateCutter(model.ProtocolNumber));
  if (!cutter) return Fail(UNKNOWN_CUTTER_TEXT);

  const std::vector<SerialDevice> devices = ListSerialDevices();
  const std::string port = choices.port.empty() ? ChoosePort(model.ProtocolNumber, devices) : choices.port;
  const PortSettings settings =
      GetPortSettings(model.ProtocolNumber, port, MatchSerialPort(devices, USB_SERIAL_PREFIX));
  if (settings.mode == MODE_VENDOR_USB) {
    return Fail(std::string("plotgate: ") + model.name +
                " cutters take jobs through the maker's USB link (VORN_USB), which only the Plotgate program on "
                "Windows serves (through VornUSBSend)");
  }
  cutter->m_sDevice = settings.device;
  if (cutter->Open(settings.mode, settings.port, settings.baudRate) == 0) {
    return Fail("Connect to Cutter fail!\nplotgate: cannot open " + port + " at " + std::to_string(settings.baudRate) +
                " baud");
  }
  // Saved once the cutter answers, as the dialog does before it writes the job file.
  try {
    WriteSavedChoices(ini, ChoicesToRemember(choices, port, saved));
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: cannot save the settings: ") + e.what());
  }

  const std::string jobFile = (std::filesystem::temp_directory_path() / "cutcorldata.hb").string();
  JobResult why = JOB_DONE;
  if (!WriteJobFile(job, jobFile.c_str(), cutter->m_nDialect, cutter->m_bSwapXY, choices.cutter.offsets, &why)) {
    return Fail("SaveCutTempData error1 (" + jobFile + ": " + JobFailureReason(why) + ")");
  }
  CMappedFile mapped;
  if (!mapped.Open(jobFile)) return Fail("Open temp file fail!");

  const bool showProgress = IsTerminal(stderr);
  const SendResult result = StreamJob(mapped.Data(), mapped.Size(), settings.mode, *cutter, [&](int percent) {
    if (showProgress) DrawProgressBar(percent);
  });
  if (result != SEND_DONE) {
    const int error = LastSystemError();
    if (showProgress) fputc('\n', stderr);
    return Fail("plotgate: writing to " + port + " failed: " + SystemErrorText(error));
  }
  printf("Sent %llu bytes to %s on %s at %d baud.\n", static_cast<unsigned long long>(mapped.Size()), model.name,
         port.c_str(), settings.baudRate);
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
