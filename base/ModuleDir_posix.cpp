#include <unistd.h>

#include "base/ModuleDir.h"

std::string GetModuleDir() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  return ModuleFolderOf(std::string(path, static_cast<size_t>(length)), sizeof path, '/');
}
