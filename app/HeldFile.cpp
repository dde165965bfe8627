#include "app/HeldFile.h"

#include "base/WideText.h"

bool CHeldFile::Hold(const std::string& path) {
  Release();
  m_hFile = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  return m_hFile != INVALID_HANDLE_VALUE;
}

void CHeldFile::Release() {
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
}
