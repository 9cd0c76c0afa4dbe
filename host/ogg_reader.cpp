#include "host/ogg_reader.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace {

// Room for the longest Vorbis frame of any channel count stb_vorbis decodes.
constexpr int kFrameRoom = 4096;

}  // namespace

OggReader::OggReader(FILE* file) {
    int error = 0;
    stream = stb_vorbis_open_file(file, 0, &error, nullptr);
    if (!stream) return;
    stb_vorbis_info info = stb_vorbis_get_info(stream);
    channels = info.channels;
    hertz = static_cast<int>(info.sample_rate);
}

OggReader::~OggReader() {
    if (stream) stb_vorbis_close(stream);
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
