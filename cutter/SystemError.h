// The system's own text for the error of the last failed call on this thread.
#pragma once

#include <string>

// Windows: the message table text of GetLastError(); Linux: strerror(errno). Trailing line
// breaks are removed.
std::string LastSystemErrorText();
