#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>

#include "SettingsFileFixture.h"
#include "settings/FileException.h"
#include "settings/IniFile.h"

namespace {

// A settings file in a throw-away folder.
using IniFileTest = SettingsFileFixture;

TEST_F(IniFileTest, NamesAreTrimmedAndValuesToo) {
  Given("[ Device ] x\r\n  Type = 3  \r\n\tPort\t=\t12abc\r\n");
  EXPECT_EQ(m_ini.GetString("Device", "Type", "d"), "3");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 9), 3);
  EXPECT_EQ(m_ini.GetInt("Device", "Port", 9), 12);
}

TEST_F(IniFileTest, NamesAreCaseSensitive) {
  Given("[device]\r\nType=3\r\n[Device]\r\ntype=4\r\n");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 7), 7);
  EXPECT_EQ(m_ini.GetInt("device", "Type", 7), 3);
}

TEST_F(IniFileTest, OnlyTheFirstEqualsSignSplits) {
  Given("[Offset]\r\nBladeOffset=0.4=x\r\n");
  EXPECT_EQ(m_ini.GetString("Offset", "BladeOffset", "0.38"), "0.4=x");
}

TEST_F(IniFileTest, LinesThatNeverMatch) {
  // A line without "=", a would-be comment, and an entry above the first header are all
  // skipped; the section goes on after them.
  Given("Type=4\r\n[Device]\r\nType\r\n;Port=3\r\nPort=2\r\n");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 8), 8);
  EXPECT_EQ(m_ini.GetString("Device", ";Port", "none"), "3");
  EXPECT_EQ(m_ini.GetInt("Device", "Port", 8), 2);
}

TEST_F(IniFileTest, EmptyValueIsEmptyTextAndZero) {
  Given("[Device]\r\nType=\r\nPort=abc\r\n");
  EXPECT_EQ(m_ini.GetString("Device", "Type", "5"), "");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 5), 0);
  EXPECT_EQ(m_ini.GetInt("Device", "Port", 5), 0);
}

TEST_F(IniFileTest, NumbersFollowAtoi) {
  Given("[N]\r\na= -7x\r\nb=+5\r\nc=99999999999\r\nd=-99999999999\r\ne=0x10\r\n");
  EXPECT_EQ(m_ini.GetInt("N", "a", 1), -7);
  EXPECT_EQ(m_ini.GetInt("N", "b", 1), 5);
  // Beyond int the value saturates, the same on 32-bit and 64-bit long.
  EXPECT_EQ(m_ini.GetInt("N", "c", 1), INT_MAX);
  EXPECT_EQ(m_ini.GetInt("N", "d", 1), INT_MIN);
  EXPECT_EQ(m_ini.GetInt("N", "e", 1), 0);
  EXPECT_EQ(m_ini.GetInt("N", "missing", -3), -3);
}

TEST_F(IniFileTest, FirstOfTwoSectionsIsReadAndChanged) {
  Given("[Device]\r\nPort=1\r\n[Device]\r\nType=5\r\n");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 0), 0);
  m_ini.SetInt("Device", "Type", 7);
  EXPECT_EQ(OnDisk(), "[Device]\r\nPort=1\r\nType=7\r\n[Device]\r\nType=5\r\n");
}

TEST_F(IniFileTest, FirstMatchingEntryWins) {
  Given("[Device]\r\nType=1\r\nType=2\r\n");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 0), 1);
  m_ini.SetInt("Device", "Type", 3);
  EXPECT_EQ(OnDisk(), "[Device]\r\nType=3\r\nType=2\r\n");
}

TEST_F(IniFileTest, ReplacementTakesTheWholeLineInPlace) {
  Given("[Device]\r\n   Type = 3 ; old\r\nPort=2\r\n");
  m_ini.GetInt("Device", "Type", 0);
  m_ini.SetInt("Device", "Type", 5);
  EXPECT_EQ(OnDisk(), "[Device]\r\nType=5\r\nPort=2\r\n");
}

TEST_F(IniFileTest, NewEntryGoesAtTheEndOfItsSection) {
  Given("[Device]\r\nType=1\r\n\r\n[Offset]\r\nOverCut=0.85\r\n");
  m_ini.GetInt("Device", "Port", 0);
  m_ini.SetInt("Device", "Port", 4);
  // Directly before the next header, after the blank line that belongs to the section.
  EXPECT_EQ(OnDisk(), "[Device]\r\nType=1\r\n\r\nPort=4\r\n[Offset]\r\nOverCut=0.85\r\n");
}

TEST_F(IniFileTest, NewEntryAfterAHeaderThatEndsTheFile) {
  Given("[Device]\r\nType=1\r\n[Offset]");
  m_ini.GetString("Offset", "OverCut", "0.85");
  m_ini.SetString("Offset", "OverCut", "1.2");
  EXPECT_EQ(OnDisk(), "[Device]\r\nType=1\r\n[Offset]\r\nOverCut=1.2\r\n");
}

TEST_F(IniFileTest, UnterminatedHeaderMatchesNothing) {
  Given("[Device\r\nType=3\r\n");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 0), 0);
  EXPECT_EQ(m_ini.GetInt("", "Type", 0), 0);
  m_ini.SetInt("Device", "Type", 4);
  EXPECT_EQ(OnDisk(), "[Device\r\nType=3\r\n[Device]\r\nType=4\r\n");
}

TEST_F(IniFileTest, KeyAndValueAreWrittenAsGiven) {
  Given("");
  m_ini.GetString("Offset", "BladeOffset", "0.38");
  m_ini.SetString("Offset", "BladeOffset", " 0,5 mm ");
  EXPECT_EQ(OnDisk(), "[Offset]\r\nBladeOffset= 0,5 mm \r\n");
  // Read back trimmed.
  EXPECT_EQ(m_ini.GetString("Offset", "BladeOffset", ""), "0,5 mm");
}

TEST_F(IniFileTest, BareLineFeedsAreReadAndCrLfWritten) {
  Given("[Device]\nType=3\r\nPort=4\nlast");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 0), 3);
  EXPECT_EQ(m_ini.GetInt("Device", "Port", 0), 4);
  m_ini.SetInt("Device", "Type", 3);
  EXPECT_EQ(OnDisk(), "[Device]\r\nType=3\r\nPort=4\r\nlast\r\n");
}

TEST_F(IniFileTest, BytesAreCopiedAsTheyAre) {
  // A byte-order mark is part of the first line, which is then no header; other
  // high bytes and a lone CR survive the rewrite.
  const std::string bom = "\xEF\xBB\xBF";
  Given(bom + "[Device]\r\nType=2\r\n[Offset]\r\nBladeOffset=0\xB5\r5\r\n");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 9), 9);
  EXPECT_EQ(m_ini.GetString("Offset", "BladeOffset", ""), "0\xB5\r5");
  m_ini.SetString("Offset", "OverCut", "\xE9");
  EXPECT_EQ(OnDisk(), bom + "[Device]\r\nType=2\r\n[Offset]\r\nBladeOffset=0\xB5\r5\r\nOverCut=\xE9\r\n");
}

TEST_F(IniFileTest, EveryLookupSeesTheFileAsItIsNow) {
  Given("[Device]\r\nType=1\r\n");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 0), 1);
  m_dir.Write("Plotgate.ini", "[Device]\r\nType=2\r\n");
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 0), 2);
}

TEST_F(IniFileTest, UnchangedValuesRewriteTheSameBytes) {
  const std::string file = "[Device]\r\nType=9\r\nPort=0\r\n[Offset]\r\nBladeOffset=0.38\r\n";
  Given(file);
  m_ini.SetInt("Device", "Type", m_ini.GetInt("Device", "Type", 0));
  m_ini.SetInt("Device", "Port", m_ini.GetInt("Device", "Port", 0));
  m_ini.SetString("Offset", "BladeOffset", m_ini.GetString("Offset", "BladeOffset", ""));
  EXPECT_EQ(OnDisk(), file);
}

TEST_F(IniFileTest, MissingFileIsCreatedEmptyByALookup) {
  GivenNoFile();
  EXPECT_EQ(m_ini.GetString("Offset", "OverCut", "0.85"), "0.85");
  ASSERT_TRUE(std::filesystem::exists(m_ini.IniPath));
  EXPECT_EQ(std::filesystem::file_size(m_ini.IniPath), 0u);
}

// Regression: a change made before any lookup used to rewrite the file from empty lines,
// dropping every other setting it held.
TEST_F(IniFileTest, ChangeBeforeAnyLookupKeepsTheOtherEntries) {
  Given("[Device]\r\nType=4\r\nPort=2\r\n");
  m_ini.SetInt("Device", "Port", 3);
  EXPECT_EQ(OnDisk(), "[Device]\r\nType=4\r\nPort=3\r\n");
}

// Regression: a change rewrote the file from the lines of the last lookup, so what the
// command line saved in between (its own section) was erased by the dialog's send.
TEST_F(IniFileTest, ChangeKeepsWhatAnotherProgramWroteSinceTheLastLookup) {
  Given("[Device]\r\nType=1\r\n");
  m_ini.GetInt("Device", "Type", 0);
  m_dir.Write("Plotgate.ini", "[Device]\r\nType=1\r\nPort=7\r\n[CommandLine]\r\nPort=/dev/ttyUSB0\r\n");
  m_ini.SetInt("Device", "Type", 2);
  EXPECT_EQ(OnDisk(), "[Device]\r\nType=2\r\nPort=7\r\n[CommandLine]\r\nPort=/dev/ttyUSB0\r\n");
}

TEST_F(IniFileTest, FolderThatCannotHoldTheFileRaisesTheFileException) {
  // The parent is a regular file: no user, root included, can create the settings file.
  const std::string parent = m_dir.Write("not-a-folder", "x");
  m_ini.IniPath = (std::filesystem::path(parent) / "Plotgate.ini").string();
  try {
    m_ini.GetString("Device", "Type", "0");
    FAIL() << "no exception";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.FileName(), m_ini.IniPath);
    EXPECT_NE(e.OsError(), 0);
    EXPECT_NE(std::string(e.what()).find(m_ini.IniPath), std::string::npos) << e.what();
  }
  EXPECT_THROW(m_ini.SetInt("Device", "Type", 1), CFileException);
}

TEST_F(IniFileTest, PathThatIsAFolderRaisesTheFileException) {
  m_ini.IniPath = m_dir.Path().string();
  EXPECT_THROW(m_ini.GetInt("Device", "Type", 0), CFileException);
  EXPECT_THROW(m_ini.SaveLines(), CFileException);
}

TEST_F(IniFileTest, ReadOnlyFileLoadsButCannotBeSaved) {
  const std::string file = "[Device]\r\nType=6\r\n";
  Given(file);
  namespace fs = std::filesystem;
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(m_ini.IniPath, write, fs::perm_options::remove);
  // Windows will not delete a read-only file: give the folder back its write access.
  struct Restore {
    std::string path;
    ~Restore() { fs::permissions(path, fs::perms::owner_write, fs::perm_options::add); }
  } restore{m_ini.IniPath};
  // Reading needs no write access.
  EXPECT_EQ(m_ini.GetInt("Device", "Type", 0), 6);
  FILE* probe = fopen(m_ini.IniPath.c_str(), "ab");
  if (probe) {
    fclose(probe);
    GTEST_SKIP() << "this user may write to read-only files (root, also under Wine); the unprivileged "
                    "ReadOnlyFile cases cover it on Linux";
  }
  try {
    m_ini.SetInt("Device", "Type", 7);
    FAIL() << "no exception";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.FileName(), m_ini.IniPath);
    EXPECT_NE(e.OsError(), 0);
  }
  EXPECT_EQ(OnDisk(), file);
}

}  // namespace
