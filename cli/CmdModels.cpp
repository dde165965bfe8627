// plotgate models: the cutter models --model takes, with what a send to each one uses.
#include <cstdio>
#include <string>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"
#include "cutter/PortSettings.h"
#include "pipeline/CommandDialect.h"

namespace {

// How the port is chosen for a protocol when --port is not given, in words that hold on
// Linux and Windows; the lines after the table name the devices on each.
std::string PortChoiceOf(int protocol) {
  if (protocol == 0) return "the maker's USB link (VORN_USB, Windows only)";
  if (PortPrefixOf(protocol) == USB_SERIAL_PREFIX) return "the cutter's own USB serial port, else COM1";
  return "a USB serial adapter, else COM1";
}

}  // namespace

void AddModelsCommand(CLI::App& app, int& exitCode) {
  CLI::App* models = app.add_subcommand("models", "List the cutter models that --model takes, by index and name");
  models->callback([&exitCode] {
    printf("%-5s %-22s %-8s %-7s %-6s %s\n", "index", "name", "protocol", "dialect", "baud", "port");
    for (int i = 0; i < MODEL_COUNT; ++i) {
      const CutterModel& model = ModelTable[i];
      const int protocol = model.ProtocolNumber;
      printf("%-5d %-22s %-8d %-7s %-6d %s\n", i, model.name, protocol,
             DialectOfProtocol(protocol) == DialectDmpl ? "DM/PL" : "HPGL",
             GetPortSettings(protocol, "COM1", "").baudRate, PortChoiceOf(protocol).c_str());
    }
    printf(
        "\nThe port column is what the model's rule picks; a send without --port takes it or the\n"
        "remembered port. A USB serial adapter is /dev/ttyUSB0 on Linux (the device %s* on\n"
        "Windows), the cutter's own USB serial port /dev/ttyACM0 (%s*), and COM1 is\n"
        "/dev/ttyS0 on Linux. plotgate ports lists the devices of this system.\n",
        VCP_PREFIX, USB_SERIAL_PREFIX);
    exitCode = StdoutResult(0);
  });
}
