#include <cmath>

#include "native/audio/gxtk_audio.h"

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    gxtkChannel* record = Channel(channel);
    if (!record || !sample) return -1;
    FlushDiscarded();
    ALuint source = record->AL_Source();
    if (!source) return -1;
    if (channel == kMusicChannel) music.reset();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(source, AL_LOOPING, flags ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    gc_assign(record->sample, sample);
    record->flags = flags;
    record->state = 1;
    return 0;
}

// A tune that ended on its own still has its stream, and the stream still
// holds the music source, so stopping music lets go of it in every state.
int gxtkAudio::StopChannel(int channel) {
    gxtkChannel* record = Channel(channel);
    if (!record) return 0;
    if (channel == kMusicChannel) music.reset();
    if (record->state == 0) return 0;
    alSourceStop(record->source);
    record->state = 0;
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel* record = Channel(channel);
    if (!record || record->state != 1) return 0;
    if (record->SourceState() == AL_STOPPED) {
        NoteEnded(channel);
    } else {
        alSourcePause(record->source);
        record->state = 2;
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel* record = Channel(channel);
    if (!record || record->state != 2) return 0;
    alSourcePlay(record->source);
    record->state = 1;
    return 0;
}

// An ended sound is noticed here, not when it ends.
int gxtkAudio::ChannelState(int channel) {
    gxtkChannel* record = Channel(channel);
    if (!record) return 0;
    if (record->state == 1 && record->SourceState() == AL_STOPPED) NoteEnded(channel);
    return record->state;
}

// An ended tune's buffers go as soon as its end is noticed.
void gxtkAudio::NoteEnded(int channel) {
    channels[channel].state = 0;
    if (channel == kMusicChannel && music && music->Complete()) music.reset();
}

int gxtkAudio::SetVolume(int channel, float volume) {
    if (ALuint source = SourceOf(channel)) alSourcef(source, AL_GAIN, volume);
    return 0;
}

// The pan is an angle in radians on the unit circle in front of the listener.
int gxtkAudio::SetPan(int channel, float pan) {
    if (ALuint source = SourceOf(channel)) alSource3f(source, AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    if (ALuint source = SourceOf(channel)) alSourcef(source, AL_PITCH, rate);
    return 0;
}

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }

int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }

int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }

int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }

int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }
