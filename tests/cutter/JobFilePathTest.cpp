// The job file's path must fit the sender's 260-byte buffer with its terminating zero.
#include <gtest/gtest.h>

#include <string>

#include "cutter/JobFilePath.h"

namespace {

TEST(JobFilePathIn, IsTheFolderAndNameWhenTheyFitTheSendersBuffer) {
  const std::string name = "cutcorldata.hb";  // 14 characters
  struct {
    std::string folder;
    std::string expected;
  } cases[] = {
      {"C:\\Temp\\", "C:\\Temp\\cutcorldata.hb"},
      {std::string(245, 'a'), std::string(245, 'a') + name},  // 259 characters: fits
      {std::string(246, 'a'), ""},                            // 260: no room for the zero
      {"", ""},                                               // no temporary folder
  };
  for (const auto& c : cases) EXPECT_EQ(JobFilePathIn(c.folder, name), c.expected) << c.folder.size();
}

TEST(TemporaryFolder, EndsInASeparator) {
  int error = -1;
  const std::string folder = TemporaryFolder(error);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(error, 0);
  EXPECT_TRUE(folder.back() == '/' || folder.back() == '\\') << folder;
}

}  // namespace
