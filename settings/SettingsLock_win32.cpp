#include <windows.h>

#include "base/WideText.h"
#include "settings/FileException.h"
#include "settings/SettingsLock.h"

namespace {

// How long the lock is waited for: a holder keeps it for a few small file operations, so
// a longer wait is a lock file that something else keeps open (a scanner).
const DWORD LOCK_WAIT_MS = 5000;
const DWORD RETRY_MS = 10;

}  // namespace

// The lock is the lock file opened unshared: another opener is refused until it is
// closed. It is deleted when closed, so that no file is left in the program's folder.
CSettingsLock::CSettingsLock(const std::string& iniPath) : m_handle(0) {
  const std::string path = iniPath + ".lock";
  const std::wstring wide = WideFromUtf8(path);
  for (DWORD waited = 0;; waited += RETRY_MS) {
    const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      m_handle = reinterpret_cast<intptr_t>(handle);
      return;
    }
    const DWORD error = GetLastError();
    // A holder's open file, or one being deleted as its holder closes it; any other refusal
    // is a folder that takes no lock file.
    const bool held = error == ERROR_SHARING_VIOLATION ||
                      (error == ERROR_ACCESS_DENIED && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (!held) return;
    if (waited >= LOCK_WAIT_MS) throw CFileException("locking", path, static_cast<int>(error));
    Sleep(RETRY_MS);
  }
}

CSettingsLock::~CSettingsLock() {
  if (m_handle != 0) CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}
