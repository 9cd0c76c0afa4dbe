#include "native/audio/gxtk_music_stream.h"

namespace {

ALenum SampleFormat(int channels) {
    if (channels == 1) return AL_FORMAT_MONO16;
    if (channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

}  // namespace

// Until the whole tune is queued the source must not loop, or it would
// start over after the pieces queued so far.
std::unique_ptr<gxtkMusicStream> gxtkMusicStream::Start(FILE* file, ALuint source, bool loop) {
    std::unique_ptr<gxtkMusicStream> stream(new gxtkMusicStream(file, source, loop));
    if (!stream->reader.Opened() || stream->format == 0) return nullptr;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    alSourcei(source, AL_LOOPING, AL_FALSE);
    bool more = stream->QueueNextPiece();
    if (stream->buffers.empty()) return nullptr;
    alSourcePlay(source);
    if (more) {
        stream->worker = std::thread(&gxtkMusicStream::DecodeRest, stream.get());
    } else {
        stream->Finish();
    }
    return stream;
}

gxtkMusicStream::gxtkMusicStream(FILE* file, ALuint source, bool loop)
    : file(file), reader(file), source(source), loop(loop), format(SampleFormat(reader.Channels())) {}

gxtkMusicStream::~gxtkMusicStream() {
    cancelled = true;
    if (worker.joinable()) worker.join();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    if (!buffers.empty()) alDeleteBuffers(static_cast<ALsizei>(buffers.size()), buffers.data());
    std::fclose(file);
}

bool gxtkMusicStream::QueueNextPiece() {
    int frames = kPieceSeconds * reader.Hertz();
    std::vector<short> samples;
    samples.reserve(static_cast<std::size_t>(frames + 4096) * reader.Channels());
    bool whole = reader.Read(samples, frames) >= frames;
    if (samples.empty()) return false;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, format, samples.data(), static_cast<ALsizei>(samples.size() * sizeof(short)), reader.Hertz());
    alSourceQueueBuffers(source, 1, &buffer);
    buffers.push_back(buffer);
    return whole;
}

void gxtkMusicStream::DecodeRest() {
    while (!cancelled && QueueNextPiece()) {
    }
    if (!cancelled) Finish();
}

void gxtkMusicStream::Finish() {
    if (loop) alSourcei(source, AL_LOOPING, AL_TRUE);
    complete = true;
}
