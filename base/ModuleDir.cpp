#include "base/ModuleDir.h"

std::string ModuleFolderOf(const std::string& path, size_t bufferSize, char separator) {
  const std::string kept = bufferSize == 0 ? "" : path.substr(0, bufferSize - 1);
  const size_t cut = kept.find_last_of(separator);
  return cut == std::string::npos ? "" : kept.substr(0, cut + 1);
}
