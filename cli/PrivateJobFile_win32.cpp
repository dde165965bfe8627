#include <windows.h>

#include <cstdio>

#include "base/WideText.h"
#include "cli/PrivateJobFile.h"
#include "cutter/JobFilePath.h"

CPrivateJobFile::CPrivateJobFile() {
  const std::string folder = TemporaryFolder(m_nError);
  if (folder.empty()) return;
  // CREATE_NEW fails on any existing name, a link among them: try the next name then. The
  // user's temporary folder is the user's own.
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    char name[64];
    snprintf(name, sizeof name, "plotgate-%lu-%lu-%u.hb", GetCurrentProcessId(), GetTickCount(), attempt);
    const std::string path = JobFilePathIn(folder, name);
    if (path.empty()) {
      m_nError = ERROR_FILENAME_EXCED_RANGE;
      return;
    }
    HANDLE file =
        CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      m_sPath = path;
      return;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  m_nError = static_cast<int>(GetLastError());
}

CPrivateJobFile::~CPrivateJobFile() {
  if (!m_sPath.empty()) DeleteFileW(WideFromUtf8(m_sPath).c_str());
}
