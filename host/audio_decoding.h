#pragma once

#include <cstdio>

// Decoded sound: interleaved samples in a heap block owned by the caller.
struct DecodedAudio {
    unsigned char* samples = nullptr;
    int length = 0;    // sample frames
    int channels = 0;
    int format = 0;    // bytes per sample
    int hertz = 0;
};

// A RIFF/WAVE file with PCM samples, passed on exactly as stored. Anything
// else, or a file that ends early, gives no samples.
DecodedAudio DecodeWave(FILE* file);

// An Ogg Vorbis stream as 16-bit signed samples.
DecodedAudio DecodeOgg(FILE* file);
