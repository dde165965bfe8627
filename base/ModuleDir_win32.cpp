#include <windows.h>

#include "ModuleDir.h"

std::string GetModuleDir() {
  char path[256];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return ModuleFolderOf(std::string(path, length < sizeof path ? length : sizeof path), sizeof path, '\\');
}
