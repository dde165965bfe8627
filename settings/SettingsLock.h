// The settings file's lock: a command that reads its choices and one that writes them
// take it for the whole set, so that two programs at once (two sends to two cutters, a
// send and the dialog) never leave a file that mixes their choices. It is held on a file
// of its own beside the settings file, "Plotgate.ini.lock" for "Plotgate.ini", so that
// the settings file itself is only ever opened to read or replace it.
//
//   {
//     const CSettingsLock lock(ini.IniPath);  // waits for any other holder
//     ... read, merge and write the whole set ...
//   }
#pragma once

#include <cstdint>
#include <string>

class CSettingsLock {
 public:
  // Waits until no other holder has the lock of the settings file at `iniPath`, then holds
  // it. Where no lock file can be made (a read-only or missing folder) it holds nothing, as
  // nobody can take the lock there either; the settings file's own operations then say
  // what is wrong. Raises CFileException when the lock cannot be had (on Windows, when the
  // lock file stays open elsewhere for seconds).
  explicit CSettingsLock(const std::string& iniPath);
  // Lets the next holder in.
  ~CSettingsLock();
  CSettingsLock(const CSettingsLock&) = delete;
  CSettingsLock& operator=(const CSettingsLock&) = delete;

 private:
  intptr_t m_handle;  // the lock file's descriptor or handle; -1 or 0 when none is held
};
