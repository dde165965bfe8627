// "VornLib.dll" loaded at the first use, never from the current folder; both entries are
// called with the stdcall convention of Win32 libraries.
#include <windows.h>

#include "base/SafeLibrary.h"
#include "cutter/VornLib.h"

namespace {

typedef int(WINAPI* ReadEntry)(void* buffer, int count);
typedef int(WINAPI* WriteEntry)(const void* buffer, int count);

const WORD READ_ORDINAL = 5;
const WORD WRITE_ORDINAL = 4;

void* Entry(HMODULE library, WORD ordinal) {
  return reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ordinal)));
}

}  // namespace

CVornLib::~CVornLib() {
  if (m_hLibrary) FreeLibrary(static_cast<HMODULE>(m_hLibrary));
}

bool CVornLib::Load() {
  if (m_pRead && m_pWrite) return true;
  if (!m_hLibrary) m_hLibrary = LoadLibraryFromSafeFolders("VornLib.dll");
  if (!m_hLibrary) return false;
  m_pRead = Entry(static_cast<HMODULE>(m_hLibrary), READ_ORDINAL);
  m_pWrite = Entry(static_cast<HMODULE>(m_hLibrary), WRITE_ORDINAL);
  return m_pRead && m_pWrite;
}

int CVornLib::Read(void* buffer, int count) {
  if (!m_pRead) return -1;
  return reinterpret_cast<ReadEntry>(m_pRead)(buffer, count);
}

int CVornLib::Write(const void* buffer, int count) {
  if (!buffer) return 0;
  if (!m_pWrite) return -1;
  return reinterpret_cast<WriteEntry>(m_pWrite)(buffer, count);
}
