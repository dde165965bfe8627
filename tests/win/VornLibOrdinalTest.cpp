// The main program's driver on the stand-in "VornLib.dll" through the two entries it
// finds by ordinal: 5 answers the ready byte, 4 takes the bytes and returns their count.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "TempDir.h"
#include "cutter/SeriesCutters.h"

namespace {

// A folder holding the stand-in, on PATH, where the driver looks for "VornLib.dll" after
// the program's and the system's folders (neither has one). The library is loaded afresh
// by each driver (and freed with it), so each test's steering variables are read anew.
class VornLibOrdinals : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA(VORNLIB_DLL, (m_dir.Path() / "VornLib.dll").string().c_str(), FALSE));
    char path[32767] = "";
    GetEnvironmentVariableA("PATH", path, sizeof path);
    m_sPath = path;
    SetEnvironmentVariableA("PATH", (m_dir.Path().string() + ";" + m_sPath).c_str());
    SetEnvironmentVariableA("VORNLIB_RECORD", Record().c_str());
    SetEnvironmentVariableA("VORNLIB_CALLS", Calls().c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("PATH", m_sPath.c_str());
    for (const char* name : {"VORNLIB_RECORD", "VORNLIB_CALLS", "VORNLIB_READY_AFTER", "VORNLIB_FAIL_WRITE"})
      SetEnvironmentVariableA(name, nullptr);
  }
  std::string Record() const { return (m_dir.Path() / "record.bin").string(); }
  std::string Calls() const { return (m_dir.Path() / "calls.txt").string(); }

  TempDir m_dir;
  std::string m_sPath;  // PATH as it was
};

TEST_F(VornLibOrdinals, TheDriverWaitsForReadyAndWritesEachToken) {
  SetEnvironmentVariableA("VORNLIB_READY_AFTER", "3");
  {
    CWrenSeriesCutter cutter;
    ASSERT_NE(cutter.Open(MODE_VENDOR_USB, 0, 38400), 0);
    EXPECT_EQ(cutter.Write("IN;", 3, 1), 3);
    EXPECT_EQ(cutter.Write("PU0,0;", 6, 1), 6);
    EXPECT_EQ(cutter.Write("@", 1, 0), 1);
  }
  EXPECT_EQ(TempDir::Read(Record()), "IN;PU0,0;@");
  EXPECT_EQ(TempDir::Read(Calls()), "write 3 after 3 polls\nwrite 6 after 3 polls\nwrite 1 after 0 polls\n");
}

TEST_F(VornLibOrdinals, AFailedWriteIsMinusOne) {
  SetEnvironmentVariableA("VORNLIB_FAIL_WRITE", "2");
  CWrenSeriesCutter cutter;
  cutter.Open(MODE_VENDOR_USB, 0, 38400);
  EXPECT_EQ(cutter.Write("IN;", 3, 1), 3);
  EXPECT_EQ(cutter.Write("SP1;", 4, 1), -1);
  EXPECT_EQ(TempDir::Read(Record()), "IN;");
}

TEST_F(VornLibOrdinals, TheReadEntryFillsTheReplyWithE) {
  CWrenSeriesCutter cutter;
  cutter.Open(MODE_VENDOR_USB, 0, 38400);
  char reply[7] = {};
  EXPECT_EQ(cutter.Read(reply, 6), 1);
  EXPECT_STREQ(reply, "EEEEEE");
}

}  // namespace
