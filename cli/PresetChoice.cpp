#include "cli/PresetChoice.h"

#include <cstdio>

#include "cli/CliCommon.h"
#include "cli/SettingsLocation.h"

std::string PresetsPathFor(const std::string& iniPath) {
  return PresetsPathBeside(iniPath.empty() ? DefaultSettingsPath() : iniPath);
}

bool LoadPresets(const std::string& path, std::vector<Preset>& presets) {
  std::string reason;
  if (ReadPresets(path, presets, reason)) return true;
  fprintf(stderr, "plotgate: %s\n", PresetsUnreadableText(path, reason).c_str());
  return false;
}

std::string NoPresetText(const std::string& name, const std::vector<Preset>& presets) {
  const std::string refusal = "plotgate: no preset \"" + name + "\"; ";
  if (presets.empty()) return refusal + "there are no presets (plotgate preset save NAME stores one)";
  std::string names;
  for (const Preset& preset : presets) names += (names.empty() ? "\"" : ", \"") + preset.name + "\"";
  return refusal + "the presets are " + names + " (plotgate presets)";
}

void AddPresetOption(CLI::App& command, Choices& given, std::string* iniPath) {
  if (iniPath) command.add_option("--ini", *iniPath, "Settings file whose folder holds Presets.ini (for --preset)");
  command.add_option_function<std::string>(
      "--preset", [&given](const std::string& name) { given.preset = name; },
      "Material preset (plotgate presets lists them): its offset, over-cut, passes, force and speed, under the "
      "options given and over the remembered choices");
}

int ApplyPreset(Choices& given, const std::string& iniPath) {
  if (!given.preset) return 0;
  std::vector<Preset> presets;
  if (!LoadPresets(PresetsPathFor(iniPath), presets)) return 1;
  const Preset* preset = FindPreset(presets, *given.preset);
  if (!preset) {
    fprintf(stderr, "%s\n", NoPresetText(*given.preset, presets).c_str());
    return EXIT_USAGE;
  }
  given.preset.reset();
  given = Merged(given, ChoicesOfPreset(*preset));
  return 0;
}
