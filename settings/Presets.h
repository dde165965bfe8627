// Material presets: the knife settings of one material saved under a name, in the file
// "Presets.ini" beside the settings file in use:
//
//   [Presets]
//   Count=2
//   [Preset 1]
//   Name=Oracal 651 (45°)
//   BladeOffset=0.25
//   Overcut=0.50
//   Passes=1
//   Force=80
//   Speed=20
//   [Preset 2]
//   Name=Flock
//   BladeOffset=
//   ...
//
// Lines are read as the settings file's are (IniFile.h) and written with CR LF, the whole
// file replaced at once. A distance is millimetre text and a force or speed a whole number;
// an empty value is off, and an absent key counts as off (passes as 1). The file is
// damaged, and refused whole, when it is not UTF-8, when Count is not 0 to MAX_PRESETS or
// does not match the [Preset N] sections, when a name breaks a rule or repeats another, or
// when a value is one the command line's options would refuse. A missing file holds no
// presets. Mirror, rotation, cut order and weed border belong to the job, not the material,
// and are not kept here.
#pragma once

#include <string>
#include <vector>

#include "pipeline/CommandDialect.h"
#include "settings/Choices.h"

struct Preset {
  std::string name;
  bool bladeOffset = false;
  std::string bladeOffsetText;  // millimetres, when bladeOffset
  bool overCut = false;
  std::string overCutText;  // millimetres, when overCut
  int passes = 1;
  ToolSettings tool;  // force and speed, 0 when off
};

const size_t MAX_PRESETS = 50;
const size_t MAX_PRESET_NAME = 40;  // characters, not bytes

// The choices a preset holds: its offset, over-cut, passes, force and speed, and its name
// as the preset. An option that is off keeps the remembered distance text.
Choices ChoicesOfPreset(const Preset& preset);

// The preset `name` of complete choices (as Merged with DefaultChoices gives them): their
// offset, over-cut, passes, force and speed; a distance that is off keeps no text.
Preset PresetOfChoices(const std::string& name, const Choices& used);

// How StorePreset ended.
enum PresetStore {
  PRESET_STORED,      // in place of the one of its name, or added at the end
  PRESET_NAME_TAKEN,  // a preset of that name (any case) exists and is not to be replaced
  PRESET_LIST_FULL,   // MAX_PRESETS exist already
};

// Puts `preset` among `presets`: over the one of its name (any case) when `replace`, else
// at the end; `presets` is left as it was unless PRESET_STORED.
PresetStore StorePreset(std::vector<Preset>& presets, const Preset& preset, bool replace);

// Why a preset was not stored, for `name` (the existing preset's own spelling):
// "a preset named \"Flock\" exists", "50 presets is the most; delete one first".
std::string PresetNameTakenText(const std::string& name);
std::string PresetListFullText();

// The words for a presets file that cannot be read: "cannot read PATH: REASON".
std::string PresetsUnreadableText(const std::string& path, const std::string& reason);

// The presets file beside the settings file at `settingsPath`: the same folder, the name
// "Presets.ini".
std::string PresetsPathBeside(const std::string& settingsPath);

// Which rule `name` breaks ("a preset name has 1 to 40 characters; ..."); "" when it may
// name a preset. Names are UTF-8 text without control characters and without a space at
// either end (the file would lose it).
std::string PresetNameProblem(const std::string& name);

// The preset named `name` regardless of case (ASCII letters), or null.
const Preset* FindPreset(const std::vector<Preset>& presets, const std::string& name);

// The line `plotgate presets` prints for the preset:
// "Oracal 651 (45°): offset 0.25 mm, over-cut 0.50 mm, 1 pass, 80 g, 20 cm/s"; an option
// that is off reads "offset off", "over-cut off", "force off", "speed off".
std::string PresetLine(const Preset& preset);

// The file's bytes for `presets`, in their order.
std::string PresetsText(const std::vector<Preset>& presets);

// The presets the file's `bytes` hold, into `presets`; "" when they are sound, else what is
// damaged ("[Preset 2] Force=1200: takes grams from 1 to 1000, not \"1200\""), with
// `presets` left empty.
std::string ParsePresets(const std::string& bytes, std::vector<Preset>& presets);

// Reads the file at `path` into `presets` (none when there is no file). False when it
// cannot be read or is damaged, with the reason (the system's text, or what ParsePresets
// says) in `reason`.
bool ReadPresets(const std::string& path, std::vector<Preset>& presets, std::string& reason);

// Replaces the file at `path` by `presets`, whole or not at all. Raises CFileException.
void WritePresets(const std::string& path, const std::vector<Preset>& presets);
