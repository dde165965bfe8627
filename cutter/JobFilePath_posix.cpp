#include <filesystem>

#include "cutter/JobFilePath.h"

std::string TemporaryFolder(int& error) {
  std::error_code failure;
  const std::string folder = std::filesystem::temp_directory_path(failure).string();
  error = failure.value();
  if (failure || folder.empty()) return "";
  return folder.back() == '/' ? folder : folder + '/';
}
