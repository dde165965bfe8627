#include <cerrno>
#include <cstring>

#include "base/SystemError.h"

int LastSystemError() { return errno; }

std::string SystemErrorText(int number, size_t room) {
  const std::string text = strerror(number);
  return text.substr(0, text.find_first_of("\r\n")).substr(0, room ? room - 1 : 0);
}
