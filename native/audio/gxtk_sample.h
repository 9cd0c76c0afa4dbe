#pragma once

#include <AL/al.h>

#include <vector>

#include "runtime/gc.h"

// Buffers of released samples. OpenAL refuses to delete a buffer that a
// source still holds, so they wait here for gxtkAudio::FlushDiscarded.
extern std::vector<ALuint> discarded;

// A loaded sound: one OpenAL buffer, 0 when there is none.
class gxtkSample : public Object {
public:
    ALuint buffer = 0;

    ~gxtkSample() override;
    void SetBuffer(ALuint name);
    virtual int Discard();

private:
    void Release();
};
