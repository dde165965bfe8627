// The maker's USB library "VornLib.dll" as the drivers reach it: two entries found by
// ordinal, 5 reads (buffer, byte count; 1 when it delivered data) and 4 writes (buffer,
// byte count; its result is the write result). Only Windows has the library.
#pragma once

class CVornLib {
 public:
  CVornLib() = default;
  CVornLib(const CVornLib&) = delete;
  CVornLib& operator=(const CVornLib&) = delete;
  ~CVornLib();

  // Loads the library once; false when it or one of its two entries is not available
  // (always on Linux).
  bool Load();
  // The read entry's result, or -1 when the library is not loaded.
  int Read(void* buffer, int count);
  // The write entry's result; 0 for a null buffer, -1 when the library is not loaded.
  int Write(const void* buffer, int count);

 private:
  // Used by the Windows build only.
  [[maybe_unused]] void* m_hLibrary = nullptr;
  [[maybe_unused]] void* m_pRead = nullptr;
  [[maybe_unused]] void* m_pWrite = nullptr;
};
