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

Choices ChoicesOfPreset(const Preset& preset) {
  Choices choices;
  choices.bladeOffset = preset.bladeOffset;
  if (preset.bladeOffset) choices.bladeOffsetText = preset.bladeOffsetText;
  choices.overCut = preset.overCut;
  if (preset.overCut) choices.overCutText = preset.overCutText;
  choices.passes = preset.passes;
  choices.force = preset.tool.force;
  choices.speed = preset.tool.speed;
  choices.preset = preset.name;
  return choices;
}

Preset PresetOfChoices(const std::string& name, const Choices& used) {
  Preset preset;
  preset.name = name;
  preset.bladeOffset = used.bladeOffset.value_or(false);
  if (preset.bladeOffset) preset.bladeOffsetText = used.bladeOffsetText.value_or("");
  preset.overCut = used.overCut.value_or(false);
  if (preset.overCut) preset.overCutText = used.overCutText.value_or("");
  preset.passes = used.passes.value_or(1);
  preset.tool = ToolSettings{used.force.value_or(0), used.speed.value_or(0)};
  return preset;
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
