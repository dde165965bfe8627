#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "pipeline/BlockPool.h"

namespace {

// Sizes on both sides of every slab size class and of the heap's.
const size_t SIZES[] = {0, 1, 8, 12, 16, 17, 24, 32, 33, 48, 64, 65, 100, 4096, 100000};

TEST(BlockPool, BlocksOfEverySizeAreAlignedWritableAndApart) {
  std::vector<std::pair<unsigned char*, size_t>> blocks;
  for (int round = 0; round < 3; ++round) {
    for (size_t size : SIZES) {
      auto* block = static_cast<unsigned char*>(PoolAlloc(size));
      ASSERT_NE(block, nullptr) << size;
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 8, 0u) << size;
      memset(block, static_cast<int>(blocks.size()), size);
      blocks.emplace_back(block, size);
    }
  }
  // Each block still holds its own filling: none overlaps another.
  for (size_t i = 0; i < blocks.size(); ++i) {
    for (size_t j = 0; j < blocks[i].second; ++j) ASSERT_EQ(blocks[i].first[j], static_cast<unsigned char>(i));
  }
  for (const auto& block : blocks) PoolFree(block.first);
  PoolFree(nullptr);
}

TEST(BlockPool, ReleasedBlockServesTheNextOfItsSize) {
  for (size_t size : {size_t{8}, size_t{24}, size_t{32}}) {
    void* first = PoolAlloc(size);
    PoolFree(first);
    void* second = PoolAlloc(size);
    EXPECT_EQ(second, first) << size;
    PoolFree(second);
  }
}

}  // namespace
