// Replacing a file's content whole: on every build, and on Linux under a file-size limit,
// where the write fails half way as on a full disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "base/FileReplace.h"

namespace {

// The folder's entries by name: a replacement leaves no temporary file behind.
std::vector<std::string> Entries(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(FileReplace, ReplacesOrCreatesTheWholeFile) {
  TempDir dir;
  const std::string path = dir.Write("DRAWUIConfig.xml", std::string(100000, 'x'));
  EXPECT_EQ(ReplaceFileContent(path, "<uiConfig/>"), 0);
  EXPECT_EQ(TempDir::Read(path), "<uiConfig/>");
  const std::string created = (dir.Path() / "Plotgate.ini").string();
  EXPECT_EQ(ReplaceFileContent(created, std::string("[Device]\r\n\0", 11)), 0);
  EXPECT_EQ(TempDir::Read(created), std::string("[Device]\r\n\0", 11));
  EXPECT_EQ(ReplaceFileContent(created, ""), 0);
  EXPECT_EQ(TempDir::Read(created), "");
  EXPECT_EQ(Entries(dir).size(), 2u);
}

TEST(FileReplace, AFolderThatIsNotThereIsAnErrorAndLeavesNothing) {
  TempDir dir;
  EXPECT_NE(ReplaceFileContent((dir.Path() / "missing" / "Plotgate.ini").string(), "x"), 0);
  EXPECT_TRUE(Entries(dir).empty());
}

}  // namespace
