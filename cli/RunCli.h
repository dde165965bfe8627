// The whole command line of `plotgate`, callable in-process (the program's main and tests).
#pragma once

// Parses the arguments, runs the subcommand and returns the exit code: 0 done, 1 failure
// (message on stderr), 2 usage error.
int RunCli(int argc, const char* const* argv);
