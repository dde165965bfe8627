// Code-page conversion through MultiByteToWideChar / WideCharToMultiByte.
#include <windows.h>

#include "xml/CodePage.h"

int AnsiCodePage() { return static_cast<int>(GetACP()); }

bool BytesToUtf16(int codePage, const char* bytes, size_t count, std::u16string& out) {
  if (count == 0) return true;
  const int length = static_cast<int>(count);
  const int needed = MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
  if (needed <= 0) return false;
  const size_t base = out.size();
  out.resize(base + needed);
  return MultiByteToWideChar(codePage, 0, bytes, length, reinterpret_cast<wchar_t*>(&out[base]), needed) == needed;
}

bool Utf16ToBytes(int codePage, const char16_t* units, size_t count, std::string& out, bool* lost) {
  if (count == 0) return true;
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(units);
  const int length = static_cast<int>(count);
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = lost ? &usedDefault : nullptr;
  const int needed = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, usedDefaultOut);
  if (needed <= 0) return false;
  const size_t base = out.size();
  out.resize(base + needed);
  if (WideCharToMultiByte(codePage, 0, wide, length, &out[base], needed, nullptr, usedDefaultOut) != needed) {
    out.resize(base);
    return false;
  }
  if (lost && usedDefault) *lost = true;
  return true;
}
