#include "pipeline/BlockPool.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace {

// Every block is preceded by a header with its size class: 0 for a block of the heap,
// else the number of ALIGN steps its slab block holds. Eight bytes, which is all the job
// lists' nodes need and what the 32-bit release's heap aligns to: with the 64-bit heap's 16
// a point of a line would take 128 bytes there instead of 80.
struct Header {
  uint64_t sizeClass;
};
const size_t ALIGN = sizeof(Header);
const size_t SMALL_CLASSES = 4;         // blocks up to 4 * ALIGN bytes (a curve's 24) come from slabs
const size_t SLAB_BYTES = 1024 * 1024;  // what one slab takes from the heap

// A released slab block, in the free list of its size.
struct FreeBlock {
  FreeBlock* next;
};

// A slab, of which the first bytes link it to the one taken before it.
struct Slab {
  Slab* previous;
};

struct Pool {
  std::mutex lock;
  FreeBlock* free[SMALL_CLASSES + 1] = {};
  Slab* slabs = nullptr;   // kept reachable for the process's life
  char* unused = nullptr;  // the part of the newest slab not handed out yet
  char* end = nullptr;
};

Pool& ThePool() {
  static Pool* pool = new Pool;  // never destroyed: blocks may be released during exit
  return *pool;
}

}  // namespace

void* PoolAlloc(size_t size) {
  const size_t sizeClass = size == 0 ? 1 : (size + ALIGN - 1) / ALIGN;
  if (sizeClass > SMALL_CLASSES) {
    if (size > SIZE_MAX - ALIGN) return nullptr;
    Header* header = static_cast<Header*>(malloc(ALIGN + size));
    if (!header) return nullptr;
    header->sizeClass = 0;
    return header + 1;
  }
  Pool& pool = ThePool();
  const std::lock_guard<std::mutex> hold(pool.lock);
  if (FreeBlock* block = pool.free[sizeClass]) {
    pool.free[sizeClass] = block->next;
    return block;
  }
  const size_t bytes = ALIGN * (1 + sizeClass);
  if (static_cast<size_t>(pool.end - pool.unused) < bytes) {
    Slab* slab = static_cast<Slab*>(malloc(SLAB_BYTES));
    if (!slab) return nullptr;
    slab->previous = pool.slabs;
    pool.slabs = slab;
    pool.unused = reinterpret_cast<char*>(slab) + ALIGN;
    pool.end = reinterpret_cast<char*>(slab) + SLAB_BYTES;
  }
  Header* header = reinterpret_cast<Header*>(pool.unused);
  pool.unused += bytes;
  header->sizeClass = sizeClass;
  return header + 1;
}

void PoolFree(void* block) {
  if (!block) return;
  Header* header = static_cast<Header*>(block) - 1;
  if (header->sizeClass == 0) {
    free(header);
    return;
  }
  Pool& pool = ThePool();
  const std::lock_guard<std::mutex> hold(pool.lock);
  FreeBlock* released = static_cast<FreeBlock*>(block);
  released->next = pool.free[header->sizeClass];
  pool.free[header->sizeClass] = released;
}

void UseBlockPool(PipelineRoutines& routines) {
  routines.Alloc = PoolAlloc;
  routines.Free = PoolFree;
}
