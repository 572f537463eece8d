#include "treeview/LazyNodePool.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <new>

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
}  // namespace

TLazyNodePool::Chunk TLazyNodePool::AllocateChunk(std::size_t bytes) {
  // calloc hands back pages the system has already zeroed, so a fresh chunk costs no fill.
  void* memory = std::calloc(1, bytes);
  if (!memory) throw std::bad_alloc();
  return {static_cast<std::byte*>(memory), bytes};
}

void TLazyNodePool::ReleaseChunk(const Chunk& chunk) { std::free(chunk.memory); }

void TLazyNodePool::SetBlockSize(std::size_t size) {
  assert(live_ == 0);
  size = (size + kAlignment - 1) / kAlignment * kAlignment;
  if (size == blockSize_) return;
  Reset();
  blockSize_ = size;
}

void TLazyNodePool::AddChunk() {
  // Each chunk adds an eighth of what is held already: few allocations for a large tree,
  // and at most an eighth left unused at any size.
  const std::size_t held = reserved_ / blockSize_;
  const std::size_t blocks = std::clamp(held / 8, kSmallestChunkBlocks, kLargestChunkBlocks);
  const std::size_t bytes = blockSize_ * blocks;
  const Chunk chunk = AllocateChunk(bytes);
  chunks_.push_back(chunk);
  next_ = chunk.memory;
  end_ = next_ + bytes;
  reserved_ += chunk.bytes;
}

void* TLazyNodePool::AllocateSlow() {
  if (freeList_) {
    void* block = freeList_;
    POOL_UNPOISON(block, blockSize_);
    std::memcpy(&freeList_, block, sizeof(void*));
    std::memset(block, 0, blockSize_);
    return block;
  }
  AddChunk();
  void* block = next_;
  next_ += blockSize_;
  return block;
}

void TLazyNodePool::Free(void* block) {
  assert(live_ > 0);
  if (--live_ == 0) {
    Reset();
    return;
  }
  std::memcpy(block, &freeList_, sizeof(void*));
  POOL_POISON(block, blockSize_);
  freeList_ = block;
}

void TLazyNodePool::Reset() {
  for (const Chunk& chunk : chunks_) {
    POOL_UNPOISON(chunk.memory, chunk.bytes);
    ReleaseChunk(chunk);
  }
  chunks_.clear();
  next_ = end_ = nullptr;
  freeList_ = nullptr;
  live_ = 0;
  reserved_ = 0;
}
