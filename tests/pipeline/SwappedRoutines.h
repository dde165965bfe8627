// Pipeline routine tables for tests that make memory or files fail. The table in use
// before is put back when the swap ends.
#pragma once

#include <cstdlib>

#include "pipeline/PipelineRoutines.h"

struct SwappedRoutines {
  SwappedRoutines() = default;
  SwappedRoutines(const SwappedRoutines&) = delete;
  SwappedRoutines& operator=(const SwappedRoutines&) = delete;
  ~SwappedRoutines() { g_routines = m_saved; }

 private:
  PipelineRoutines m_saved = g_routines;
};

// Counts allocations and the blocks still held; fails the allocation numbered `failAt`
// (counted from 1; 0 fails none).
struct AllocationCounter {
  static inline long calls = 0, failAt = 0, live = 0;

  static void Start(long failing) {
    calls = live = 0;
    failAt = failing;
    g_routines.Alloc = Alloc;
    g_routines.Free = Free;
  }
  static void* Alloc(size_t size) {
    if (++calls == failAt) return nullptr;
    void* block = malloc(size);
    if (block) ++live;
    return block;
  }
  static void Free(void* block) {
    if (block) --live;
    free(block);
  }
};
