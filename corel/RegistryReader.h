// Read access to the current user's registry, injected so that the workspace and macro
// logic can be tested with values of the test's own.
#pragma once

#include <memory>
#include <string>

// Characters a value may hold, its terminating zero included: a path's worth.
const int REGISTRY_VALUE_ROOM = 260;

class CRegistryReader {
 public:
  virtual ~CRegistryReader() = default;
  // The text of string value `name` under HKEY_CURRENT_USER\`key` as UTF-8, its
  // terminating zero included, as read into a buffer of REGISTRY_VALUE_ROOM characters; false
  // when the key or the value is missing or does not fit.
  virtual bool ReadValue(const std::string& key, const std::string& name, std::string& data) const = 0;
  // Whether HKEY_CURRENT_USER\`key` exists (with or without values); false when it cannot
  // be opened for reading.
  virtual bool KeyExists(const std::string& key) const = 0;
};

// The real current-user registry, opened with read access only; null on systems without a
// registry.
std::unique_ptr<CRegistryReader> CurrentUserRegistry();
