// The width of a real pseudo-terminal, as `stty cols` sets it, and COLUMNS where the
// terminal gives none.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/Terminal.h"

namespace {

class TerminalColumnsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(m_master, 0);
    ASSERT_EQ(grantpt(m_master), 0);
    ASSERT_EQ(unlockpt(m_master), 0);
    m_pTerminal = fopen(ptsname(m_master), "w");
    ASSERT_NE(m_pTerminal, nullptr);
    const char* columns = getenv("COLUMNS");
    m_bHadColumns = columns != nullptr;
    if (columns) m_sColumns = columns;
  }
  void TearDown() override {
    if (m_pTerminal) fclose(m_pTerminal);
    if (m_master >= 0) close(m_master);
    if (m_bHadColumns) {
      setenv("COLUMNS", m_sColumns.c_str(), 1);
    } else {
      unsetenv("COLUMNS");
    }
  }
  void SetWidth(unsigned short columns) {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = columns;
    ASSERT_EQ(ioctl(m_master, TIOCSWINSZ, &size), 0);
  }

  int m_master = -1;
  FILE* m_pTerminal = nullptr;
  bool m_bHadColumns = false;
  std::string m_sColumns;
};

TEST_F(TerminalColumnsTest, TheTerminalsOwnWidthComesFirst) {
  SetWidth(37);
  setenv("COLUMNS", "100", 1);
  EXPECT_TRUE(IsTerminal(m_pTerminal));
  EXPECT_EQ(TerminalColumns(m_pTerminal), 37);
}

TEST_F(TerminalColumnsTest, ColumnsWhenTheTerminalSaysNothing) {
  SetWidth(0);
  setenv("COLUMNS", "50", 1);
  EXPECT_EQ(TerminalColumns(m_pTerminal), 50);
  unsetenv("COLUMNS");
  EXPECT_EQ(TerminalColumns(m_pTerminal), DEFAULT_TERMINAL_COLUMNS);
}

TEST_F(TerminalColumnsTest, AFileIsNoTerminal) {
  FILE* file = tmpfile();
  ASSERT_NE(file, nullptr);
  setenv("COLUMNS", "64", 1);
  EXPECT_FALSE(IsTerminal(file));
  EXPECT_EQ(TerminalColumns(file), 64);
  fclose(file);
}

}  // namespace
