#include "cli/PresetChoice.h"

#include <cstdio>

#include "cli/SettingsLocation.h"

std::string PresetsPathFor(const std::string& iniPath) {
  return PresetsPathBeside(iniPath.empty() ? DefaultSettingsPath() : iniPath);
}

bool LoadPresets(const std::string& path, std::vector<Preset>& presets) {
  std::string reason;
  if (ReadPresets(path, presets, reason)) return true;
  fprintf(stderr, "plotgate: cannot read %s: %s\n", path.c_str(), reason.c_str());
  return false;
}

std::string NoPresetText(const std::string& name, const std::vector<Preset>& presets) {
  const std::string refusal = "plotgate: no preset \"" + name + "\"; ";
  if (presets.empty()) return refusal + "there are no presets (plotgate preset save NAME stores one)";
  std::string names;
  for (const Preset& preset : presets) names += (names.empty() ? "\"" : ", \"") + preset.name + "\"";
  return refusal + "the presets are " + names + " (plotgate presets)";
}
