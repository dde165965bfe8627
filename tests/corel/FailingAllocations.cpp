#include "FailingAllocations.h"

#include <cstdlib>
#include <new>

namespace {

size_t g_failFrom = 0;  // 0: nothing fails

}  // namespace

CFailingLargeAllocations::CFailingLargeAllocations(size_t bytes) { g_failFrom = bytes; }

CFailingLargeAllocations::~CFailingLargeAllocations() { g_failFrom = 0; }

// The replacements of the whole program; the array forms call these.
void* operator new(size_t size) {
  if (g_failFrom != 0 && size >= g_failFrom) throw std::bad_alloc();
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  return block;
}

void operator delete(void* block) noexcept { std::free(block); }

void operator delete(void* block, size_t) noexcept { std::free(block); }
