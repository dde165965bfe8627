#include <conio.h>
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

namespace {

// The console's input mode before, given back at the end; whether it was changed.
DWORD g_before = 0;
bool g_raw = false;

HANDLE Input() { return GetStdHandle(STD_INPUT_HANDLE); }

}  // namespace

CRawKeyboard::CRawKeyboard() {
  if (!_isatty(_fileno(stdin)) || !GetConsoleMode(Input(), &g_before)) return;
  // Ctrl-C as a key (byte 3) rather than the end of the program.
  g_raw = SetConsoleMode(Input(), g_before & ~static_cast<DWORD>(ENABLE_PROCESSED_INPUT)) != 0;
}

CRawKeyboard::~CRawKeyboard() {
  if (g_raw) SetConsoleMode(Input(), g_before);
  g_raw = false;
}

int CRawKeyboard::Next() {
  if (!_isatty(_fileno(stdin)))
    return DecodeKey([] {
      const int c = getchar();
      return c == EOF ? -1 : c;
    });
  // The console gives each key unechoed at once; an arrow comes as 0 or 0xE0 and its scan code.
  const int key = _getch();
  if (key == 0 || key == 0xE0) {
    switch (_getch()) {
      case 72: return KEY_UP;
      case 80: return KEY_DOWN;
      case 77: return KEY_RIGHT;
      case 75: return KEY_LEFT;
      default: return Next();
    }
  }
  return key == '\r' ? KEY_ENTER : key;
}
