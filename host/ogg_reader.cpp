#include "host/ogg_reader.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "host/audio_decoding.h"

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

// Whether the file, from where it stands, opens with the identification
// header of a playable Vorbis stream. Cheap: it reads one page and goes
// back to where it started.
bool OggLooksPlayable(FILE* file) {
    long start = std::ftell(file);
    if (start < 0) return false;
    bool playable = IdentificationPlayable(file);
    return std::fseek(file, start, SEEK_SET) == 0 && playable;
}

}  // namespace

OggReader::OggReader(FILE* file) {
    if (!OggLooksPlayable(file)) return;
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
