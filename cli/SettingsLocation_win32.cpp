#include "base/ModuleDir.h"
#include "cli/SettingsLocation.h"

std::string DefaultSettingsPath() { return GetModuleDir() + "Plotgate.ini"; }
