// The USB sender's rules without the library: the statuses it reports and what the main
// window makes of them, its pieces and ready polls, and where it stops.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "cutter/UsbSendJob.h"
#include "cutter/UsbSendStatus.h"

namespace {

TEST(UsbProgressStatus, IsTruncatedTowardZero) {
  EXPECT_EQ(UsbProgressStatus(4096, 10000), 40);
  EXPECT_EQ(UsbProgressStatus(8192, 10000), 81);
  EXPECT_EQ(UsbProgressStatus(10000, 10000), 100);
  EXPECT_EQ(UsbProgressStatus(2, 3), 66);
  EXPECT_EQ(UsbProgressStatus(511, 1022), 50);
  EXPECT_EQ(UsbProgressStatus(0, 0), 100);
  EXPECT_EQ(UsbProgressStatus(4294967294u, 4294967295u), 99);
}

TEST(UsbStatusMessage, EachErrorHasTheMainWindowsText) {
  EXPECT_STREQ(UsbStatusMessage(USB_ERROR_FILE_PATH), "ERROR_FILE_PATH!");
  EXPECT_STREQ(UsbStatusMessage(USB_ERROR_NO_LIBRARY), "ERROR_NO_OPEN_VORNLIB_DLL!");
  EXPECT_STREQ(UsbStatusMessage(USB_ERROR_OPEN_DEVICE), "Connect to Cutter fail!");
  EXPECT_STREQ(UsbStatusMessage(USB_ERROR_OPEN_DATA_FILE), "ERROR_OPEN_DATA_FILE!");
  EXPECT_STREQ(UsbStatusMessage(USB_ERROR_WRITE_DATA), "ERROR_WRITE_USB_DATA!");
  EXPECT_STREQ(UsbStatusMessage(USB_ERROR_READ_OVERTIME), "ERROR_READ_USB_OVERTIME!");
  EXPECT_STREQ(UsbStatusMessage(USB_ERROR_MISSING_ENTRY), "Connect to Cutter fail!");
  for (int status : {-8, 0, 1, 100, 101, INT_MIN, INT_MAX}) EXPECT_EQ(UsbStatusMessage(status), nullptr) << status;
}

TEST(ParseUsbStatus, TakesTheLeadingDecimalNumber) {
  const auto parse = [](const std::string& text) { return ParseUsbStatus(text.data(), text.size()); };
  EXPECT_EQ(parse(std::string("40", 3)), 40);
  EXPECT_EQ(parse("-5"), -5);
  EXPECT_EQ(parse(" \t+7x"), 7);
  EXPECT_EQ(parse("100%"), 100);
  EXPECT_EQ(parse(""), 0);
  EXPECT_EQ(parse("abc"), 0);
  EXPECT_EQ(parse("-"), 0);
  EXPECT_EQ(parse("99999999999999999999"), INT_MAX);
  EXPECT_EQ(parse("-99999999999999999999"), INT_MIN);
  EXPECT_EQ(parse("-2147483648"), INT_MIN);
}

TEST(ParseUsbStatus, ReadsNoFurtherThanThePayload) {
  // A payload without its terminating zero: the digits after the size are not the sender's.
  const char text[] = {'8', '1', '5', '5'};
  EXPECT_EQ(ParseUsbStatus(text, 2), 81);
  EXPECT_EQ(ParseUsbStatus(text, 0), 0);
  EXPECT_EQ(ParseUsbStatus(nullptr, 0), 0);
}

TEST(UsbStatusEffect, ProgressMovesTheBarUntil100EndsTheSend) {
  const auto zero = UsbStatusEffectOf(0);
  EXPECT_EQ(zero.m_nProgress, 0);
  EXPECT_FALSE(zero.m_bEndsSend);
  EXPECT_EQ(zero.m_pMessage, nullptr);
  const auto done = UsbStatusEffectOf(100);
  EXPECT_EQ(done.m_nProgress, 100);
  EXPECT_TRUE(done.m_bEndsSend);
  EXPECT_FALSE(done.m_bFailed);
  const auto beyond = UsbStatusEffectOf(250);
  EXPECT_EQ(beyond.m_nProgress, 100);
  EXPECT_TRUE(beyond.m_bEndsSend);
  EXPECT_FALSE(beyond.m_bFailed);
}

// An error ends the send as a failure, so no "Send finished!" follows its message.
TEST(UsbStatusEffect, AnErrorEndsTheSendAsAFailure) {
  for (int status = -7; status <= -1; ++status) {
    const auto effect = UsbStatusEffectOf(status);
    EXPECT_STREQ(effect.m_pMessage, UsbStatusMessage(status));
    EXPECT_EQ(effect.m_nProgress, -1);
    EXPECT_TRUE(effect.m_bEndsSend);
    EXPECT_TRUE(effect.m_bFailed);
  }
  const auto unknown = UsbStatusEffectOf(-8);
  EXPECT_EQ(unknown.m_pMessage, nullptr);
  EXPECT_TRUE(unknown.m_bEndsSend);
  EXPECT_TRUE(unknown.m_bFailed);
}

TEST(JobPathFromTail, TakesTheWholeTailUpTo259Bytes) {
  std::string path;
  EXPECT_EQ(JobPathFromTail("C:\\Users\\Jo Doe\\Temp\\cutcorldata.hb", path), 0);
  EXPECT_EQ(path, "C:\\Users\\Jo Doe\\Temp\\cutcorldata.hb");
  EXPECT_EQ(JobPathFromTail("\"quoted\" ", path), 0);
  EXPECT_EQ(path, "\"quoted\" ");
  const std::string longest(259, 'p');
  EXPECT_EQ(JobPathFromTail(longest.c_str(), path), 0);
  EXPECT_EQ(path, longest);
}

TEST(JobPathFromTail, AnEmptyOrTooLongTailIsAPathError) {
  std::string path = "kept";
  EXPECT_EQ(JobPathFromTail("", path), USB_ERROR_FILE_PATH);
  EXPECT_EQ(JobPathFromTail(std::string(260, 'p').c_str(), path), USB_ERROR_FILE_PATH);
  EXPECT_EQ(JobPathFromTail(std::string(5000, 'p').c_str(), path), USB_ERROR_FILE_PATH);
  EXPECT_EQ(path, "kept");
}

// The library as a cutter on the USB link: answers "E" on a given poll of each piece,
// takes or refuses each write, and keeps the order of the calls.
class CFakeLink : public CUsbLink {
 public:
  int OpenUSBDevice(int) override { return 1; }
  void CloseUSBDevice(int) override { m_calls.push_back("close"); }
  int ReadData(void* buffer, int count) override {
    EXPECT_EQ(count, 1);
    ++m_nPolls;
    if (m_nReadyAt == 0 || m_nPolls < m_nReadyAt) {
      *static_cast<char*>(buffer) = m_nPolls % 2 ? 'e' : 'E';  // a wrong byte, or an E without its 1
      return m_nPolls % 2 ? 1 : 0;
    }
    *static_cast<char*>(buffer) = 'E';
    return 1;
  }
  int WriteData(const void* buffer, int count) override {
    m_calls.push_back("write " + std::to_string(count) + " after " + std::to_string(m_nPolls));
    m_nPolls = 0;
    if (static_cast<int>(m_pieces.size()) == m_nFailAt) return 0;
    m_pieces.emplace_back(static_cast<const char*>(buffer), count);
    return 1;
  }
  int m_nReadyAt = 1;  // 0: never
  int m_nFailAt = -1;
  int m_nPolls = 0;
  std::vector<std::string> m_calls;
  std::vector<std::string> m_pieces;
};

struct Sent {
  int m_nResult;
  std::vector<int> m_statuses;
};

Sent Send(const std::string& job, CFakeLink& link, const UsbStopCheck& stopped = nullptr) {
  Sent sent;
  sent.m_nResult = SendUsbJob(
      job.data(), static_cast<uint32_t>(job.size()), link, [&](int status) { sent.m_statuses.push_back(status); },
      stopped);
  return sent;
}

std::string Job(size_t size) {
  std::string job(size, '\0');
  for (size_t i = 0; i < size; ++i) job[i] = static_cast<char>(i * 7 % 251);
  return job;
}

TEST(SendUsbJob, SendsPiecesOf4096WithAReportAfterEach) {
  CFakeLink link;
  const std::string job = Job(10000);
  const Sent sent = Send(job, link);
  EXPECT_EQ(sent.m_nResult, USB_SEND_COMPLETE);
  EXPECT_EQ(sent.m_statuses, (std::vector<int>{40, 81, 100}));
  ASSERT_EQ(link.m_pieces.size(), 3u);
  EXPECT_EQ(link.m_pieces[0], job.substr(0, 4096));
  EXPECT_EQ(link.m_pieces[1], job.substr(4096, 4096));
  EXPECT_EQ(link.m_pieces[2], job.substr(8192));
  EXPECT_EQ(link.m_pieces[2].size(), 1808u);
}

TEST(SendUsbJob, OnePieceOrNone) {
  CFakeLink exact;
  EXPECT_EQ(Send(Job(4096), exact).m_statuses, std::vector<int>{100});
  EXPECT_EQ(exact.m_pieces.size(), 1u);
  CFakeLink small;
  EXPECT_EQ(Send("IN;", small).m_statuses, std::vector<int>{100});
  EXPECT_EQ(small.m_pieces, std::vector<std::string>{"IN;"});
  // An empty job still tells the main window that the send is over.
  CFakeLink empty;
  const Sent sent = Send("", empty);
  EXPECT_EQ(sent.m_nResult, USB_SEND_COMPLETE);
  EXPECT_EQ(sent.m_statuses, std::vector<int>{100});
  EXPECT_TRUE(empty.m_calls.empty());
}

TEST(SendUsbJob, OnlyAReadOfOneBringingEIsReady) {
  CFakeLink link;
  link.m_nReadyAt = 7;
  Send(Job(5000), link);
  EXPECT_EQ(link.m_calls, (std::vector<std::string>{"write 4096 after 7", "write 904 after 7"}));
}

TEST(SendUsbJob, TheReadyByteOnTheLastPollStillCounts) {
  CFakeLink link;
  link.m_nReadyAt = USB_READY_POLLS;
  const Sent sent = Send(Job(100), link);
  EXPECT_EQ(sent.m_statuses, std::vector<int>{100});
  EXPECT_EQ(link.m_calls, std::vector<std::string>{"write 100 after 20000"});
}

TEST(SendUsbJob, ASilentCutterStopsTheSendAfter20000Polls) {
  CFakeLink link;
  link.m_nReadyAt = USB_READY_POLLS + 1;
  const Sent sent = Send(Job(10000), link);
  EXPECT_EQ(sent.m_nResult, USB_ERROR_READ_OVERTIME);
  EXPECT_EQ(sent.m_statuses, std::vector<int>{USB_ERROR_READ_OVERTIME});
  EXPECT_EQ(link.m_nPolls, USB_READY_POLLS);
  // Nothing written, and the device is left for the caller to close.
  EXPECT_TRUE(link.m_calls.empty());
}

// A piece the cutter refused is never followed by the next: no job with a hole in it.
TEST(SendUsbJob, StopsAtTheFirstFailedWrite) {
  CFakeLink link;
  link.m_nFailAt = 1;
  const std::string job = Job(10000);
  const Sent sent = Send(job, link);
  EXPECT_EQ(sent.m_nResult, USB_ERROR_WRITE_DATA);
  EXPECT_EQ(sent.m_statuses, (std::vector<int>{40, USB_ERROR_WRITE_DATA}));
  EXPECT_EQ(link.m_pieces, std::vector<std::string>{job.substr(0, 4096)});
  EXPECT_EQ(link.m_calls.size(), 2u);
}

// A job file in the USB models' dialect: the header (97 bytes), 1000 pen-downs of 12 bytes,
// the final pen-up and the terminator; 12108 bytes in all.
std::string HpglJob() {
  std::string job = "IN;SP1;";
  for (int i = 0; i < 15; ++i) job += "PU0,0;";
  for (int i = 0; i < 1000; ++i) job += "PD1000,2000;";
  return job + "PU0,0;SP0;@";
}

// The first piece ends 3 bytes into a pen-down (4096 = 97 + 333 x 12 + 3). A stop while the
// second piece waits for its ready byte ends the wait at the next look; the cutter then
// gets the rest of that pen-down and the job's ending, each after its ready byte, and the
// main window hears nothing more.
TEST(SendUsbJob, AStopInAReadyWaitSendsTheCommandInFlightAndTheEnding) {
  CFakeLink link;
  link.m_nReadyAt = 200;
  const std::string job = HpglJob();
  const Sent sent = Send(job, link, [&] { return link.m_pieces.size() == 1 && link.m_nPolls >= 100; });
  EXPECT_EQ(sent.m_nResult, USB_SEND_STOPPED);
  EXPECT_EQ(sent.m_statuses, std::vector<int>{33});
  EXPECT_EQ(link.m_pieces, (std::vector<std::string>{job.substr(0, 4096), "000,2000;PU0,0;SP0;@"}));
  EXPECT_EQ(link.m_calls, (std::vector<std::string>{"write 4096 after 200", "write 20 after 200"}));
}

// A cutter that has nothing of the job needs no ending.
TEST(SendUsbJob, AStopBeforeTheFirstPieceSendsNothing) {
  CFakeLink link;
  const Sent sent = Send("IN;SP0;@", link, [] { return true; });
  EXPECT_EQ(sent.m_nResult, USB_SEND_STOPPED);
  EXPECT_TRUE(sent.m_statuses.empty());
  EXPECT_TRUE(link.m_calls.empty());
  EXPECT_EQ(link.m_nPolls, 0);
}

}  // namespace
