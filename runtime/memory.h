#pragma once

#include <cstddef>

// Heap block for runtime data (object bodies, string bodies). Never returns
// null: when the heap is exhausted the program ends with a runtime error
// instead of writing through a null pointer.
void* kp_malloc(std::size_t bytes);
