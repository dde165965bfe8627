#include "FileException.h"

#include "SystemError.h"

CFileException::CFileException(const char* action, const std::string& path, long osError)
    : std::runtime_error(std::string(action) + " " + path + ": " + SystemErrorText(osError)),
      m_lOsError(osError),
      m_strFileName(path) {}
