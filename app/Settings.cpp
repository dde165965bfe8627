#include "Settings.h"

#include "ModelTable.h"

const SettingEntry SettingsTable[SETTING_COUNT] = {
    {"Device", "Type", SETTING_INT, 0, nullptr, &SavedChoices::ModelIndex, nullptr},
    {"Device", "Port", SETTING_INT, 0, nullptr, &SavedChoices::PortIndex, nullptr},
    {"Offset", "ChkBladeOffset", SETTING_INT, 0, nullptr, &SavedChoices::ChkBladeOffset, nullptr},
    {"Offset", "ChkOverCut", SETTING_INT, 0, nullptr, &SavedChoices::ChkOverCut, nullptr},
    {"Offset", "BladeOffset", SETTING_TEXT, 0, "0.38", nullptr, &SavedChoices::BladeOffset},
    {"Offset", "OverCut", SETTING_TEXT, 0, "0.85", nullptr, &SavedChoices::OverCut},
};

SavedChoices ReadSavedChoices(CIniFile& ini) {
  SavedChoices choices;
  for (const SettingEntry& setting : SettingsTable) {
    if (setting.Kind == SETTING_INT) {
      choices.*setting.IntField = ini.GetInt(setting.Section, setting.Key, setting.IntDefault);
    } else {
      choices.*setting.TextField = ini.GetString(setting.Section, setting.Key, setting.TextDefault);
    }
  }
  if (choices.ModelIndex < 0 || choices.ModelIndex >= MODEL_COUNT) choices.ModelIndex = 0;
  if (choices.PortIndex < 0 || choices.PortIndex >= PORT_LIST_COUNT) choices.PortIndex = 0;
  return choices;
}

void WriteSavedChoices(CIniFile& ini, const SavedChoices& choices) {
  for (const SettingEntry& setting : SettingsTable) {
    if (setting.Kind == SETTING_INT) {
      ini.SetInt(setting.Section, setting.Key, choices.*setting.IntField);
    } else {
      ini.SetString(setting.Section, setting.Key, choices.*setting.TextField);
    }
  }
}
