#include "host/ogg_reader.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "host/audio_decoding.h"

namespace {

// The table is made by the compiler, so nothing of it is destroyed while a
// decoding thread still reads it at the program's end.
constexpr std::array<std::uint32_t, 256> ChecksumTable() {
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t value = byte << 24;
        for (int bit = 0; bit < 8; ++bit) value = value & 0x80000000u ? value << 1 ^ 0x04c11db7u : value << 1;
        entries[byte] = value;
    }
    return entries;
}

}  // namespace

std::uint32_t OggPageChecksum(const std::vector<unsigned char>& page) {
    static constexpr std::array<std::uint32_t, 256> table = ChecksumTable();
    std::uint32_t checksum = 0;
    for (std::size_t at = 0; at < page.size(); ++at) {
        unsigned char byte = at >= 22 && at < 26 ? 0 : page[at];
        checksum = checksum << 8 ^ table[(checksum >> 24 ^ byte) & 0xff];
    }
    return checksum;
}

namespace {

// Room for the longest Vorbis frame of any channel count stb_vorbis decodes.
constexpr int kFrameRoom = 4096;

// The stream's second packet, the Vorbis comment header, which starts on the
// second page (the first page holds the identification header alone).
// False when the pages break or end before the packet does.
bool ReadCommentHeader(FILE* file, std::vector<unsigned char>& packet) {
    for (bool firstPage = true;; firstPage = false) {
        unsigned char header[27];
        unsigned char lacing[255];
        if (std::fread(header, 1, sizeof header, file) != sizeof header || std::memcmp(header, "OggS", 4) != 0 ||
            std::fread(lacing, 1, header[26], file) != header[26]) {
            return false;
        }
        for (int segment = 0; segment < header[26]; ++segment) {
            std::size_t size = lacing[segment];
            if (firstPage) {
                if (std::fseek(file, static_cast<long>(size), SEEK_CUR) != 0) return false;
                continue;
            }
            std::size_t have = packet.size();
            packet.resize(have + size);
            if (std::fread(packet.data() + have, 1, size, file) != size) return false;
            if (size < 255) return true;
        }
    }
}

// stb_vorbis trusts the comment header: a count of 2^29 comments overflows
// the size of its list, a length of 2^32 - 1 writes before its block. Every
// count and length must fit in the packet that holds them.
bool CommentsFit(const std::vector<unsigned char>& packet) {
    std::size_t at = 7;  // the packet type and "vorbis"
    auto next = [&](std::uint64_t* value) {
        if (packet.size() < at || packet.size() - at < 4) return false;
        const unsigned char* bytes = packet.data() + at;
        *value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint64_t>(bytes[3]) << 24;
        at += 4;
        return true;
    };
    std::uint64_t length, count;
    if (!next(&length) || packet.size() - at < length) return false;
    at += length;
    if (!next(&count)) return false;
    for (std::uint64_t comment = 0; comment < count; ++comment) {
        if (!next(&length) || packet.size() - at < length) return false;
        at += length;
    }
    return true;
}

// stb_vorbis takes all its memory from a zeroed block it is given, so
// nothing it allocates outlives the block, not even the scratch memory its
// setup leaves behind when a damaged stream fails. The first block holds any
// comment list the header can ask for: stb_vorbis cannot clean up after
// failing to allocate one. A stream whose setup needs more is opened again
// with twice the block.
constexpr std::size_t kFirstDecoderBytes = 256 * 1024;
constexpr std::size_t kMostDecoderBytes = 64 * 1024 * 1024;

stb_vorbis* OpenVorbis(FILE* file, std::unique_ptr<char[]>& memory) {
    long start = std::ftell(file);
    std::vector<unsigned char> comments;
    if (!ReadCommentHeader(file, comments) || !CommentsFit(comments)) return nullptr;
    for (std::size_t bytes = std::max(kFirstDecoderBytes, 8 * comments.size()); bytes <= kMostDecoderBytes; bytes *= 2) {
        if (std::fseek(file, start, SEEK_SET) != 0) return nullptr;
        memory = std::make_unique<char[]>(bytes);
        stb_vorbis_alloc block{memory.get(), static_cast<int>(bytes)};
        int error = 0;
        stb_vorbis* stream = stb_vorbis_open_file(file, 0, &error, &block);
        if (stream || error != VORBIS_outofmem) return stream;
    }
    return nullptr;
}

// The identification packet: type 1, "vorbis", version, channels, rate.
constexpr std::size_t kIdentificationBytes = 30;

bool IdentificationPlayable(FILE* file) {
    unsigned char header[27];
    unsigned char lacing[255];
    unsigned char packet[kIdentificationBytes];
    if (std::fread(header, 1, sizeof header, file) != sizeof header || std::memcmp(header, "OggS", 4) != 0 ||
        std::fread(lacing, 1, header[26], file) != header[26] ||
        std::fread(packet, 1, sizeof packet, file) != sizeof packet) {
        return false;
    }
    if (std::memcmp(packet, "\x01vorbis", 7) != 0) return false;
    int channels = packet[11];
    std::uint32_t hertz = packet[12] | packet[13] << 8 | packet[14] << 16 | static_cast<std::uint32_t>(packet[15]) << 24;
    return PlayableLayout(channels, hertz);
}

// Fuzzed input cannot mend its checksums; the decoding behind them is what
// the fuzzer is after.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr bool kFuzzing = true;
#else
constexpr bool kFuzzing = false;
#endif

// Reads one whole page and counts the packets that end on it; false when
// the page is cut short, is no page or fails its checksum.
bool ReadWholePage(FILE* file, int* packetsEnded) {
    std::vector<unsigned char> page(27);
    if (std::fread(page.data(), 1, 27, file) != 27 || std::memcmp(page.data(), "OggS", 4) != 0) return false;
    int segments = page[26];
    page.resize(27 + segments);
    if (std::fread(page.data() + 27, 1, segments, file) != static_cast<std::size_t>(segments)) return false;
    std::size_t body = 0;
    *packetsEnded = 0;
    for (int segment = 0; segment < segments; ++segment) {
        body += page[27 + segment];
        *packetsEnded += page[27 + segment] < 255 ? 1 : 0;
    }
    page.resize(27 + segments + body);
    if (std::fread(page.data() + 27 + segments, 1, body, file) != body) return false;
    std::uint32_t stored = page[22] | page[23] << 8 | page[24] << 16 | static_cast<std::uint32_t>(page[25]) << 24;
    return OggPageChecksum(page) == stored || kFuzzing;
}

// The three header packets end within this many pages of any stream an
// encoder writes; a stream that goes on without ending them is refused.
constexpr int kMostHeaderPages = 64;

bool HeaderPagesWhole(FILE* file) {
    int packets = 0;
    for (int page = 0; page < kMostHeaderPages && packets < 3; ++page) {
        int ended = 0;
        if (!ReadWholePage(file, &ended)) return false;
        packets += ended;
    }
    return packets >= 3;
}

// Goes back to where the check started, whatever it found.
template <class Check> bool CheckedFromHere(FILE* file, Check check) {
    long start = std::ftell(file);
    if (start < 0) return false;
    bool passed = check(file);
    return std::fseek(file, start, SEEK_SET) == 0 && passed;
}

}  // namespace

bool OggHeadersIntact(FILE* file) {
    return CheckedFromHere(file, IdentificationPlayable) && CheckedFromHere(file, HeaderPagesWhole);
}

OggReader::OggReader(FILE* file) {
    if (!OggHeadersIntact(file)) return;
    stream = OpenVorbis(file, memory);
    if (!stream) return;
    stb_vorbis_info info = stb_vorbis_get_info(stream);
    channels = info.channels;
    hertz = static_cast<int>(info.sample_rate);
}

OggReader::~OggReader() {
    if (stream) stb_vorbis_close(stream);
}

bool OggReader::Seek(long long frame) {
    return stream && frame >= 0 && frame <= 0xffffffffLL && stb_vorbis_seek(stream, static_cast<unsigned>(frame)) != 0;
}

int OggReader::Read(std::vector<short>& samples, int frames) {
    if (!stream || channels <= 0) return 0;
    std::size_t total = samples.size();
    int added = 0;
    while (added < frames) {
        samples.resize(total + static_cast<std::size_t>(kFrameRoom) * channels);
        int got = stb_vorbis_get_frame_short_interleaved(stream, channels, samples.data() + total, kFrameRoom * channels);
        if (got == 0) break;
        total += static_cast<std::size_t>(got) * channels;
        added += got;
    }
    samples.resize(total);
    return added;
}
