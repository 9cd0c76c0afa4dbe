// The host's WAVE path: a ".wav" file through LoadAudioData, which picks the
// reader by the extension and hands out the samples exactly as stored.

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
        host.LoadAudioData(WriteScratchFile(data, size, ".wav"), &length, &channels, &format, &hertz);
    if (samples) {
        // The samples are a part of the file, so they cannot outgrow it.
        long long bytes = static_cast<long long>(length) * channels * format;
        if (length < 0 || channels <= 0 || format <= 0 || bytes > static_cast<long long>(size)) std::abort();
    }
    std::free(samples);
    host.gc_collect();
    return 0;
}
