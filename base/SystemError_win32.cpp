#include <windows.h>

#include <vector>

#include "SystemError.h"

int LastSystemError() { return static_cast<int>(GetLastError()); }

std::string SystemErrorText(int number, size_t room) {
  std::vector<char> message(room ? room : 1);
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(number), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                      message.data(), static_cast<DWORD>(message.size()), nullptr);
  std::string text(message.data(), length);
  return text.substr(0, text.find_first_of("\r\n"));
}
