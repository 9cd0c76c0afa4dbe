#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/gc.h"

void StartRuntime() {
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    gc_init1();
}

void CollectGarbage() { gc_collect_all(); }

// fmemopen reads straight from the input; a zero-length buffer is allowed.
InputStream::InputStream(const std::uint8_t* data, std::size_t size)
    : file(fmemopen(const_cast<std::uint8_t*>(data), size, "rb")) {
    if (!file) std::abort();
}

InputStream::~InputStream() { std::fclose(file); }

namespace {

// Removed when the run ends normally.
struct ScratchFile {
    explicit ScratchFile(const char* extension) : path("fuzz-input-" + std::to_string(getpid()) + extension) {}
    ~ScratchFile() { std::remove(path.c_str()); }

    const std::string path;
};

}  // namespace

String WriteScratchFile(const std::uint8_t* data, std::size_t size, const char* extension) {
    static const ScratchFile scratch(extension);
    FILE* file = std::fopen(scratch.path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
    return String(scratch.path.c_str());
}

String BytesAsText(const std::uint8_t* data, std::size_t size) {
    std::vector<Char> units(data, data + size);
    return String(units.data(), static_cast<int>(units.size()));
}
