#include "treeview/LazyNodePool.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define LAZY_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LAZY_POOL_ASAN 1
#endif
#endif
#ifdef LAZY_POOL_ASAN
#include <sanitizer/asan_interface.h>
// A freed node stays poisoned until it is handed out again, so a stale pointer into the
// tree is caught like any use after free.
#define POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POOL_POISON(p, n) ((void)(p), (void)(n))
#define POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {
constexpr std::size_t kAlignment = alignof(void*);
constexpr std::size_t kSmallestChunkBlocks = 64;
constexpr std::size_t kLargestChunkBlocks = 65536;
// Chunks of this size or more are mapped on their own at a large-page boundary.
constexpr std::size_t kLargePage = std::size_t(2) << 20;
}  // namespace

TLazyNodePool::Chunk TLazyNodePool::AllocateChunk(std::size_t bytes) {
  if (bytes >= kLargePage) {
    // A fresh mapping reads as zeros, so nothing fills it: each page is first touched
    // when a node is made in it. Mapped one large page longer, then trimmed to start on
    // a large-page boundary, so the advice can take effect from the first byte.
    bytes = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* mapping = ::mmap(nullptr, bytes + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) throw std::bad_alloc();
    auto* start = static_cast<std::byte*>(mapping);
    auto* aligned = reinterpret_cast<std::byte*>(
        (reinterpret_cast<std::uintptr_t>(start) + kLargePage - 1) / kLargePage * kLargePage);
    if (aligned > start) ::munmap(start, static_cast<std::size_t>(aligned - start));
    if (const std::size_t tail = static_cast<std::size_t>(start + bytes + kLargePage - (aligned + bytes)); tail > 0)
      ::munmap(aligned + bytes, tail);
    // Only advice: without large pages the chunk works the same with small ones.
    ::madvise(aligned, bytes, MADV_HUGEPAGE);
    return {aligned, bytes, true};
  }
  // calloc hands back pages the system has already zeroed, so a fresh chunk costs no fill.
  void* memory = std::calloc(1, bytes);
  if (!memory) throw std::bad_alloc();
  return {static_cast<std::byte*>(memory), bytes, false};
}

void TLazyNodePool::ReleaseChunk(const Chunk& chunk) {
  if (chunk.mapped)
    ::munmap(chunk.memory, chunk.bytes);
  else
    std::free(chunk.memory);
}

// The chunks reset pools left for the next one. A store can live without its widget on
// any thread, so the chunks are shared under a lock; a pool comes here only once per
// chunk, never per block.
class TLazyNodePool::SpareChunks {
public:
  // The one of the process. It is never destroyed: a tree torn down while the program
  // exits still finds it, and the chunks it holds stay reachable, not leaked.
  static SpareChunks& Instance() {
    static auto* spare = new SpareChunks;
    return *spare;
  }

  // Keeps Chunk, cut for blocks of BlockSize bytes and none of them live, while the
  // bound allows, else returns it.
  void Give(const Chunk& chunk, std::size_t blockSize) {
    {
      const std::lock_guard<std::mutex> hold(lock_);
      if (bytes_ + chunk.bytes <= kKeptBytes) {
        // A stale pointer into a destroyed tree is caught until the block is handed out again.
        POOL_POISON(chunk.memory, chunk.bytes);
        if (Note(chunk, blockSize)) return;
      }
    }
    POOL_UNPOISON(chunk.memory, chunk.bytes);
    ReleaseChunk(chunk);
  }

  // Of the chunks cut for BlockSize, the smallest of at least Wanted bytes, else the
  // largest: a pool growing as the one before it did finds each of its chunks again.
  // Chunks go only to pools of the block size they were cut for, the next tree of the
  // same kind, so their blocks fill them to the end as before.
  bool Take(std::size_t blockSize, std::size_t wanted, Chunk& chunk) {
    const std::lock_guard<std::mutex> hold(lock_);
    std::size_t best = chunks_.size();
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
      if (chunks_[i].blockSize != blockSize) continue;
      if (best == chunks_.size()) {
        best = i;
        continue;
      }
      const std::size_t bytes = chunks_[i].chunk.bytes, bestBytes = chunks_[best].chunk.bytes;
      const bool fits = bytes >= wanted, bestFits = bestBytes >= wanted;
      if (fits ? !bestFits || bytes < bestBytes : !bestFits && bytes > bestBytes) best = i;
    }
    if (best == chunks_.size()) return false;
    chunk = chunks_[best].chunk;
    chunks_[best] = chunks_.back();
    chunks_.pop_back();
    bytes_ -= chunk.bytes;
    return true;
  }

  std::size_t Bytes() {
    const std::lock_guard<std::mutex> hold(lock_);
    return bytes_;
  }

  void ReleaseAll() {
    const std::lock_guard<std::mutex> hold(lock_);
    for (const Spare& spare : chunks_) {
      POOL_UNPOISON(spare.chunk.memory, spare.chunk.bytes);
      ReleaseChunk(spare.chunk);
    }
    chunks_.clear();
    bytes_ = 0;
  }

private:
  struct Spare {
    Chunk chunk;
    std::size_t blockSize;
  };
  // Pools give their chunks from their destructors: without room to note a chunk, it
  // goes back to the system rather than an error out of a destructor.
  bool Note(const Chunk& chunk, std::size_t blockSize) noexcept {
    try {
      chunks_.push_back({chunk, blockSize});
    } catch (const std::bad_alloc&) {
      return false;
    }
    bytes_ += chunk.bytes;
    return true;
  }
  std::mutex lock_;
  std::vector<Spare> chunks_;
  std::size_t bytes_ = 0;
};

std::size_t TLazyNodePool::SpareBytes() { return SpareChunks::Instance().Bytes(); }

void TLazyNodePool::ReleaseSpareChunks() { SpareChunks::Instance().ReleaseAll(); }

void TLazyNodePool::SetBlockSize(std::size_t size) {
  assert(live_ == 0);
  size = (size + kAlignment - 1) / kAlignment * kAlignment;
  if (size == blockSize_) return;
  Reset();
  blockSize_ = size;
}

void TLazyNodePool::UseChunk(std::size_t index, bool recycled) {
  const Chunk& chunk = chunks_[index];
  current_ = index;
  next_ = chunk.memory;
  end_ = next_ + chunk.bytes / blockSize_ * blockSize_;
  recycled_ = recycled;
}

void TLazyNodePool::AddChunk() {
  // Each chunk adds an eighth of what is held already: few allocations for a large tree,
  // and at most an eighth left unused at any size.
  const std::size_t held = reserved_ / blockSize_;
  const std::size_t blocks = std::clamp(held / 8, kSmallestChunkBlocks, kLargestChunkBlocks);
  // A spare chunk has been written before: its blocks are zeroed as they go out, like
  // those of a kept chunk.
  Chunk chunk;
  const bool spare = SpareChunks::Instance().Take(blockSize_, blockSize_ * blocks, chunk);
  if (spare)
    ++spareTaken_;
  else
    chunk = AllocateChunk(blockSize_ * blocks);
  chunks_.push_back(chunk);
  reserved_ += chunk.bytes;
  UseChunk(chunks_.size() - 1, spare);
}

void* TLazyNodePool::AllocateSlow() {
  ++live_;
  if (freeList_) {
    void* block = freeList_;
    POOL_UNPOISON(block, blockSize_);
    std::memcpy(&freeList_, block, sizeof(void*));
    std::memset(block, 0, blockSize_);
    return block;
  }
  if (next_ == end_) {
    // A kept chunk after the current one is used before any new one.
    if (recycled_ && current_ + 1 < chunks_.size())
      UseChunk(current_ + 1, true);
    else
      AddChunk();
  }
  void* block = next_;
  next_ += blockSize_;
  if (recycled_) {
    POOL_UNPOISON(block, blockSize_);
    std::memset(block, 0, blockSize_);  // the node is written next: the line is in cache already
  }
  return block;
}

void TLazyNodePool::Free(void* block) {
  assert(live_ > 0);
  if (--live_ == 0) {
    KeepChunks();
    return;
  }
  std::memcpy(block, &freeList_, sizeof(void*));
  POOL_POISON(block, blockSize_);
  freeList_ = block;
}

void TLazyNodePool::KeepChunks() {
  std::size_t kept = 0, keptBytes = 0;
  while (kept < chunks_.size() && keptBytes + chunks_[kept].bytes <= kKeptBytes) keptBytes += chunks_[kept++].bytes;
  for (std::size_t i = kept; i < chunks_.size(); ++i) {
    POOL_UNPOISON(chunks_[i].memory, chunks_[i].bytes);
    ReleaseChunk(chunks_[i]);
  }
  chunks_.resize(kept);
  reserved_ = keptBytes;
  freeList_ = nullptr;
  if (chunks_.empty()) {
    next_ = end_ = nullptr;
    recycled_ = false;
    return;
  }
  // Nothing in the kept chunks is live: a stale pointer into them is caught until its
  // block is handed out again.
  for (const Chunk& chunk : chunks_) POOL_POISON(chunk.memory, chunk.bytes);
  UseChunk(0, true);
}

void TLazyNodePool::Reset() {
  for (const Chunk& chunk : chunks_) SpareChunks::Instance().Give(chunk, blockSize_);
  chunks_.clear();
  current_ = 0;
  next_ = end_ = nullptr;
  recycled_ = false;
  freeList_ = nullptr;
  live_ = 0;
  reserved_ = 0;
}
