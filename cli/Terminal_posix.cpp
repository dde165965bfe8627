#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>

#include "cli/Terminal.h"

bool IsTerminal(FILE* stream) { return isatty(fileno(stream)) != 0; }

int TerminalColumns(FILE* stream) {
  winsize size{};
  const int columns = ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
  return ChooseColumns(columns, getenv("COLUMNS"));
}
