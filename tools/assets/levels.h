// The levels every sound is mastered to: the headroom of the game's mix.
//
// In the busiest play the tune meets a stream of effects, a fresh one every
// few updates and up to ten sounding at once, with the music and effect
// volumes at their top step (gain 1). OpenAL plays the tune's two channels
// straight to the speakers and sends a centred effect to each side at about
// 0.6 of its level. Stacked effects seldom peak at the same instant: at these
// levels such a stream peaks near full scale on its own and about 0.85 over
// the tune, leaving the mix below 0.9 of full scale. The tune and each effect
// sit near -21 dBFS RMS, loud enough to be heard plainly.
#pragma once

namespace sfx {

// Fractions of full scale: the RMS a sound is brought to, and the peak it
// must not pass (the ceiling wins where both cannot be met).
struct Level {
    float loudness;
    float ceiling;
};

// Vorbis encoding lifts the tune's peaks by about 1 dB, to about 0.4.
constexpr Level kTuneLevel{0.09f, 0.36f};
constexpr Level kEffectLevel{0.09f, 0.27f};

}  // namespace sfx
