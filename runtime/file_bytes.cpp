#include "runtime/file_bytes.h"

std::vector<unsigned char> ReadRestOfFile(FILE* file) {
    constexpr std::size_t kBlock = 4096;
    std::vector<unsigned char> bytes;
    for (;;) {
        std::size_t have = bytes.size();
        bytes.resize(have + kBlock);
        std::size_t got = std::fread(bytes.data() + have, 1, kBlock, file);
        bytes.resize(have + got);
        if (got < kBlock) return bytes;
    }
}
