#include "native/audio/gxtk_sample.h"

std::vector<ALuint> discarded;

gxtkSample::~gxtkSample() { Release(); }

void gxtkSample::SetBuffer(ALuint name) { buffer = name; }

int gxtkSample::Discard() {
    Release();
    return 0;
}

void gxtkSample::Release() {
    if (buffer == 0) return;
    discarded.push_back(buffer);
    buffer = 0;
}
