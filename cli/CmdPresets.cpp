// plotgate presets [--ini FILE]: the material presets, one a line.
// plotgate preset save NAME [offset, over-cut, passes, force and speed options] [--replace]
//   [--ini FILE]: stores the remembered choices, those options given over them, as a preset.
// plotgate preset delete NAME [--ini FILE]: removes one.
// The presets live in "Presets.ini" beside the settings file in use.
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/PresetChoice.h"
#include "cli/RememberedChoices.h"
#include "cli/SettingsLocation.h"
#include "settings/FileException.h"
#include "settings/SettingsLock.h"

namespace {

int ListPresets(const std::string& iniPath) {
  const std::string path = PresetsPathFor(iniPath);
  std::vector<Preset> presets;
  if (!LoadPresets(path, presets)) return 1;
  if (presets.empty())
    fprintf(stderr, "plotgate: no presets in %s (plotgate preset save NAME stores one)\n", path.c_str());
  for (const Preset& preset : presets) printf("%s\n", PresetLine(preset).c_str());
  return StdoutResult(0);
}

// What `preset save` is told.
struct SaveRequest {
  std::string name;
  Choices given;
  std::string iniPath;
  bool replace = false;
};

int SavePreset(const SaveRequest& request) {
  const std::string nameProblem = PresetNameProblem(request.name);
  if (!nameProblem.empty()) {
    fprintf(stderr, "plotgate: %s\n", nameProblem.c_str());
    return EXIT_USAGE;
  }
  CIniFile ini;
  Remembered remembered;
  Choices used;
  if (const int refused = CompleteFromSettings(request.given, request.iniPath, ini, remembered, used)) return refused;
  const std::string path = PresetsPathBeside(ini.IniPath);
  try {
    // Under the settings lock, so that two commands changing the presets at once keep both changes.
    const CSettingsLock lock(ini.IniPath);
    std::vector<Preset> presets;
    if (!LoadPresets(path, presets)) return 1;
    const Preset preset = PresetOfChoices(request.name, used);
    const Preset* existing = FindPreset(presets, request.name);
    const std::string existingName = existing ? existing->name : "";
    switch (StorePreset(presets, preset, request.replace)) {
      case PRESET_NAME_TAKEN:
        fprintf(stderr, "plotgate: %s; add --replace to overwrite it\n", PresetNameTakenText(existingName).c_str());
        return EXIT_USAGE;
      case PRESET_LIST_FULL: fprintf(stderr, "plotgate: %s\n", PresetListFullText().c_str()); return EXIT_USAGE;
      case PRESET_STORED: break;
    }
    WritePresets(path, presets);
    printf("Saved the preset %s\n", PresetLine(preset).c_str());
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: ") + e.what());
  }
  return 0;
}

int DeletePreset(const std::string& iniPath, const std::string& name) {
  const std::string settingsPath = iniPath.empty() ? DefaultSettingsPath() : iniPath;
  const std::string path = PresetsPathBeside(settingsPath);
  try {
    // Under the settings lock, so that two commands changing the presets at once keep both changes.
    const CSettingsLock lock(settingsPath);
    std::vector<Preset> presets;
    if (!LoadPresets(path, presets)) return 1;
    const Preset* found = FindPreset(presets, name);
    if (!found) {
      fprintf(stderr, "%s\n", NoPresetText(name, presets).c_str());
      return EXIT_USAGE;
    }
    const std::string deleted = found->name;
    presets.erase(presets.begin() + (found - presets.data()));
    WritePresets(path, presets);
    printf("Deleted the preset \"%s\".\n", deleted.c_str());
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: ") + e.what());
  }
  return 0;
}

}  // namespace

void AddPresetsCommand(CLI::App& app, int& exitCode) {
  auto iniPath = std::make_shared<std::string>();
  CLI::App* list = app.add_subcommand("presets", "List the material presets, one a line");
  list->add_option("--ini", *iniPath, "Settings file whose folder holds Presets.ini");
  list->callback([iniPath, &exitCode] { exitCode = ListPresets(*iniPath); });

  auto name = std::make_shared<std::string>();
  CLI::App* preset = app.add_subcommand("preset", "Save or delete a material preset");
  preset->require_subcommand(1);
  auto request = std::make_shared<SaveRequest>();
  CLI::App* save = preset->add_subcommand(
      "save", "Save the remembered offset, over-cut, passes, force and speed, with the options given over them");
  save->add_option("NAME", request->name, "The preset's name: 1 to 40 characters")->required();
  AddOffsetOptions(*save, request->given);
  AddPassesOption(*save, request->given);
  AddSettingsFileOption(*save, request->iniPath);
  AddUntickOffsetOptions(*save, request->given);
  save->add_flag("--replace", request->replace, "Overwrite the preset of that name");
  save->callback([request, &exitCode] { exitCode = SavePreset(*request); });
  CLI::App* remove = preset->add_subcommand("delete", "Delete the preset NAME");
  remove->add_option("NAME", *name, "The preset's name (any case)")->required();
  remove->add_option("--ini", *iniPath, "Settings file whose folder holds Presets.ini");
  remove->callback([iniPath, name, &exitCode] { exitCode = DeletePreset(*iniPath, *name); });
}
