// Ctrl-C during a send: the first cancels the session's stream, which then stops before its
// next piece or inside a write the line holds back, lifts the pen and ends the job; a
// second one ends the program at once, as the system's own action does.
//
//   {
//     CInterruptGuard guard(session);  // for as long as the stream runs
//     outcome = session.Stream(progress);
//   }
#pragma once

#include "cutter/SendSession.h"

class CInterruptGuard {
 public:
  explicit CInterruptGuard(CSendSession& session);
  // Restores the handling there was before.
  ~CInterruptGuard();
  CInterruptGuard(const CInterruptGuard&) = delete;
  CInterruptGuard& operator=(const CInterruptGuard&) = delete;

 private:
  void (*m_pPrevious)(int);
};
