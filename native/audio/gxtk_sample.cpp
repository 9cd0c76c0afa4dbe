#include "native/audio/gxtk_sample.h"

std::vector<ALuint> discarded;
std::atomic<unsigned> audioGeneration;
std::atomic<int> audioDevicesOpen;

gxtkSample::~gxtkSample() { Release(); }

void gxtkSample::SetSound(ALenum soundFormat, const unsigned char* data, int bytes, int soundHertz) {
    samples.assign(data, data + bytes);
    format = soundFormat;
    hertz = soundHertz;
    MakeBuffer();
}

ALuint gxtkSample::Buffer() {
    if (generation != audioGeneration && !samples.empty()) MakeBuffer();
    return buffer;
}

// A format OpenAL has no name for is 0, which it rejects: the buffer stays
// empty and plays as silence.
void gxtkSample::MakeBuffer() {
    generation = audioGeneration;
    buffer = 0;
    if (audioDevicesOpen.load() == 0) {
        generation = audioGeneration - 1;
        return;
    }
    alGetError();
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) {
        buffer = 0;
        generation = audioGeneration - 1;
        return;
    }
    alBufferData(buffer, format, samples.data(), static_cast<ALsizei>(samples.size()), hertz);
}

int gxtkSample::Discard() {
    Release();
    samples.clear();
    samples.shrink_to_fit();
    return 0;
}

// A buffer of a device that is gone went with it.
void gxtkSample::Release() {
    if (buffer != 0 && generation == audioGeneration) discarded.push_back(buffer);
    buffer = 0;
}
