// String::Load: file bytes to text, UTF-16 or UTF-8 by byte-order mark,
// Latin-1 when the UTF-8 is invalid.

#include <cstdlib>

#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartRuntime();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputStream input(data, size);
    String text = String::Load(input.File());
    // Every encoding takes at least one byte per code unit.
    if (static_cast<std::size_t>(text.Length()) > size) std::abort();
    return 0;
}
