#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cutter/MappedFile.h"

bool CMappedFile::Open(const std::string& path) {
  Close();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  m_hFile = fd;
  struct stat info;
  if (fstat(fd, &info) != 0) {
    Close();
    return false;
  }
  m_nSize = static_cast<uint64_t>(info.st_size);
  if (m_nSize == 0) return true;
  void* view = mmap(nullptr, m_nSize, PROT_READ, MAP_PRIVATE, fd, 0);
  if (view == MAP_FAILED) {
    Close();
    return false;
  }
  m_pData = static_cast<const char*>(view);
  return true;
}

void CMappedFile::Close() {
  if (m_pData) munmap(const_cast<char*>(m_pData), m_nSize);
  if (m_hFile != -1) close(static_cast<int>(m_hFile));
  m_pData = nullptr;
  m_nSize = 0;
  m_hFile = -1;
}
