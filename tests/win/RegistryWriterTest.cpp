#include <gtest/gtest.h>
#include <windows.h>

#include "corel/RegistryReader.h"
#include "corel/RegistryWriter.h"

namespace {

const char* const PARENT = "Software\\PlotgateTest";
const char* const KEY = "Software\\PlotgateTest\\Writer\\Deeper";

TEST(CurrentUserRegistryWriter, WritesDeletesAndRemovesOnlyEmptyKeys) {
  RegDeleteTreeA(HKEY_CURRENT_USER, PARENT);
  const auto writer = CurrentUserRegistryWriter();
  const auto reader = CurrentUserRegistry();
  ASSERT_TRUE(writer);
  const std::string path = "C:\\Program Files\\Plotgate.exe";
  ASSERT_TRUE(writer->WriteString(KEY, "Path", path));  // parents made
  std::string data;
  ASSERT_TRUE(reader->ReadValue(KEY, "Path", data));
  EXPECT_EQ(data, path + '\0');
  EXPECT_TRUE(reader->KeyExists(PARENT));
  EXPECT_FALSE(reader->KeyExists("Software\\PlotgateTest\\Writer\\Deep"));

  EXPECT_FALSE(writer->DeleteKeyIfEmpty(KEY));                               // it holds a value
  EXPECT_FALSE(writer->DeleteKeyIfEmpty("Software\\PlotgateTest\\Writer"));  // it holds a key
  EXPECT_TRUE(writer->DeleteValue(KEY, "Path"));
  EXPECT_FALSE(writer->DeleteValue(KEY, "Path"));  // gone already
  EXPECT_FALSE(reader->ReadValue(KEY, "Path", data));
  EXPECT_TRUE(writer->DeleteKeyIfEmpty(KEY));
  EXPECT_FALSE(reader->KeyExists(KEY));
  EXPECT_FALSE(writer->DeleteKeyIfEmpty(KEY));  // missing
  EXPECT_TRUE(writer->DeleteKeyIfEmpty("Software\\PlotgateTest\\Writer"));
  EXPECT_TRUE(writer->DeleteKeyIfEmpty(PARENT));
  EXPECT_FALSE(reader->KeyExists(PARENT));
}

}  // namespace
