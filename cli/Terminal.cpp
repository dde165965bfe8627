#include "cli/Terminal.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>

int ChooseColumns(int systemColumns, const char* columnsVariable) {
  if (systemColumns > 0) return systemColumns;
  if (columnsVariable && *columnsVariable) {
    char* end = nullptr;
    errno = 0;
    const long columns = strtol(columnsVariable, &end, 10);
    if (errno == 0 && *end == '\0' && columns > 0 && columns <= INT_MAX) return static_cast<int>(columns);
  }
  return DEFAULT_TERMINAL_COLUMNS;
}

int DecodeKey(const std::function<int()>& nextByte) {
  const int ESCAPE = 0x1B;
  for (;;) {
    const int byte = nextByte();
    if (byte == '\r' || byte == '\n') return KEY_ENTER;
    if (byte != ESCAPE) return byte < 0 ? KEY_END : byte;
    const int kind = nextByte();
    if (kind < 0) return KEY_END;
    if (kind != '[' && kind != 'O') continue;
    // The sequence runs to its final byte, a letter or "~"; only A to D with nothing
    // between are arrows.
    int final = nextByte();
    const bool plain = final >= 'A' && final <= 'D';
    while (final >= 0 && !(final >= '@' && final <= '~')) final = nextByte();
    if (final < 0) return KEY_END;
    if (!plain) continue;
    switch (final) {
      case 'A': return KEY_UP;
      case 'B': return KEY_DOWN;
      case 'C': return KEY_RIGHT;
      default: return KEY_LEFT;
    }
  }
}
