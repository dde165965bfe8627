#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "cutter/Cutter.h"
#include "cutter/JobStream.h"
#include "cutter/MappedFile.h"

namespace {

std::vector<std::string> Pieces(const std::string& job, int mode) {
  CJobPieces pieces(job.data(), job.size(), mode);
  std::vector<std::string> out;
  std::vector<char> piece(PieceSizeOf(mode) + 1, 'x');
  while (int n = pieces.Next(piece.data())) {
    EXPECT_EQ(piece[n], '\0');
    out.emplace_back(piece.data(), n);
  }
  return out;
}

TEST(JobPieces, OneTokenPerPieceUpToItsSemicolonOrSpace) {
  EXPECT_EQ(Pieces("IN;SP1;PU0,4000;PD0,0;SP0;@", MODE_SERIAL),
            (std::vector<std::string>{"IN;", "SP1;", "PU0,4000;", "PD0,0;", "SP0;", "@"}));
  EXPECT_EQ(Pieces(";:H A U0,0 @ ", MODE_VENDOR_USB), (std::vector<std::string>{";", ":H ", "A ", "U0,0 ", "@ "}));
  EXPECT_TRUE(Pieces("", MODE_SERIAL).empty());
}

TEST(JobPieces, ALongTokenGoesOutInFortyBytePieces) {
  const std::string token(95, '7');
  const auto pieces = Pieces(token + ";U1 ", MODE_SERIAL);
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_EQ(pieces[0], token.substr(0, 40));
  EXPECT_EQ(pieces[1], token.substr(40, 40));
  EXPECT_EQ(pieces[2], token.substr(80) + ";");
  EXPECT_EQ(pieces[3], "U1 ");
}

TEST(JobPieces, UsbSerialModeSends511BytePieces) {
  const std::string job(1022, ';');
  CJobPieces pieces(job.data(), job.size(), MODE_USB_SERIAL);
  char piece[USB_SERIAL_PIECE_SIZE + 1];
  EXPECT_EQ(pieces.Next(piece), 511);
  EXPECT_EQ(pieces.Percent(), 50);
  EXPECT_EQ(pieces.Next(piece), 511);
  EXPECT_EQ(pieces.Percent(), 100);
  EXPECT_TRUE(pieces.AtEnd());
  EXPECT_EQ(pieces.Next(piece), 0);
  EXPECT_EQ(Pieces(std::string(600, 'a'), MODE_USB_SERIAL).back().size(), 89u);
}

TEST(JobPieces, ProgressIsTruncated) {
  CJobPieces pieces("ab;cd;ef;", 9, MODE_SERIAL);
  char piece[TOKEN_PIECE_SIZE + 1];
  EXPECT_EQ(pieces.Percent(), 0);
  pieces.Next(piece);
  pieces.Next(piece);
  EXPECT_EQ(pieces.Percent(), 66);
  CJobPieces empty("", 0, MODE_SERIAL);
  EXPECT_EQ(empty.Percent(), 100);
}

// A driver that keeps what it is sent and can be told to fail or cancel at a piece.
class CRecordingCutter : public CCutter {
 public:
  int Write(const void* buffer, int count, int waitReady) override {
    EXPECT_EQ(waitReady, 1);
    if (static_cast<int>(m_pieces.size()) == m_nFailAt) return -1;
    if (static_cast<int>(m_pieces.size()) == m_nCancelAt) {
      Cancel();
      return -1;
    }
    m_pieces.emplace_back(static_cast<const char*>(buffer), count);
    return count;
  }
  std::vector<std::string> m_pieces;
  int m_nFailAt = -1;
  int m_nCancelAt = -1;
};

TEST(StreamJob, WritesEveryPieceAndReportsProgress) {
  CRecordingCutter cutter;
  std::vector<int> progress;
  const std::string job = "IN;PU1,2;SP0;@";
  EXPECT_EQ(StreamJob(job.data(), job.size(), MODE_SERIAL, cutter, [&](int p) { progress.push_back(p); }), SEND_DONE);
  EXPECT_EQ(cutter.m_pieces, (std::vector<std::string>{"IN;", "PU1,2;", "SP0;", "@"}));
  EXPECT_EQ(progress, (std::vector<int>{21, 64, 92, 100}));
}

TEST(StreamJob, TheBytesWrittenAreKnownAtEveryProgressCall) {
  CRecordingCutter cutter;
  const std::string job = "IN;PU1,2;SP0;@";
  uint64_t written = 0;
  std::vector<uint64_t> seen;
  EXPECT_EQ(StreamJob(
                job.data(), job.size(), MODE_SERIAL, cutter, [&](int) { seen.push_back(written); }, &written),
            SEND_DONE);
  EXPECT_EQ(seen, (std::vector<uint64_t>{3, 9, 13, 14}));
  EXPECT_EQ(written, 14u);
}

TEST(StreamJob, AnEmptyJobIsAtOnceComplete) {
  CRecordingCutter cutter;
  std::vector<int> progress;
  EXPECT_EQ(StreamJob(nullptr, 0, MODE_SERIAL, cutter, [&](int p) { progress.push_back(p); }), SEND_DONE);
  EXPECT_TRUE(cutter.m_pieces.empty());
  EXPECT_EQ(progress, std::vector<int>{100});
}

TEST(StreamJob, StopsAtAFailedOrCancelledWrite) {
  const std::string job = "IN;PU1,2;SP0;@";
  CRecordingCutter failing;
  failing.m_nFailAt = 1;
  EXPECT_EQ(StreamJob(job.data(), job.size(), MODE_SERIAL, failing, [](int) {}), SEND_WRITE_FAILED);
  EXPECT_EQ(failing.m_pieces.size(), 1u);
  CRecordingCutter cancelled;
  cancelled.m_nCancelAt = 2;
  EXPECT_EQ(StreamJob(job.data(), job.size(), MODE_SERIAL, cancelled, [](int) {}), SEND_CANCELLED);
  EXPECT_EQ(cancelled.m_pieces.size(), 2u);
}

TEST(MappedFile, MapsTheWholeFile) {
  TempDir dir;
  const std::string bytes("SP0;\0@\xff", 7);
  CMappedFile file;
  ASSERT_TRUE(file.Open(dir.Write("cutcorldata.hb", bytes)));
  ASSERT_EQ(file.Size(), 7u);
  EXPECT_EQ(std::string(file.Data(), 7), bytes);
  file.Close();
  // Closed, the folder can be removed (a mapping still held would keep the file on Windows).
  EXPECT_EQ(file.Size(), 0u);
}

TEST(MappedFile, EmptyAndMissingFiles) {
  TempDir dir;
  CMappedFile file;
  ASSERT_TRUE(file.Open(dir.Write("empty.hb", "")));
  EXPECT_EQ(file.Size(), 0u);
  EXPECT_EQ(file.Data(), nullptr);
  EXPECT_FALSE(file.Open((dir.Path() / "missing.hb").string()));
}

}  // namespace
