#include "platform/ProcessHeap.h"

#include <malloc.h>

namespace {
// Blocks up to this size come from the heap and freed memory up to this size stays
// with the process: a page's buffers fit well within it, and it bounds what an idle
// program keeps after a large print.
constexpr int kKeptBytes = 64 * 1024 * 1024;
}  // namespace

void KeepLargeFreedBlocksForReuse() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, kKeptBytes);
  mallopt(M_TRIM_THRESHOLD, kKeptBytes);
#endif
}
