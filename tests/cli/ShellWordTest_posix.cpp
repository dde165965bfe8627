// The go-on command's words, pasted into a POSIX shell, give the program back exactly the
// words intended, whatever a file name holds.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/ShellWord.h"

namespace {

// What `sh` passes as the one argument `quoted`, run as a pasted command.
std::string ArgumentAfterShell(const std::string& quoted) {
  const std::string command = "printf '%s|' " + quoted;
  FILE* shell = popen(command.c_str(), "r");
  std::string out;
  char buffer[256];
  size_t n;
  while (shell && (n = fread(buffer, 1, sizeof buffer, shell)) > 0) out.append(buffer, n);
  if (shell) pclose(shell);
  return out;
}

TEST(ShellWord, TheShellGivesBackEveryHostileName) {
  for (const std::string name : {"job.plt",
                                 "w$(touch x).plt",
                                 "$HOME",
                                 "`id`",
                                 "a\"b",
                                 "a\\b",
                                 "it's.plt",
                                 "'",
                                 "''",
                                 "-x.plt",
                                 "a b  c",
                                 "tab\there",
                                 "semi;colon&amp|pipe>out<in",
                                 "*.plt",
                                 "~/job",
                                 "new\nline",
                                 "{a,b}",
                                 "!event",
                                 "#hash",
                                 "",
                                 "Łukasz/Москва/東京.plt",
                                 "%PATH%"}) {
    EXPECT_EQ(ArgumentAfterShell(ShellWord(name)), name + "|") << ShellWord(name);
  }
}

TEST(ShellWord, PlainWordsStayAsTheyAre) {
  EXPECT_EQ(ShellWord("/tmp/plotgate-e2e.x1/long.plt"), "/tmp/plotgate-e2e.x1/long.plt");
  EXPECT_EQ(ShellWord("Heron(V8.8 or before)"), "'Heron(V8.8 or before)'");
}

}  // namespace
