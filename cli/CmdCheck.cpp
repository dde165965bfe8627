// plotgate check [--port PORT] [--model NAME] [--ini FILE]: opens the cutter's serial port as
// a send would and reports, one line each, the device, whether it opened (with the system's
// reason and the usual remedy when not), the line settings applied, the modem lines, and
// whether a pen-up to the origin was accepted within a second. Nothing is remembered.
#include <chrono>
#include <cstdio>

#include "base/SystemError.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/PortDiagnosis.h"
#include "cli/RememberedChoices.h"
#include "cutter/ModelTable.h"
#include "cutter/SendSession.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/JobModel.h"

namespace {

// How long the cutter has to take the pen-up.
const int PEN_UP_MS = 1000;

// "/dev/ttyUSB0 (\Device\VCP0), also /dev/serial/by-id/usb-...-port0, USB 0403:6001": the
// port, the device name and stable names the system lists for it, and its USB ids.
std::string DeviceText(const CutterTarget& target, const std::string& device) {
  std::string text = PortWithDevice(target.port);
  for (const SerialDevice& listed : target.devices) {
    bool same = listed.port == target.port || listed.port == device;
    for (const std::string& link : listed.links) same = same || link == target.port;
    if (!same) continue;
    text += " (" + listed.name + ")";
    for (const std::string& link : listed.links)
      if (link != target.port) text += ", also " + link;
  }
  const std::string ids = UsbIdsOf(device);
  return ids.empty() ? text : text + ", " + ids;
}

// "38400 baud, 8 data bits, no parity, 1 stop bit, CTS flow control", from the settings the
// port was opened with.
std::string LineText(const CRS232& port) {
  static const char* const PARITY[] = {"no", "odd", "even"};
  static const char* const FLOW[] = {"no", "CTS", "DSR", "CTS and DSR"};
  const float stop = port.m_fStopBits;
  const std::string stopText = stop == 1.0f ? "1 stop bit" : stop == 1.5f ? "1.5 stop bits" : "2 stop bits";
  return std::to_string(port.m_nBaudRate) + " baud, " + std::to_string(port.m_nByteSize) + " data bits, " +
         PARITY[port.m_nParity] + " parity, " + stopText + ", " + FLOW[port.m_nFlowControl] + " flow control";
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

// The model and port given, and the settings file (--ini, "" for the default).
struct CheckOptions {
  Choices given;
  std::string iniPath;
};

int RunCheck(const CheckOptions& options) {
  CutterTarget target;
  if (const int refused = FindUsableTarget(options.given, options.iniPath, target)) return refused;
  PrintSettingsWarnings(target.remembered, target.iniPath);
  const CutterModel& model = ModelTable[target.model];
  CSendSession session;
  if (target.port == VORN_USB_PORT || model.ProtocolNumber == 0) {
    printf("Device: %s (%s)\n", target.port.c_str(), model.name);
    return Fail("plotgate: check covers serial lines only, not the maker's USB link (" + std::string(model.name) +
                " on " + target.port + "); name a serial model with --model and its port with --port");
  }
  const SendOutcome opened = session.Open(model, target.port, target.usbSerialPort);
  CRS232* serialPort = session.SerialPort();
  if (!serialPort) return Fail(std::string("plotgate: ") + SendOutcomeText(opened));
  CRS232& port = *serialPort;
  printf("Device: %s\n", DeviceText(target, port.DeviceName()).c_str());
  if (opened != SEND_DONE) {
    printf("Opened: no\n");
    return Fail("plotgate: " + OpenFailureText(session, target.port));
  }
  printf("Opened: yes, for %s\n", model.name);
  printf("Line: %s\n", LineText(port).c_str());
  ModemLineStates lines;
  if (port.ReadModemLines(lines)) {
    printf("Modem lines: CTS %s, DSR %s, DCD %s\n", OnOff(lines.cts).c_str(), OnOff(lines.dsr).c_str(),
           OnOff(lines.dcd).c_str());
  } else {
    printf("Modem lines: not reported by the device\n");
  }
  char penUp[COMMAND_TEXT_MAX];
  const int length =
      static_cast<int>(FormatCommand(penUp, StringsFor(JobFormatOfModel(target.model).dialect), KIND_PEN_UP, 0, 0));
  const std::string command(penUp, length);
  const auto start = std::chrono::steady_clock::now();
  const int written = port.WriteWithin(penUp, length, PEN_UP_MS);
  if (written < 0)
    return Fail("plotgate: writing to " + PortWithDevice(target.port) + ": " + SystemErrorText(port.LastError()));
  const int left =
      PEN_UP_MS -
      static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
  if (written < length || !port.DrainWithin(left > 0 ? left : 0)) {
    // Dropped, so that closing the port does not wait for a line that takes nothing.
    port.AbortOutput();
    const bool ctsOff = port.ReadModemLines(lines) && !lines.cts;
    return Fail("plotgate: the cutter did not take a pen-up (\"" + command + "\") within 1 second" +
                (ctsOff ? ": CTS is off; is the cutter switched on and on-line, and does the cable carry CTS?"
                        : ": is the cutter switched on and on-line, and set to " + std::to_string(port.m_nBaudRate) +
                              " baud?"));
  }
  printf("Pen-up to the origin (\"%s\"): accepted within 1 second\n", command.c_str());
  return 0;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* check = app.add_subcommand(
      "check",
      "Check the line to the cutter: open its port as a send would, report the device, the line settings and the "
      "modem lines, and send a pen-up to the origin. The head moving home is the sign that the link works. "
      "Choices not given are the ones saved by the last send; nothing is saved. Serial ports only.");
  AddTargetOptions(*check, options->given, options->iniPath);
  check->callback([options, &exitCode] { exitCode = RunCheck(*options); });
}
