// The failure of the settings file: it could not be opened, created, read or written.
// It carries the operating system's error code (errno on Linux, GetLastError on
// Windows) and the path, and travels to whoever called the settings file, which turns it
// into a message for the user.
#pragma once

#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
 public:
  // `action` says what was being done ("opening", "reading", "writing"); what() gives
  // for example "opening /home/ann/.config/plotgate/Plotgate.ini: Permission denied".
  CFileException(const char* action, const std::string& path, int osError);

  // The operating system's error code of the failed call.
  int OsError() const { return m_nOsError; }
  // The file the operation was about.
  const std::string& FileName() const { return m_strFileName; }

 private:
  int m_nOsError;
  std::string m_strFileName;
};
