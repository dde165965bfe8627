#include <windows.h>

#include <cstdio>

#include "PrivateJobFile.h"

CPrivateJobFile::CPrivateJobFile() {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) {
    m_nError = length == 0 ? static_cast<int>(GetLastError()) : ERROR_FILENAME_EXCED_RANGE;
    return;
  }
  // CREATE_NEW fails on any existing name, a link among them: try the next name then. The
  // user's temporary folder is the user's own.
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    char name[MAX_PATH + 64];
    snprintf(name, sizeof name, "%splotgate-%lu-%lu-%u.hb", folder, GetCurrentProcessId(), GetTickCount(), attempt);
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      m_sPath = name;
      return;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  m_nError = static_cast<int>(GetLastError());
}

CPrivateJobFile::~CPrivateJobFile() {
  if (!m_sPath.empty()) DeleteFileA(m_sPath.c_str());
}
