#include <windows.h>

#include "base/WideText.h"
#include "settings/FileException.h"
#include "settings/FileIo.h"

namespace {

// Closes the handle when the operation is left, by return or by exception.
class CHandle {
 public:
  explicit CHandle(HANDLE handle) : m_handle(handle) {}
  ~CHandle() {
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
  }
  CHandle(const CHandle&) = delete;
  CHandle& operator=(const CHandle&) = delete;
  HANDLE Get() const { return m_handle; }
  // Closes now; a late write error shows up here.
  BOOL Close() {
    const BOOL result = CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    return result;
  }

 private:
  HANDLE m_handle;
};

HANDLE OpenOrThrow(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  const HANDLE handle =
      CreateFileW(WideFromUtf8(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw CFileException("opening", path, static_cast<int>(GetLastError()));
  return handle;
}

}  // namespace

std::string LoadFileCreating(const std::string& path) {
  CHandle file(OpenOrThrow(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS));
  std::string bytes;
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr))
      throw CFileException("reading", path, static_cast<int>(GetLastError()));
    if (got == 0) return bytes;
    bytes.append(buffer, got);
  }
}
