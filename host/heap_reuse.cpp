#include "host/heap_reuse.h"

#include <malloc.h>

namespace {

// More than the largest tune's buffers and the loading's leftovers.
constexpr int kKeptFreeBytes = 64 << 20;
// Setting how much is kept turns off the allocator's own tuning of which
// blocks it maps apart; left at its start, every image decoded while loading
// would get fresh pages of its own. This is where that tuning ends anyway.
constexpr int kLargestHeapBlock = 32 << 20;

}  // namespace

void KeepFreedHeapForReuse() {
    mallopt(M_TRIM_THRESHOLD, kKeptFreeBytes);
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
}
