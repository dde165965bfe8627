// The material presets as the commands use them: the file beside the settings file in
// use, read once for a command, and a preset picked by the name the user gave.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "settings/Choices.h"
#include "settings/Presets.h"

// "Presets.ini" beside the settings file `iniPath` (--ini), or beside the default one
// when "".
std::string PresetsPathFor(const std::string& iniPath);

// Reads the presets file at `path` into `presets` (none when there is none). False, after
// "plotgate: cannot read PATH: REASON" on stderr, when it cannot be read or is damaged.
bool LoadPresets(const std::string& path, std::vector<Preset>& presets);

// The refusal of a name no preset has: "plotgate: no preset \"Flock\"; the presets are
// \"A\", \"B\" (plotgate presets)", or "...; there are no presets (plotgate preset save
// NAME stores one)".
std::string NoPresetText(const std::string& name, const std::vector<Preset>& presets);

// Adds --preset NAME, which names the material preset of the choices, and, for a command
// without a settings file of its own, --ini FILE into `iniPath` to say where the presets are.
void AddPresetOption(CLI::App& command, Choices& given, std::string* iniPath);

// When `given` names a preset (--preset), puts its values under the options given, so that
// an option beats the preset and the preset the remembered choices; the name becomes the
// preset's own. 0; 1 after the reading's message when the presets file beside the settings
// file `iniPath` cannot be read; EXIT_USAGE after NoPresetText when there is no such preset.
int ApplyPreset(Choices& given, const std::string& iniPath);
