#pragma once

#include <AL/al.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "host/ogg_reader.h"

// A tune that starts at once from its opening while a worker thread decodes
// the rest piece by piece and queues each piece behind it on the music
// source, so starting a long tune never holds up the game and never needs
// the whole tune twice in memory.
class gxtkMusicStream {
public:
    static constexpr int kPieceSeconds = 2;

    // Starts `file` (an Ogg Vorbis stream, closed by the stream) on
    // `source`; null when the file holds no such stream.
    static std::unique_ptr<gxtkMusicStream> Start(FILE* file, ALuint source, bool loop);

    // Stops the source and lets go of the buffers.
    ~gxtkMusicStream();
    gxtkMusicStream(const gxtkMusicStream&) = delete;
    gxtkMusicStream& operator=(const gxtkMusicStream&) = delete;

    // True once the whole tune is queued.
    bool Complete() const { return complete.load(); }
    // The queued pieces in order; only read once Complete.
    const std::vector<ALuint>& Buffers() const { return buffers; }

private:
    gxtkMusicStream(FILE* file, ALuint source, bool loop);
    // Decodes and queues the next piece; false at the end of the tune.
    bool QueueNextPiece();
    void DecodeRest();
    void Finish();

    FILE* file;
    OggReader reader;
    ALuint source;
    bool loop;
    ALenum format = 0;
    std::vector<ALuint> buffers;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> complete{false};
    std::thread worker;
};
