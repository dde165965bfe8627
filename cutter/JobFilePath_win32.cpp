#include <windows.h>

#include "base/WideText.h"
#include "cutter/JobFilePath.h"

std::string TemporaryFolder(int& error) {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length >= MAX_PATH + 1) {
    error = length == 0 ? static_cast<int>(GetLastError()) : ERROR_FILENAME_EXCED_RANGE;
    return "";
  }
  error = 0;
  return Utf8FromWide(folder, length);
}
