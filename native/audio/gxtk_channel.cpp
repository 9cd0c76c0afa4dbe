#include "native/audio/gxtk_channel.h"

#include "native/audio/gxtk_audio.h"

ALuint gxtkChannel::AL_Source() {
    if (source) return source;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) source = 0;
    if (!source) source = gxtkAudio::audio->TakeStoppedSource();
    if (!source) return 0;
    alSourcef(source, AL_GAIN, gain);
    alSourcefv(source, AL_POSITION, position);
    alSourcef(source, AL_PITCH, pitch);
    return source;
}

ALint gxtkChannel::SourceState() const {
    ALint value = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &value);
    return value;
}
