#include <windows.h>

#include "base/WideText.h"
#include "corel/RegistryWriter.h"

namespace {

class CHkcuWriter : public CRegistryWriter {
 public:
  bool WriteString(const std::string& key, const std::string& name, const std::string& text) override {
    HKEY handle;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
      return false;
    const std::wstring wide = WideFromUtf8(text);
    const LONG status =
        RegSetValueExW(handle, WideFromUtf8(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& key, const std::string& name) override {
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WideFromUtf8(key).c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) {
      return false;
    }
    const LONG status = RegDeleteValueW(handle, WideFromUtf8(name).c_str());
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
  }

  bool DeleteKeyIfEmpty(const std::string& key) override {
    const std::wstring wide = WideFromUtf8(key);
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
    DWORD subkeys = 0, values = 0;
    const LONG status = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                         nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    // The delete itself would take a key that still holds values.
    if (status != ERROR_SUCCESS || subkeys != 0 || values != 0) return false;
    return RegDeleteKeyW(HKEY_CURRENT_USER, wide.c_str()) == ERROR_SUCCESS;
  }
};

}  // namespace

std::unique_ptr<CRegistryWriter> CurrentUserRegistryWriter() { return std::make_unique<CHkcuWriter>(); }
