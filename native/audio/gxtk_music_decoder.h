#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <vector>

#include "host/ogg_reader.h"

// Decodes an Ogg Vorbis tune on a worker thread into pieces of samples that
// the main thread takes at its own pace. The worker only reads the file and
// decodes: it never calls OpenAL, whose error state and sources belong to
// the main thread. It keeps only a few pieces ahead of the taker, so the
// tune is not held in memory twice, once decoded and once queued.
class gxtkMusicDecoder {
public:
    // The opening is short, so the tune starts soon after it is asked for.
    // The pieces after it are short too: the update that queues one copies
    // it into fresh memory, whose first touch is what costs.
    static constexpr double kOpeningSeconds = 0.25;
    static constexpr double kPieceSeconds = 0.125;

    // Interleaved 16-bit samples of mono or stereo sound.
    struct Piece {
        std::vector<short> samples;
        int channels = 0;
        int hertz = 0;

        int Frames() const { return static_cast<int>(samples.size()) / channels; }
    };

    // Starts decoding `file`, which the decoder closes, at frame `start`.
    explicit gxtkMusicDecoder(FILE* file, long long start = 0);
    // Stops the worker's decoding within a short step and waits for it.
    ~gxtkMusicDecoder();
    gxtkMusicDecoder(const gxtkMusicDecoder&) = delete;
    gxtkMusicDecoder& operator=(const gxtkMusicDecoder&) = delete;

    // Moves the next decoded piece into `piece`; false when none is ready.
    bool TakePiece(Piece& piece);
    // True once the worker has reached the end of the tune (or found no tune
    // in the file) and every piece has been taken.
    bool Finished();
    // True once the worker found the file's headers undecodable.
    bool Refused() const { return refused.load(); }

private:
    static constexpr std::size_t kMostReady = 16;

    void DecodeAll();
    void DecodePieces();
    // Waits for room among the ready pieces; false when cancelled.
    bool HandOver(Piece& piece);
    // Appends about `frames` frames; false once the tune has ended or the
    // decoder is cancelled.
    bool DecodeInto(OggReader& reader, std::vector<short>& samples, int frames);

    FILE* file;
    long long start;
    std::mutex mutex;
    std::condition_variable taken;
    std::condition_variable ended;
    std::deque<Piece> ready;
    bool done = false;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> refused{false};
};
