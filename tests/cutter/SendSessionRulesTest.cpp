// The send session's cancel and failure rules with a driver that records what it is given,
// so that they are tested on every build, not only on a Linux pseudo-terminal: a stream
// stopped early completes the command the cutter has part of, then sends the job's own
// ending within ENDING_WRITE_MS, and says whether the ending went out.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "TempDir.h"
#include "cutter/ModelTable.h"
#include "cutter/SendSession.h"
#include "pipeline/PlotJob.h"

namespace {

const int ROBIN_SERIES = 5;  // HPGL, plain serial port: a piece per command
const int FINCH_SERIES = 4;  // its own USB-serial port: 511-byte pieces

// A driver that takes every write whole, except that it cancels the send after write
// `cancelAfter`, fails write `failAt`, and takes only `endingRoom` bytes of the ending.
class CRecordingCutter : public CCutter {
 public:
  CRecordingCutter(int protocol, int cancelAfter, int failAt, int endingRoom)
      : CCutter(protocol), m_nCancelAfter(cancelAfter), m_nFailAt(failAt), m_nEndingRoom(endingRoom) {}
  int Open(int mode, int port, int baudRate) override {
    Record(mode, port, baudRate);
    m_bOpen = 1;
    return 1;
  }
  int Close() override {
    m_bOpen = 0;
    return 0;
  }
  int Write(const void* buffer, int count, int) override {
    if (++m_nWrites == m_nFailAt) return -1;
    m_sSent.append(static_cast<const char*>(buffer), count);
    if (m_nWrites == m_nCancelAfter) Cancel();
    return count;
  }
  int WriteWithin(const void* buffer, int count, int milliseconds) override {
    m_nEndingMs = milliseconds;
    const int taken = std::min(count, m_nEndingRoom);
    m_sEnding.append(static_cast<const char*>(buffer), taken);
    return taken;
  }

  std::string m_sSent, m_sEnding;
  int m_nWrites = 0, m_nEndingMs = 0;

 private:
  int m_nCancelAfter, m_nFailAt, m_nEndingRoom;
};

// A job of many short paths, far longer than one 511-byte piece.
std::string WriteLongJob(CSendSession& session, const TempDir& dir) {
  std::string text = "IN;SP1;";
  for (int i = 0; i < 200; ++i) text += "PU" + std::to_string(i * 40) + ",0;PD" + std::to_string(i * 40) + ",4000;";
  CPlotJob job;
  job.LoadJob(dir.Write("long.plt", text + "SP0;").c_str());
  const std::string path = (dir.Path() / "cutcorldata.hb").string();
  EXPECT_EQ(session.WriteJobFile(job, path, {}), SEND_DONE);
  return TempDir::Read(path);
}

struct StopCase {
  const char* name;
  int model;
  int cancelAfter, failAt, endingRoom;
  SendOutcome outcome;
};

TEST(SendSessionRules, AStreamStoppedEarlyCompletesItsCommandThenSendsTheJobsEnding) {
  const StopCase cases[] = {
      {"cancel between commands", ROBIN_SERIES, 5, 0, 1 << 20, SEND_CANCELLED},
      {"cancel inside a command (511-byte pieces)", FINCH_SERIES, 2, 0, 1 << 20, SEND_CANCELLED},
      {"a failed write", ROBIN_SERIES, 0, 7, 1 << 20, SEND_WRITE_FAILED},
      {"a line that takes no ending", ROBIN_SERIES, 5, 0, 0, SEND_CANCELLED},
  };
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    CSendSession session;
    auto owned =
        std::make_unique<CRecordingCutter>(ModelTable[c.model].ProtocolNumber, c.cancelAfter, c.failAt, c.endingRoom);
    CRecordingCutter& cutter = *owned;
    ASSERT_EQ(session.Open(std::move(owned), ModelTable[c.model], "COM3", c.model == FINCH_SERIES ? "COM3" : ""),
              SEND_DONE);
    const std::string job = WriteLongJob(session, dir);
    ASSERT_GT(job.size(), 2000u);
    EXPECT_EQ(session.Stream([](int) {}), c.outcome);
    EXPECT_EQ(cutter.m_nEndingMs, ENDING_WRITE_MS);
    // What the cutter got before the stop, then the rest of that command, then the job's
    // last pen-up and terminator.
    const size_t sent = cutter.m_sSent.size();
    ASSERT_LT(sent, job.size());
    EXPECT_EQ(job.compare(0, sent, cutter.m_sSent), 0);
    // Commands end with ";" in HPGL and with a space in DM/PL, whose pen-up is "U".
    const bool whole = cutter.m_sSent.back() == ';' || cutter.m_sSent.back() == ' ';
    const size_t commandEnd = whole ? sent : job.find_first_of("; ", sent) + 1;
    const size_t lastPenUp = job.rfind("PU") != std::string::npos ? job.rfind("PU") : job.rfind(" U") + 1;
    const std::string ending = job.substr(lastPenUp);
    const std::string expected = job.substr(sent, commandEnd - sent) + ending;
    EXPECT_EQ(cutter.m_sEnding, expected.substr(0, std::min<size_t>(expected.size(), c.endingRoom)));
    EXPECT_EQ(session.JobEnded(), c.endingRoom > 0);
    EXPECT_EQ(session.BytesSent(), c.endingRoom > 0 ? commandEnd : sent);
  }
}

}  // namespace
