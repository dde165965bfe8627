// A whole file mapped read-only into memory, for streaming a job file.
#pragma once

#include <cstdint>
#include <string>

class CMappedFile {
 public:
  CMappedFile() = default;
  CMappedFile(const CMappedFile&) = delete;
  CMappedFile& operator=(const CMappedFile&) = delete;
  ~CMappedFile() { Close(); }

  // Maps the file; false when it cannot be opened or mapped. An empty file opens with
  // Size() 0 and no data.
  bool Open(const std::string& path);
  void Close();

  const char* Data() const { return m_pData; }
  uint64_t Size() const { return m_nSize; }

 private:
  const char* m_pData = nullptr;
  uint64_t m_nSize = 0;
  intptr_t m_hFile = -1;                      // HANDLE on Windows, file descriptor on Linux
  [[maybe_unused]] intptr_t m_hMapping = -1;  // mapping HANDLE on Windows, unused on Linux
};
