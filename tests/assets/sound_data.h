// The generated sound files read back: effects as 16-bit WAVE samples, the
// tune decoded from Ogg Vorbis as the game decodes it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

struct Wave {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

inline uint32_t le32(const uint8_t* b) { return b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24; }
inline uint16_t le16(const uint8_t* b) { return uint16_t(b[0] | b[1] << 8); }

inline bool readWave(const std::string& path, Wave& w) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<uint8_t> b;
    uint8_t buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) b.insert(b.end(), buf, buf + n);
    std::fclose(f);
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) || std::memcmp(b.data() + 8, "WAVE", 4)) return false;
    for (size_t at = 12; at + 8 <= b.size();) {
        uint32_t size = le32(&b[at + 4]);
        if (at + 8 + size > b.size()) return false;
        const uint8_t* body = &b[at + 8];
        if (!std::memcmp(&b[at], "fmt ", 4) && size >= 16) {
            w.format = le16(body);
            w.channels = le16(body + 2);
            w.rate = int(le32(body + 4));
            w.bits = le16(body + 14);
        } else if (!std::memcmp(&b[at], "data", 4)) {
            for (uint32_t i = 0; i + 1 < size; i += 2) w.samples.push_back(int16_t(le16(body + i)));
            return w.format != 0;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

// Interleaved samples of the whole tune; false when it does not decode.
inline bool decodeOgg(const std::string& path, Wave& w) {
    short* raw = nullptr;
    int frames = stb_vorbis_decode_filename(path.c_str(), &w.channels, &w.rate, &raw);
    if (frames <= 0) return false;
    std::unique_ptr<short, void (*)(void*)> owned(raw, std::free);
    w.samples.assign(raw, raw + size_t(frames) * w.channels);
    w.bits = 16;
    return true;
}
