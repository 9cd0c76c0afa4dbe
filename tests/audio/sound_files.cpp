#include "tests/audio/sound_files.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::string Bytes(std::uint32_t value, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

int FrameCount(const Tone& tone) { return static_cast<int>(tone.seconds * tone.hertz); }

double Level(const Tone& tone, int frame) {
    return tone.amplitude * std::sin(2 * M_PI * tone.pitch * frame / tone.hertz);
}

// One sample value in the file's encoding: 8-bit is unsigned, wider is signed.
std::string Sample(const Tone& tone, double level) {
    int bytes = tone.bits / 8;
    if (bytes == 1) return Bytes(static_cast<std::uint32_t>(std::lround(128 + 127 * level)), 1);
    double full = std::ldexp(1.0, tone.bits - 1) - 1;
    return Bytes(static_cast<std::uint32_t>(std::lround(full * level)), bytes);
}

void WritePages(ogg_stream_state& stream, std::FILE* file, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file);
        std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file);
    }
}

void DrainPackets(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::FILE* file) {
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            WritePages(stream, file, false);
        }
    }
}

void WriteHeaders(vorbis_dsp_state& dsp, vorbis_comment& comment, ogg_stream_state& stream, std::FILE* file) {
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&stream, &identification);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    WritePages(stream, file, true);
}

void WriteSamples(const Tone& tone, vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream,
                  std::FILE* file) {
    int frames = FrameCount(tone);
    float** channels = vorbis_analysis_buffer(&dsp, frames);
    for (int frame = 0; frame < frames; ++frame) {
        for (int channel = 0; channel < tone.channels; ++channel) {
            channels[channel][frame] = static_cast<float>(Level(tone, frame));
        }
    }
    vorbis_analysis_wrote(&dsp, frames);
    DrainPackets(dsp, block, stream, file);
    vorbis_analysis_wrote(&dsp, 0);
    DrainPackets(dsp, block, stream, file);
    WritePages(stream, file, true);
}

}  // namespace

std::string WaveBytes(const Tone& tone) {
    int blockAlign = tone.channels * tone.bits / 8;
    std::string samples;
    for (int frame = 0; frame < FrameCount(tone); ++frame) {
        for (int channel = 0; channel < tone.channels; ++channel) samples += Sample(tone, Level(tone, frame));
    }
    std::string format = Bytes(1, 2) + Bytes(static_cast<std::uint32_t>(tone.channels), 2) +
                         Bytes(static_cast<std::uint32_t>(tone.hertz), 4) +
                         Bytes(static_cast<std::uint32_t>(tone.hertz * blockAlign), 4) +
                         Bytes(static_cast<std::uint32_t>(blockAlign), 2) +
                         Bytes(static_cast<std::uint32_t>(tone.bits), 2);
    std::string body = "WAVE" + ("fmt " + Bytes(16, 4) + format) +
                       ("data" + Bytes(static_cast<std::uint32_t>(samples.size()), 4) + samples);
    return "RIFF" + Bytes(static_cast<std::uint32_t>(body.size()), 4) + body;
}

bool WriteOgg(const std::string& path, const Tone& tone) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    vorbis_info info;
    vorbis_info_init(&info);
    bool encoding = vorbis_encode_init_vbr(&info, tone.channels, tone.hertz, 0.3f) == 0;
    if (encoding) {
        vorbis_comment comment;
        vorbis_dsp_state dsp;
        vorbis_block block;
        ogg_stream_state stream;
        vorbis_comment_init(&comment);
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, 1);
        WriteHeaders(dsp, comment, stream, file);
        WriteSamples(tone, dsp, block, stream, file);
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
    }
    vorbis_info_clear(&info);
    return std::fclose(file) == 0 && encoding;
}

// The first page holds the identification packet alone, in one segment.
bool ClaimHertz(const std::string& path, std::uint32_t hertz) {
    constexpr long kPacket = 28;
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file) return false;
    char packet[16];
    bool found = std::fseek(file, kPacket, SEEK_SET) == 0 && std::fread(packet, 1, sizeof packet, file) == sizeof packet &&
                 std::memcmp(packet, "\x01vorbis", 7) == 0;
    std::string bytes = Bytes(hertz, 4);
    bool written = found && std::fseek(file, kPacket + 12, SEEK_SET) == 0 &&
                   std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
