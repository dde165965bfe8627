// A file held open for reading without write sharing, so that no other program can replace
// or change it while it is held; readers are let in. The dialog holds the job file just
// written until its send is over, so that a second Plotgate cannot replace it mid-send (its
// own write then fails).
#pragma once

#include <windows.h>

#include <string>

class CHeldFile {
 public:
  CHeldFile() = default;
  CHeldFile(const CHeldFile&) = delete;
  CHeldFile& operator=(const CHeldFile&) = delete;
  ~CHeldFile() { Release(); }

  // Lets go of the file held, if any, and holds the file `path` (UTF-8); false when it
  // cannot be opened.
  bool Hold(const std::string& path);
  // Lets go of the file held, if any.
  void Release();

 private:
  HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
