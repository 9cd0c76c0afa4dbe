// A small sfxr-style synthesiser (one oscillator with envelope, pitch
// slides, vibrato, arpeggio, duty sweep and filters), plus mixing helpers and
// the WAVE writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "levels.h"

namespace sfx {

constexpr int kRate = 44100;

using Buffer = std::vector<float>;

enum class Wave { Square, Saw, Sine, Triangle, Noise };

struct Voice {
    Wave wave = Wave::Square;
    float freq = 440;          // Hz at the start
    float minFreq = 20;        // the sound stops when a slide falls below this
    float slide = 0;           // octaves per second
    float slideAccel = 0;      // octaves per second, per second
    float duty = 0.5f;         // square duty, 0..1
    float dutySweep = 0;       // per second
    float vibDepth = 0;        // fraction of the frequency
    float vibSpeed = 0;        // Hz
    float vibDelay = 0;        // seconds before vibrato starts
    float attack = 0.005f, sustain = 0.1f, decay = 0.1f;  // seconds
    float punch = 0;           // extra level at the start of the sustain
    float arpMul = 1, arpTime = 0;  // after arpTime the pitch jumps by arpMul
    float arpMul2 = 1, arpTime2 = 0;
    float repeat = 0;          // seconds: pitch and arpeggio restart
    float lowPass = 0;         // cutoff in Hz, 0 for none
    float lowPassSweep = 0;    // octaves per second
    float highPass = 0;        // cutoff in Hz, 0 for none
    float highPassSweep = 0;   // octaves per second
    float volume = 1;
    uint32_t seed = 1;         // noise
};

Buffer render(const Voice& v);

// Adds src into dst starting at `at` seconds, scaled by gain.
void mixIn(Buffer& dst, const Buffer& src, float at, float gain = 1);
// The gain that brings a sound of this RMS and peak to the level's loudness,
// or less where its peak would pass the level's ceiling.
float masterGain(double rms, double peak, Level level);
// Brings an effect to its level and fades both ends in and out.
void master(Buffer& b, Level level);
// A feedback echo: delay in seconds.
void echo(Buffer& b, float delay, float feedback, float wet);
float midiHz(float note);

struct Stats {
    double seconds, peak, rms;  // peak and RMS as fractions of full scale
};
Stats measure(const std::vector<int16_t>& samples, int channels);

std::vector<int16_t> toPcm(const Buffer& b);
bool writeWave(const std::string& path, const std::vector<int16_t>& samples, int channels);

}  // namespace sfx
