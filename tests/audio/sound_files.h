#pragma once

#include <cstdint>
#include <string>

// A sine tone to write as a sound file.
struct Tone {
    int channels = 1;
    int bits = 16;
    int hertz = 22050;
    double seconds = 0.2;
    double amplitude = 0.5;
    double pitch = 440;
};

// The tone as a PCM RIFF/WAVE file.
std::string WaveBytes(const Tone& tone);

// The tone encoded as Ogg Vorbis (16-bit tones only); false if encoding fails.
bool WriteOgg(const std::string& path, const Tone& tone);

// Rewrites the sample rate in the identification header of an Ogg file that
// WriteOgg wrote, so its header claims `hertz`; false if it is not there.
bool ClaimHertz(const std::string& path, std::uint32_t hertz);
