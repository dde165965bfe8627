// Whether an output stream is a terminal (for drawing a progress bar only there).
#pragma once

#include <cstdio>

bool IsTerminal(FILE* stream);
