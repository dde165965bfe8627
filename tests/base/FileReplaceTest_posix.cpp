// A write that fails half way (here: the process's file-size limit, as a full disk or a
// quota does) leaves the file byte for byte as it was, and no temporary file; a link is
// followed and stays a link. The limit is set in a child process.
#include <gtest/gtest.h>

#include <filesystem>

#include "SizeLimit.h"
#include "TempDir.h"
#include "base/FileReplace.h"

namespace {

int ReplaceUnderSizeLimit(const std::string& path, const std::string& bytes, rlim_t limit) {
  return RunUnderSizeLimit(limit, [&] { return ReplaceFileContent(path, bytes); });
}

TEST(FileReplacePosix, AWriteCutShortLeavesTheFileAsItWas) {
  TempDir dir;
  const std::string original(254005, 'w');
  const std::string path = dir.Write("DRAWUIConfig.xml", original);
  EXPECT_EQ(ReplaceUnderSizeLimit(path, std::string(300000, 'n'), 102400), EFBIG);
  EXPECT_EQ(TempDir::Read(path), original);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  EXPECT_EQ(ReplaceUnderSizeLimit(path, "small enough", 102400), 0);
  EXPECT_EQ(TempDir::Read(path), "small enough");
}

TEST(FileReplacePosix, KeepsThePermissionsAndFollowsALink) {
  TempDir dir;
  const std::string target = dir.Write("Plotgate.ini", "old");
  std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
  const auto link = dir.Path() / "link.ini";
  std::filesystem::create_symlink(target, link);
  EXPECT_EQ(ReplaceFileContent(link.string(), "new"), 0);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(TempDir::Read(target), "new");
  EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write |
                                                               std::filesystem::perms::group_read);
}

}  // namespace
