#include "settings/FileException.h"

#include "base/SystemError.h"

CFileException::CFileException(const char* action, const std::string& path, int osError)
    : std::runtime_error(std::string(action) + " " + path + ": " + SystemErrorText(osError)),
      m_nOsError(osError),
      m_strFileName(path) {}
