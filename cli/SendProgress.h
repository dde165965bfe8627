// The progress line of a send on a terminal, drawn on stderr at the terminal's width of the
// moment: at most ten times a second, once more at the end, and, while the cutter takes
// nothing for STALL_SECONDS or more, a line that says so in its place, so that a paused or
// off-line cutter does not look like a send that hangs.
//
//   CSendProgress progress(session);   // just before the stream starts
//   session.Stream([&](int percent) { progress.Update(percent); });
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "cli/TransferRate.h"
#include "cutter/SendSession.h"

// How long the cutter may take nothing before the user is told.
const int STALL_SECONDS = 10;

class CSendProgress {
 public:
  // Starts watching for a cutter that takes nothing.
  explicit CSendProgress(const CSendSession& session);
  // Stops watching.
  ~CSendProgress();
  CSendProgress(const CSendProgress&) = delete;
  CSendProgress& operator=(const CSendProgress&) = delete;

  // Called after every piece, on the streaming thread: measures the rate and draws the
  // line when it is time.
  void Update(int percent);

 private:
  double Now() const;
  // Draws `line` over the last one, ending it when `last`; with m_mutex held.
  void Draw(std::string line, bool last);
  // The watching thread: every half second, the stalled line once the bytes sent have not
  // changed for STALL_SECONDS.
  void Watch();

  static constexpr double REDRAW_SECONDS = 0.1;
  const CSendSession& m_session;
  const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
  CTransferRate m_rate;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_bStopping = false;
  bool m_bDrawn = false;
  double m_fDrawnAt = 0;
  size_t m_nLength = 0;
  uint64_t m_nSent = 0;
  double m_fSentAt = 0;  // when m_nSent last changed
  bool m_bEnded = false;
  std::thread m_watch;
};
