// Memory routines for the job lists that hand out small blocks from large slabs: a job of
// a million points takes millions of blocks of a few sizes, which the system heap (Wine's
// most of all) hands out one by one far more slowly than a free list. A released block
// goes back to the free list of its size for the next job or rotation; the slabs stay with
// the process. Larger blocks come from the heap directly. Safe to call from any thread.
#pragma once

#include <cstddef>

#include "pipeline/PipelineRoutines.h"

// A block of `size` bytes aligned to 8 bytes (as the job lists' nodes and coordinates need:
// pointers and int32), or null when the heap has no more room.
void* PoolAlloc(size_t size);
// Releases a block that PoolAlloc gave; null is ignored.
void PoolFree(void* block);

// Puts PoolAlloc and PoolFree in the memory routines of `routines`; the file routines stay.
void UseBlockPool(PipelineRoutines& routines);
