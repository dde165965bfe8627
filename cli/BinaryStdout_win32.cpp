#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "cli/BinaryStdout.h"

void SetStdoutBinary() { _setmode(_fileno(stdout), _O_BINARY); }
