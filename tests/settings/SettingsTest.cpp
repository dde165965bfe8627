#include <gtest/gtest.h>

#include <filesystem>

#include "SettingsFileFixture.h"
#include "settings/Settings.h"

namespace {

using SettingsTest = SettingsFileFixture;

TEST_F(SettingsTest, FirstRunGivesTheDefaultsAndAnEmptyFile) {
  GivenNoFile();
  const SavedChoices choices = ReadSavedChoices(m_ini);
  EXPECT_EQ(choices.modelIndex, 0);
  EXPECT_EQ(choices.portIndex, 0);
  EXPECT_EQ(choices.chkBladeOffset, 0);
  EXPECT_EQ(choices.chkOverCut, 0);
  EXPECT_EQ(choices.bladeOffsetText, "0.38");
  EXPECT_EQ(choices.overCutText, "0.85");
  ASSERT_TRUE(std::filesystem::exists(m_ini.IniPath));
  EXPECT_EQ(OnDisk(), "");
}

TEST_F(SettingsTest, IndexesOutsideTheListsBecomeZero) {
  Given("[Device]\r\nType=11\r\nPort=31\r\n");
  EXPECT_EQ(ReadSavedChoices(m_ini).modelIndex, 0);
  EXPECT_EQ(ReadSavedChoices(m_ini).portIndex, 0);
  Given("[Device]\r\nType=-1\r\nPort=-1\r\n");
  EXPECT_EQ(ReadSavedChoices(m_ini).modelIndex, 0);
  EXPECT_EQ(ReadSavedChoices(m_ini).portIndex, 0);
  Given("[Device]\r\nType=10\r\nPort=30\r\n");
  EXPECT_EQ(ReadSavedChoices(m_ini).modelIndex, 10);
  EXPECT_EQ(ReadSavedChoices(m_ini).portIndex, 30);
}

TEST_F(SettingsTest, ReadsEverySettingFromItsSection) {
  Given(
      "[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\nBladeOffset=abc\r\nOverCut=1.5\r\nType=4\r\n"
      "[Device]\r\nType=3\r\nPort=5\r\n");
  const SavedChoices choices = ReadSavedChoices(m_ini);
  EXPECT_EQ(choices.modelIndex, 3);
  EXPECT_EQ(choices.portIndex, 5);
  EXPECT_EQ(choices.chkBladeOffset, 1);
  EXPECT_EQ(choices.chkOverCut, 1);
  EXPECT_EQ(choices.bladeOffsetText, "abc");  // texts are not checked here
  EXPECT_EQ(choices.overCutText, "1.5");
}

TEST_F(SettingsTest, OneSendIntoAnEmptyFileWritesEightLinesInOrder) {
  Given("");
  SavedChoices choices = ReadSavedChoices(m_ini);
  choices.modelIndex = 9;
  choices.portIndex = 5;
  choices.chkBladeOffset = 1;
  choices.bladeOffsetText = "0.5";
  choices.overCutText = "1.0";
  WriteSavedChoices(m_ini, choices);
  EXPECT_EQ(OnDisk(),
            "[Device]\r\nType=9\r\nPort=5\r\n[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=0\r\n"
            "BladeOffset=0.5\r\nOverCut=1.0\r\n");
}

TEST_F(SettingsTest, SendingTheSameChoicesAgainLeavesTheFileAsItWas) {
  const std::string file =
      "[Device]\r\nType=3\r\nPort=30\r\n[Offset]\r\nChkBladeOffset=0\r\nChkOverCut=1\r\n"
      "BladeOffset=0.38\r\nOverCut=0.7\r\n";
  Given(file);
  WriteSavedChoices(m_ini, ReadSavedChoices(m_ini));
  EXPECT_EQ(OnDisk(), file);
}

}  // namespace
