#include <windows.h>

#include "base/WideText.h"
#include "corel/RegistryReader.h"

namespace {

class CHkcuReader : public CRegistryReader {
 public:
  bool ReadValue(const std::string& key, const std::string& name, std::string& data) const override {
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WideFromUtf8(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
      return false;
    }
    wchar_t buffer[REGISTRY_VALUE_ROOM];
    DWORD size = sizeof buffer;
    const LONG status =
        RegQueryValueExW(handle, WideFromUtf8(name).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) return false;
    data = Utf8FromWide(buffer, size / sizeof(wchar_t));
    return true;
  }

  bool KeyExists(const std::string& key) const override {
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WideFromUtf8(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(handle);
    return true;
  }
};

}  // namespace

std::unique_ptr<CRegistryReader> CurrentUserRegistry() { return std::make_unique<CHkcuReader>(); }
