// The jog's parts (CJogSession) sent to the cutter on a thread of their own, in the order
// they are given, so that a cutter holding the line back never stops the window that jogs
// it: a press queues its part and returns at once. The first part that does not go out
// whole ends the line; it is told through `failed`, on the line's thread, and the parts
// after it are dropped.
//
//   CJogLine line(session, [window](SendOutcome why) { PostMessage(window, ...); });
//   CJogSession jog(dialect, [&line](const std::string& part) { return line.Queue(part); });
//   jog.Start(); jog.Arrow(JOG_UP); jog.End();
//   line.Finish();  // the parts out, or stopped after a grace: never a hang
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "cutter/SendOutcome.h"

class CSendSession;

// How long Finish lets the parts queued go out, and then how long a cancelled part may
// take to send its command and end, before the write is aborted: together well within a
// second, so that closing the window stops the head at once.
const int JOG_LINE_GRACE_MS = 300;

class CJogLine {
 public:
  // Sends through `session`, opened on the cutter, which must outlive the line.
  CJogLine(CSendSession& session, std::function<void(SendOutcome)> failed);
  CJogLine(const CJogLine&) = delete;
  CJogLine& operator=(const CJogLine&) = delete;
  ~CJogLine() { Finish(); }

  // Queues `part`: SEND_DONE, or the failure that ended the line.
  SendOutcome Queue(const std::string& part);
  // The failure that ended the line; SEND_DONE while it runs or once it finished well.
  SendOutcome Failure();
  // Lets the parts queued go out, for `graceMs` at most; a part still held back then is
  // cancelled, and one held back `graceMs` longer has its write aborted (the session's
  // Cancel and Abort). The thread has ended on return; a stop here is no failure.
  void Finish(int graceMs = JOG_LINE_GRACE_MS);

 private:
  void Run();

  CSendSession& m_session;
  std::function<void(SendOutcome)> m_failed;
  std::mutex m_mutex;
  std::condition_variable m_changed;  // a part queued, the finish asked for, or the line ended
  std::deque<std::string> m_parts;
  bool m_bFinishing = false;
  bool m_bEnded = false;
  SendOutcome m_failure = SEND_DONE;
  std::thread m_thread;
};
