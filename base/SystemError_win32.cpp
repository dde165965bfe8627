#include <windows.h>

#include <vector>

#include "base/SystemError.h"
#include "base/WideText.h"

int LastSystemError() { return static_cast<int>(GetLastError()); }

std::string SystemErrorText(int number, size_t room) {
  std::vector<wchar_t> message(room ? room : 1);
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(number), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                      message.data(), static_cast<DWORD>(message.size()), nullptr);
  const std::string text = Utf8FromWide(message.data(), length);
  return text.substr(0, text.find_first_of("\r\n"));
}
