#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "cli/PrivateJobFile.h"
#include "cutter/JobFilePath.h"

CPrivateJobFile::CPrivateJobFile() {
  const std::string pattern = JobFilePathIn(TemporaryFolder(m_nError), "plotgate-XXXXXX.hb");
  if (pattern.empty()) {
    if (m_nError == 0) m_nError = ENAMETOOLONG;
    return;
  }
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
