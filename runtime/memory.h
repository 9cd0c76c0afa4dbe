#pragma once

#include <cstddef>

// Heap block for runtime data (object bodies, string bodies). Never returns
// null: when the heap is exhausted the program ends with a runtime error
// instead of writing through a null pointer.
void* kp_malloc(std::size_t bytes);

// Resizes a block from kp_malloc, with the same promise.
void* kp_realloc(void* block, std::size_t bytes);
