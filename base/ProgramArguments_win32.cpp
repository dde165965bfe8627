#include <windows.h>
// After windows.h, on which it builds.
#include <shellapi.h>

#include "base/ProgramArguments.h"
#include "base/WideText.h"

std::vector<std::string> ProgramArguments(int, const char* const*) {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}
