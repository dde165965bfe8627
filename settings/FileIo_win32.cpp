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

// The rest of the file open on `file`.
std::string ReadAll(const CHandle& file, const std::string& path) {
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

}  // namespace

std::string LoadFileCreating(const std::string& path) {
  const CHandle file(OpenOrThrow(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS));
  return ReadAll(file, path);
}

bool LoadFileIfPresent(const std::string& path, std::string& bytes) {
  const HANDLE handle = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD error = GetLastError();
  if (handle == INVALID_HANDLE_VALUE && error == ERROR_FILE_NOT_FOUND) return false;
  if (handle == INVALID_HANDLE_VALUE) throw CFileException("opening", path, static_cast<int>(error));
  const CHandle file(handle);
  bytes = ReadAll(file, path);
  return true;
}
