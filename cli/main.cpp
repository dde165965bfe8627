// plotgate: the command-line front end over the same job pipeline and cutter code as the
// dialog program.
#include "base/ProgramArguments.h"
#include "cli/RunCli.h"

int main(int argc, char** argv) {
  // UTF-8 arguments everywhere: on Windows from the UTF-16 command line, so that a file in
  // a folder of any name reaches the program whole.
  const std::vector<std::string> arguments = ProgramArguments(argc, argv);
  const std::vector<const char*> utf8 = ArgvOf(arguments);
  return RunCli(static_cast<int>(utf8.size()), utf8.data());
}
