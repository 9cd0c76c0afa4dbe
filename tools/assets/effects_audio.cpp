// The numbered sound effects, each built from a few synthesiser voices.
#include "effects_audio.h"

namespace sfx {

namespace {

Voice tone(Wave w, float hz, float sustain, float decay) {
    Voice v;
    v.wave = w;
    v.freq = hz;
    v.sustain = sustain;
    v.decay = decay;
    return v;
}

// One note of a phrase: start and length in seconds.
struct Note {
    float midi, at, len;
};

Buffer phrase(const std::vector<Note>& notes, Wave w, float duty, float gain, float vibrato = 0) {
    Buffer out;
    for (const Note& n : notes) {
        Voice v = tone(w, midiHz(n.midi), n.len * 0.7f, n.len * 0.6f);
        v.duty = duty;
        v.attack = 0.004f;
        v.punch = 0.25f;
        if (vibrato > 0 && n.len > 0.3f) {
            v.vibDepth = vibrato;
            v.vibSpeed = 6.5f;
            v.vibDelay = 0.12f;
        }
        v.lowPass = 7000;
        mixIn(out, render(v), n.at, gain);
    }
    return out;
}

Buffer runnerAppears() {
    Voice v = tone(Wave::Square, 330, 0.07f, 0.035f);
    v.duty = 0.35f;
    v.slide = 3.5f;
    v.vibDepth = 0.05f;
    v.vibSpeed = 18;
    v.repeat = 0.105f;
    v.sustain = 0.17f;
    v.decay = 0.05f;
    v.lowPass = 4200;
    Buffer b = render(v);
    Voice low = tone(Wave::Triangle, 110, 0.12f, 0.1f);
    low.slide = 1.2f;
    mixIn(b, render(low), 0, 0.8f);
    master(b, kEffectLevel);
    return b;
}

Buffer runnerHit() {
    Voice crack = tone(Wave::Noise, 1400, 0.03f, 0.22f);
    crack.attack = 0.001f;
    crack.slide = -2.5f;
    crack.punch = 0.7f;
    crack.lowPass = 7000;
    crack.lowPassSweep = -2.5f;
    Voice thud = tone(Wave::Square, 190, 0.05f, 0.2f);
    thud.attack = 0.001f;
    thud.slide = -2.2f;
    thud.punch = 0.5f;
    thud.lowPass = 2400;
    Buffer b = render(crack);
    mixIn(b, render(thud), 0, 0.8f);
    master(b, kEffectLevel);
    return b;
}

Buffer scoredCoin() {
    Voice v = tone(Wave::Square, midiHz(83), 0.05f, 0.16f);  // B5 up to E6
    v.attack = 0.002f;
    v.punch = 0.35f;
    v.arpMul = 1.3348f;
    v.arpTime = 0.055f;
    v.lowPass = 9000;
    Buffer b = render(v);
    master(b, kEffectLevel);
    return b;
}

Buffer scoredPling() {
    Voice v = tone(Wave::Triangle, midiHz(84), 0.03f, 0.22f);  // C6 up a fifth
    v.attack = 0.002f;
    v.arpMul = 1.4983f;
    v.arpTime = 0.045f;
    Voice bell = v;
    bell.wave = Wave::Sine;
    bell.freq *= 2;
    bell.decay = 0.12f;
    Buffer b = render(v);
    mixIn(b, render(bell), 0, 0.35f);
    master(b, kEffectLevel);
    return b;
}

Buffer scoredBlip() {
    Voice v = tone(Wave::Square, midiHz(81), 0.04f, 0.14f);  // A5 up an octave
    v.duty = 0.25f;
    v.attack = 0.002f;
    v.punch = 0.3f;
    v.arpMul = 2;
    v.arpTime = 0.05f;
    v.lowPass = 8000;
    Buffer b = render(v);
    master(b, kEffectLevel);
    return b;
}

Buffer jump() {
    Voice v = tone(Wave::Square, 250, 0.06f, 0.16f);
    v.duty = 0.42f;
    v.dutySweep = -0.6f;
    v.attack = 0.003f;
    v.slide = 2.6f;
    v.slideAccel = -4;
    v.lowPass = 3500;
    Buffer b = render(v);
    master(b, kEffectLevel);
    return b;
}

Buffer levelCleared() {
    std::vector<Note> lead = {{72, 0.00f, 0.09f}, {76, 0.09f, 0.09f}, {79, 0.18f, 0.09f}, {84, 0.27f, 0.42f},
                              {79, 0.74f, 0.09f}, {84, 0.84f, 0.7f}};
    Buffer b = phrase(lead, Wave::Square, 0.25f, 0.55f, 0.012f);
    std::vector<Note> under;
    for (Note n : lead) under.push_back({n.midi - 12, n.at, n.len});
    mixIn(b, phrase(under, Wave::Triangle, 0.5f, 0.5f), 0);
    for (float m : {60.0f, 64.0f, 67.0f}) mixIn(b, phrase({{m, 0.84f, 0.75f}}, Wave::Triangle, 0.5f, 0.3f), 0);
    Voice shimmer = tone(Wave::Noise, 8000, 0.05f, 0.6f);
    shimmer.highPass = 5000;
    mixIn(b, render(shimmer), 0.84f, 0.12f);
    echo(b, 0.12f, 0.25f, 0.3f);
    master(b, kEffectLevel);
    return b;
}

Buffer lifeLost() {
    Buffer b;
    const float notes[] = {67, 66, 65};
    for (int i = 0; i < 3; ++i) {
        Voice v = tone(Wave::Square, midiHz(notes[i]), 0.12f, 0.1f);
        v.lowPass = 500;
        v.lowPassSweep = 3;  // the "wah" of a sad horn
        mixIn(b, render(v), i * 0.25f, 0.7f);
    }
    Voice last = tone(Wave::Square, midiHz(64), 0.45f, 0.45f);
    last.lowPass = 500;
    last.lowPassSweep = 2;
    last.vibDepth = 0.025f;
    last.vibSpeed = 6;
    last.vibDelay = 0.15f;
    last.slideAccel = -0.9f;
    mixIn(b, render(last), 0.75f, 0.7f);
    Voice bass = tone(Wave::Triangle, midiHz(52), 1.0f, 0.5f);
    bass.slideAccel = -0.5f;
    mixIn(b, render(bass), 0, 0.5f);
    master(b, kEffectLevel);
    return b;
}

Buffer fiftieth() {
    Buffer b;
    const float notes[] = {84, 88, 91, 96, 100, 103};
    for (int i = 0; i < 6; ++i) {
        Voice bell = tone(Wave::Sine, midiHz(notes[i]), 0.01f, 0.35f);
        bell.attack = 0.002f;
        mixIn(b, render(bell), i * 0.05f, 0.5f);
        Voice edge = tone(Wave::Square, midiHz(notes[i]), 0.02f, 0.08f);
        edge.duty = 0.125f;
        mixIn(b, render(edge), i * 0.05f, 0.15f);
    }
    for (float m : {84.0f, 88.0f, 91.0f}) {
        Voice chord = tone(Wave::Triangle, midiHz(m), 0.2f, 0.5f);
        chord.vibDepth = 0.006f;
        chord.vibSpeed = 7;
        mixIn(b, render(chord), 0.32f, 0.25f);
    }
    echo(b, 0.09f, 0.35f, 0.35f);
    master(b, kEffectLevel);
    return b;
}

Buffer whoosh() {
    Voice v = tone(Wave::Noise, 4000, 0.05f, 0.25f);
    v.attack = 0.15f;
    v.lowPass = 350;
    v.lowPassSweep = 3.5f;
    Buffer b = render(v);
    master(b, kEffectLevel);
    return b;
}

Buffer jingle() {
    std::vector<Note> lead = {{79, 0.00f, 0.1f}, {84, 0.12f, 0.1f}, {88, 0.24f, 0.1f}, {86, 0.36f, 0.1f}, {91, 0.5f, 0.85f}};
    Buffer b = phrase(lead, Wave::Square, 0.25f, 0.8f, 0.012f);
    for (float m : {60.0f, 64.0f, 67.0f, 72.0f}) mixIn(b, phrase({{m, 0.5f, 0.9f}}, Wave::Triangle, 0.5f, 0.14f), 0);
    mixIn(b, phrase({{48, 0.5f, 0.9f}}, Wave::Triangle, 0.5f, 0.35f), 0);
    std::vector<Note> steps = {{67, 0.00f, 0.1f}, {72, 0.12f, 0.1f}, {76, 0.24f, 0.1f}, {74, 0.36f, 0.1f}};
    mixIn(b, phrase(steps, Wave::Triangle, 0.5f, 0.35f), 0);
    for (int i = 0; i < 3; ++i) {
        Voice sparkle = tone(Wave::Sine, midiHz(103 - i * 3.0f), 0.01f, 0.25f);
        mixIn(b, render(sparkle), 0.6f + i * 0.07f, 0.18f);
    }
    Voice cymbal = tone(Wave::Noise, 9000, 0.02f, 0.7f);
    cymbal.highPass = 6000;
    mixIn(b, render(cymbal), 0.5f, 0.14f);
    echo(b, 0.15f, 0.3f, 0.3f);
    master(b, kEffectLevel);
    return b;
}

Buffer confirm() {
    Voice v = tone(Wave::Square, midiHz(88), 0.08f, 0.1f);  // E6 up a fourth
    v.duty = 0.25f;
    v.attack = 0.002f;
    v.arpMul = 1.3348f;
    v.arpTime = 0.06f;
    v.lowPass = 8000;
    Buffer b = render(v);
    master(b, kEffectLevel);
    return b;
}

Buffer click() {
    Voice v = tone(Wave::Sine, 1800, 0.005f, 0.03f);
    v.attack = 0.001f;
    v.slide = -3;
    Voice tick = tone(Wave::Noise, 9000, 0.002f, 0.012f);
    tick.attack = 0.0005f;
    tick.highPass = 3000;
    Buffer b = render(v);
    mixIn(b, render(tick), 0, 0.4f);
    master(b, kEffectLevel);
    return b;
}

}  // namespace

std::vector<Effect> allEffects() {
    return {{1, runnerAppears()}, {2, runnerHit()},  {3, scoredCoin()},    {4, scoredPling()}, {5, scoredBlip()},
            {6, jump()},          {7, levelCleared()}, {8, lifeLost()},    {9, fiftieth()},    {95, whoosh()},
            {96, jingle()},       {98, confirm()},    {99, click()}};
}

}  // namespace sfx
