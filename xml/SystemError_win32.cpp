#include <windows.h>

#include "SystemError.h"

int LastSystemError() { return static_cast<int>(GetLastError()); }

// The message is fetched into 100 bytes: file errors have short messages, and a longer
// one gives an empty text rather than a cut word.
std::string SystemErrorText(int number) {
  char message[100];
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(number), 0, message, sizeof message, nullptr);
  std::string text(message, length);
  return text.substr(0, text.find_first_of("\r\n"));
}
