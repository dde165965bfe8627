#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "PrivateJobFile.h"

CPrivateJobFile::CPrivateJobFile() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) {
    m_nError = error.value();
    return;
  }
  const std::string pattern = (folder / "plotgate-XXXXXX.hb").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // O_CREAT | O_EXCL, mode 0600: a new file of the user's alone, never an existing name.
  const int fd = mkstemps(name.data(), 3);
  if (fd < 0) {
    m_nError = errno;
    return;
  }
  close(fd);
  m_sPath = name.data();
}

CPrivateJobFile::~CPrivateJobFile() {
  if (!m_sPath.empty()) unlink(m_sPath.c_str());
}
