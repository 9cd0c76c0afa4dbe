#include "native/audio/gxtk_music_decoder.h"

#include <algorithm>

namespace {

// A cancel is heard after at most this much decoding.
constexpr int kStepsPerSecond = 10;

}  // namespace

gxtkMusicDecoder::gxtkMusicDecoder(FILE* file) : file(file), worker(&gxtkMusicDecoder::DecodeAll, this) {}

gxtkMusicDecoder::~gxtkMusicDecoder() {
    cancelled = true;
    worker.join();
    std::fclose(file);
}

bool gxtkMusicDecoder::TakePiece(Piece& piece) {
    std::lock_guard<std::mutex> lock(mutex);
    if (ready.empty()) return false;
    piece = std::move(ready.front());
    ready.pop_front();
    return true;
}

bool gxtkMusicDecoder::Finished() {
    std::lock_guard<std::mutex> lock(mutex);
    return done && ready.empty();
}

// A stream that is not mono or stereo Vorbis decodes to no pieces at all.
void gxtkMusicDecoder::DecodeAll() {
    OggReader reader(file);
    bool more = reader.Opened() && (reader.Channels() == 1 || reader.Channels() == 2);
    int frames = static_cast<int>(reader.Hertz() * kOpeningSeconds);
    while (more) {
        Piece piece;
        piece.channels = reader.Channels();
        piece.hertz = reader.Hertz();
        piece.samples.reserve(static_cast<std::size_t>(frames + reader.Hertz() / kStepsPerSecond) * piece.channels);
        more = DecodeInto(reader, piece.samples, frames);
        if (piece.samples.empty()) break;
        std::lock_guard<std::mutex> lock(mutex);
        ready.push_back(std::move(piece));
        frames = kPieceSeconds * reader.Hertz();
    }
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
}

bool gxtkMusicDecoder::DecodeInto(OggReader& reader, std::vector<short>& samples, int frames) {
    int step = std::max(1, reader.Hertz() / kStepsPerSecond);
    for (int added = 0; added < frames;) {
        if (cancelled) return false;
        int wanted = std::min(step, frames - added);
        int got = reader.Read(samples, wanted);
        if (got < wanted) return false;
        added += got;
    }
    return true;
}
