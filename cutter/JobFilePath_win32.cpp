#include <windows.h>

#include "JobFilePath.h"

std::string TemporaryFolder(int& error) {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) {
    error = length == 0 ? static_cast<int>(GetLastError()) : ERROR_FILENAME_EXCED_RANGE;
    return "";
  }
  error = 0;
  return std::string(folder, length);
}
