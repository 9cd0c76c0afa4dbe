#include "runtime/gc.h"

namespace {

// Collected objects and arrays need the collector's lists before any test
// makes one.
const bool collectorReady = (gc_init1(), true);

}  // namespace
