#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "cli/SettingsLocation.h"

namespace {

std::string HomeFolder() {
  const char* home = getenv("HOME");
  if (home && *home) return home;
  const passwd* user = getpwuid(getuid());
  return user && user->pw_dir ? user->pw_dir : "/";
}

// $XDG_CONFIG_HOME when it holds an absolute path (relative ones are to be ignored).
std::filesystem::path ConfigFolder() {
  const char* config = getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return config;
  return std::filesystem::path(HomeFolder()) / ".config";
}

}  // namespace

std::string DefaultSettingsPath() {
  const std::filesystem::path folder = ConfigFolder() / "plotgate";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return (folder / "Plotgate.ini").string();
}
