// Waiting for a condition that the system only answers when asked (a modem line, a
// ready byte): ask, and sleep a little between questions so the wait costs almost no
// processor time.
#pragma once

#include <atomic>
#include <functional>

// Calls `ready` until it returns true, sleeping between calls (1 ms at first, growing to
// 8 ms). Returns true once ready, false when `cancel` has been set before that.
bool PollUntil(const std::function<bool()>& ready, const std::atomic<bool>& cancel);
