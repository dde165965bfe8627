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

// How the port is chosen for a protocol when --port is not given.
std::string PortChoiceOf(int protocol) {
  if (protocol == 0) return "the maker's USB link (VORN_USB, Windows only)";
  const std::string prefix = PortPrefixOf(protocol);
  return "the first device named " + prefix + "*, else COM1";
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
    exitCode = StdoutResult(0);
  });
}
