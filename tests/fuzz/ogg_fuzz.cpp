// The host's Ogg Vorbis path: an ".ogg" file through LoadAudioData, decoded
// by stb_vorbis to 16-bit samples.

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
    int length, channels, format, hertz;
    unsigned char* samples =
        host.LoadAudioData(WriteScratchFile(data, size, ".ogg"), &length, &channels, &format, &hertz);
    if (samples && (length < 0 || channels <= 0 || format != 2)) std::abort();
    std::free(samples);
    host.gc_collect();
    return 0;
}
