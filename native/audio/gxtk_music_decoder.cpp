#include "native/audio/gxtk_music_decoder.h"

#include <algorithm>
#include <exception>

#include "native/audio/worker_threads.h"

namespace {

// A cancel is heard after at most this much decoding.
constexpr int kStepsPerSecond = 10;
// The reader asks for room for a whole Vorbis frame beyond what it is asked.
constexpr int kVorbisFrameRoom = 4096;

}  // namespace

gxtkMusicDecoder::gxtkMusicDecoder(FILE* file, long long start) : file(file), start(start) {
    RunOnWorkerThread([this] { DecodeAll(); });
}

gxtkMusicDecoder::~gxtkMusicDecoder() {
    std::unique_lock<std::mutex> lock(mutex);
    cancelled = true;
    taken.notify_one();
    ended.wait(lock, [this] { return done; });
    lock.unlock();
    std::fclose(file);
}

bool gxtkMusicDecoder::TakePiece(Piece& piece) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (ready.empty()) return false;
        piece = std::move(ready.front());
        ready.pop_front();
    }
    taken.notify_one();
    return true;
}

bool gxtkMusicDecoder::Finished() {
    std::lock_guard<std::mutex> lock(mutex);
    return done && ready.empty();
}

// A stream that is not playable decodes to no pieces at all, and so does
// one whose memory runs out: the tune ends early rather than the program.
void gxtkMusicDecoder::DecodeAll() {
    try {
        DecodePieces();
    } catch (const std::exception&) {
    }
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
    ended.notify_all();
}

// The reader only opens mono or stereo at a bounded rate, so the room
// reserved for a piece is bounded too.
void gxtkMusicDecoder::DecodePieces() {
    OggReader reader(file);
    refused = !reader.Opened();
    bool more = reader.Opened() && (start == 0 || reader.Seek(start));
    int frames = static_cast<int>(reader.Hertz() * kOpeningSeconds);
    while (more) {
        Piece piece;
        piece.channels = reader.Channels();
        piece.hertz = reader.Hertz();
        piece.samples.reserve(static_cast<std::size_t>(frames + kVorbisFrameRoom) * piece.channels);
        more = DecodeInto(reader, piece.samples, frames);
        if (piece.samples.empty() || !HandOver(piece)) break;
        frames = static_cast<int>(reader.Hertz() * kPieceSeconds);
    }
}

bool gxtkMusicDecoder::HandOver(Piece& piece) {
    std::unique_lock<std::mutex> lock(mutex);
    taken.wait(lock, [this] { return cancelled || ready.size() < kMostReady; });
    if (cancelled) return false;
    ready.push_back(std::move(piece));
    return true;
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
