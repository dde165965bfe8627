// Where `plotgate` keeps the settings file when no --ini names another: on Windows
// "Plotgate.ini" beside the executable, the file the dialog program uses; on Linux
// $XDG_CONFIG_HOME/plotgate/Plotgate.ini, with ~/.config when the variable is unset.
#pragma once

#include <string>

// The settings file's path. On Linux its folder is created when missing; a failure to
// create it shows up when the file itself is opened.
std::string DefaultSettingsPath();
