#include "cutter/PollWait.h"

#include <algorithm>
#include <chrono>
#include <thread>

bool PollUntil(const std::function<bool()>& ready, const std::atomic<bool>& cancel) {
  // The pause grows so a long wait (a cutter busy cutting) wakes rarely, while a short one
  // still ends within a few milliseconds.
  const std::chrono::milliseconds longest(8);
  std::chrono::milliseconds pause(1);
  for (;;) {
    if (ready()) return true;
    if (cancel.load()) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, longest);
  }
}
