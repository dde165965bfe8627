// plotgate ports: the serial devices found, each as the device name the models' port choice
// is matched against and the port it maps to (with the stable by-id names of a Linux tty
// below it), and the port the dialog would pick per model.
#include <cstdio>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"

void AddPortsCommand(CLI::App& app, int& exitCode) {
  CLI::App* ports = app.add_subcommand("ports", "List serial devices and the port chosen for each cutter model");
  ports->callback([&exitCode] {
    const std::vector<SerialDevice> devices = ListSerialDevices();
    printf("Serial devices:%s\n", devices.empty() ? " none found" : "");
    for (const SerialDevice& device : devices) {
      printf("  %s -> %s\n", device.name.c_str(), device.port.c_str());
      for (const std::string& link : device.links) printf("      also %s\n", link.c_str());
    }
    printf("Port per model:\n");
    for (const CutterModel& model : ModelTable) {
      printf("  %s: %s\n", model.name, ChoosePort(model.ProtocolNumber, devices).c_str());
    }
    exitCode = StdoutResult(0);
  });
}
