#include <io.h>

#include "Terminal.h"

bool IsTerminal(FILE* stream) { return _isatty(_fileno(stream)) != 0; }
