// Permission bits do not stop root, who runs the tests here; these cases run in a child
// process that has given up root for the unprivileged "nobody" account.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "TempDir.h"
#include "Unprivileged.h"
#include "settings/FileException.h"
#include "settings/IniFile.h"

namespace {

// The file's failure code, or 0 when `operation` raised no CFileException.
int FileErrorOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const CFileException& e) {
    return static_cast<int>(e.OsError());
  }
  return 0;
}

namespace fs = std::filesystem;

TEST(ReadOnlyFile, LoadsButRaisesTheFileExceptionWhenSaved) {
  TempDir dir;
  const std::string file = "[Device]\r\nType=6\r\n";
  CIniFile ini;
  ini.IniPath = dir.Write("Plotgate.ini", file);
  fs::permissions(ini.IniPath, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const int result = RunUnprivileged([&ini] {
    if (ini.GetInt("Device", "Type", 0) != 6) return 1;
    if (FileErrorOf([&ini] { ini.SetInt("Device", "Type", 7); }) != EACCES) return 2;
    return 0;
  });
  if (result == -1) GTEST_SKIP() << "cannot switch to an unprivileged user";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(TempDir::Read(ini.IniPath), file);
}

TEST(ReadOnlyFile, FolderWithoutWriteAccessRaisesTheFileExceptionOnFirstRun) {
  TempDir dir;
  fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  CIniFile ini;
  ini.IniPath = (dir.Path() / "Plotgate.ini").string();
  const int result = RunUnprivileged(
      [&ini] { return FileErrorOf([&ini] { ini.GetString("Offset", "OverCut", "0.85"); }) == EACCES ? 0 : 1; });
  fs::permissions(dir.Path(), fs::perms::owner_write, fs::perm_options::add);
  if (result == -1) GTEST_SKIP() << "cannot switch to an unprivileged user";
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(fs::exists(ini.IniPath));
}

}  // namespace
