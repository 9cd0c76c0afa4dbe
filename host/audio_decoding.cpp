#include "host/audio_decoding.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/ogg_reader.h"
#include "runtime/gc.h"
#include "runtime/memory.h"

namespace {

// A sound is handed on with its size in bytes as an int, so none is larger.
constexpr std::uint64_t kMostSoundBytes = INT_MAX;

// Reads the little-endian fields of a WAVE file and knows how many of its
// bytes are left, so no chunk can ask for more than the file holds.
class WaveReader {
public:
    explicit WaveReader(FILE* file) : file(file) {
        long start = std::ftell(file);
        std::fseek(file, 0, SEEK_END);
        long end = std::ftell(file);
        left = start >= 0 && end > start ? static_cast<std::uint64_t>(end - start) : 0;
        std::fseek(file, start, SEEK_SET);
    }

    bool Tag(const char* expected) {
        char tag[4];
        return Bytes(tag, 4) && std::memcmp(tag, expected, 4) == 0;
    }

    bool ReadTag(char* tag) { return Bytes(tag, 4); }

    bool U16(unsigned* value) {
        unsigned char bytes[2];
        if (!Bytes(bytes, 2)) return false;
        *value = bytes[0] | bytes[1] << 8;
        return true;
    }

    bool U32(std::uint32_t* value) {
        unsigned char bytes[4];
        if (!Bytes(bytes, 4)) return false;
        *value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
        return true;
    }

    bool Skip(std::uint64_t count) {
        if (!Holds(count)) return false;
        left -= count;
        return std::fseek(file, static_cast<long>(count), SEEK_CUR) == 0;
    }

    bool Holds(std::uint64_t count) const { return count <= left; }

    bool Bytes(void* into, std::uint32_t count) {
        if (!Holds(count) || std::fread(into, 1, count, file) != count) return false;
        left -= count;
        return true;
    }

private:
    FILE* file;
    std::uint64_t left;
};

struct WaveFormat {
    unsigned channels = 0;
    std::uint32_t hertz = 0;
    unsigned bits = 0;
};

bool ReadFormat(WaveReader& reader, WaveFormat* format) {
    std::uint32_t formatSize, byteRate;
    unsigned formatTag, blockAlign;
    if (!reader.Tag("RIFF") || !reader.Skip(4) || !reader.Tag("WAVE") || !reader.Tag("fmt ")) return false;
    if (!reader.U32(&formatSize) || !reader.U16(&formatTag) || formatTag != 1) return false;
    if (!reader.U16(&format->channels) || !reader.U32(&format->hertz) || !reader.U32(&byteRate) ||
        !reader.U16(&blockAlign) || !reader.U16(&format->bits)) {
        return false;
    }
    if (formatSize > 16 && !reader.Skip(formatSize - 16)) return false;
    return PlayableLayout(format->channels, format->hertz) && (format->bits == 8 || format->bits == 16);
}

}  // namespace

DecodedAudio DecodeWave(FILE* file) {
    WaveReader reader(file);
    WaveFormat format;
    if (!ReadFormat(reader, &format)) return DecodedAudio();
    for (;;) {
        char tag[4];
        std::uint32_t size;
        if (!reader.ReadTag(tag) || !reader.U32(&size)) return DecodedAudio();
        if (std::memcmp(tag, "data", 4) != 0) {
            if (!reader.Skip(std::uint64_t{size} + (size & 1))) return DecodedAudio();
            continue;
        }
        if (!reader.Holds(size) || size > kMostSoundBytes) return DecodedAudio();
        auto* samples = static_cast<unsigned char*>(kp_malloc(size ? size : 1));
        if (!reader.Bytes(samples, size)) {
            std::free(samples);
            return DecodedAudio();
        }
        DecodedAudio audio;
        audio.samples = samples;
        audio.channels = static_cast<int>(format.channels);
        audio.format = static_cast<int>(format.bits / 8);
        audio.hertz = static_cast<int>(format.hertz);
        audio.length = static_cast<int>(size / (format.channels * (format.bits / 8)));
        return audio;
    }
}

DecodedAudio DecodeOgg(FILE* file) {
    OggReader reader(file);
    if (!reader.Opened()) return DecodedAudio();
    std::vector<short> samples;
    while (reader.Read(samples, reader.Hertz()) > 0) {
        if (samples.size() * sizeof(short) > kMostSoundBytes) return DecodedAudio();
    }
    DecodedAudio audio;
    std::size_t bytes = samples.size() * sizeof(short);
    audio.samples = static_cast<unsigned char*>(kp_malloc(bytes ? bytes : 1));
    if (bytes) std::memcpy(audio.samples, samples.data(), bytes);
    audio.length = static_cast<int>(samples.size()) / reader.Channels();
    audio.channels = reader.Channels();
    audio.format = 2;
    audio.hertz = reader.Hertz();
    return audio;
}

DecodedAudio DecodeAudioFile(const std::string& systemPath) {
    std::string lowered;
    for (char c : systemPath) lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto endsWith = [&](const char* ending) {
        std::size_t length = std::strlen(ending);
        return lowered.size() >= length && lowered.compare(lowered.size() - length, length, ending) == 0;
    };
    bool wave = endsWith(".wav");
    if (!wave && !endsWith(".ogg")) return DecodedAudio();
    FILE* file = std::fopen(systemPath.c_str(), "rb");
    if (!file) return DecodedAudio();
    DecodedAudio audio = wave ? DecodeWave(file) : DecodeOgg(file);
    std::fclose(file);
    if (audio.samples) gc_ext_malloced(static_cast<long long>(audio.length) * audio.channels * audio.format);
    return audio;
}
