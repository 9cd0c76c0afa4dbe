#include "runtime/memory.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The usual error path allocates Strings, so report without allocating.
[[noreturn]] void OutOfMemory() {
    std::fputs("Brisko Runtime Error : Out of memory\n", stdout);
    std::fflush(stdout);
    std::exit(-1);
}

}  // namespace

void* kp_malloc(std::size_t bytes) {
    void* block = std::malloc(bytes);
    if (!block) OutOfMemory();
    return block;
}

void* kp_realloc(void* block, std::size_t bytes) {
    void* resized = std::realloc(block, bytes);
    if (!resized) OutOfMemory();
    return resized;
}
