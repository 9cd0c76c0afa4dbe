#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace sfx {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kOversample = 8;

struct OnePole {
    float y = 0;
    float step(float x, float cutoff, float rate) {
        float a = 1 - std::exp(float(-2 * kPi * cutoff / rate));
        y += a * (x - y);
        return y;
    }
};
}  // namespace

float midiHz(float note) { return 440.0f * std::pow(2.0f, (note - 69) / 12.0f); }

Buffer render(const Voice& v) {
    float length = v.attack + v.sustain + v.decay;
    int n = int(length * kRate);
    Buffer out(size_t(std::max(n, 1)), 0.0f);
    const float dt = 1.0f / (kRate * kOversample);
    uint32_t rng = v.seed * 747796405u + 2891336453u;
    auto noise = [&rng]() {
        rng ^= rng << 13;
        rng ^= rng >> 17;
        rng ^= rng << 5;
        return (rng >> 8) * (2.0f / 16777216.0f) - 1;
    };
    double phase = 0;
    float held = noise();
    float octaves = 0, slide = v.slide, duty = v.duty;
    float sinceRepeat = 0;
    OnePole lp, lpb, hp;
    bool stopped = false;
    float lpCut = v.lowPass, hpCut = v.highPass;
    for (int i = 0; i < n && !stopped; ++i) {
        float acc = 0;
        for (int k = 0; k < kOversample; ++k) {
            float t = (i * kOversample + k) * dt;
            sinceRepeat += dt;
            if (v.repeat > 0 && sinceRepeat >= v.repeat) {
                sinceRepeat = 0;
                octaves = 0;
                slide = v.slide;
            }
            slide += v.slideAccel * dt;
            octaves += slide * dt;
            float f = v.freq * std::pow(2.0f, octaves);
            if (v.arpTime > 0 && sinceRepeat >= v.arpTime) f *= v.arpMul;
            if (v.arpTime2 > 0 && sinceRepeat >= v.arpTime2) f *= v.arpMul2;
            if (v.vibDepth > 0 && t > v.vibDelay) f *= 1 + v.vibDepth * std::sin(float(2 * kPi) * v.vibSpeed * (t - v.vibDelay));
            if (f < v.minFreq) {
                stopped = true;
                break;
            }
            duty = std::clamp(duty + v.dutySweep * dt, 0.05f, 0.95f);
            double prev = phase;
            phase += f * dt;
            if (phase >= 1) phase -= std::floor(phase);
            float p = float(phase), s = 0;
            switch (v.wave) {
                case Wave::Square: s = (p < duty ? 0.5f : -0.5f) - (duty - 0.5f); break;  // no DC offset
                case Wave::Saw: s = 1 - 2 * p; break;
                case Wave::Sine: s = std::sin(float(2 * kPi) * p); break;
                case Wave::Triangle: s = p < 0.5f ? 4 * p - 1 : 3 - 4 * p; break;
                case Wave::Noise:
                    // a new random level every half period gives pitched noise
                    if ((prev < 0.5 && phase >= 0.5) || phase < prev) held = noise();
                    s = held;
                    break;
            }
            acc += s;
        }
        float s = acc / kOversample;
        float t = float(i) / kRate;
        if (lpCut > 0) {
            lpCut = v.lowPass * std::pow(2.0f, v.lowPassSweep * t);
            float c = std::clamp(lpCut, 30.0f, 20000.0f);
            s = lpb.step(lp.step(s, c, kRate), c, kRate);
        }
        if (hpCut > 0) {
            hpCut = v.highPass * std::pow(2.0f, v.highPassSweep * t);
            s -= hp.step(s, std::clamp(hpCut, 10.0f, 20000.0f), kRate);
        }
        float env;
        if (t < v.attack)
            env = t / v.attack;
        else if (t < v.attack + v.sustain)
            env = 1 + v.punch * (1 - (t - v.attack) / v.sustain);
        else
            env = std::pow(std::max(0.0f, 1 - (t - v.attack - v.sustain) / v.decay), 1.6f);
        out[size_t(i)] = s * env * v.volume;
    }
    return out;
}

void mixIn(Buffer& dst, const Buffer& src, float at, float gain) {
    size_t off = size_t(std::max(0.0f, at) * kRate);
    if (dst.size() < off + src.size()) dst.resize(off + src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); ++i) dst[off + i] += src[i] * gain;
}

float masterGain(double rms, double peak, Level level) {
    if (rms <= 0 || peak <= 0) return 1;
    return float(std::min(level.loudness / rms, level.ceiling / peak));
}

void master(Buffer& b, Level level) {
    double peak = 0, sum = 0;
    for (float s : b) {
        peak = std::max(peak, double(std::fabs(s)));
        sum += double(s) * s;
    }
    float gain = masterGain(b.empty() ? 0 : std::sqrt(sum / double(b.size())), peak, level);
    for (float& s : b) s *= gain;
    // a short fade at both ends avoids clicks
    size_t fade = std::min<size_t>(b.size() / 4, 64);
    for (size_t i = 0; i < fade; ++i) {
        b[i] *= float(i) / fade;
        b[b.size() - 1 - i] *= float(i) / fade;
    }
}

void echo(Buffer& b, float delay, float feedback, float wet) {
    size_t d = size_t(delay * kRate);
    size_t extra = size_t(delay * kRate * 4);
    b.resize(b.size() + extra, 0.0f);
    Buffer tap(b.size(), 0.0f);
    for (size_t i = d; i < b.size(); ++i) tap[i] = (b[i - d] + tap[i - d]) * feedback;
    for (size_t i = 0; i < b.size(); ++i) b[i] += tap[i] * wet / std::max(feedback, 0.01f);
}

Stats measure(const std::vector<int16_t>& s, int channels) {
    double peak = 0, sum = 0;
    for (int16_t v : s) {
        double x = v / 32768.0;
        peak = std::max(peak, std::fabs(x));
        sum += x * x;
    }
    return {double(s.size()) / channels / kRate, peak, s.empty() ? 0 : std::sqrt(sum / s.size())};
}

std::vector<int16_t> toPcm(const Buffer& b) {
    std::vector<int16_t> out(b.size());
    for (size_t i = 0; i < b.size(); ++i) out[i] = int16_t(std::lround(std::clamp(b[i], -1.0f, 1.0f) * 32767));
    return out;
}

namespace {
void put32(std::vector<uint8_t>& o, uint32_t v) {
    for (int i = 0; i < 4; ++i) o.push_back(uint8_t(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& o, uint16_t v) {
    o.push_back(uint8_t(v));
    o.push_back(uint8_t(v >> 8));
}
void tag(std::vector<uint8_t>& o, const char* t) { o.insert(o.end(), t, t + 4); }
}  // namespace

bool writeWave(const std::string& path, const std::vector<int16_t>& samples, int channels) {
    std::vector<uint8_t> o;
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    tag(o, "RIFF");
    put32(o, 36 + dataBytes);
    tag(o, "WAVE");
    tag(o, "fmt ");
    put32(o, 16);
    put16(o, 1);  // PCM
    put16(o, uint16_t(channels));
    put32(o, kRate);
    put32(o, uint32_t(kRate * channels * 2));
    put16(o, uint16_t(channels * 2));
    put16(o, 16);
    tag(o, "data");
    put32(o, dataBytes);
    for (int16_t s : samples) put16(o, uint16_t(s));
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(o.data(), 1, o.size(), f) == o.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace sfx
