// c_DataBuffer string reading: received bytes decoded as "utf8" (falling
// back to one unit per byte) and as "ascii", from any address and count.
// The input is a 16-bit address and a 16-bit count, both signed and
// little-endian, then the buffer's bytes.

#include <cstdlib>
#include <cstring>

#include "framework/http/data_buffer.h"
#include "runtime/gc.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr std::size_t kHeader = 4;

int SignedWord(const std::uint8_t* bytes) { return static_cast<std::int16_t>(bytes[0] | bytes[1] << 8); }

c_DataBuffer* BufferOf(const std::uint8_t* data, std::size_t size) {
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(static_cast<int>(size));
    if (size > 0) std::memcpy(buffer->Bytes(), data, size);
    return buffer;
}

// "ascii" gives one unit per byte read, and writing those units back gives
// the same bytes.
void CheckAscii(c_DataBuffer* buffer, int address, int count) {
    String text = buffer->p_PeekString(address, count, String("ascii"));
    int fit = buffer->Fit(address, count);
    if (text.Length() != fit) std::abort();
    c_DataBuffer* copy = (new c_DataBuffer)->m_new(fit);
    if (copy->p_PokeString(0, text, String("ascii")) != fit) std::abort();
    if (fit > 0 && std::memcmp(copy->Bytes(), buffer->Bytes() + address, fit) != 0) std::abort();
}

void CheckUtf8(c_DataBuffer* buffer, int address, int count) {
    if (buffer->p_PeekString(address, count, String("utf8")).Length() > buffer->Fit(address, count)) std::abort();
    String rest = buffer->p_PeekString2(address, String("utf8"));
    if (rest.Length() > buffer->Fit(address, buffer->Length() - address)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartRuntime();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeader) return 0;
    int address = SignedWord(data);
    int count = SignedWord(data + 2);
    c_DataBuffer* buffer = BufferOf(data + kHeader, size - kHeader);
    CheckAscii(buffer, address, count);
    CheckUtf8(buffer, address, count);
    CollectGarbage();
    return 0;
}
