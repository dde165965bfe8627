// The operating system's own number and text for the last failed file operation.
#pragma once

#include <string>

// The error number of the last failed call (GetLastError on Windows, errno elsewhere).
int LastSystemError();

// The system's message for `number` on one line (cut at its first line break).
std::string SystemErrorText(int number);
