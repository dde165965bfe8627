// A workspace file the user may read but not write: the edit is refused with the system's
// reason and the file is left as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "CliRun.h"
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

}  // namespace
