#pragma once
// Node blocks come from large zero-filled chunks rather than one allocation each: a
// million nodes cost a handful of allocations, and clearing a tree drops them at once.
// Freed blocks are kept on a free list and zeroed again when they are reused.
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

class TLazyNodePool {
public:
  TLazyNodePool() = default;
  ~TLazyNodePool() { Reset(); }
  TLazyNodePool(const TLazyNodePool&) = delete;
  TLazyNodePool& operator=(const TLazyNodePool&) = delete;

  // The block size may only change while no block is live.
  void SetBlockSize(std::size_t size);
  std::size_t BlockSize() const { return blockSize_; }
  std::size_t LiveBlocks() const { return live_; }
  // Bytes held from the system, live or free.
  std::size_t ReservedBytes() const { return reserved_; }

  // A zero-filled block of BlockSize() bytes, aligned for pointers.  O(1) amortised.
  void* Allocate() {
    ++live_;
    if (!freeList_ && next_ != end_) {  // the common case while a tree grows
      void* block = next_;
      next_ += blockSize_;
      return block;
    }
    return AllocateSlow();
  }
  // O(1); when the last live block goes, every chunk is returned to the system.
  void Free(void* block);
  // Forgets every block at once (the caller has already let go of them).
  void Reset();

private:
  struct Chunk {
    std::byte* memory = nullptr;
    std::size_t bytes = 0;
  };
  void* AllocateSlow();
  void AddChunk();
  static Chunk AllocateChunk(std::size_t bytes);
  static void ReleaseChunk(const Chunk& chunk);

  std::size_t blockSize_ = 0;
  std::vector<Chunk> chunks_;
  std::byte* next_ = nullptr;  // bump pointer in the newest chunk
  std::byte* end_ = nullptr;
  void* freeList_ = nullptr;
  std::size_t live_ = 0;
  std::size_t reserved_ = 0;
};
