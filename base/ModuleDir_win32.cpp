#include <windows.h>

#include "base/ModuleDir.h"
#include "base/WideText.h"

std::string GetModuleDir() {
  wchar_t path[256];
  DWORD length = GetModuleFileNameW(nullptr, path, 256);
  // A path that does not fit comes back cut to the buffer less one.
  if (length > 255) length = 255;
  const std::string utf8 = Utf8FromWide(path, length);
  return ModuleFolderOf(utf8, utf8.size() + 1, '\\');
}
