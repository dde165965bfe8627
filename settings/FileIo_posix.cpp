#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "settings/FileException.h"
#include "settings/FileIo.h"

namespace {

// Closes the descriptor when the operation is left, by return or by exception.
class CDescriptor {
 public:
  explicit CDescriptor(int fd) : m_fd(fd) {}
  ~CDescriptor() {
    if (m_fd >= 0) close(m_fd);
  }
  CDescriptor(const CDescriptor&) = delete;
  CDescriptor& operator=(const CDescriptor&) = delete;
  int Get() const { return m_fd; }
  // Closes now; a late write error (full disk, quota) shows up here.
  int Close() {
    const int result = close(m_fd);
    m_fd = -1;
    return result;
  }

 private:
  int m_fd;
};

int OpenOrThrow(const std::string& path, int flags) {
  const int fd = open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) throw CFileException("opening", path, errno);
  return fd;
}

// The rest of the file open on `file`.
std::string ReadAll(const CDescriptor& file, const std::string& path) {
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(file.Get(), buffer, sizeof buffer);
    if (got == 0) return bytes;
    if (got < 0) {
      if (errno == EINTR) continue;
      throw CFileException("reading", path, errno);
    }
    bytes.append(buffer, static_cast<size_t>(got));
  }
}

}  // namespace

std::string LoadFileCreating(const std::string& path) {
  const CDescriptor file(OpenOrThrow(path, O_RDONLY | O_CREAT));
  return ReadAll(file, path);
}

bool LoadFileIfPresent(const std::string& path, std::string& bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) return false;
  if (fd < 0) throw CFileException("opening", path, errno);
  const CDescriptor file(fd);
  bytes = ReadAll(file, path);
  return true;
}
