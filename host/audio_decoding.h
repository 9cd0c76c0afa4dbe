#pragma once

#include <cstdio>
#include <string>

// Decoded sound: interleaved samples in a heap block owned by the caller.
// Sound OpenAL can play: mono or stereo, at a rate a header may honestly
// claim. Anything else is refused before memory is sized by it.
constexpr long long kMostHertz = 192000;
inline bool PlayableLayout(long long channels, long long hertz) {
    return (channels == 1 || channels == 2) && hertz >= 1 && hertz <= kMostHertz;
}

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

// The file named in the system's bytes, decoded by its ending (".wav" or
// ".ogg", in any case), and reported to the collector as external memory.
// It touches no String, so a loader thread may call it.
DecodedAudio DecodeAudioFile(const std::string& systemPath);
