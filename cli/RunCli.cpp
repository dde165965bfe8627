#include "cli/RunCli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliCommon.h"
#include "cli/Commands.h"

namespace {

// The edits (a letter put in, left out, changed, or two side by side swapped) that make `a`
// into `b`.
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// The long option names (without "--") that `command`, its own commands ("preset save")
// and the program take.
std::vector<std::string> LongNames(const CLI::App& app, const CLI::App& command) {
  std::vector<const CLI::App*> owners = {&app, &command};
  for (const CLI::App* inner : command.get_subcommands({})) owners.push_back(inner);
  std::vector<std::string> names;
  for (const CLI::App* owner : owners) {
    for (const CLI::Option* option : owner->get_options()) {
      for (const std::string& name : option->get_lnames()) names.push_back(name);
    }
  }
  return names;
}

// Says on stderr which "--" word after the command `command` (at `first`) no option of it
// has, with the nearest one when one is near ("did you mean --blade-offset?"). False when
// every one is known. Words after "--" are inputs, not options.
bool UnknownOption(const CLI::App& app, const CLI::App& command, int first, int argc, const char* const* argv) {
  const std::vector<std::string> known = LongNames(app, command);
  for (int i = first + 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--") return false;
    if (word.size() <= 2 || word.compare(0, 2, "--") != 0) continue;
    const std::string name = word.substr(2, word.find('=') - 2);
    if (std::find(known.begin(), known.end(), name) != known.end()) continue;
    std::string nearest;
    size_t distance = std::max<size_t>(2, name.size() / 3) + 1;
    for (const std::string& option : known) {
      const size_t d = EditDistance(name, option);
      if (d < distance) {
        distance = d;
        nearest = option;
      }
    }
    const std::string hint =
        nearest.empty() ? "plotgate " + command.get_name() + " --help lists them" : "did you mean --" + nearest + "?";
    fprintf(stderr, "plotgate: unknown option \"--%s\" for %s; %s\n", name.c_str(), command.get_name().c_str(),
            hint.c_str());
    return true;
  }
  return false;
}

}  // namespace

int RunCli(int argc, const char* const* argv) {
  CLI::App app{"Plotgate: send CorelDRAW drawings to vinyl cutters", "plotgate"};
  app.require_subcommand(1);
  app.allow_windows_style_options(false);  // "/tmp/job.plt" is a path, not an option
  app.set_version_flag("--version", "plotgate " PLOTGATE_VERSION);
  int exitCode = 0;
  // The name the user ran the program by ("plotgate-cli.exe" on Windows), without its folder.
  const std::string program =
      argc > 0 && argv[0][0] != '\0' ? std::filesystem::u8path(argv[0]).filename().u8string() : "plotgate";
  AddInfoCommand(app, exitCode);
  AddEncodeCommand(app, exitCode);
  AddPreviewCommand(app, exitCode);
  AddSendCommand(app, exitCode, program);
  AddPortsCommand(app, exitCode);
  AddModelsCommand(app, exitCode);
  AddToolbarCommand(app, exitCode);
  AddCheckCommand(app, exitCode);
  AddFrameCommand(app, exitCode);
  AddMarksCommand(app, exitCode);
  AddPresetsCommand(app, exitCode);
  AddTestCutCommand(app, exitCode, program);
  // The first word that is not an option must name a command; say which ones there are.
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;
    std::string names;
    bool known = false;
    for (const CLI::App* command : app.get_subcommands({})) {
      names += " " + command->get_name();
      known = known || command->get_name() == argv[i];
    }
    if (!known) {
      fprintf(stderr, "plotgate: unknown command \"%s\"; the commands are:%s\n", argv[i], names.c_str());
      return EXIT_USAGE;
    }
    // A misspelt option gets the nearest one; CLI11 would only say it was not expected.
    if (UnknownOption(app, *app.get_subcommand(argv[i]), i, argc, argv)) return EXIT_USAGE;
    break;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : EXIT_USAGE;
  }
  return exitCode;
}
