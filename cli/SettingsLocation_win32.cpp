#include <windows.h>

#include "SettingsLocation.h"

std::string DefaultSettingsPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  folder.erase(folder.find_last_of('\\') + 1);  // keeps "" when there is no backslash
  return folder + "Plotgate.ini";
}
