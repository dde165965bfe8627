#include <windows.h>

#include "base/WideText.h"

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
  if (!wide.empty()) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], static_cast<int>(wide.size()));
  return wide;
}

std::string Utf8FromWide(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  const int size = static_cast<int>(length);
  std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr)),
                   '\0');
  if (!utf8.empty()) {
    WideCharToMultiByte(CP_UTF8, 0, text, size, &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr);
  }
  return utf8;
}

std::string Utf8FromWide(const std::wstring& text) { return Utf8FromWide(text.data(), text.size()); }
