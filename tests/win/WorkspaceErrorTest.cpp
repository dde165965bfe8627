// A workspace the user may only read: the edit fails with the system's own number, whose
// text says why, on Windows as elsewhere (Windows reports through GetLastError, not errno).
#include <gtest/gtest.h>
#include <windows.h>

#include "MapRegistry.h"
#include "TempDir.h"
#include "base/SystemError.h"
#include "corel/CorelWorkspace.h"

namespace {

TEST(WorkspaceErrors, ReadOnlyFilesGiveTheAccessDeniedReason) {
  TempDir dir;
  const std::string text = "<uiConfig><items/></uiConfig>";
  const std::string path = dir.Write("DRAWUIConfig.xml", text);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  const ToolbarEditResult edit = EditCorelToolbar(path, true, false);
  EXPECT_EQ(edit.outcome, TOOLBAR_UNWRITABLE);
  EXPECT_EQ(edit.error, ERROR_ACCESS_DENIED);
  EXPECT_EQ(TempDir::Read(path), text);

  // Version 17: a read-only prepared workspace cannot be deleted on removing.
  const std::string folder = dir.Path().string() + "\\";
  CreateDirectoryA((folder + "Workspace").c_str(), nullptr);
  const std::string prepared = dir.Write("X7.wz", "prepared");
  const std::string workspace = dir.Write("Workspace\\_default.cdws", "prepared");
  ASSERT_TRUE(SetFileAttributesA(workspace.c_str(), FILE_ATTRIBUTE_READONLY));
  CMapRegistry registry;
  registry.WriteString("Software\\Corel\\CorelDRAW\\17.0\\Draw\\Application Preferences\\VBA", "LastGMSFolder",
                       folder + "GMS\\");
  ToolbarEditResult swap = {TOOLBAR_CHANGED, 0};
  RegisterCorelWorkspace(false, registry, folder,
                         [&swap](const std::string&, const ToolbarEditResult& r) { swap = r; });
  EXPECT_EQ(swap.outcome, TOOLBAR_UNWRITABLE);
  EXPECT_EQ(swap.error, ERROR_ACCESS_DENIED);
  EXPECT_EQ(TempDir::Read(workspace), "prepared");

  EXPECT_EQ(SystemErrorText(edit.error), SystemErrorText(ERROR_ACCESS_DENIED));
  EXPECT_NE(SystemErrorText(edit.error), "");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA(workspace.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
