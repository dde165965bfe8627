#include <io.h>
#include <windows.h>

#include <cstdlib>

#include "cli/Terminal.h"

bool IsTerminal(FILE* stream) { return _isatty(_fileno(stream)) != 0; }

int TerminalColumns(FILE* stream) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  const HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  const int columns = GetConsoleScreenBufferInfo(console, &info) ? info.srWindow.Right - info.srWindow.Left + 1 : 0;
  return ChooseColumns(columns, getenv("COLUMNS"));
}
