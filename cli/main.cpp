// plotgate: the command-line front end over the same job pipeline and cutter code as the
// dialog program.
#include "RunCli.h"

int main(int argc, char** argv) { return RunCli(argc, argv); }
