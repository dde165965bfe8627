#include <gtest/gtest.h>

#include <filesystem>

#include "SettingsFileFixture.h"
#include "settings/Choices.h"
#include "settings/PortList.h"

namespace {

using SettingsTest = SettingsFileFixture;

// The choices the dialog shows for the file: what it holds over the first run's.
Choices Shown(CIniFile& ini) { return Merged(ReadChoices(ini), DefaultChoices()); }

// The Port list entry of the shown port (entry 0 for the automatic choice).
int PortIndex(const Choices& choices) { return PortListIndex(choices.port.value_or("VORN_USB")); }

TEST_F(SettingsTest, FirstRunGivesTheDefaultsAndAnEmptyFile) {
  GivenNoFile();
  const Choices choices = Shown(m_ini);
  EXPECT_EQ(*choices.model, 0);
  EXPECT_EQ(PortIndex(choices), 0);
  EXPECT_EQ(*choices.bladeOffset, false);
  EXPECT_EQ(*choices.overCut, false);
  EXPECT_EQ(*choices.bladeOffsetText, "0.38");
  EXPECT_EQ(*choices.overCutText, "0.85");
  ASSERT_TRUE(std::filesystem::exists(m_ini.IniPath));
  EXPECT_EQ(OnDisk(), "");
}

TEST_F(SettingsTest, IndexesOutsideTheListsBecomeZero) {
  Given("[Device]\r\nType=11\r\nPort=31\r\n");
  EXPECT_EQ(*Shown(m_ini).model, 0);
  EXPECT_EQ(PortIndex(Shown(m_ini)), 0);
  Given("[Device]\r\nType=-1\r\nPort=-1\r\n");
  EXPECT_EQ(*Shown(m_ini).model, 0);
  EXPECT_EQ(PortIndex(Shown(m_ini)), 0);
  Given("[Device]\r\nType=10\r\nPort=30\r\n");
  EXPECT_EQ(*Shown(m_ini).model, 10);
  EXPECT_EQ(PortIndex(Shown(m_ini)), 30);
}

TEST_F(SettingsTest, ReadsEverySettingFromItsSection) {
  Given(
      "[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\nBladeOffset=abc\r\nOverCut=1.5\r\nType=4\r\n"
      "[Device]\r\nType=3\r\nPort=5\r\n");
  const Choices choices = Shown(m_ini);
  EXPECT_EQ(*choices.model, 3);
  EXPECT_EQ(PortIndex(choices), 5);
  EXPECT_EQ(*choices.bladeOffset, true);
  EXPECT_EQ(*choices.overCut, true);
  EXPECT_EQ(*choices.bladeOffsetText, "abc");  // texts are not checked here
  EXPECT_EQ(*choices.overCutText, "1.5");
}

TEST_F(SettingsTest, OneSendIntoAnEmptyFileWritesEightLinesInOrder) {
  Given("");
  Choices choices = Shown(m_ini);
  choices.model = 9;
  choices.port = "COM5";
  choices.bladeOffset = true;
  choices.bladeOffsetText = "0.5";
  choices.overCutText = "1.0";
  WriteChoices(m_ini, choices);
  EXPECT_EQ(OnDisk(),
            "[Device]\r\nType=9\r\nPort=5\r\n[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=0\r\n"
            "BladeOffset=0.5\r\nOverCut=1.0\r\n");
}

TEST_F(SettingsTest, SendingTheSameChoicesAgainLeavesTheFileAsItWas) {
  const std::string file =
      "[Device]\r\nType=3\r\nPort=30\r\n[Offset]\r\nChkBladeOffset=0\r\nChkOverCut=1\r\n"
      "BladeOffset=0.38\r\nOverCut=0.7\r\n";
  Given(file);
  WriteChoices(m_ini, Shown(m_ini));
  EXPECT_EQ(OnDisk(), file);
}

const char* const SIX =
    "[Device]\r\nType=4\r\nPort=2\r\n[Offset]\r\nChkBladeOffset=0\r\nChkOverCut=0\r\nBladeOffset=0.38\r\n"
    "OverCut=0.85\r\n";

TEST_F(SettingsTest, PortIsSavedAsItsListIndex) {
  const struct {
    const char* port;
    const char* index;
  } rows[] = {
      {"COM30", "30"},
      {"VORN_USB", "0"},
      // Ports the Port list cannot show keep the saved entry.
      {"COM31", "7"},
      {"/dev/pts/3", "7"},
      {"\\\\.\\COM3", "7"},
  };
  for (const auto& row : rows) {
    Given("[Device]\r\nType=0\r\nPort=7\r\n");
    Choices choices = Shown(m_ini);
    choices.model = 2;
    choices.port = row.port;
    choices.bladeOffset = true;
    choices.bladeOffsetText = "0.4";
    WriteChoices(m_ini, choices);
    EXPECT_EQ(m_ini.GetString("Device", "Port", ""), row.index) << row.port;
    EXPECT_EQ(m_ini.GetString("Device", "Type", ""), "2");
    EXPECT_EQ(m_ini.GetString("Offset", "ChkBladeOffset", ""), "1");
    EXPECT_EQ(m_ini.GetString("Offset", "ChkOverCut", ""), "0");
    EXPECT_EQ(m_ini.GetString("Offset", "BladeOffset", ""), "0.4");
    EXPECT_EQ(m_ini.GetString("Offset", "OverCut", ""), "0.85");
  }
}

// The command line's own entry holds a port the Port list cannot show, and goes when a send
// goes to one it can.
TEST_F(SettingsTest, RememberedPortEntryIsWrittenOnlyWhenItChanges) {
  Given(SIX);
  Choices choices = Shown(m_ini);
  const auto sendTo = [&](const char* port) {
    choices.port = port;
    WriteChoices(m_ini, choices);
  };
  sendTo("COM2");
  EXPECT_EQ(OnDisk(), SIX);
  sendTo("COM31");
  EXPECT_EQ(*ReadChoices(m_ini).port, "COM31");
  sendTo("/dev/pts/3");
  EXPECT_EQ(OnDisk(), std::string(SIX) + "[CommandLine]\r\nPort=/dev/pts/3\r\n");
  // Forgotten, the entry goes with its emptied section: once left as "Port=".
  sendTo("COM2");
  EXPECT_EQ(OnDisk(), SIX);
  Given("[CommandLine]\r\nPort=/dev/pts/3\r\nOther=1\r\n[Device]\r\nType=4\r\n");
  sendTo("COM3");
  EXPECT_EQ(OnDisk(),
            "[CommandLine]\r\nOther=1\r\n[Device]\r\nType=4\r\nPort=3\r\n[Offset]\r\nChkBladeOffset=0\r\n"
            "ChkOverCut=0\r\nBladeOffset=0.38\r\nOverCut=0.85\r\n");
}

TEST_F(SettingsTest, CutOrderIsWrittenOnlyWhenItChangesAndReadBackInRange) {
  Given(SIX);
  // The defaults leave a file without the section as it is.
  Choices choices = Shown(m_ini);
  WriteChoices(m_ini, choices);
  EXPECT_EQ(OnDisk(), SIX);
  choices.insideFirst = true;
  choices.passes = 2;
  WriteChoices(m_ini, choices);
  EXPECT_EQ(OnDisk(), std::string(SIX) + "[CutOrder]\r\nInsideFirst=1\r\nPasses=2\r\n");
  Given("[CutOrder]\r\nInsideFirst=7\r\nPasses=9\r\nChkWeedBorder=1\r\nWeedBorder=2.5\r\n");
  const Choices read = ReadChoices(m_ini);
  EXPECT_EQ(*read.insideFirst, true);
  EXPECT_EQ(*read.passes, 5);
  // Unticked, the border keeps its remembered margin.
  Choices unticked;
  unticked.weedBorder = false;
  const Choices used = Merged(unticked, read);
  EXPECT_TRUE(*used.insideFirst);
  EXPECT_FALSE(*used.weedBorder);
  EXPECT_EQ(*used.weedBorderText, "2.5");
}

// The media and the tool are sections of their own, each written once it differs, and a send
// that does not give them (the dialog without their controls) leaves them as the file holds
// them. Caught: every file gaining the sections, and a dialog send wiping the media width,
// panels or force a command-line send remembered.
TEST_F(SettingsTest, LaterSectionsAreWrittenOnceTheyDifferAndKeptWhereNotGiven) {
  Given(SIX);
  Choices choices = Shown(m_ini);
  WriteChoices(m_ini, choices);
  EXPECT_EQ(OnDisk(), SIX);
  choices.mediaWidth = true;
  choices.mediaWidthText = "120";
  choices.panels = true;
  choices.force = 80;
  choices.speed = 20;
  choices.preset = "Flock";
  WriteChoices(m_ini, choices);
  const std::string remembered = std::string(SIX) +
                                 "[Media]\r\nChkWidth=1\r\nWidth=120\r\nPanels=1\r\n"
                                 "[Tool]\r\nForce=80\r\nSpeed=20\r\nPreset=Flock\r\n";
  EXPECT_EQ(OnDisk(), remembered);
  for (auto field : {&Choices::mediaWidth, &Choices::panels}) (choices.*field).reset();
  for (auto field : {&Choices::mediaWidthText, &Choices::panelOverlapText, &Choices::panelGapText, &Choices::preset})
    (choices.*field).reset();
  choices.force.reset();
  choices.speed.reset();
  WriteChoices(m_ini, choices);
  EXPECT_EQ(OnDisk(), remembered);
  EXPECT_EQ(PanelsFrom(Merged(ReadChoices(m_ini), DefaultChoices())).mediaWidth, 4800);
}

}  // namespace
