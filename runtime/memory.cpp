#include "runtime/memory.h"

#include <cstdio>
#include <cstdlib>

void* kp_malloc(std::size_t bytes) {
    void* block = std::malloc(bytes);
    if (block) return block;
    // The usual error path allocates Strings, so report without allocating.
    std::fputs("Brisko Runtime Error : Out of memory\n", stdout);
    std::fflush(stdout);
    std::exit(-1);
}
