#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

struct stb_vorbis;

// Ogg's page checksum: CRC-32 with the polynomial 0x04c11db7, not
// reflected, over the whole page with its checksum field taken as zero.
std::uint32_t OggPageChecksum(const std::vector<unsigned char>& page);

// Whether the file, from where it stands, holds the headers of a playable
// Vorbis stream whole: the identification header asks for a layout OpenAL
// plays, and the pages that carry the three headers are all there and pass
// their checksums. Cheap, for a file damaged anywhere in its headers: it
// decodes nothing, and goes back to where it started.
bool OggHeadersIntact(FILE* file);

// An Ogg Vorbis stream decoded a piece at a time into interleaved 16-bit
// samples, so a long tune can start before all of it is decoded.
class OggReader {
public:
    // Reads from `file`, which the caller closes once the reader is gone. A
    // stream whose headers ask for more than they hold, or for a layout
    // that is not playable, is not opened.
    explicit OggReader(FILE* file);
    ~OggReader();
    OggReader(const OggReader&) = delete;
    OggReader& operator=(const OggReader&) = delete;

    bool Opened() const { return stream != nullptr; }
    int Channels() const { return channels; }
    int Hertz() const { return hertz; }

    // Goes to sample frame `frame`; false when the stream is shorter.
    bool Seek(long long frame);

    // Appends whole Vorbis frames to `samples` until at least `frames`
    // sample frames were added or the stream ends; returns the frames added.
    int Read(std::vector<short>& samples, int frames);

private:
    // All of the decoder's memory, so a damaged stream leaves nothing behind.
    std::unique_ptr<char[]> memory;
    stb_vorbis* stream = nullptr;
    int channels = 0;
    int hertz = 0;
};
