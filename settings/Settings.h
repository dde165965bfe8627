// The six choices the program remembers between runs, declared once: where each lives in
// the settings file, its kind and its default, the corrections applied when they are read
// back, and the order in which they are read and written. The dialog and the command
// line both restore and save through here, so they remember the same choices.
#pragma once

#include <string>

#include "settings/IniFile.h"
#include "settings/PortList.h"

// The remembered choices, as the dialog's controls hold them.
struct SavedChoices {
  int modelIndex = 0;           // Device list index, ModelTable order
  int portIndex = 0;            // Port list index
  int chkBladeOffset = 0;       // Blade offset check box: 0 unchecked, 1 checked
  int chkOverCut = 0;           // OverCut check box: 0 unchecked, 1 checked
  std::string bladeOffsetText;  // text of the blade-offset edit, millimetres, as typed
  std::string overCutText;      // text of the over-cut edit, millimetres, as typed
};

enum SettingKind { SETTING_INT, SETTING_TEXT };

// One stored choice. Integer settings use intDefault and intField, text settings
// textDefault and textField.
struct SettingEntry {
  const char* section;
  const char* key;
  SettingKind kind;
  int intDefault;
  const char* textDefault;
  int SavedChoices::*intField;
  std::string SavedChoices::*textField;
};

const int SETTING_COUNT = 6;
// The settings in the order the dialog reads them and the send writes them: "Type",
// "Port" of [Device], then "ChkBladeOffset", "ChkOverCut", "BladeOffset", "OverCut" of
// [Offset].
extern const SettingEntry SETTINGS_TABLE[SETTING_COUNT];

// The six settings' defaults, as a first run without a settings file restores them.
SavedChoices DefaultSavedChoices();

// Reads the six settings in table order (the first read creates an empty file when there
// is none) and corrects them as the dialog does: a model index outside the model table or
// a port index outside the Port list becomes 0. Raises CFileException.
SavedChoices ReadSavedChoices(CIniFile& ini);

// Writes the six settings in table order, the integers as decimal text and the texts as
// they are. Raises CFileException.
void WriteSavedChoices(CIniFile& ini, const SavedChoices& choices);
