#include <windows.h>

#include "RegistryReader.h"

namespace {

class CHkcuReader : public CRegistryReader {
 public:
  bool ReadValue(const std::string& key, const std::string& name, std::string& data) const override {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    BYTE buffer[260];
    DWORD size = sizeof buffer;
    const LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, buffer, &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) return false;
    data.assign(reinterpret_cast<const char*>(buffer), size);
    return true;
  }

  bool KeyExists(const std::string& key) const override {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
  }
};

}  // namespace

std::unique_ptr<CRegistryReader> CurrentUserRegistry() { return std::make_unique<CHkcuReader>(); }
