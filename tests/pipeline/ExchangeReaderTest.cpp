#include <gtest/gtest.h>

#include <climits>

#include "JobText.h"
#include "SwappedRoutines.h"
#include "pipeline/PipelineRoutines.h"

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
  // "PD;" and "PU;" without numbers change only the pen: no move, no line.
  EXPECT_EQ(Read("PU5,6;PD;PD7,8;PU;"), "U5,6 D7,8 E");
  // A space after the letters becomes a comma, so the numbers do not parse.
  EXPECT_EQ(Read("PU5,6;PD 100,200;"), "U5,6 D5,6 E");
  // A pen command fills only two slots: the curve keeps the rest of the earlier curve.
  EXPECT_EQ(Read("BZ1,2,3,4,5,6;PU9,9;BZ7,7;"), "C1,2,3,4,5,6 U9,9 C7,7,3,4,5,6 E");
  // Slots never filled read as zero.
  EXPECT_EQ(Read("PU;"), "E");
  EXPECT_EQ(Read("PU5;"), "U5,0 E");
}

TEST(ExchangeReader, OnlyTheKnownUpperCaseCommandsCount) {
  // "PA" is read: its pair moves, as the pen is still up.
  EXPECT_EQ(Read("pu1,1;pd2,2;PA3,3;SP1;PU4,4;"), "U3,3 U4,4 E");
  // Every pair after the first is read too.
  EXPECT_EQ(Read("PD1,2,3,4;"), "D1,2 D3,4 E");
}

// HPGL that other programs write: several pairs a command, "PA", "PR", the pen changed
// without numbers. Each row names the fault it catches.
TEST(ExchangeReader, HpglOfOtherProgramsGivesEveryPair) {
  const struct {
    const char* text;
    const char* commands;
  } rows[] = {
      // A square in one "PD" read as its first line only.
      {"IN;PU;PU100,100;PD200,100,200,200,100,200,100,100;PU;", "U100,100 D200,100 D200,200 D100,200 D100,100 E"},
      // A bare "PU;" taken as a move to (0, 0): the job would reach out to the origin.
      {"PU;PU100,100;PD200,100;PU;SP0;", "U100,100 D200,100"},
      {"PU1,1,2,2;", "U1,1 U2,2 E"},
      // "PA" taken as a move whatever the pen: its pairs draw while the pen is down.
      {"PD;PA10,0,10,10;PU;PA0,0;", "D10,0 D10,10 U0,0 E"},
      // "PR" pairs taken as absolute, or relative to the slots rather than the current point;
      // "PR" makes later "PU" and "PD" relative too, until "PA".
      {"PU100,100;PR;PD10,0,0,10;PU-10,0;PA;PD0,0;", "U100,100 D110,100 D110,110 U100,110 D0,0 E"},
      {"PU5,5;PR10,0;", "U5,5 U15,5 E"},
      // Relative to a curve's end, not to its first control point.
      {"BZ1,1,2,2,30,40;PR1,1;", "C1,1,2,2,30,40 U31,41 E"},
      // A lone last number takes the earlier y and ends the command.
      {"PD1,2,3;", "D1,2 D3,2 E"},
      // Settings of the pen, speed and force are skipped without taking a slot.
      {"IN;DF;VS10;FS40;AS2;SP1;PU0,0;PD4000,0;SP;", "U0,0 D4000,0 E"},
  };
  for (const auto& row : rows) EXPECT_EQ(Read(row.text), row.commands) << row.text;
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
  EXPECT_EQ(whole, "U10,20 D30,40 C1,2,3,4,5,6");
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

namespace {

// What reading `text` reports; the list is released.
ExchangeReport ReportOf(const std::string& text) {
  TempDir dir;
  CommandList list = nullptr;
  ExchangeReport report;
  ReadExchangeFile(list, dir.Write("job.plt", text).c_str(), &report);
  FreeCommands(list);
  return report;
}

// "count@line:column" for a tally, "0" when it counts nothing.
std::string Tally(const ReadTally& tally) {
  if (tally.count == 0) return tally.first.line == 0 ? "0" : "0 with a place";
  return std::to_string(tally.count) + "@" + std::to_string(tally.first.line) + ":" +
         std::to_string(tally.first.column);
}

TEST(ExchangeReport, WhatChangesNothingIsNotCounted) {
  for (const std::string text :
       {"IN;SP1;\r\nPU0,0;PD4000,0;BZ1,2,3,4,5,6;PD;;;SP0;\r\n", "IN;SP2;PU-2147483648,2147483647;\n\n;", "IN",
        "PU1,1;SP0", "", "PU0,0;SP0;pu garbage after the end is never read"}) {
    const ExchangeReport report = ReportOf(text);
    EXPECT_TRUE(IsCleanRead(report)) << text;
    EXPECT_EQ(Tally(report.skipped) + Tally(report.unnumbered) + Tally(report.clamped) + Tally(report.cut), "0000")
        << text;
  }
}

TEST(ExchangeReport, SkippedCommandsAreCountedFromTheirFirstByte) {
  // A space after ";" leads the next command, which then is not a "PD".
  EXPECT_EQ(Tally(ReportOf("IN;PU0,0; PD4000,0;").skipped), "1@1:10");
  EXPECT_EQ(Tally(ReportOf("PU0,0;\r\npd1,1;\r\npu2,2;PA3,3;").skipped), "2@2:1");  // "PA" is read
  EXPECT_EQ(Tally(ReportOf(std::string("PU0,0;\0PD1,1;", 13)).skipped), "1@1:7");
  EXPECT_EQ(Tally(ReportOf(std::string("SP1\0;PU0,0;", 11)).skipped), "1@1:1");  // not a pen select
  EXPECT_EQ(Tally(ReportOf("IN ;").skipped), "1@1:1");
  EXPECT_FALSE(IsCleanRead(ReportOf("xy;")));
}

TEST(ExchangeReport, CommandsShortOfNumbersAreCounted) {
  const ExchangeReport report = ReportOf("PU1,2;\nPD 3,4;PU;BZ1,2,3;PD5;");
  EXPECT_EQ(Tally(report.unnumbered), "3@2:1");  // "PU;" changes the pen only
  EXPECT_EQ(Tally(report.skipped), "0");
  EXPECT_EQ(Tally(ReportOf(std::string("PU1\0,2;", 7)).unnumbered), "1@1:1");
  // A NUL byte after the letters is not a pen change without numbers.
  EXPECT_EQ(Tally(ReportOf(std::string("PD\0;", 4)).unnumbered), "1@1:1");
  // Numbers beyond the ones a command takes are ignored, not missing.
  EXPECT_EQ(Tally(ReportOf("PD1,2,3,4;").unnumbered), "0");
}

// Registration marks are read beside the drawing: never a move or a line, the pen and the
// current point left as they were, a later mark of a number replacing the earlier; an "RM"
// without a mark's number and three numbers is a command not understood.
TEST(ExchangeReader, MarksAreReadBesideTheDrawing) {
  TempDir dir;
  CommandList list = nullptr;
  ExchangeReport report;
  DrawingMarks marks;
  ASSERT_EQ(
      ReadExchangeFile(
          list, dir.Write("job.plt", "PU5,6;PD;RM1,10,20;PR1,1;RM4,-7,8;RM1,0,-3;RM5,1,1;RM2,3;RM3,1,2,3;").c_str(),
          &report, nullptr, &marks),
      JOB_DONE);
  EXPECT_EQ(CommandsText(list), "U5,6 D6,7 E");
  FreeCommands(list);
  EXPECT_EQ(Tally(report.skipped), "3@1:44");
  EXPECT_TRUE(marks.has[0] && !marks.has[1] && !marks.has[2] && marks.has[3]);
  EXPECT_EQ(marks.at[0].x, 0);
  EXPECT_EQ(marks.at[0].y, -3);
  EXPECT_EQ(marks.at[3].x, -7);
  EXPECT_EQ(marks.at[3].y, 8);
  // A file that cannot be read gives no marks.
  EXPECT_EQ(ReadExchangeFile(list, (dir.Path() / "absent.plt").string().c_str(), nullptr, nullptr, &marks),
            JOB_CANNOT_OPEN);
  EXPECT_FALSE(marks.Any());
}

TEST(ExchangeReport, EachClampedCoordinateCounts) {
  const ExchangeReport report = ReportOf("PU1,2;\r\nPD99999999999,-99999999999;BZ1,2,3,4,5,2147483648;");
  EXPECT_EQ(Tally(report.clamped), "3@2:1");
  EXPECT_EQ(Tally(ReportOf("PD2147483647,-2147483648;PU-2147483649,0;").clamped), "1@1:26");
  // The second pair of a "PD" is read and counts as well.
  EXPECT_EQ(Tally(ReportOf("PD1,2,99999999999,0;").clamped), "1@1:1");
}

// Settings are named once each, in a fixed order, and leave the read clean; the same
// letters with text that is not numbers are commands not understood.
TEST(ExchangeReport, SkippedSettingsAreNamedOnce) {
  const struct {
    const char* text;
    const char* names;
    const char* skipped;
  } rows[] = {
      {"IN;SP1;PU0,0;PD1,1;SP0;", "", "0"},
      {"FS40;VS10;FS30;PD1,1;", "VS, FS", "0"},
      {"AS2;PT0.3;PW0.35,1;PC1,255,0,0;NP8;WU0;", "AS, PT, PW, PC, NP, WU", "0"},
      {"VS;", "VS", "0"},
      {"VSfast;vs10;", "", "2@1:1"},
  };
  for (const auto& row : rows) {
    const ExchangeReport report = ReportOf(row.text);
    EXPECT_EQ(SkippedSettingNames(report), row.names) << row.text;
    EXPECT_EQ(Tally(report.skipped), row.skipped) << row.text;
    EXPECT_EQ(IsCleanRead(report), std::string(row.skipped) == "0") << row.text;
  }
  // A relative pair beyond 32 bits is held at the limit and counted.
  EXPECT_EQ(Read("PU2147483647,0;PR1,-1;"), "U2147483647,0 U2147483647,-1 E");
  EXPECT_EQ(Tally(ReportOf("PU2147483647,0;PR1,-1;").clamped), "1@1:16");
}

TEST(ExchangeReport, CommandsCutAtTheLimitAreCounted) {
  const std::string digits(400, '7');
  const ExchangeReport report = ReportOf("PU1,2;PD" + digits + "," + digits + ";PU3,4;" + std::string(1000, 'X') + ";");
  EXPECT_EQ(Tally(report.cut), "2@1:7");
  EXPECT_EQ(Tally(report.clamped), "1@1:7");
  // 6 + 804 + 6 bytes before it: the X command is cut and skipped.
  EXPECT_EQ(Tally(report.skipped), "1@1:817");
  // Line breaks are not stored, and the ";" after exactly the limit loses nothing.
  const std::string limit = "PD1,1" + std::string(EXCHANGE_COMMAND_MAX - 5, '0');
  EXPECT_EQ(Tally(ReportOf(limit + ";").cut), "0");
  EXPECT_EQ(Tally(ReportOf(limit + "\r\n;").cut), "0");
  EXPECT_EQ(Tally(ReportOf(limit + "0;").cut), "1@1:1");
}

TEST(ExchangeReport, PlacesHoldAcrossReadsAndLines) {
  // Far past the 64 KB the reader takes at a time, on one line and on many.
  std::string oneLine, manyLines;
  for (int i = 0; i < 20000; ++i) {
    oneLine += "PD1,1;PU2,2;";
    manyLines += "PD1,1;\r\n";
  }
  EXPECT_EQ(Tally(ReportOf(oneLine + "pd3,3;").skipped), "1@1:" + std::to_string(oneLine.size() + 1));
  EXPECT_EQ(Tally(ReportOf(manyLines + "  PD1,1;").skipped), "1@20001:1");
  SwappedRoutines swap;
  g_routines.Read = ThreeBytesAtATime;
  EXPECT_EQ(Tally(ReportOf("PU1,1;\npd1,1;PD 1,1;").skipped), "1@2:1");
  EXPECT_EQ(Tally(ReportOf("PU1,1;\npd1,1;PD 1,1;").unnumbered), "1@2:7");
}

TEST(ExchangeReport, ReportIsClearedAndReadingUnchanged) {
  TempDir dir;
  const std::string odd = "pu1,1;PU 2,2;PD99999999999,0;";
  ExchangeReport report;
  CommandList withReport = nullptr, without = nullptr;
  ReadExchangeFile(withReport, dir.Write("odd.plt", odd).c_str(), &report);
  ReadExchangeFile(without, dir.Write("odd.plt", odd).c_str());
  EXPECT_EQ(CommandsText(withReport), CommandsText(without));
  EXPECT_FALSE(IsCleanRead(report));
  FreeCommands(withReport);
  FreeCommands(without);
  ReadExchangeFile(withReport, dir.Write("clean.plt", "PU1,1;").c_str(), &report);
  EXPECT_TRUE(IsCleanRead(report));
  EXPECT_EQ(report.skipped.first.line, 0);
  FreeCommands(withReport);
  // A file that cannot be opened reports nothing either.
  report.skipped.count = 5;
  EXPECT_EQ(ReadExchangeFile(withReport, (dir.Path() / "missing.plt").string().c_str(), &report), 1);
  EXPECT_TRUE(IsCleanRead(report));
}

}  // namespace

namespace {

// What reading `text` gives: the result, the format named and whether the list is null.
std::string FormatRead(const std::string& text) {
  TempDir dir;
  CommandList list = nullptr;
  ExchangeReport report;
  const JobResult result = ReadExchangeFile(list, dir.Write("drawing", text).c_str(), &report);
  const std::string read = std::to_string(result) + " " + std::to_string(report.format) + (list ? " list" : "");
  FreeCommands(list);
  return read;
}

// Drawings saved in another format are named, not read as commands that all get skipped;
// HPGL whose text merely holds such marks later on is read.
TEST(ExchangeReader, OtherFormatsAreRefusedByName) {
  const std::string svg = "<?xml version=\"1.0\"?>\n<!-- " + std::string(1500, '-') + " -->\n<svg width=\"10mm\">";
  const std::string notHpgl = std::to_string(JOB_NOT_HPGL) + " ";
  const struct {
    std::string text;
    std::string read;
  } rows[] = {
      {svg, notHpgl + std::to_string(FORMAT_SVG)},
      {"\xEF\xBB\xBF\r\n <svg>", notHpgl + std::to_string(FORMAT_SVG)},
      {"%PDF-1.7\n%\xE2\xE3\xCF\xD3\n", notHpgl + std::to_string(FORMAT_PDF)},
      {"%!PS-Adobe-3.0 EPSF-3.0\n", notHpgl + std::to_string(FORMAT_EPS)},
      {std::string("\xC5\xD0\xD3\xC6\x20\0\0\0", 8), notHpgl + std::to_string(FORMAT_EPS)},
      // Not a drawing of another format: read as commands.
      {"<html><body>PU0,0;</body></html>", "0 0 list"},
      {"PU0,0;PD1,1;<svg>", "0 0 list"},
      {"", "0 0 list"},
  };
  for (const auto& row : rows) EXPECT_EQ(FormatRead(row.text), row.read) << row.text;
  // The marks are found across reads of a few bytes: not only in the first read.
  SwappedRoutines swap;
  g_routines.Read = ThreeBytesAtATime;
  EXPECT_EQ(FormatRead(svg), notHpgl + std::to_string(FORMAT_SVG));
}

// A path in one "PD" is far longer than a command's room: cut there, it would lose all
// but its first pairs, and a number split where the room ends would be read in halves.
TEST(ExchangeReader, LongPathsInOneCommandKeepEveryPair) {
  std::string path = "PD", separate, relative = "PU0,0;PR;PD", summed = "PU0,0;";
  for (int i = 1; i <= 2000; ++i) {
    const std::string pair = std::to_string(i * 37 % 100003) + "," + std::to_string(-i);
    path += (i > 1 ? "," : "") + pair;
    separate += "PD" + pair + ";";
    relative += (i > 1 ? ",5,-3" : "5,-3");
    summed += "PD" + std::to_string(5 * i) + "," + std::to_string(-3 * i) + ";";
  }
  const std::string expected = Read(separate);
  EXPECT_EQ(Read(path + ";"), expected);
  EXPECT_EQ(Read(relative + ";"), Read(summed));
  const ExchangeReport report = ReportOf(path + "\r\n;PU1,1;");
  EXPECT_TRUE(IsCleanRead(report));
  SwappedRoutines swap;
  g_routines.Read = ThreeBytesAtATime;
  EXPECT_EQ(Read(path), expected);
}

}  // namespace
