#include <gtest/gtest.h>

#include <vector>

#include "CommandLineInfo.h"
#include "SpinStep.h"

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

TEST(SpinStep, StepsInTenths) {
  EXPECT_EQ(SpinStep("0.38", 1), "0.5");
  EXPECT_EQ(SpinStep("0.38", -1), "0.3");
  EXPECT_EQ(SpinStep("0.85", 1), "0.9");
  EXPECT_EQ(SpinStep("2", 1), "2.1");
  EXPECT_EQ(SpinStep("1.5mm", -1), "1.4");  // the leading number counts
}

TEST(SpinStep, ZeroOrBelowLeavesTheText) {
  EXPECT_EQ(SpinStep("0.1", -1), "0.1");
  EXPECT_EQ(SpinStep("0.05", -1), "0.05");
  EXPECT_EQ(SpinStep("-3", 1), "-3");
  EXPECT_EQ(SpinStep("abc", -1), "abc");
}

TEST(SpinStep, NoNumberCountsAsZero) {
  EXPECT_EQ(SpinStep("abc", 1), "0.1");
  EXPECT_EQ(SpinStep("", 1), "0.1");
}

TEST(SpinStep, OnlyTheFirstNineCharactersAreRead) {
  EXPECT_EQ(SpinStep("0.1234567891", 1), "0.2");
  EXPECT_EQ(SpinStep("abcdefghijkl", -1), "abcdefghi");
  EXPECT_EQ(SpinStep("123456789999", 1), "123456789");  // 123456789.1 is too long: unchanged
  EXPECT_EQ(SpinStep("9999999.9", 1), "9999999.9");     // 10000000.0 needs 10 characters
  EXPECT_EQ(SpinStep("9999999.8", 1), "9999999.9");
}

}  // namespace
