#pragma once

#include <AL/al.h>

#include <cstdio>
#include <vector>

#include "native/audio/gxtk_music_decoder.h"

// A tune on the music source, played from its opening while a worker
// decodes the rest piece by piece; the main thread queues each piece behind
// the ones before it at its updates. Starting a long tune thus never holds
// up the game, and the whole tune is never in memory twice. All OpenAL
// calls happen on the main thread.
class gxtkMusicStream {
public:
    // Starts decoding `file` (an Ogg Vorbis stream, closed by the stream)
    // for `source`, which it stops and empties; the source plays from the
    // first update that finds the opening decoded.
    // The tune starts at frame `start`.
    gxtkMusicStream(FILE* file, ALuint source, bool loop, std::vector<ALuint>& retired, long long start = 0);
    // Stops and empties the source and adds the buffers to `retired`, for
    // the caller to delete a few at a time: deleting a whole tune's memory
    // at once would hold up an update.
    ~gxtkMusicStream();
    gxtkMusicStream(const gxtkMusicStream&) = delete;
    gxtkMusicStream& operator=(const gxtkMusicStream&) = delete;

    // Queues the next decoded piece: one a call bounds the time an update
    // spends here, and even so the queue grows far faster than the tune
    // plays. With `play` it also starts the source once the opening is
    // there, and again from where the tune is when the source ran dry
    // waiting for a piece and the piece has come; a paused source stays
    // paused.
    void Update(bool play);
    // Goes on from where the tune was paused, and plays as Update does.
    void Resume();
    // True once the whole tune is queued and has played to its end, or the
    // file held no tune; a looping tune never ends.
    bool Ended();

    // True once the decoder found the file's headers undecodable.
    bool Refused() const { return decoder.Refused(); }
    // True once the whole tune is queued.
    bool Complete() const { return complete; }
    // The frame of the tune last heard at an update.
    long long HeardFrame() const { return heardFrame; }
    // The queued pieces in order.
    const std::vector<ALuint>& Buffers() const { return buffers; }

private:
    void Queue(const gxtkMusicDecoder::Piece& piece);
    void Play();
    // A source that stopped while sounding has played everything queued
    // before `framesBefore`, and must go on from there.
    void NoticeStop(long long framesBefore);
    ALint SourceState() const;

    gxtkMusicDecoder decoder;
    ALuint source;
    bool loop;
    std::vector<ALuint>& retired;
    std::vector<ALuint> buffers;
    long long queuedFrames = 0;
    // Where the next start of the stopped source begins.
    long long playFrom = 0;
    // Set playing and not yet found stopped.
    bool sounding = false;
    bool complete = false;
    long long start;
    long long heardFrame;
};
