#include "RunCli.h"

#include <CLI/CLI.hpp>

#include "CliCommon.h"
#include "Commands.h"

int RunCli(int argc, const char* const* argv) {
  CLI::App app{"Plotgate: send CorelDRAW drawings to vinyl cutters", "plotgate"};
  app.require_subcommand(1);
  app.allow_windows_style_options(false);  // "/tmp/job.plt" is a path, not an option
  int exitCode = 0;
  AddInfoCommand(app, exitCode);
  AddEncodeCommand(app, exitCode);
  AddPreviewCommand(app, exitCode);
  AddSendCommand(app, exitCode);
  AddPortsCommand(app, exitCode);
  AddToolbarCommand(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : EXIT_USAGE;
  }
  return exitCode;
}
