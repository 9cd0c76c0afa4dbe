// The host's image loading: any file through LoadImageData (stb_image).

#include <cstdlib>

#include "host/kp_glfw_game.h"
#include "runtime/gc.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartRuntime();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static KpGlfwGame host;
    int width, height, components;
    unsigned char* pixels = host.LoadImageData(WriteScratchFile(data, size, ".png"), &width, &height, &components);
    if (pixels && (width <= 0 || height <= 0 || components < 1 || components > 4)) std::abort();
    std::free(pixels);
    host.gc_collect();
    return 0;
}
