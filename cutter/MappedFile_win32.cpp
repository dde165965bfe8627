#include <windows.h>

#include "base/WideText.h"
#include "cutter/MappedFile.h"

bool CMappedFile::Open(const std::string& path) {
  Close();
  HANDLE file =
      CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  m_hFile = reinterpret_cast<intptr_t>(file);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) {
    Close();
    return false;
  }
  m_nSize = static_cast<uint64_t>(size.QuadPart);
  // An empty file cannot be mapped, and needs no mapping.
  if (m_nSize == 0) return true;
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (!mapping) {
    Close();
    return false;
  }
  m_hMapping = reinterpret_cast<intptr_t>(mapping);
  m_pData = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
  if (!m_pData) {
    Close();
    return false;
  }
  return true;
}

void CMappedFile::Close() {
  if (m_pData) UnmapViewOfFile(m_pData);
  if (m_hMapping != -1) CloseHandle(reinterpret_cast<HANDLE>(m_hMapping));
  if (m_hFile != -1) CloseHandle(reinterpret_cast<HANDLE>(m_hFile));
  m_pData = nullptr;
  m_nSize = 0;
  m_hFile = -1;
  m_hMapping = -1;
}
