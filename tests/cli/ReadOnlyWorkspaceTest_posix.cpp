// A workspace file that cannot be written, because the user may only read it or because the
// write fails half way: the edit fails with the system's reason and the file is left as it
// was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "CliRun.h"
#include "SizeLimit.h"
#include "TempDir.h"
#include "Unprivileged.h"

namespace {

TEST(CliToolbar, ReadOnlyWorkspaceFailsWithItsReason) {
  TempDir dir;
  const std::string text = "<uiConfig><items/></uiConfig>";
  const std::string path = dir.Write("DRAWUIConfig.xml", text);
  ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  const int result = RunUnprivileged([&path] {
    const CliRun run({"toolbar", "add", path});
    if (run.code != 1) return 1;
    if (run.err != "plotgate: cannot edit the workspace file " + path + ": cannot write it: Permission denied\n")
      return 2;
    return run.out.empty() ? 0 : 3;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(TempDir::Read(path), text);
}

// A full disk or a quota: the toolbar's edit outgrows what may be written. The workspace
// stays whole and well-formed, never cut off where the write stopped.
TEST(CliToolbar, AWriteCutShortKeepsTheWorkspaceWhole) {
  TempDir dir;
  const std::string text = "<uiConfig><items>\r\n<!--" + std::string(100000, '-') + "--></items></uiConfig>";
  const std::string path = dir.Write("DRAWUIConfig.xml", text);
  const int result = RunUnderSizeLimit(text.size() + 100, [&path] {
    const CliRun run({"toolbar", "add", path});
    return run.code == 1 && run.err.find("File too large") != std::string::npos ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(TempDir::Read(path), text);
}

}  // namespace
