#include "cli/Terminal.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

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
