#include <unistd.h>

#include "ModuleDir.h"

std::string GetModuleDir() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  const std::string file(path, static_cast<size_t>(length));
  return file.substr(0, file.find_last_of('/') + 1);
}
