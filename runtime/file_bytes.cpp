#include "runtime/file_bytes.h"

#include <sys/stat.h>

#include <climits>

namespace {

constexpr std::size_t kLargestRest = INT_MAX;

// A file known to be too large is refused before a byte of it is read.
bool RestFits(FILE* file) {
    struct stat status {};
    long at = std::ftell(file);
    if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode) || at < 0) return true;
    return status.st_size - at <= static_cast<off_t>(kLargestRest);
}

}  // namespace

std::optional<std::vector<unsigned char>> ReadRestOfFile(FILE* file) {
    constexpr std::size_t kBlock = 4096;
    if (!RestFits(file)) return std::nullopt;
    std::vector<unsigned char> bytes;
    for (;;) {
        std::size_t have = bytes.size();
        bytes.resize(have + kBlock);
        std::size_t got = std::fread(bytes.data() + have, 1, kBlock, file);
        bytes.resize(have + got);
        if (bytes.size() > kLargestRest) return std::nullopt;
        if (got < kBlock) return bytes;
    }
}
