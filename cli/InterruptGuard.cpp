#include "cli/InterruptGuard.h"

#include <csignal>

namespace {

// The session a Ctrl-C cancels; the handler only sets the session's atomic flag.
CSendSession* volatile g_pInterrupted = nullptr;

extern "C" void CancelOnInterrupt(int) {
  // The next Ctrl-C takes the system's action: a cutter that takes not even the job's
  // ending must not keep the user waiting.
  std::signal(SIGINT, SIG_DFL);
  if (g_pInterrupted) g_pInterrupted->Cancel();
}

}  // namespace

CInterruptGuard::CInterruptGuard(CSendSession& session) {
  g_pInterrupted = &session;
  m_pPrevious = std::signal(SIGINT, CancelOnInterrupt);
}

CInterruptGuard::~CInterruptGuard() {
  std::signal(SIGINT, m_pPrevious);
  g_pInterrupted = nullptr;
}
