// The send session against a cutter on a real pseudo-terminal: the whole send, the
// driver's disposal, a cutter that goes away, a cancel from another thread, and a jog,
// also on a line of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "PseudoTerminal.h"
#include "SessionJob.h"
#include "TempDir.h"
#include "cutter/JogLine.h"
#include "cutter/JogSession.h"
#include "cutter/ModelTable.h"
#include "cutter/SendSession.h"
#include "cutter/SeriesCutters.h"

namespace {

const int ROBIN_SERIES = 5;
const int FINCH_SERIES = 4;
const int HERON_V88 = 2;

// A loaded job, a cutter on a pseudo-terminal and a session to send it with.
class SendSessionOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadSquare(m_job, m_dir);
    ASSERT_TRUE(m_job.HasJob());
  }
  // Opens `model` on the pseudo-terminal and writes the job file, as a send does before
  // it streams.
  void OpenAndWrite(int model) {
    ASSERT_EQ(m_session.Open(ModelTable[model], m_pty.Path(), ""), SEND_DONE);
    ASSERT_EQ(m_session.WriteJobFile(m_job, JobFile(), {}), SEND_DONE);
  }
  std::string JobFile() const { return (m_dir.Path() / "cutcorldata.hb").string(); }

  TempDir m_dir;
  CPlotJob m_job;
  PseudoTerminal m_pty;
  CSendSession m_session;
};

TEST_F(SendSessionOnPty, TheCutterReceivesTheJobFile) {
  OpenAndWrite(HERON_V88);
  EXPECT_EQ(CSendSessionProbe::Cutter(m_session)->IsOpen(), 1);
  EXPECT_EQ(m_session.Settings().baudRate, 9600);
  std::vector<int> progress;
  EXPECT_EQ(m_session.Stream([&](int percent) { progress.push_back(percent); }), SEND_DONE);
  EXPECT_FALSE(NobodyHolds(m_pty.Path()));  // open until the session disposes of it
  m_session.Dispose();
  EXPECT_TRUE(NobodyHolds(m_pty.Path()));
  const std::string sent = TempDir::Read(JobFile());
  EXPECT_EQ(sent.substr(0, 4), ";:H ");  // DM/PL, the driver's dialect
  EXPECT_EQ(m_pty.Receive(sent.size()), sent);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 100);
}

TEST_F(SendSessionOnPty, TheCuttersOwnUsbSerialPortTakesBigPieces) {
  ASSERT_EQ(m_session.Open(ModelTable[FINCH_SERIES], m_pty.Path(), m_pty.Path()), SEND_DONE);
  EXPECT_EQ(m_session.Settings().mode, MODE_USB_SERIAL);
  EXPECT_EQ(CSendSessionProbe::Cutter(m_session)->m_nMode, MODE_USB_SERIAL);
}

TEST_F(SendSessionOnPty, OpeningAgainDisposesOfTheEarlierDriver) {
  PseudoTerminal second;
  ASSERT_EQ(m_session.Open(ModelTable[ROBIN_SERIES], m_pty.Path(), ""), SEND_DONE);
  ASSERT_EQ(m_session.Open(ModelTable[ROBIN_SERIES], second.Path(), ""), SEND_DONE);
  EXPECT_TRUE(NobodyHolds(m_pty.Path()));
  EXPECT_FALSE(NobodyHolds(second.Path()));
}

TEST_F(SendSessionOnPty, AFailedWriteKeepsTheSystemsReason) {
  OpenAndWrite(ROBIN_SERIES);
  m_pty.Hangup();
  EXPECT_EQ(m_session.Stream([](int) {}), SEND_WRITE_FAILED);
  errno = ENOENT;
  EXPECT_EQ(m_session.SystemError(), EIO);
}

// The dialog's way: the stream runs on a worker while the window's thread cancels it.
TEST_F(SendSessionOnPty, ACancelFromAnotherThreadEndsAWaitingStream) {
  OpenAndWrite(HERON_V88);
  std::atomic<int> queries{0};
  CRS232* port = m_session.SerialPort();
  ASSERT_NE(port, nullptr);
  port->SetModemStatusSource([&] {
    ++queries;
    return MODEM_CTS_OFF;  // the cutter never gets ready
  });
  std::atomic<int> progressCalls{0};
  SendOutcome outcome = SEND_DONE;
  std::thread worker([&] { outcome = m_session.Stream([&](int) { ++progressCalls; }); });
  while (queries < 3) std::this_thread::yield();
  m_session.Cancel();
  worker.join();
  EXPECT_EQ(outcome, SEND_CANCELLED);
  EXPECT_EQ(progressCalls, 0);
  EXPECT_EQ(m_session.SystemError(), 0);  // a cancel is no system failure
  EXPECT_EQ(m_pty.Arrived(), "");         // not a byte went out
  // A stream started after the cancel ends at once.
  EXPECT_EQ(m_session.Stream([](int) {}), SEND_CANCELLED);
}

// A cancel in the middle of a path: the cutter gets whole commands, then the job's own
// ending (its last pen-up and the terminator), so the blade is lifted and the job ends.
TEST_F(SendSessionOnPty, ACancelMidJobLiftsThePenAndEndsTheJob) {
  OpenAndWrite(ROBIN_SERIES);
  const std::string job = TempDir::Read(JobFile());
  const size_t lastPenUp = job.rfind("PU");
  ASSERT_NE(lastPenUp, std::string::npos);
  const std::string ending = job.substr(lastPenUp);
  ASSERT_EQ(ending.substr(ending.size() - 5), "SP0;@");  // HPGL's terminator after the pen-up
  int pieces = 0;
  EXPECT_EQ(m_session.Stream([&](int) {
    if (++pieces == 5) m_session.Cancel();
  }),
            SEND_CANCELLED);
  // Five commands went out whole: the header's and the first pen-down ones.
  size_t fifth = 0;
  for (int i = 0; i < 5; ++i) fifth = job.find(';', fifth) + 1;
  EXPECT_EQ(m_session.BytesSent(), fifth);
  EXPECT_EQ(m_session.JobSize(), job.size());
  EXPECT_TRUE(m_session.JobEnded());
  ASSERT_LT(fifth, lastPenUp);
  EXPECT_EQ(m_pty.Receive(fifth + ending.size()), job.substr(0, fifth) + ending);
}

// Catches a jog that goes round the session (its own driver, its own port) or that the
// session's stream holds back until a terminator: each press reaches the cutter at once.
TEST_F(SendSessionOnPty, AJogGoesOutPressByPress) {
  ASSERT_EQ(m_session.Open(ModelTable[ROBIN_SERIES], m_pty.Path(), ""), SEND_DONE);
  CJogSession jog(m_session, ModelTable[ROBIN_SERIES]);
  ASSERT_EQ(jog.Start(), SEND_DONE);
  const std::string header(StringsFor(DialectHpgl).header);
  EXPECT_EQ(m_pty.Receive(header.size() + 6), header + "PU0,0;");
  ASSERT_EQ(jog.Arrow(JOG_UP), SEND_DONE);
  EXPECT_EQ(m_pty.Receive(7), "PU40,0;");
  ASSERT_EQ(jog.End(), SEND_DONE);
  EXPECT_EQ(m_pty.Receive(5), "SP0;@");
}

// A jog on a line of its own, pressed from a window: each row's cutter troubles the line,
// and the presses must return at once and the end must not hang. Catches a press that
// waits for a cutter that never gets ready (CTS off), a finish that waits for it for good,
// a stop of our own told as a failure, and a failure (the cutter gone) that is lost or
// told more than once.
TEST_F(SendSessionOnPty, AJogLineNeverHoldsThePresses) {
  const struct {
    const char* trouble;
    bool hangUp;
    SendOutcome told;
  } rows[] = {{"never ready", false, SEND_DONE}, {"gone", true, SEND_WRITE_FAILED}};
  for (const auto& row : rows) {
    PseudoTerminal pty;
    CSendSession session;
    ASSERT_EQ(session.Open(ModelTable[HERON_V88], pty.Path(), ""), SEND_DONE);
    if (row.hangUp) {
      pty.Hangup();
    } else {
      session.SerialPort()->SetModemStatusSource([] { return MODEM_CTS_OFF; });
    }
    std::vector<SendOutcome> told;
    std::mutex toldLock;
    const auto start = std::chrono::steady_clock::now();
    {
      CJogLine line(session, [&](SendOutcome why) {
        const std::lock_guard<std::mutex> lock(toldLock);
        told.push_back(why);
      });
      CJogSession jog(DialectOfProtocol(ModelTable[HERON_V88].ProtocolNumber),
                      [&line](const std::string& part) { return line.Queue(part); });
      EXPECT_EQ(jog.Start(), SEND_DONE) << row.trouble;
      for (int press = 0; press < 3; ++press) jog.Arrow(JOG_UP);
      jog.End();
      // A failure is told while the line runs; one met while it finishes is not.
      for (int waited = 0; row.told != SEND_DONE && line.Failure() == SEND_DONE && waited < 2000; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      line.Finish(100);
      EXPECT_EQ(line.Queue("PU0,0;"), row.told) << row.trouble;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << row.trouble;
    EXPECT_EQ(told, row.told == SEND_DONE ? std::vector<SendOutcome>{} : std::vector<SendOutcome>{row.told})
        << row.trouble;
    if (!row.hangUp) {
      EXPECT_EQ(pty.Arrived(), "") << row.trouble;
    }
  }
}

}  // namespace
