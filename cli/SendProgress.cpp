#include "cli/SendProgress.h"

#include <algorithm>
#include <cstdio>

#include "cli/ProgressLine.h"
#include "cli/Terminal.h"

namespace {

// How often the watching thread looks at the bytes sent.
const std::chrono::milliseconds WATCH_INTERVAL(500);

}  // namespace

CSendProgress::CSendProgress(const CSendSession& session) : m_session(session), m_watch([this] { Watch(); }) {}

CSendProgress::~CSendProgress() {
  {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_bStopping = true;
  }
  m_wake.notify_all();
  m_watch.join();
}

double CSendProgress::Now() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

void CSendProgress::Update(int percent) {
  const double now = Now();
  const uint64_t sent = m_session.BytesSent();
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_rate.Add(now, sent);
  if (sent != m_nSent) {
    m_nSent = sent;
    m_fSentAt = now;
  }
  if (percent < 100 && m_bDrawn && now - m_fDrawnAt < REDRAW_SECONDS) return;
  m_fDrawnAt = now;
  Draw(ProgressLine(TerminalColumns(stderr), sent, m_session.JobSize(), m_rate.SecondsLeft(m_session.JobSize())),
       percent >= 100);
}

void CSendProgress::Draw(std::string line, bool last) {
  if (m_bEnded) return;
  m_bDrawn = true;
  m_bEnded = last;
  // Spaces over what is left of a longer line before, within the width.
  const size_t cover = std::min(m_nLength, static_cast<size_t>(std::max(TerminalColumns(stderr) - 1, 0)));
  m_nLength = line.size();
  if (line.size() < cover) line.append(cover - line.size(), ' ');
  fprintf(stderr, "\r%s%s", line.c_str(), last ? "\n" : "");
  fflush(stderr);
}

void CSendProgress::Watch() {
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_wake.wait_for(lock, WATCH_INTERVAL, [this] { return m_bStopping; })) {
    const double idle = Now() - m_fSentAt;
    if (idle >= STALL_SECONDS) Draw(StalledLine(TerminalColumns(stderr), static_cast<int>(idle)), false);
  }
}
