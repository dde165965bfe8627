#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "base/FileReplace.h"

namespace {

// Writes all of `bytes` and makes them durable; 0 or errno.
int WriteAllAndSync(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return errno;
    done += static_cast<size_t>(put);
  }
  return fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

int ReplaceFileContent(const std::string& path, const std::string& bytes) {
  // A link's target is the file: the replacement goes beside it, and the link stays.
  char resolved[PATH_MAX];
  const std::string target = realpath(path.c_str(), resolved) ? std::string(resolved) : path;
  struct stat original;
  const bool exists = stat(target.c_str(), &original) == 0;
  if (exists && access(target.c_str(), W_OK) != 0) return errno;
  std::string pattern = target + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return errno;
  // The file keeps its permissions; a new one is the user's alone.
  int error = exists && fchmod(fd, original.st_mode & 07777) != 0 ? errno : 0;
  if (error == 0) error = WriteAllAndSync(fd, bytes);
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(name.data(), target.c_str()) != 0) error = errno;
  if (error != 0) unlink(name.data());
  return error;
}
