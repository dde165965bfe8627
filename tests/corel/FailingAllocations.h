// Memory that runs out on demand: the test program's own operator new fails large
// allocations while a CFailingLargeAllocations lives, as they fail when a large workspace
// exhausts the address space of the 32-bit program.
#pragma once

#include <cstddef>

class CFailingLargeAllocations {
 public:
  // From now on, every allocation of `bytes` or more throws std::bad_alloc.
  explicit CFailingLargeAllocations(size_t bytes);
  // Allocations succeed again.
  ~CFailingLargeAllocations();
  CFailingLargeAllocations(const CFailingLargeAllocations&) = delete;
  CFailingLargeAllocations& operator=(const CFailingLargeAllocations&) = delete;
};
