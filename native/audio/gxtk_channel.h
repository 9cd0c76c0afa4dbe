#pragma once

#include <AL/al.h>

#include "native/audio/gxtk_sample.h"

// One playback channel of the audio device.
struct gxtkChannel {
    ALuint source;       // 0 until the channel first needs one
    gxtkSample* sample;  // last started here; the device marks it while it sounds
    int flags;           // non-zero loops
    int state;           // 0 stopped, 1 playing, 2 paused
    // As last set; a source made for the channel starts with them.
    float gain = 1;
    float position[3] = {0, 0, 0};
    float pitch = 1;
    // Where the sound was paused, in sample frames, to resume from there on
    // a device opened meanwhile.
    ALint pausedAt = 0;

    // The channel's source, created on first use or taken from a stopped
    // effect channel when the device has no more; 0 when none can be had.
    // It gets the channel's settings either way.
    ALuint AL_Source();

    // What OpenAL says the source is doing; a source it cannot report on
    // counts as stopped.
    ALint SourceState() const;
};
