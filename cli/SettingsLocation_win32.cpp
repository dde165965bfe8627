#include "ModuleDir.h"
#include "SettingsLocation.h"

std::string DefaultSettingsPath() { return GetModuleDir() + "Plotgate.ini"; }
