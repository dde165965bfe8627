// The system's own text for an error code, or for the error of the last failed call on
// this thread.
#pragma once

#include <string>

// Windows: the message table text of a GetLastError() code; Linux: strerror of an errno
// value. Trailing line breaks are removed.
std::string SystemErrorText(long code);

// SystemErrorText of GetLastError() on Windows, of errno on Linux.
std::string LastSystemErrorText();
