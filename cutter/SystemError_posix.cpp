#include <cerrno>
#include <cstring>

#include "SystemError.h"

std::string LastSystemErrorText() { return strerror(errno); }
