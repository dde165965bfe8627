#include <cerrno>
#include <cstring>

#include "SystemError.h"

std::string SystemErrorText(long code) { return strerror(static_cast<int>(code)); }

std::string LastSystemErrorText() { return SystemErrorText(errno); }
