#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "cli/Terminal.h"

bool IsTerminal(FILE* stream) { return isatty(fileno(stream)) != 0; }

int TerminalColumns(FILE* stream) {
  winsize size{};
  const int columns = ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
  return ChooseColumns(columns, getenv("COLUMNS"));
}

namespace {

// The terminal's settings before raw mode, given back at the end; whether it was changed.
termios g_before;
bool g_raw = false;

int NextByte() {
  unsigned char byte = 0;
  ssize_t n;
  do {
    n = read(STDIN_FILENO, &byte, 1);
  } while (n < 0 && errno == EINTR);
  return n == 1 ? byte : -1;
}

}  // namespace

CRawKeyboard::CRawKeyboard() {
  if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &g_before) != 0) return;
  termios raw = g_before;
  // Keys one at a time, unechoed, Ctrl-C and Ctrl-Z as bytes; output as before, so that a
  // line still ends where "\n" says.
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
  raw.c_iflag &= ~static_cast<tcflag_t>(IXON);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  g_raw = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

CRawKeyboard::~CRawKeyboard() {
  if (g_raw) tcsetattr(STDIN_FILENO, TCSANOW, &g_before);
  g_raw = false;
}

int CRawKeyboard::Next() { return DecodeKey(NextByte); }
