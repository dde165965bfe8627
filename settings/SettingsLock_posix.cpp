#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "settings/FileException.h"
#include "settings/SettingsLock.h"

// flock, unlike a record lock, belongs to the open file: two threads of one program
// exclude each other as two programs do, and a file opened only to read takes it too. The
// lock file stays, as removing it would let a waiter lock a file nobody else sees.
CSettingsLock::CSettingsLock(const std::string& iniPath) : m_handle(-1) {
  const std::string path = iniPath + ".lock";
  const int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return;
  while (flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    close(fd);
    throw CFileException("locking", path, error);
  }
  m_handle = fd;
}

CSettingsLock::~CSettingsLock() {
  if (m_handle >= 0) close(static_cast<int>(m_handle));
}
