#include <windows.h>

#include "ModuleDir.h"

std::string GetModuleDir() {
  char path[256];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length < sizeof path ? length : sizeof path - 1);
  const size_t slash = folder.find_last_of('\\');
  return slash == std::string::npos ? "" : folder.substr(0, slash + 1);
}
