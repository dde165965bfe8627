#include "settings/Settings.h"

#include "cutter/ModelTable.h"

const SettingEntry SETTINGS_TABLE[SETTING_COUNT] = {
    {"Device", "Type", SETTING_INT, 0, nullptr, &SavedChoices::modelIndex, nullptr},
    {"Device", "Port", SETTING_INT, 0, nullptr, &SavedChoices::portIndex, nullptr},
    {"Offset", "ChkBladeOffset", SETTING_INT, 0, nullptr, &SavedChoices::chkBladeOffset, nullptr},
    {"Offset", "ChkOverCut", SETTING_INT, 0, nullptr, &SavedChoices::chkOverCut, nullptr},
    {"Offset", "BladeOffset", SETTING_TEXT, 0, "0.38", nullptr, &SavedChoices::bladeOffsetText},
    {"Offset", "OverCut", SETTING_TEXT, 0, "0.85", nullptr, &SavedChoices::overCutText},
};

SavedChoices DefaultSavedChoices() {
  SavedChoices choices;
  for (const SettingEntry& setting : SETTINGS_TABLE) {
    if (setting.kind == SETTING_INT) {
      choices.*setting.intField = setting.intDefault;
    } else {
      choices.*setting.textField = setting.textDefault;
    }
  }
  return choices;
}

SavedChoices ReadSavedChoices(CIniFile& ini) {
  SavedChoices choices;
  for (const SettingEntry& setting : SETTINGS_TABLE) {
    if (setting.kind == SETTING_INT) {
      choices.*setting.intField = ini.GetInt(setting.section, setting.key, setting.intDefault);
    } else {
      choices.*setting.textField = ini.GetString(setting.section, setting.key, setting.textDefault);
    }
  }
  if (choices.modelIndex < 0 || choices.modelIndex >= MODEL_COUNT) choices.modelIndex = 0;
  if (choices.portIndex < 0 || choices.portIndex >= PORT_LIST_COUNT) choices.portIndex = 0;
  return choices;
}

void WriteSavedChoices(CIniFile& ini, const SavedChoices& choices) {
  for (const SettingEntry& setting : SETTINGS_TABLE) {
    if (setting.kind == SETTING_INT) {
      ini.SetInt(setting.section, setting.key, choices.*setting.intField);
    } else {
      ini.SetString(setting.section, setting.key, choices.*setting.textField);
    }
  }
}
