#pragma once
// Node blocks come from large zero-filled chunks rather than one allocation each: a
// million nodes cost a handful of allocations, and clearing a tree drops them at once.
// Freed blocks are kept on a free list and zeroed again when they are reused.
//
// Chunks of a large page or more are mappings of their own, aligned to large pages and
// advised to use them, so a big tree costs few page faults and each node's memory is
// touched once, when the node is made. When the last block goes (a tree emptied), the
// pool keeps its oldest chunks up to kKeptBytes and hands their blocks out again, zeroed
// as they go out, before it asks the system for more; the rest goes back at once.
// When a pool is reset (its tree destroyed), its chunks join the spare chunks the whole
// process keeps, again up to kKeptBytes, and a pool of the same block size takes from
// those the same way before it asks the system: a tree closed and another of its kind
// opened cost no unmapping and no page faults for the memory they share.
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

class TLazyNodePool {
public:
  // What an emptied pool keeps for the next fill, and what the process keeps spare from
  // reset pools for the next tree: enough for the nodes of a few hundred thousand tasks,
  // little next to what such a tree costs in the rest of the program.
  static constexpr std::size_t kKeptBytes = std::size_t(32) << 20;

  TLazyNodePool() = default;
  ~TLazyNodePool() { Reset(); }
  TLazyNodePool(const TLazyNodePool&) = delete;
  TLazyNodePool& operator=(const TLazyNodePool&) = delete;

  // The block size may only change while no block is live.
  void SetBlockSize(std::size_t size);
  std::size_t BlockSize() const { return blockSize_; }
  std::size_t LiveBlocks() const { return live_; }
  // Bytes held from the system, live, free or kept.
  std::size_t ReservedBytes() const { return reserved_; }
  // Chunks this pool took from the spare ones instead of asking the system.
  std::size_t SpareChunksTaken() const { return spareTaken_; }
  // Bytes of the spare chunks reset pools left for the next one, in the whole process.
  static std::size_t SpareBytes();
  // Returns every spare chunk to the system.
  static void ReleaseSpareChunks();

  // A zero-filled block of BlockSize() bytes, aligned for pointers.  O(1) amortised.
  void* Allocate() {
    if (!freeList_ && next_ != end_ && !recycled_) {  // the common case while a tree grows
      ++live_;
      void* block = next_;
      next_ += blockSize_;
      return block;
    }
    return AllocateSlow();
  }
  // O(1); when the last live block goes, the pool keeps chunks up to kKeptBytes and
  // returns the others to the system.
  void Free(void* block);
  // Forgets every block at once and gives up every chunk, to the spare chunks up to
  // their bound and to the system beyond it (the caller has already let go of the blocks).
  void Reset();

private:
  struct Chunk {
    std::byte* memory = nullptr;
    std::size_t bytes = 0;
    bool mapped = false;  // a mapping of its own (large chunks), else from the heap
  };
  class SpareChunks;
  void* AllocateSlow();
  void AddChunk();
  // Bump-allocates from chunks_[index]; Recycled: its blocks were handed out before.
  void UseChunk(std::size_t index, bool recycled);
  // Keeps the oldest chunks up to kKeptBytes for the next fill and returns the others.
  void KeepChunks();
  static Chunk AllocateChunk(std::size_t bytes);
  static void ReleaseChunk(const Chunk& chunk);

  std::size_t blockSize_ = 0;
  std::vector<Chunk> chunks_;
  std::size_t current_ = 0;    // the chunk bumped from
  std::byte* next_ = nullptr;  // bump pointer in the current chunk
  std::byte* end_ = nullptr;
  bool recycled_ = false;      // the current chunk's blocks must be zeroed as they go out
  void* freeList_ = nullptr;
  std::size_t live_ = 0;
  std::size_t reserved_ = 0;
  std::size_t spareTaken_ = 0;
};
