#include "cli/RunCli.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>

#include "cli/CliCommon.h"
#include "cli/Commands.h"

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
