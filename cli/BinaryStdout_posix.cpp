#include "BinaryStdout.h"

void SetStdoutBinary() {}
