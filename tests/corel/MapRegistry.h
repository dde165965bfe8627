// A registry of the test's own, readable and writable: key -> value name -> data.
#pragma once

#include <map>
#include <string>

#include "corel/RegistryReader.h"
#include "corel/RegistryWriter.h"

class CMapRegistry : public CRegistryReader, public CRegistryWriter {
 public:
  std::map<std::string, std::map<std::string, std::string>> values;

  bool ReadValue(const std::string& key, const std::string& name, std::string& data) const override {
    const auto k = values.find(key);
    if (k == values.end()) return false;
    const auto v = k->second.find(name);
    if (v == k->second.end()) return false;
    data = v->second;
    return true;
  }
  // A key exists when it, or a key under it, is in the map.
  bool KeyExists(const std::string& key) const override { return values.count(key) == 1 || HasSubkeys(key); }
  bool WriteString(const std::string& key, const std::string& name, const std::string& text) override {
    values[key][name] = text + '\0';
    return true;
  }
  bool DeleteValue(const std::string& key, const std::string& name) override {
    const auto k = values.find(key);
    return k != values.end() && k->second.erase(name) == 1;
  }
  bool DeleteKeyIfEmpty(const std::string& key) override {
    const auto k = values.find(key);
    if (k == values.end() || !k->second.empty()) return false;
    if (HasSubkeys(key)) return false;
    values.erase(k);
    return true;
  }

 private:
  bool HasSubkeys(const std::string& key) const {
    const auto k = values.lower_bound(key + "\\");
    return k != values.end() && k->first.rfind(key + "\\", 0) == 0;
  }
};
