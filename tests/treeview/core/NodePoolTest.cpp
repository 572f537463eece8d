// The node pool as a tree is emptied and filled again, or destroyed and another made:
// what it keeps, up to its bound, and that kept blocks come back zeroed before the pool
// asks the system for more.
#include "treeview/LazyNodePool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kBlock = 64;

// Fills the pool with Count blocks, each written all over as a node would be.
std::vector<void*> Fill(TLazyNodePool& pool, std::size_t count) {
  std::vector<void*> blocks(count);
  for (void*& block : blocks) {
    block = pool.Allocate();
    std::memset(block, 0xAB, kBlock);
  }
  return blocks;
}

bool IsZero(const void* block) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  return std::all_of(bytes, bytes + kBlock, [](unsigned char b) { return b == 0; });
}

struct KeepCase {
  const char* name;
  std::size_t blocks;  // the fill before the pool is emptied or reset
  bool keepsAll;       // everything it held stays for the next fill
};
const KeepCase kKeepCases[] = {
    {"a small tree keeps every chunk", 10000, true},
    {"a tree past the bound keeps only up to it", 2 * TLazyNodePool::kKeptBytes / kBlock, false},
};

// Takes `count` blocks from the pool, each of which must be one of `before` (sorted) and
// zeroed, and scribbles on them.
void ExpectBlocksReused(TLazyNodePool& pool, const std::vector<void*>& before, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    void* block = pool.Allocate();
    ASSERT_TRUE(std::binary_search(before.begin(), before.end(), block)) << "block " << i << " is not kept memory";
    ASSERT_TRUE(IsZero(block)) << "block " << i;
    std::memset(block, 0xCD, kBlock);
  }
}

TEST(NodePool, AnEmptiedPoolKeepsChunksUpToItsBoundAndRefillsFromThemFirst) {
  for (const KeepCase& c : kKeepCases) {
    SCOPED_TRACE(c.name);
    TLazyNodePool pool;
    pool.SetBlockSize(kBlock);
    const std::vector<void*> first = Fill(pool, c.blocks);
    const std::size_t held = pool.ReservedBytes();
    for (void* block : first) pool.Free(block);
    const std::size_t kept = pool.ReservedBytes();
    EXPECT_EQ(pool.LiveBlocks(), 0u);
    EXPECT_LE(kept, TLazyNodePool::kKeptBytes);
    if (c.keepsAll)
      EXPECT_EQ(kept, held);
    else
      EXPECT_GT(kept, TLazyNodePool::kKeptBytes / 2);  // the oldest chunks, not nothing

    // The next fill takes every kept block, zeroed, before the pool grows.
    std::vector<void*> before = first;
    std::sort(before.begin(), before.end());
    const std::size_t keptBlocks = std::min(kept / kBlock, c.blocks);
    ASSERT_NO_FATAL_FAILURE(ExpectBlocksReused(pool, before, keptBlocks));
    EXPECT_EQ(pool.ReservedBytes(), kept);
    // Then it goes on zero-filled, from the rest of a kept chunk or from a new one.
    void* fresh = pool.Allocate();
    EXPECT_TRUE(IsZero(fresh));
    EXPECT_EQ(pool.LiveBlocks(), keptBlocks + 1);
  }
}

TEST(NodePool, AResetPoolLeavesItsChunksToTheNextPoolOfItsBlockSizeUpToTheBound) {
  for (const KeepCase& c : kKeepCases) {
    SCOPED_TRACE(c.name);
    TLazyNodePool::ReleaseSpareChunks();
    std::vector<void*> before;
    std::size_t held = 0;
    {
      TLazyNodePool pool;
      pool.SetBlockSize(kBlock);
      before = Fill(pool, c.blocks);
      held = pool.ReservedBytes();
    }
    const std::size_t spare = TLazyNodePool::SpareBytes();
    EXPECT_LE(spare, TLazyNodePool::kKeptBytes);
    if (c.keepsAll)
      EXPECT_EQ(spare, held);
    else
      EXPECT_GT(spare, TLazyNodePool::kKeptBytes / 2);

    // Blocks of another size would not fill the chunks to their end: that pool asks the system.
    TLazyNodePool other;
    other.SetBlockSize(2 * kBlock);
    void* otherBlock = other.Allocate();
    EXPECT_EQ(other.SpareChunksTaken(), 0u);
    EXPECT_EQ(TLazyNodePool::SpareBytes(), spare);

    // A pool of the same size takes every spare block, zeroed, before it grows.
    std::sort(before.begin(), before.end());
    TLazyNodePool next;
    next.SetBlockSize(kBlock);
    ASSERT_NO_FATAL_FAILURE(ExpectBlocksReused(next, before, std::min(spare / kBlock, c.blocks)));
    EXPECT_GT(next.SpareChunksTaken(), 0u);
    EXPECT_EQ(next.ReservedBytes(), spare);
    EXPECT_EQ(TLazyNodePool::SpareBytes(), 0u);
    other.Free(otherBlock);
  }
  TLazyNodePool::ReleaseSpareChunks();
}

TEST(NodePool, ResetAndANewBlockSizeReturnEverything) {
  TLazyNodePool pool;
  pool.SetBlockSize(kBlock);
  for (void* block : Fill(pool, 1000)) pool.Free(block);
  ASSERT_GT(pool.ReservedBytes(), 0u);
  pool.SetBlockSize(2 * kBlock);
  EXPECT_EQ(pool.ReservedBytes(), 0u);
  for (void* block : Fill(pool, 1000)) pool.Free(block);
  ASSERT_GT(pool.ReservedBytes(), 0u);
  pool.Reset();
  EXPECT_EQ(pool.ReservedBytes(), 0u);
}

TEST(NodePool, FreedBlocksComeBackZeroedWhileOthersLive) {
  TLazyNodePool pool;
  pool.SetBlockSize(kBlock);
  std::vector<void*> blocks = Fill(pool, 300);
  pool.Free(blocks[7]);
  void* again = pool.Allocate();
  EXPECT_EQ(again, blocks[7]);
  EXPECT_TRUE(IsZero(again));
  blocks[7] = again;
  for (void* block : blocks) pool.Free(block);
}

}  // namespace
