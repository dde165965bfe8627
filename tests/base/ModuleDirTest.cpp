#include <gtest/gtest.h>

#include "base/ModuleDir.h"

namespace {

TEST(ModuleDir, CutAfterTheLastSeparator) {
  EXPECT_EQ(ModuleFolderOf("C:\\Program Files\\Plotgate\\Plotgate.exe", 256, '\\'), "C:\\Program Files\\Plotgate\\");
  EXPECT_EQ(ModuleFolderOf("\\Plotgate.exe", 256, '\\'), "\\");
  EXPECT_EQ(ModuleFolderOf("Plotgate.exe", 256, '\\'), "");
  EXPECT_EQ(ModuleFolderOf("", 256, '\\'), "");
  EXPECT_EQ(ModuleFolderOf("/opt/plotgate/bin/plotgate", 4096, '/'), "/opt/plotgate/bin/");
}

TEST(ModuleDir, KeepsAtMostTheBufferLessOne) {
  // 255 characters kept of a longer path: the separator at index 254 still counts, the one
  // at index 255 no longer does.
  const std::string folder = "C:\\" + std::string(251, 'a') + "\\";  // 255 characters
  EXPECT_EQ(ModuleFolderOf(folder + "Plotgate.exe", 256, '\\'), folder);
  const std::string longer = "C:\\" + std::string(252, 'a') + "\\";  // separator at index 255
  EXPECT_EQ(ModuleFolderOf(longer + "Plotgate.exe", 256, '\\'), "C:\\");
  EXPECT_EQ(ModuleFolderOf("C:\\x", 0, '\\'), "");
}

TEST(ModuleDir, TheRunningProgramHasAFolder) {
  const std::string folder = GetModuleDir();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(folder.back() == '/' || folder.back() == '\\');
}

}  // namespace
