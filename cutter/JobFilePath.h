// Where a send writes its job file: a name in the user's temporary folder. The dialog hands
// the path to the USB sender on its command line, which takes it into a buffer of
// USB_PATH_BUFFER_SIZE bytes, so a path that does not fit there is never used: a send then
// fails to write its job file instead of sending one under a cut-off name.
#pragma once

#include <string>

// The user's temporary folder as the system reports it, ending in a separator; "" when the
// system gives none, with `error` set to the system's error number (0 otherwise).
std::string TemporaryFolder(int& error);

// `folder` (ending in a separator) followed by `name`; "" when `folder` is "" or the path
// with its terminating zero does not fit USB_PATH_BUFFER_SIZE bytes.
std::string JobFilePathIn(const std::string& folder, const std::string& name);
