#pragma once

#include <AL/al.h>

#include <atomic>
#include <vector>

#include "runtime/gc.h"

// Buffers of released samples. OpenAL refuses to delete a buffer that a
// source still holds, so they wait here for gxtkAudio::FlushDiscarded.
extern std::vector<ALuint> discarded;

// Counts the devices lost so far; a buffer made for an earlier one is gone
// with it.
extern std::atomic<unsigned> audioGeneration;
// The devices open, to make buffers on; a loader thread reads it.
extern std::atomic<int> audioDevicesOpen;

// A loaded sound: one OpenAL buffer, 0 when there is none. The samples are
// kept too, so the buffer can be made again on a device opened after the
// sound server came back.
class gxtkSample : public Object {
public:
    ALuint buffer = 0;

    ~gxtkSample() override;
    // Copies the samples and makes a buffer of them on the current device,
    // if there is one; otherwise the buffer is made once one is there.
    void SetSound(ALenum format, const unsigned char* samples, int bytes, int hertz);
    // The buffer, made again first when it belongs to a device now gone.
    ALuint Buffer();
    virtual int Discard();

private:
    void MakeBuffer();
    void Release();

    std::vector<unsigned char> samples;
    ALenum format = 0;
    int hertz = 0;
    unsigned generation = 0;
};
