// What a hand-edited settings file holds that cannot be used as written. The file is read
// as the dialog reads it, silently (an entry in the wrong place is not read, a number out
// of range becomes a default): the command line keeps those rules and says, once for each
// such entry, its line, the entry, why, and what is used in its place.
#pragma once

#include <string>
#include <vector>

#include "cli/RememberedChoices.h"

// One warning per entry of `lines` (the file's lines, as CIniFile reads them) that is not
// read, or is read but cannot be used as written; `remembered` is what the reading made
// of the file. Each is "line N: KEY=VALUE ..." without a line end; none for a file that the
// programs wrote.
std::vector<std::string> SettingsWarnings(const std::vector<std::string>& lines, const Remembered& remembered);
