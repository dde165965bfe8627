// plotgate ports: the serial devices found, each as the device name the models' port choice
// is matched against and the port it maps to (with the stable by-id names of a Linux tty
// below it), the port a send picks per model when none is given or remembered, and what a
// send given nothing but the drawing would take.
#include <cstdio>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/RememberedChoices.h"
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
      const std::string port = AutomaticPort(model.ProtocolNumber, devices);
      printf("  %s: %s\n", model.name, port.empty() ? "none found" : PortWithDevice(port).c_str());
    }
    // What `plotgate send INPUT` alone would do with the remembered choices.
    CutterTarget target;
    if (const int failed = FindCutterTarget(Choices(), "", target)) {
      exitCode = failed;
      return;
    }
    if (target.refusal.empty()) {
      printf("A plain send: %s%s on %s%s\n", ModelTable[target.model].name, target.modelSaved ? " (saved)" : "",
             PortWithDevice(target.port).c_str(), target.portSaved ? " (saved)" : "");
    } else {
      printf("A plain send: none: %s\n", target.refusal.c_str());
    }
    exitCode = StdoutResult(0);
  });
}
