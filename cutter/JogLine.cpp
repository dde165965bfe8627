#include "cutter/JogLine.h"

#include <chrono>

#include "cutter/SendSession.h"

CJogLine::CJogLine(CSendSession& session, std::function<void(SendOutcome)> failed)
    : m_session(session), m_failed(std::move(failed)), m_thread(&CJogLine::Run, this) {}

SendOutcome CJogLine::Queue(const std::string& part) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  if (m_failure != SEND_DONE || m_bEnded) return m_failure;
  m_parts.push_back(part);
  m_changed.notify_all();
  return SEND_DONE;
}

SendOutcome CJogLine::Failure() {
  const std::lock_guard<std::mutex> lock(m_mutex);
  return m_failure;
}

void CJogLine::Run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return !m_parts.empty() || m_bFinishing; });
    if (m_parts.empty()) break;
    const std::string part = std::move(m_parts.front());
    m_parts.pop_front();
    lock.unlock();
    const SendOutcome sent = m_session.StreamBytes(part, [](int) {});
    lock.lock();
    if (sent == SEND_DONE) continue;
    m_parts.clear();
    if (!m_bFinishing) {
      m_failure = sent;
      lock.unlock();
      m_failed(sent);
      lock.lock();
    }
    break;
  }
  m_bEnded = true;
  m_changed.notify_all();
}

void CJogLine::Finish(int graceMs) {
  if (!m_thread.joinable()) return;
  std::unique_lock<std::mutex> lock(m_mutex);
  m_bFinishing = true;
  m_changed.notify_all();
  const auto ended = [this] { return m_bEnded; };
  if (!m_changed.wait_for(lock, std::chrono::milliseconds(graceMs), ended)) {
    m_session.Cancel();
    if (!m_changed.wait_for(lock, std::chrono::milliseconds(graceMs), ended)) m_session.Abort();
  }
  lock.unlock();
  m_thread.join();
}
