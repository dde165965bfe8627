// Write access to the current user's registry, injected as the reader is, so that the
// macro install can be tested with a registry of the test's own.
#pragma once

#include <memory>
#include <string>

class CRegistryWriter {
 public:
  virtual ~CRegistryWriter() = default;
  // Sets string value `name` under HKEY_CURRENT_USER\`key` to `text`, making the key (and
  // its parents) when missing; false when the key cannot be made or the value written.
  virtual bool WriteString(const std::string& key, const std::string& name, const std::string& text) = 0;
  // Deletes value `name` under HKEY_CURRENT_USER\`key`; false when it is not there or
  // cannot be deleted.
  virtual bool DeleteValue(const std::string& key, const std::string& name) = 0;
  // Deletes HKEY_CURRENT_USER\`key` when it holds no values and no subkeys; false when it
  // is missing, not empty, or cannot be deleted.
  virtual bool DeleteKeyIfEmpty(const std::string& key) = 0;
};

// The real current-user registry, opened for writing only when a change is made; null on
// systems without a registry.
std::unique_ptr<CRegistryWriter> CurrentUserRegistryWriter();
