// "Agile": the level tune. A 40-bar chiptune in C major at 150 beats per
// minute (intro, A, A', B, A'', turnaround), rendered into a loop whose tails
// wrap round to the start, then encoded as Ogg Vorbis.
#include "music.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include <vorbis/vorbisenc.h>

namespace sfx {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStep = 60.0 / 150.0 / 4;  // one sixteenth
constexpr int kBars = 40;
constexpr int kSteps = kBars * 16;

struct Stereo {
    std::vector<float> l, r;
    size_t n;
    explicit Stereo(size_t frames) : l(frames, 0.0f), r(frames, 0.0f), n(frames) {}
    // Mixing wraps past the end so that the loop point is seamless.
    void add(size_t i, float v, float pan) {
        i %= n;
        l[i] += v * (1 - pan) * 0.5f * 1.4142f;
        r[i] += v * (1 + pan) * 0.5f * 1.4142f;
    }
};

size_t frameAt(double step) { return size_t(std::llround(step * kStep * kRate)); }

float polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return float(t + t - t * t - 1);
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return float(t * t + t + t + 1);
    }
    return 0;
}

// A band-limited pulse oscillator.
struct Pulse {
    double phase = 0;
    float next(double hz, float duty) {
        double dt = hz / kRate;
        float v = phase < duty ? 1.0f : -1.0f;
        v += polyBlep(phase, dt);
        v -= polyBlep(std::fmod(phase + 1 - duty, 1.0), dt);
        phase += dt;
        if (phase >= 1) phase -= 1;
        return v - (2 * duty - 1);  // centred, so envelopes do not thump
    }
};

struct Noise {
    uint32_t s;
    explicit Noise(uint32_t seed) : s(seed * 2654435761u + 1) {}
    float next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return (s >> 8) * (2.0f / 16777216.0f) - 1;
    }
};

// --- the score ---------------------------------------------------------------

int noteNumber(const std::string& name) {
    static const int base[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int n = base[name[0] - 'A'];
    size_t i = 1;
    if (i < name.size() && name[i] == '#') {
        ++n;
        ++i;
    } else if (i < name.size() && name[i] == 'b') {
        --n;
        ++i;
    }
    int octave = std::stoi(name.substr(i));
    return 12 * (octave + 1) + n;
}

struct Note {
    int step, len, midi;
};

// "E5:2 G5:1 r:2 |" in eighth notes; bar lines are only for reading.
std::vector<Note> melody(const std::string& text, int firstBar) {
    std::vector<Note> out;
    std::istringstream in(text);
    std::string tok;
    int step = firstBar * 16;
    while (in >> tok) {
        if (tok == "|") continue;
        size_t colon = tok.find(':');
        int eighths = std::stoi(tok.substr(colon + 1));
        std::string name = tok.substr(0, colon);
        if (name != "r") out.push_back({step, eighths * 2, noteNumber(name)});
        step += eighths * 2;
    }
    return out;
}

struct Chord {
    int root;        // bass root, MIDI
    int tones[4];    // for the arpeggio
};

Chord chord(const std::string& name) {
    if (name == "C") return {36, {60, 64, 67, 72}};
    if (name == "G") return {43, {62, 67, 71, 74}};
    if (name == "Am") return {45, {60, 64, 69, 72}};
    if (name == "F") return {41, {60, 65, 69, 72}};
    if (name == "Em") return {40, {59, 64, 67, 71}};
    return {38, {62, 65, 69, 74}};  // Dm
}

const char* kChords[kBars] = {
    "C",  "G",  "Am", "F",                                // intro
    "C",  "G",  "Am", "F", "C", "G",  "F", "G",           // A
    "C",  "G",  "Am", "F", "C", "G",  "F", "G",           // A'
    "Am", "Em", "F",  "C", "Dm", "Em", "F", "G",          // B
    "C",  "G",  "Am", "F", "C", "G",  "F", "G",           // A''
    "F",  "G",  "Am", "G"};                               // turnaround back to the top                                       // turnaround

const std::string kPhraseA =
    "E5:2 G5:1 E5:1 C5:2 D5:1 E5:1 | D5:3 B4:1 G4:2 r:2 | C5:1 D5:1 E5:1 A5:2 G5:1 E5:2 | F5:3 E5:1 C5:2 A4:2 | "
    "E5:2 G5:1 E5:1 C6:2 B5:1 A5:1 | G5:3 D5:1 B4:2 D5:2 | ";
const std::string kEndA = "A5:1 G5:1 F5:1 A5:1 C6:2 A5:2 | B5:3 A5:1 G5:2 D5:2";
const std::string kEndA2 = "A5:1 G5:1 F5:1 E5:1 F5:2 A5:2 | G5:2 B5:2 D6:3 r:1";
const std::string kEndA3 = "A5:1 G5:1 F5:1 A5:1 C6:2 A5:2 | G5:2 B5:2 D6:2 B5:2";
const std::string kPhraseB =
    "A5:2 E5:1 A5:1 C6:2 B5:1 A5:1 | G5:3 E5:1 B4:2 E5:2 | F5:2 A5:1 C6:1 A5:2 F5:2 | G5:4 E5:2 G5:2 | "
    "D5:1 F5:1 A5:1 D6:1 C6:2 A5:2 | B5:2 G5:1 E5:1 G5:2 B5:2 | A5:1 B5:1 C6:2 A5:2 F5:2 | G5:1 A5:1 B5:1 D6:1 G6:3 r:1";
const std::string kPickup = "r:4 G4:1 A4:1 B4:1 D5:1";
const std::string kTurnaround = "C6:4 A5:4 | B5:4 D6:4 | C6:6 r:2 | B5:2 G5:2 D5:2 B4:2";

// Sections start at these bars.
constexpr int kIntro = 0, kA = 4, kA2 = 12, kB = 20, kA3 = 28, kOutro = 36;

std::vector<Note> leadLine() {
    std::vector<Note> all;
    auto put = [&](const std::string& s, int bar) {
        auto m = melody(s, bar);
        all.insert(all.end(), m.begin(), m.end());
    };
    put(kPickup, kIntro + 3);
    put(kPhraseA + kEndA, kA);
    put(kPhraseA + kEndA2, kA2);
    put(kPhraseB, kB);
    put(kPhraseA + kEndA3, kA3);
    put(kTurnaround, kOutro);
    return all;
}

// --- instruments ------------------------------------------------------------------

void leadNote(std::vector<float>& bus, const Note& n, float gain, float duty, bool vibrato) {
    double seconds = n.len * kStep - 0.02;
    double release = 0.06;
    size_t start = frameAt(n.step), count = size_t((seconds + release) * kRate);
    Pulse osc;
    double hz = midiHz(float(n.midi));
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kRate;
        double f = hz;
        if (vibrato && t > 0.16) f *= std::pow(2.0, 0.22 / 12 * std::sin(2 * kPi * 5.5 * (t - 0.16)) * std::min(1.0, (t - 0.16) * 4));
        float env = t < 0.006 ? float(t / 0.006) : float(0.62 + 0.38 * std::exp(-(t - 0.006) / 0.1));
        if (t > seconds) env *= float(std::max(0.0, 1 - (t - seconds) / release));
        bus[(start + i) % bus.size()] += osc.next(f, duty) * env * gain;
    }
}

void arpNote(Stereo& out, double step, int midi, float gain, float pan) {
    size_t start = frameAt(step), count = size_t(0.11 * kRate);
    Pulse osc;
    double hz = midiHz(float(midi));
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kRate;
        float env = float(std::exp(-t / 0.045)) * float(std::min(1.0, t / 0.002));
        out.add(start + i, osc.next(hz, 0.125f) * env * gain, pan);
    }
}

void bassNote(Stereo& out, double step, double len, int midi, float gain) {
    double seconds = len * kStep - 0.015;
    size_t start = frameAt(step), count = size_t((seconds + 0.03) * kRate);
    Pulse edge;
    double hz = midiHz(float(midi)), phase = 0;
    float lp = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kRate;
        phase += hz / kRate;
        phase -= std::floor(phase);
        float tri = phase < 0.5 ? float(4 * phase - 1) : float(3 - 4 * phase);
        float raw = tri + 0.35f * edge.next(hz, 0.5f);
        lp += 0.18f * (raw - lp);
        float env = float(std::min(1.0, t / 0.003)) * float(0.75 + 0.25 * std::exp(-t / 0.05));
        if (t > seconds) env *= float(std::max(0.0, 1 - (t - seconds) / 0.03));
        out.add(start + i, lp * env * gain, 0);
    }
}

void padChord(Stereo& out, double step, double len, const Chord& c, float gain) {
    double seconds = len * kStep;
    size_t start = frameAt(step), count = size_t(seconds * kRate);
    for (int k = 0; k < 3; ++k) {
        double hz = midiHz(float(c.tones[k])), phase = k * 0.21;
        float pan = (k - 1) * 0.5f;
        for (size_t i = 0; i < count; ++i) {
            double t = double(i) / kRate;
            phase += hz * (1 + 0.002 * std::sin(2 * kPi * 4 * t + k)) / kRate;
            phase -= std::floor(phase);
            float tri = phase < 0.5 ? float(4 * phase - 1) : float(3 - 4 * phase);
            float env = float(std::min(1.0, t / 0.25) * std::min(1.0, (seconds - t) / 0.2));
            out.add(start + i, tri * env * gain, pan);
        }
    }
}

void kick(Stereo& out, double step, float vel, Noise& noise) {
    size_t start = frameAt(step), count = size_t(0.32 * kRate);
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kRate;
        phase += (48 + 120 * std::exp(-t / 0.028)) / kRate;
        float body = float(std::sin(2 * kPi * phase) * std::exp(-t / 0.16));
        float click = t < 0.004 ? noise.next() * float(1 - t / 0.004) * 0.5f : 0;
        out.add(start + i, (body + click) * vel, 0);
    }
}

void snare(Stereo& out, double step, float vel, Noise& noise) {
    size_t start = frameAt(step), count = size_t(0.25 * kRate);
    float prev = 0, hp = 0;
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kRate;
        float n = noise.next();
        hp = 0.82f * (hp + n - prev);
        prev = n;
        phase += 185.0 / kRate;
        float tone = float(std::sin(2 * kPi * phase) * std::exp(-t / 0.05));
        float v = hp * float(std::exp(-t / 0.085)) * 0.75f + tone * 0.45f;
        out.add(start + i, v * vel, 0.1f);
    }
}

void hat(Stereo& out, double step, float vel, double decay, Noise& noise) {
    size_t start = frameAt(step), count = size_t(decay * 6 * kRate);
    float prev = 0, hp = 0, hp2 = 0, prev2 = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kRate;
        float n = noise.next();
        hp = 0.55f * (hp + n - prev);
        prev = n;
        hp2 = 0.55f * (hp2 + hp - prev2);
        prev2 = hp;
        out.add(start + i, hp2 * float(std::exp(-t / decay)) * vel, -0.25f);
    }
}

void crash(Stereo& out, double step, float vel, Noise& noise) {
    size_t start = frameAt(step), count = size_t(1.6 * kRate);
    float prev = 0, hp = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kRate;
        float n = noise.next();
        hp = 0.7f * (hp + n - prev);
        prev = n;
        out.add(start + i, hp * float(std::exp(-t / 0.45)) * vel, 0.3f);
    }
}

// Ping-pong echo on a looped mono bus: a few passes let the feedback settle
// across the loop point.
void echoInto(Stereo& out, const std::vector<float>& dry, double delaySteps, float feedback, float wet) {
    size_t n = dry.size(), d = frameAt(delaySteps);
    std::vector<float> tap(n, 0.0f);
    for (int pass = 0; pass < 3; ++pass)
        for (size_t i = 0; i < n; ++i) {
            size_t j = (i + n - d) % n;
            tap[i] = dry[j] + tap[j] * feedback;
        }
    for (size_t i = 0; i < n; ++i) {
        out.l[i] += tap[i] * wet;
        out.r[(i + d / 2) % n] += tap[i] * wet * 0.8f;
    }
}

}  // namespace

std::vector<int16_t> composeAgile() {
    size_t frames = frameAt(kSteps);
    Stereo mix(frames);
    std::vector<float> leadBus(frames, 0.0f);
    Noise noise(2024);

    // melody: a quarter-duty pulse; the last A doubles it an octave down
    for (const Note& n : leadLine()) {
        leadNote(leadBus, n, 0.24f, 0.25f, n.len >= 3);
        if (n.step >= kA3 * 16 && n.step < kOutro * 16) leadNote(leadBus, {n.step, n.len, n.midi - 12}, 0.09f, 0.5f, false);
    }
    for (size_t i = 0; i < frames; ++i) mix.add(i, leadBus[i], 0.12f);
    echoInto(mix, leadBus, 3, 0.32f, 0.22f);

    for (int bar = 0; bar < kBars; ++bar) {
        Chord c = chord(kChords[bar]);
        int s0 = bar * 16;
        bool inB = bar >= kB && bar < kA3;
        bool lastOfSection = bar == kA - 1 || bar == kA2 - 1 || bar == kB - 1 || bar == kA3 - 1 || bar == kOutro - 1;

        // arpeggio, quieter in the B section where a soft pad carries the chords
        static const int order[] = {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 2, 1, 3};
        if (!(bar < 2))
            for (int k = 0; k < 16; ++k) arpNote(mix, s0 + k, c.tones[order[k]], (inB ? 0.07f : 0.1f) * (k % 4 == 0 ? 1.2f : 1.0f), -0.4f);
        if (inB || bar < 2) padChord(mix, s0, 16, c, inB ? 0.05f : 0.06f);

        // bass: held notes to open, octave eighths for A, a syncopated line for B
        if (bar < 2) {
            bassNote(mix, s0, 8, c.root, 0.27f);
            bassNote(mix, s0 + 8, 8, c.root, 0.27f);
        } else if (inB) {
            const int at[] = {0, 3, 6, 8, 10, 12, 14}, len[] = {3, 3, 2, 2, 2, 2, 2}, up[] = {0, 0, 12, 0, 7, 12, 7};
            for (int k = 0; k < 7; ++k) bassNote(mix, s0 + at[k], len[k], c.root + up[k], 0.27f);
        } else {
            for (int k = 0; k < 8; ++k) bassNote(mix, s0 + 2 * k, 2, c.root + (k % 2 ? 12 : 0), 0.25f);
        }

        // drums
        if (bar == kIntro || bar == kA || bar == kA2 || bar == kB || bar == kA3 || bar == kOutro) crash(mix, s0, 0.16f, noise);
        if (bar < 2) {
            kick(mix, s0, 0.8f, noise);
            for (int k = 0; k < 16; k += 2) hat(mix, s0 + k, 0.12f, 0.02, noise);
            continue;
        }
        int fillFrom = lastOfSection ? 12 : 16;
        if (inB) {
            for (int k : {0, 4, 8, 12}) kick(mix, s0 + k, 0.85f, noise);
            for (int k = 0; k < fillFrom; ++k) hat(mix, s0 + k, k % 2 ? 0.07f : 0.12f, 0.018, noise);
        } else {
            kick(mix, s0, 0.8f, noise);
            kick(mix, s0 + 8, 0.75f, noise);
            kick(mix, s0 + 10, 0.6f, noise);
            for (int k = 0; k < fillFrom; k += 2) {
                if (k == 14)
                    hat(mix, s0 + k, 0.12f, 0.09, noise);
                else
                    hat(mix, s0 + k, k % 4 == 0 ? 0.15f : 0.11f, 0.02, noise);
            }
        }
        snare(mix, s0 + 4, 0.5f, noise);
        if (fillFrom == 16) {
            snare(mix, s0 + 12, 0.5f, noise);
        } else {
            const float vel[] = {0.32f, 0.38f, 0.45f, 0.55f};
            for (int k = 0; k < 4; ++k) snare(mix, s0 + 12 + k, vel[k], noise);
        }
    }

    // gentle saturation, then the tune's level
    double peak = 0, sum = 0;
    for (size_t i = 0; i < frames; ++i) {
        mix.l[i] = std::tanh(mix.l[i] * 1.1f);
        mix.r[i] = std::tanh(mix.r[i] * 1.1f);
        peak = std::max({peak, double(std::fabs(mix.l[i])), double(std::fabs(mix.r[i]))});
        sum += double(mix.l[i]) * mix.l[i] + double(mix.r[i]) * mix.r[i];
    }
    float gain = masterGain(std::sqrt(sum / double(2 * frames)), peak, kTuneLevel);
    std::vector<int16_t> pcm(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        pcm[2 * i] = int16_t(std::lround(mix.l[i] * gain * 32767));
        pcm[2 * i + 1] = int16_t(std::lround(mix.r[i] * gain * 32767));
    }
    return pcm;
}

bool writeOgg(const std::string& path, const std::vector<int16_t>& pcm, int channels, const char* title) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, kRate, 0.5f) != 0) {
        vorbis_info_clear(&vi);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", title);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x41474c45);  // a fixed serial keeps the file byte-identical

    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f != nullptr;
    auto writePage = [&](const ogg_page& og) {
        if (!f) return;
        ok &= std::fwrite(og.header, 1, size_t(og.header_len), f) == size_t(og.header_len);
        ok &= std::fwrite(og.body, 1, size_t(og.body_len), f) == size_t(og.body_len);
    };

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page og;
    while (ogg_stream_flush(&os, &og)) writePage(og);

    auto drain = [&]() {
        ogg_packet op;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og)) writePage(og);
            }
        }
    };
    size_t frames = pcm.size() / size_t(channels);
    const size_t chunk = 4096;
    for (size_t at = 0; at < frames; at += chunk) {
        size_t n = std::min(chunk, frames - at);
        float** buf = vorbis_analysis_buffer(&vd, int(n));
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c) buf[c][i] = pcm[(at + i) * size_t(channels) + size_t(c)] / 32768.0f;
        vorbis_analysis_wrote(&vd, int(n));
        drain();
    }
    vorbis_analysis_wrote(&vd, 0);
    drain();
    while (ogg_stream_flush(&os, &og)) writePage(og);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    if (f) ok &= std::fclose(f) == 0;
    return ok;
}

}  // namespace sfx
