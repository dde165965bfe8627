// The serial port and the serial drivers on a real pseudo-terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <termios.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "PseudoTerminal.h"
#include "Unprivileged.h"
#include "base/SystemError.h"
#include "cutter/JobStream.h"
#include "cutter/RS232.h"
#include "cutter/SeriesCutters.h"

namespace {

TEST(RS232OnPty, OpensWithTheLineSettings) {
  PseudoTerminal pty;
  ASSERT_FALSE(pty.Path().empty());
  CRS232 port;
  port.m_sDevice = pty.Path();
  port.m_nBaudRate = 9600;
  ASSERT_EQ(port.Open(), 1);
  EXPECT_EQ(port.m_bOpen, 1);
  // Both ends of a pseudo-terminal share one set of line settings.
  termios tio;
  ASSERT_EQ(tcgetattr(pty.Master(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B9600));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_NE(tio.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);  // raw: no line-end translation
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
}

// A pseudo-terminal keeps the stop bits (it refuses parity, which a real port takes).
TEST(RS232OnPty, StopBitsReachTheLine) {
  PseudoTerminal pty;
  CRS232 port;
  port.m_sDevice = pty.Path();
  port.m_fStopBits = 2.0f;
  ASSERT_EQ(port.Open(), 1);
  termios tio;
  ASSERT_EQ(tcgetattr(pty.Master(), &tio), 0);
  EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
  // 1.25 passes the checks and leaves the stop bits as they were.
  port.Close();
  port.m_fStopBits = 1.25f;
  ASSERT_EQ(port.Open(), 1);
  ASSERT_EQ(tcgetattr(pty.Master(), &tio), 0);
  EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
}

TEST(RS232OnPty, BytesArriveUnchangedBothWays) {
  PseudoTerminal pty;
  CRS232 port;
  port.m_sDevice = pty.Path();
  ASSERT_EQ(port.Open(), 1);
  const std::string job("IN;SP1;\r\n\0\xff\x11\x13@ ", 16);
  EXPECT_EQ(port.Write(job.data(), static_cast<int>(job.size())), static_cast<int>(job.size()));
  EXPECT_EQ(pty.Receive(job.size()), job);
  EXPECT_EQ(port.Write(job.data(), 0), 0);

  const std::string reply("E\r\n", 3);
  ASSERT_EQ(write(pty.Master(), reply.data(), reply.size()), 3);
  char buffer[8] = {};
  EXPECT_EQ(port.Read(buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), reply);
}

// A cutter that stops reading: the bounded write takes what the line has room for and
// returns, where a plain write would wait for ever; what it wrote arrives whole.
TEST(RS232OnPty, ABoundedWriteGivesUpOnALineThatTakesNothing) {
  PseudoTerminal pty;
  CRS232 port;
  port.m_sDevice = pty.Path();
  ASSERT_EQ(port.Open(), 1);
  const std::string job(4 << 20, 'x');  // far more than any terminal buffers
  const int taken = port.WriteWithin(job.data(), static_cast<int>(job.size()), 100);
  EXPECT_GT(taken, 0);
  EXPECT_LT(taken, static_cast<int>(job.size()));
  EXPECT_EQ(port.WriteWithin("SP0;@", 5, 50), 0);  // the line is full
  EXPECT_EQ(port.WriteWithin(nullptr, 5, 50), 0);
  EXPECT_EQ(pty.Receive(taken), job.substr(0, taken));
  EXPECT_EQ(port.WriteWithin("SP0;@", 5, 1000), 5);  // read, the line takes it again
  EXPECT_EQ(pty.Receive(5), "SP0;@");
}

// The same line under a plain write: the send's cancel ends it (Ctrl-C), with the bytes the
// line took so far, which arrive whole.
TEST(RS232OnPty, ACancelEndsAWriteTheLineHoldsBack) {
  PseudoTerminal pty;
  CRS232 port;
  std::atomic<bool> cancel{false};
  port.m_pCancel = &cancel;
  port.m_sDevice = pty.Path();
  ASSERT_EQ(port.Open(), 1);
  const std::string job(4 << 20, 'x');
  int taken = -2;
  std::thread writer([&] { taken = port.Write(job.data(), static_cast<int>(job.size())); });
  // Held back once the terminal's buffer is full; then stopped.
  while (pty.Arrived().empty()) std::this_thread::yield();
  cancel = true;
  writer.join();
  EXPECT_GT(taken, 0);
  EXPECT_LT(taken, static_cast<int>(job.size()));
  EXPECT_EQ(port.LastError(), 0);
}

TEST(RS232OnPty, EchoModeSendsEveryByteBack) {
  PseudoTerminal pty;
  CRS232 port;
  port.m_sDevice = pty.Path();
  port.m_bEcho = true;
  ASSERT_EQ(port.Open(), 1);
  ASSERT_EQ(write(pty.Master(), "ab", 2), 2);
  char buffer[2];
  EXPECT_EQ(port.Read(buffer, 2), 2);
  EXPECT_EQ(pty.Receive(2), "ab");
}

TEST(RS232OnPty, APortOpenElsewhereFailsToOpen) {
  PseudoTerminal pty;
  CRS232 first;
  first.m_sDevice = pty.Path();
  ASSERT_EQ(first.Open(), 1);
  CRS232 second;
  second.m_sDevice = pty.Path();
  EXPECT_EQ(second.Open(), 0);
  EXPECT_EQ(second.m_bOpen, 0);
  first.Close();
  EXPECT_EQ(first.m_bOpen, 0);
  EXPECT_EQ(second.Open(), 1);
}

TEST(RS232OnPty, TheDestructorClosesThePort) {
  PseudoTerminal pty;
  {
    CRS232 port;
    port.m_sDevice = pty.Path();
    ASSERT_EQ(port.Open(), 1);
  }
  EXPECT_TRUE(NobodyHolds(pty.Path()));
}

// Opening a port object again, on another device, must not leave the first device held
// by a handle nobody can close any more.
TEST(RS232OnPty, OpeningAgainClosesTheEarlierHandle) {
  PseudoTerminal first;
  PseudoTerminal second;
  CRS232 port;
  port.m_sDevice = first.Path();
  ASSERT_EQ(port.Open(), 1);
  port.m_sDevice = second.Path();
  ASSERT_EQ(port.Open(), 1);
  EXPECT_TRUE(NobodyHolds(first.Path()));
}

// The exclusive mark belongs to the terminal and outlives the descriptor that set it: a
// port that did not lift it on close would keep every other program (but root) out while
// anyone still holds the terminal, here the test's own serial end.
TEST(RS232OnPty, ClosingLiftsTheExclusiveMark) {
  PseudoTerminal pty;
  ASSERT_EQ(chmod(pty.Path().c_str(), 0666), 0);
  const std::string path = pty.Path();
  const int result = RunUnprivileged([&path] {
    CRS232 port;
    port.m_sDevice = path;
    if (port.Open() != 1) return 1;
    const int whileOpen = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (whileOpen >= 0 || errno != EBUSY) return 2;  // exclusive while it is open
    port.Close();
    const int afterClose = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (afterClose < 0) return 3;
    close(afterClose);
    return 0;
  });
  if (result == -1) GTEST_SKIP() << "cannot switch to an unprivileged user";
  EXPECT_EQ(result, 0);
}

// Each failure keeps the reason of the call that failed, whatever the system says later.
TEST(RS232OnPty, FailuresKeepTheSystemsReason) {
  CRS232 missing;
  missing.m_sDevice = "/dev/no-such-serial-device";
  EXPECT_EQ(missing.Open(), 0);
  EXPECT_EQ(missing.LastError(), ENOENT);

  PseudoTerminal pty;
  CRS232 first;
  first.m_sDevice = pty.Path();
  ASSERT_EQ(first.Open(), 1);
  EXPECT_EQ(first.LastError(), 0);
  CRS232 second;
  second.m_sDevice = pty.Path();
  EXPECT_EQ(second.Open(), 0);
  EXPECT_EQ(second.LastError(), EBUSY);
  EXPECT_EQ(SystemErrorText(second.LastError()), "Device or resource busy");

  pty.Hangup();
  EXPECT_EQ(first.Write("PU;", 3), -1);
  errno = ENOENT;  // a later failure elsewhere changes nothing
  EXPECT_EQ(first.LastError(), EIO);
  first.Close();
  EXPECT_EQ(first.Write("PU;", 3), -1);
  EXPECT_EQ(first.LastError(), 0);  // no port: no system call failed
}

// Each serial driver opens, writes (a pseudo-terminal cannot report CTS, so the wait
// proceeds at once) and closes in each mode it serves.
TEST(SerialCuttersOnPty, OpenWriteClosePerMode) {
  struct Case {
    int protocol;
    int mode;
    int baud;
  };
  const Case cases[] = {{1, MODE_USB_SERIAL, 38400}, {1, MODE_SERIAL, 38400},     {2, MODE_SERIAL, 9600},
                        {3, MODE_SERIAL, 38400},     {4, MODE_USB_SERIAL, 38400}, {4, MODE_SERIAL, 38400}};
  for (const Case& c : cases) {
    PseudoTerminal pty;
    std::unique_ptr<CCutter> cutter(CreateCutter(c.protocol));
    cutter->m_sDevice = pty.Path();
    ASSERT_EQ(cutter->Open(c.mode, 0, c.baud), 1) << c.protocol << "/" << c.mode;
    EXPECT_EQ(cutter->IsOpen(), 1);
    EXPECT_EQ(cutter->m_nMode, c.mode);
    EXPECT_EQ(cutter->m_nBaudRate, c.baud);
    termios tio;
    ASSERT_EQ(tcgetattr(pty.Master(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(c.baud == 9600 ? B9600 : B38400));
    EXPECT_EQ(cutter->Write("PU0,0;", 6, 1), 6);
    EXPECT_EQ(pty.Receive(6), "PU0,0;");
    EXPECT_EQ(cutter->Close(), 0);
    EXPECT_EQ(cutter->IsOpen(), 0);
    EXPECT_EQ(cutter->Write("PU0,0;", 6, 0), -1);  // closed: the write fails
  }
}

TEST(SerialCuttersOnPty, AStreamedJobArrivesWhole) {
  PseudoTerminal pty;
  CGannetSeriesCutter gannet;
  gannet.m_sDevice = pty.Path();
  ASSERT_EQ(gannet.Open(MODE_SERIAL, 0, 9600), 1);
  const std::string job = ";:H A L0 ECN U U0,0 D0,4000 U0,0 @ ";
  int last = -1;
  EXPECT_EQ(StreamJob(job.data(), job.size(), MODE_SERIAL, gannet, [&](int percent) { last = percent; }), SEND_DONE);
  EXPECT_EQ(last, 100);
  EXPECT_EQ(pty.Receive(job.size()), job);
}

}  // namespace
