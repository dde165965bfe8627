// The terminal an output stream writes to: whether it is one (a progress line is drawn only
// there) and how wide it is (the line never wraps).
#pragma once

#include <cstdio>

bool IsTerminal(FILE* stream);

// The columns of the terminal `stream` writes to: the system's answer, else what COLUMNS
// says, else DEFAULT_TERMINAL_COLUMNS.
int TerminalColumns(FILE* stream);

const int DEFAULT_TERMINAL_COLUMNS = 80;

// The width to use from the system's answer (`systemColumns`, 0 or less when it gave none)
// and the COLUMNS variable (null when unset): the first positive whole number of the two,
// else DEFAULT_TERMINAL_COLUMNS.
int ChooseColumns(int systemColumns, const char* columnsVariable);
