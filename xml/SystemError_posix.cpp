#include <errno.h>
#include <string.h>

#include "SystemError.h"

int LastSystemError() { return errno; }

std::string SystemErrorText(int number) {
  const std::string text = strerror(number);
  return text.substr(0, text.find_first_of("\r\n"));
}
