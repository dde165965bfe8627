// The operating system's own number and text for the last failed call, shared by every
// subsystem that reports one.
#pragma once

#include <cstddef>
#include <string>

// The error number of the last failed call on this thread (GetLastError on Windows, errno
// elsewhere).
int LastSystemError();

// The system's message for `number` as UTF-8, fetched into `room` characters (on Windows a
// message that does not fit gives ""), cut at its first line break.
std::string SystemErrorText(int number, size_t room = 512);
