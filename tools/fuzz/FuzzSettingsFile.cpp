// The settings file with any contents: lookups, then a change that must read back.
// Input: section "\n" key "\n" value "\n" file bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "ScratchFile.h"
#include "settings/IniFile.h"

namespace {

// A name or value the file's format can hold as written: one line, no surrounding white
// space, and none of the bytes that end a name.
bool Representable(const std::string& text, const char* forbidden) {
  if (text.find_first_of(std::string(forbidden) + "\r\n\v\f", 0) != std::string::npos) return false;
  if (text.find('\0') != std::string::npos) return false;
  return text.empty() || (text.front() != ' ' && text.front() != '\t' && text.back() != ' ' && text.back() != '\t');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const CScratchFile file("plotgate-fuzz-ini");
  CFuzzInput in(data, size);
  const std::string section = in.Until('\n');
  const std::string key = in.Until('\n');
  const std::string value = in.Until('\n');
  file.Write(in.Rest());

  CIniFile ini;
  ini.IniPath = file.Path();
  const std::string before = ini.GetString(section, key, "-");
  ini.GetInt(section, key, 7);
  if (ini.GetString(section, key, "-") != before) abort();  // a lookup changes nothing

  ini.SetString(section, key, value);
  const bool readsBack = !key.empty() && key[0] != '[' && Representable(section, "]") && Representable(key, "=") &&
                         Representable(value, "");
  if (readsBack && ini.GetString(section, key, "-") != value) abort();
  return 0;
}
