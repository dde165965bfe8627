#include <gtest/gtest.h>

#include <vector>

#include "app/CommandLineInfo.h"

namespace {

CMC_CommandLineInfo Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "Plotgate.exe");
  CMC_CommandLineInfo info;
  ParseCommandLine(info, static_cast<int>(args.size()), args.data());
  return info;
}

TEST(CommandLine, NothingOpensTheDialogWithoutAJob) {
  const CMC_CommandLineInfo info = Parse({});
  EXPECT_EQ(info.m_nShellCommand, SHELL_NOTHING);
  EXPECT_EQ(info.m_strFileName, "");
  EXPECT_FALSE(info.RegisterWorkspace);
  EXPECT_FALSE(info.UnregisterWorkspace);
}

TEST(CommandLine, UnquotedPathIsJoinedWithSingleSpaces) {
  const CMC_CommandLineInfo info = Parse({"C:\\My", "Files\\job"});
  EXPECT_EQ(info.m_nShellCommand, SHELL_FILE_OPEN);
  EXPECT_EQ(info.m_strFileName, "C:\\My Files\\job");
  EXPECT_EQ(Parse({"C:\\My Files\\job"}).m_strFileName, "C:\\My Files\\job");  // quoted: whole
  EXPECT_EQ(Parse({"a", "b", "c"}).m_strFileName, "a b c");
}

TEST(CommandLine, SwitchesAfterSlashOrDash) {
  EXPECT_TRUE(Parse({"/RegCorelWorkSpace"}).RegisterWorkspace);
  EXPECT_TRUE(Parse({"-RegCorelWorkSpace"}).RegisterWorkspace);
  EXPECT_TRUE(Parse({"/UnRegCorelWorkSpace"}).UnregisterWorkspace);
  EXPECT_TRUE(Parse({"-UnRegCorelWorkSpace"}).UnregisterWorkspace);
  const CMC_CommandLineInfo both = Parse({"-UnRegCorelWorkSpace", "/RegCorelWorkSpace"});
  EXPECT_TRUE(both.RegisterWorkspace && both.UnregisterWorkspace);
  EXPECT_EQ(both.m_nShellCommand, SHELL_NOTHING);
}

TEST(CommandLine, MisspeltOrUnknownSwitchesAreIgnored) {
  const CMC_CommandLineInfo info = Parse({"/regcorelworkspace", "-x", "/"});
  EXPECT_FALSE(info.RegisterWorkspace);
  EXPECT_FALSE(info.UnregisterWorkspace);
  EXPECT_EQ(info.m_nShellCommand, SHELL_NOTHING);
  EXPECT_EQ(info.m_strFileName, "");
}

TEST(CommandLine, SwitchWordWithoutPrefixIsAFileName) {
  const CMC_CommandLineInfo info = Parse({"RegCorelWorkSpace"});
  EXPECT_FALSE(info.RegisterWorkspace);
  EXPECT_EQ(info.m_nShellCommand, SHELL_FILE_OPEN);
  EXPECT_EQ(info.m_strFileName, "RegCorelWorkSpace");
}

TEST(CommandLine, PathAndSwitchTogether) {
  // The path is gathered, but the switch decides the run. A switch last leaves the
  // trailing space after the path, as the join rule gives it.
  const CMC_CommandLineInfo info = Parse({"job.plt", "/RegCorelWorkSpace"});
  EXPECT_TRUE(info.RegisterWorkspace);
  EXPECT_EQ(info.m_strFileName, "job.plt ");
}

}  // namespace
