// The send session against a cutter on a real pseudo-terminal: the whole send, the
// driver's disposal, a cutter that goes away, and a cancel from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

#include "ModelTable.h"
#include "PseudoTerminal.h"
#include "SendSession.h"
#include "SeriesCutters.h"
#include "SessionJob.h"
#include "TempDir.h"

namespace {

const int ROBIN_SERIES = 5;
const int FINCH_SERIES = 4;
const int HERON_V88 = 2;

// True when nothing holds the device any more: another port can have it.
bool Free(const std::string& device) {
  CRS232 other;
  other.m_sDevice = device;
  return other.Open() == 1;
}

TEST(SendSessionOnPty, TheCutterReceivesTheJobFile) {
  TempDir dir;
  CPlotJob job;
  LoadSquare(job, dir);
  PseudoTerminal pty;
  const std::string jobFile = (dir.Path() / "cutcorldata.hb").string();
  std::vector<int> progress;
  {
    CSendSession session;
    ASSERT_EQ(session.Open(ModelTable[HERON_V88], pty.Path(), ""), SEND_DONE);
    EXPECT_EQ(session.Cutter()->IsOpen(), 1);
    EXPECT_EQ(session.Settings().baudRate, 9600);
    ASSERT_EQ(session.WriteJobFile(job, jobFile, {}), SEND_DONE);
    EXPECT_EQ(session.Stream([&](int percent) { progress.push_back(percent); }), SEND_DONE);
    EXPECT_FALSE(Free(pty.Path()));  // still open until the session disposes of it
  }
  const std::string sent = TempDir::Read(jobFile);
  EXPECT_EQ(sent.substr(0, 4), ";:H ");  // DM/PL, the driver's dialect
  EXPECT_EQ(pty.Receive(sent.size()), sent);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 100);
  EXPECT_TRUE(Free(pty.Path()));
}

TEST(SendSessionOnPty, TheCuttersOwnUsbSerialPortTakesBigPieces) {
  PseudoTerminal pty;
  CSendSession session;
  ASSERT_EQ(session.Open(ModelTable[FINCH_SERIES], pty.Path(), pty.Path()), SEND_DONE);
  EXPECT_EQ(session.Settings().mode, MODE_USB_SERIAL);
  EXPECT_EQ(session.Cutter()->m_nMode, MODE_USB_SERIAL);
}

TEST(SendSessionOnPty, OpeningAgainDisposesOfTheEarlierDriver) {
  PseudoTerminal first;
  PseudoTerminal second;
  CSendSession session;
  ASSERT_EQ(session.Open(ModelTable[ROBIN_SERIES], first.Path(), ""), SEND_DONE);
  ASSERT_EQ(session.Open(ModelTable[ROBIN_SERIES], second.Path(), ""), SEND_DONE);
  EXPECT_TRUE(Free(first.Path()));
  EXPECT_FALSE(Free(second.Path()));
  session.Dispose();
  EXPECT_TRUE(Free(second.Path()));
}

TEST(SendSessionOnPty, AFailedWriteKeepsTheSystemsReason) {
  TempDir dir;
  CPlotJob job;
  LoadSquare(job, dir);
  PseudoTerminal pty;
  CSendSession session;
  ASSERT_EQ(session.Open(ModelTable[ROBIN_SERIES], pty.Path(), ""), SEND_DONE);
  ASSERT_EQ(session.WriteJobFile(job, (dir.Path() / "cutcorldata.hb").string(), {}), SEND_DONE);
  pty.Hangup();
  EXPECT_EQ(session.Stream([](int) {}), SEND_WRITE_FAILED);
  errno = ENOENT;
  EXPECT_EQ(session.SystemError(), EIO);
}

// The dialog's way: the stream runs on a worker while the window's thread cancels it.
TEST(SendSessionOnPty, ACancelFromAnotherThreadEndsAWaitingStream) {
  TempDir dir;
  CPlotJob job;
  LoadSquare(job, dir);
  PseudoTerminal pty;
  CSendSession session;
  ASSERT_EQ(session.Open(ModelTable[HERON_V88], pty.Path(), ""), SEND_DONE);
  ASSERT_EQ(session.WriteJobFile(job, (dir.Path() / "cutcorldata.hb").string(), {}), SEND_DONE);
  std::atomic<int> queries{0};
  auto* serial = dynamic_cast<CSerialCutter*>(session.Cutter());
  ASSERT_NE(serial, nullptr);
  serial->m_rs232.SetModemStatusSource([&] {
    ++queries;
    return MODEM_CTS_OFF;  // the cutter never gets ready
  });
  std::atomic<int> progressCalls{0};
  SendOutcome outcome = SEND_DONE;
  std::thread worker([&] { outcome = session.Stream([&](int) { ++progressCalls; }); });
  while (queries < 3) std::this_thread::yield();
  session.Cancel();
  worker.join();
  EXPECT_EQ(outcome, SEND_CANCELLED);
  EXPECT_EQ(progressCalls, 0);
  EXPECT_EQ(session.SystemError(), 0);  // a cancel is no system failure
  EXPECT_EQ(pty.Arrived(), "");         // not a byte went out
  // A stream started after the cancel ends at once.
  EXPECT_EQ(session.Stream([](int) {}), SEND_CANCELLED);
}

}  // namespace
