#include "cli/BinaryStdout.h"

void SetStdoutBinary() {}
