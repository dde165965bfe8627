// Replacing a file's whole content so that a failure half way (a full disk, a quota, a
// size limit, a crash) never leaves it cut short: the new content goes to a temporary file
// in the same folder, is flushed to the disk and checked, and only then takes the file's
// place by a rename, which the system does at once or not at all.
#pragma once

#include <string>

// Replaces the content of the file at `path` (created when absent) by `bytes`. 0 when
// done; otherwise the system's error number (errno, or GetLastError on Windows), with the
// file as it was and no temporary file left. A file the user may not write (read-only)
// is refused as writing it in place would be. A link is followed: its target is replaced.
int ReplaceFileContent(const std::string& path, const std::string& bytes);
