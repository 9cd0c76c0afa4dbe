#include "native/audio/gxtk_music_stream.h"

// Until the whole tune is queued the source must not loop, or it would
// start over after the pieces queued so far.
gxtkMusicStream::gxtkMusicStream(FILE* file, ALuint source, bool loop, std::vector<ALuint>& retired, long long start)
    : decoder(file, start), source(source), loop(loop), retired(retired), start(start), heardFrame(start) {
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    alSourcei(source, AL_LOOPING, AL_FALSE);
}

gxtkMusicStream::~gxtkMusicStream() {
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    retired.insert(retired.end(), buffers.begin(), buffers.end());
}

void gxtkMusicStream::Update(bool play) {
    long long framesBefore = queuedFrames;
    gxtkMusicDecoder::Piece piece;
    if (decoder.TakePiece(piece)) Queue(piece);
    if (!complete && decoder.Finished()) {
        complete = true;
        if (loop) alSourcei(source, AL_LOOPING, AL_TRUE);
    }
    NoticeStop(framesBefore);
    if (play) Play();
    if (sounding) {
        ALint offset = 0;
        alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
        heardFrame = start + offset;
    }
}

void gxtkMusicStream::Resume() {
    if (SourceState() == AL_PAUSED) alSourcePlay(source);
    Update(true);
}

bool gxtkMusicStream::Ended() {
    NoticeStop(queuedFrames);
    return complete && !sounding && (queuedFrames == 0 || (!loop && playFrom >= queuedFrames));
}

void gxtkMusicStream::Queue(const gxtkMusicDecoder::Piece& piece) {
    ALenum format = piece.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, format, piece.samples.data(), static_cast<ALsizei>(piece.samples.size() * sizeof(short)),
                 piece.hertz);
    alSourceQueueBuffers(source, 1, &buffer);
    buffers.push_back(buffer);
    queuedFrames += piece.Frames();
}

// A stopped source would start again from the first queued piece, so it is
// told where to begin. A looping tune that ran dry at its very end begins
// again from the top.
void gxtkMusicStream::Play() {
    if (sounding) return;
    if (complete && loop && playFrom >= queuedFrames) playFrom = 0;
    if (playFrom >= queuedFrames) return;
    alSourcei(source, AL_SAMPLE_OFFSET, static_cast<ALint>(playFrom));
    alSourcePlay(source);
    sounding = true;
}

// Queueing a piece onto a source that has just run dry does not restart it,
// so a source found stopped after the queueing stopped before the new pieces.
void gxtkMusicStream::NoticeStop(long long framesBefore) {
    if (!sounding) return;
    ALint state = SourceState();
    if (state == AL_PLAYING || state == AL_PAUSED) return;
    sounding = false;
    playFrom = framesBefore;
}

ALint gxtkMusicStream::SourceState() const {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}
