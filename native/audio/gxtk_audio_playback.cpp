#include <algorithm>
#include <cmath>

#include "native/audio/gxtk_audio.h"

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    gxtkChannel* record = Channel(channel);
    if (!record || !sample) return -1;
    FlushDiscarded();
    if (channel == kMusicChannel) ForgetMusic();
    record->pausedAt = 0;
    if (lost) {
        // Heard once the device is back if it loops; a one-shot is over.
        gc_assign(record->sample, sample);
        record->flags = flags;
        record->state = flags ? 1 : 0;
        return 0;
    }
    ALuint source = record->AL_Source();
    if (!source) return -1;
    StartSample(*record, sample, flags);
    record->state = 1;
    return 0;
}

void gxtkAudio::StartSample(gxtkChannel& record, gxtkSample* sample, int flags, bool play) {
    alSourceStop(record.source);
    alSourcei(record.source, AL_BUFFER, static_cast<ALint>(sample->Buffer()));
    alSourcei(record.source, AL_LOOPING, flags ? AL_TRUE : AL_FALSE);
    if (play) alSourcePlay(record.source);
    gc_assign(record.sample, sample);
    record.flags = flags;
}

// A tune that ended on its own still has its stream, and the stream still
// holds the music source, so stopping music lets go of it in every state.
int gxtkAudio::StopChannel(int channel) {
    gxtkChannel* record = Channel(channel);
    if (!record) return 0;
    if (channel == kMusicChannel) ForgetMusic();
    if (record->state == 0) return 0;
    if (!lost) alSourceStop(record->source);
    record->state = 0;
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel* record = Channel(channel);
    if (!record || record->state != 1) return 0;
    if (HasEnded(channel)) {
        NoteEnded(channel);
        return 0;
    }
    if (!lost) {
        alGetSourcei(record->source, AL_SAMPLE_OFFSET, &record->pausedAt);
        alSourcePause(record->source);
    }
    record->state = 2;
    return 0;
}

// A tune goes on from where it was, also when it was paused while waiting
// for its next piece.
int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel* record = Channel(channel);
    if (!record || record->state != 2) return 0;
    record->state = 1;
    if (channel == kMusicChannel && music) {
        music->Resume();
    } else if (!lost) {
        alSourcePlay(record->source);
        record->pausedAt = 0;
    }
    return 0;
}

// An ended sound is noticed here, not when it ends.
int gxtkAudio::ChannelState(int channel) {
    gxtkChannel* record = Channel(channel);
    if (!record) return 0;
    if (record->state == 1 && HasEnded(channel)) NoteEnded(channel);
    return record->state;
}

// A tune's source also stops when it runs dry waiting for its next piece;
// the tune is still playing then, and has ended only when its stream says so.
// While the device is away, only what loops or was paused still has a state
// other than 0, and it goes on until the device is back.
bool gxtkAudio::HasEnded(int channel) {
    if (lost) return false;
    if (channel == kMusicChannel && music) return MusicEnded();
    return channels[channel].SourceState() == AL_STOPPED;
}

// An ended tune lets go of its stream as soon as its end is noticed, and of
// its buffers over the next updates.
void gxtkAudio::NoteEnded(int channel) {
    channels[channel].state = 0;
    if (channel == kMusicChannel) ForgetMusic();
}

void gxtkAudio::UpdateMusic() {
    WatchDevice();
    if (lost) return;
    DeleteSomeRetiredMusic();
    if (music && (tune.restartsAtTop || music->Refused())) MusicEnded();
    if (music) music->Update(channels[kMusicChannel].state == 1);
}

// A looping tune started part-way goes on from the top. A tune whose
// headers turn out undecodable gives way to the one it replaced.
bool gxtkAudio::MusicEnded() {
    if (music->Refused() && FallBack()) return false;
    if (!music->Ended()) return false;
    return !tune.restartsAtTop || !StartStream(0, true);
}

// The replaced tune goes on from where it was heard last, in the state it
// had.
bool gxtkAudio::FallBack() {
    if (replaced.path.empty() || replacedState == 0) return false;
    Tune back = replaced;
    int state = replacedState;
    ForgetMusic();
    tune = back;
    channels[kMusicChannel].state = state;
    RestoreTune();
    return channels[kMusicChannel].state != 0;
}

void gxtkAudio::ForgetMusic() {
    music.reset();
    tune = Tune();
    replaced = Tune();
    replacedState = 0;
}

// A few an update: no update spends long giving memory back, and a long
// tune's buffers are still gone within a second.
void gxtkAudio::DeleteSomeRetiredMusic() {
    constexpr std::size_t kPerUpdate = 16;
    std::size_t count = std::min(kPerUpdate, retiredMusic.size());
    if (count == 0) return;
    alDeleteBuffers(static_cast<ALsizei>(count), &retiredMusic[retiredMusic.size() - count]);
    retiredMusic.resize(retiredMusic.size() - count);
}

// The channel keeps its settings, for a source made after the sound server
// came back.
int gxtkAudio::SetVolume(int channel, float volume) {
    if (gxtkChannel* record = Channel(channel)) record->gain = volume;
    if (ALuint source = SourceOf(channel)) alSourcef(source, AL_GAIN, volume);
    return 0;
}

// The pan is an angle in radians on the unit circle in front of the listener.
int gxtkAudio::SetPan(int channel, float pan) {
    gxtkChannel* record = Channel(channel);
    if (!record) return 0;
    record->position[0] = std::sin(pan);
    record->position[2] = -std::cos(pan);
    if (ALuint source = SourceOf(channel)) alSourcefv(source, AL_POSITION, record->position);
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    if (gxtkChannel* record = Channel(channel)) record->pitch = rate;
    if (ALuint source = SourceOf(channel)) alSourcef(source, AL_PITCH, rate);
    return 0;
}

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }

int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }

int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }

int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }

int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }
