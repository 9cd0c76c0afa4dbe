#include "host/heap_reuse.h"

#include <malloc.h>

namespace {

// More than the largest tune's buffers and the loading's leftovers.
constexpr int kKeptFreeBytes = 64 << 20;

}  // namespace

void KeepFreedHeapForReuse() { mallopt(M_TRIM_THRESHOLD, kKeptFreeBytes); }
