#include <windows.h>

#include "SystemError.h"

std::string SystemErrorText(long code) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(code),
                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
  std::string result = text;
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  if (result.empty()) result = "error " + std::to_string(code);
  return result;
}

std::string LastSystemErrorText() { return SystemErrorText(static_cast<long>(GetLastError())); }
