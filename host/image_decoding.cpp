#include "host/image_decoding.h"

#include <stb/stb_image.h>

#include <cstdio>
#include <cstring>

#include "runtime/gc.h"

namespace {

// The game's images are all PNG files. Anything else is refused before
// stb_image guesses at it: its TGA reader needs no signature, so a damaged
// file of a few bytes can claim an image of up to 2 GB that takes minutes to
// fill with nothing.
bool IsPng(FILE* file) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char start[sizeof kSignature];
    bool png = std::fread(start, 1, sizeof start, file) == sizeof start &&
               std::memcmp(start, kSignature, sizeof start) == 0;
    return std::fseek(file, 0, SEEK_SET) == 0 && png;
}

}  // namespace

unsigned char* DecodePngFile(const std::string& systemPath, int* width, int* height, int* components) {
    FILE* file = systemPath.empty() ? nullptr : std::fopen(systemPath.c_str(), "rb");
    if (!file) return nullptr;
    unsigned char* pixels = IsPng(file) ? stbi_load_from_file(file, width, height, components, 0) : nullptr;
    std::fclose(file);
    if (pixels) gc_ext_malloced(static_cast<long long>(*width) * *height * *components);
    return pixels;
}
