#include <gtest/gtest.h>

#include <climits>

#include "JobText.h"
#include "PipelineRoutines.h"
#include "SwappedRoutines.h"

namespace {

// Reads text and returns the command list as text, releasing the list.
std::string Read(const std::string& text) {
  CommandList list = ReadText(text);
  std::string result = CommandsText(list);
  FreeCommands(list);
  EXPECT_EQ(list, nullptr);
  return result;
}

TEST(ExchangeReader, EndCommandDropsThePlaceholder) {
  EXPECT_EQ(Read("IN;SP1;PU0,0;PD4000,0;SP0;"), "U0,0 D4000,0");
  EXPECT_EQ(Read("IN;SP1;PU0,0;PD4000,0;"), "U0,0 D4000,0 E");
}

TEST(ExchangeReader, LineBreaksAnywhereAreIgnored) {
  EXPECT_EQ(Read("IN;\r\nPU0,0;\r\nP\r\nD40\n00,0;\r\nSP0;\r\n"), Read("IN;PU0,0;PD4000,0;SP0;"));
}

TEST(ExchangeReader, SpaceSeparatesNumbersLikeAComma) {
  EXPECT_EQ(Read("PU10 20;BZ1 2 3 4 5 6;"), "U10,20 C1,2,3,4,5,6 E");
}

TEST(ExchangeReader, NumberSlotsAreSharedBetweenCommands) {
  // "PD;" alone is skipped; "PU;" reuses the previous recognised command's first pair.
  EXPECT_EQ(Read("PU5,6;PD;PD7,8;PU;"), "U5,6 D7,8 U7,8 E");
  // A space after the letters becomes a comma, so the numbers do not parse.
  EXPECT_EQ(Read("PU5,6;PD 100,200;"), "U5,6 D5,6 E");
  // A pen command fills only two slots: the curve keeps the rest of the earlier curve.
  EXPECT_EQ(Read("BZ1,2,3,4,5,6;PU9,9;BZ7,7;"), "C1,2,3,4,5,6 U9,9 C7,7,3,4,5,6 E");
  // Slots never filled read as zero.
  EXPECT_EQ(Read("PU;"), "U0,0 E");
}

TEST(ExchangeReader, OnlyTheKnownUpperCaseCommandsCount) {
  EXPECT_EQ(Read("pu1,1;pd2,2;PA3,3;SP1;PU4,4;"), "U4,4 E");
  // Extra pairs after the first are ignored.
  EXPECT_EQ(Read("PD1,2,3,4;"), "D1,2 E");
}

TEST(ExchangeReader, LastCommandWithoutSemicolonIsRead) { EXPECT_EQ(Read("PU1,1;PD2,3"), "U1,1 D2,3 E"); }

TEST(ExchangeReader, EmptyInputGivesASinglePlaceholder) {
  EXPECT_EQ(Read(""), "E");
  EXPECT_EQ(Read("IN;SP1;"), "E");
}

TEST(ExchangeReader, EndCommandFirstGivesAnEmptyList) {
  EXPECT_EQ(Read("SP0;PU1,1;"), "");
  EXPECT_EQ(Read("IN;SP0;"), "");
}

TEST(ExchangeReader, NumbersAreThirtyTwoBitAndSaturate) {
  EXPECT_EQ(Read("PU-2147483648,2147483647;PD99999999999,-99999999999;"),
            "U-2147483648,2147483647 D2147483647,-2147483648 E");
}

TEST(ExchangeReader, OverlongCommandIsCutWithoutOverrun) {
  const std::string digits(400, '7');
  // Cut at 255 bytes: the first number saturates, the second is lost with the cut part.
  EXPECT_EQ(Read("PU1,2;PD" + digits + "," + digits + ";PU3,4;"), "U1,2 D2147483647,2 U3,4 E");
  EXPECT_EQ(Read(std::string(1000, 'X') + ";PU3,4;"), "U3,4 E");
}

TEST(ExchangeReader, UnopenableFileLeavesTheListUntouched) {
  TempDir dir;
  CommandList list = reinterpret_cast<CommandList>(&dir);  // sentinel, never dereferenced
  EXPECT_EQ(ReadExchangeFile(list, (dir.Path() / "missing.plt").string().c_str()), 1);
  EXPECT_EQ(list, reinterpret_cast<CommandList>(&dir));
  EXPECT_EQ(ReadExchangeFile(list, nullptr), 1);

  const std::string path = dir.Write("job.plt", "PU1,1;");
  const PipelineRoutines saved = g_routines;
  g_routines.Open = nullptr;
  EXPECT_EQ(ReadExchangeFile(list, path.c_str()), 1);
  g_routines = saved;
  EXPECT_EQ(list, reinterpret_cast<CommandList>(&dir));
}

}  // namespace

namespace {

// A file whose reads fail at once, or after `goodReads` reads of real bytes, and whose end
// never comes: without the read error ending the input the reader would spin for ever.
struct FailingReads {
  static inline int goodReads = 0;
  static size_t Read(void* buffer, size_t size, size_t count, FILE* file) {
    if (goodReads-- > 0) return fread(buffer, size, count < 4 ? count : 4, file);
    return 0;
  }
  static int NeverAtEnd(FILE*) { return 0; }
};

TEST(ExchangeReader, ReadErrorEndsTheInputAndIsReported) {
  TempDir dir;
  const std::string path = dir.Write("job.plt", "PU1,2;PD3,4;PD5,6;");
  SwappedRoutines swap;
  g_routines.Read = FailingReads::Read;
  g_routines.Eof = FailingReads::NeverAtEnd;
  for (int good : {0, 1, 3}) {
    FailingReads::goodReads = good;
    CommandList list = nullptr;
    EXPECT_EQ(ReadExchangeFile(list, path.c_str()), JOB_READ_FAILED) << good;
    EXPECT_EQ(list, nullptr) << good;  // nothing half read is kept
  }
}

TEST(ExchangeReader, FolderIsNotAJob) {
  TempDir dir;
  CommandList list = nullptr;
  // Linux opens a folder and fails the read (EISDIR); Windows refuses to open it.
  const JobResult result = ReadExchangeFile(list, dir.Path().string().c_str());
  EXPECT_TRUE(result == JOB_READ_FAILED || result == JOB_CANNOT_OPEN) << result;
  EXPECT_EQ(list, nullptr);
}

// Hands out at most 3 bytes per read, so that commands straddle every read.
size_t ThreeBytesAtATime(void* buffer, size_t size, size_t count, FILE* file) {
  return fread(buffer, size, count < 3 ? count : 3, file);
}

TEST(ExchangeReader, SameCommandsWhateverTheReadSizes) {
  const std::string text = "IN;SP1;PU10,20;\r\nPD30 40;BZ1,2,3,4,5,6;PD;PU;SP0;PU9,9;";
  const std::string whole = Read(text);
  EXPECT_EQ(whole, "U10,20 D30,40 C1,2,3,4,5,6 U1,2");
  SwappedRoutines swap;
  g_routines.Read = ThreeBytesAtATime;
  EXPECT_EQ(Read(text), whole);
}

TEST(ExchangeReader, CommandsAcrossBlockBoundariesAreKept) {
  // 20,000 commands of 7 to 11 bytes: well past the 64 KB the reader takes at a time.
  std::string text, expected;
  for (int i = 0; i < 20000; ++i) {
    text += "PD" + std::to_string(i) + "," + std::to_string(i % 7) + ";";
    expected += (i ? " D" : "D") + std::to_string(i) + "," + std::to_string(i % 7);
  }
  ASSERT_GT(text.size(), 2u * 65536);
  EXPECT_EQ(Read(text + "SP0;"), expected);
}

}  // namespace
