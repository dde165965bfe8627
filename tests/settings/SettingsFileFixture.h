// A settings file in a throw-away folder, for tests of the reader and of the settings.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"
#include "settings/IniFile.h"

class SettingsFileFixture : public testing::Test {
 protected:
  // Writes `bytes` as the settings file and points the object at it.
  void Given(const std::string& bytes) { m_ini.IniPath = m_dir.Write("Plotgate.ini", bytes); }
  // Points the object at a settings file that does not exist yet.
  void GivenNoFile() { m_ini.IniPath = (m_dir.Path() / "Plotgate.ini").string(); }
  std::string OnDisk() const { return TempDir::Read(m_ini.IniPath); }

  TempDir m_dir;
  CIniFile m_ini;
};
