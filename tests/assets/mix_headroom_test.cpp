// The game's busiest mix, made from the generated files: the tune against
// the densest stream of effects that play starts, with both volume steps at
// the top (gain 1). OpenAL plays the tune's two channels straight to the
// speakers and a centred effect at about 0.6 on each side.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sound_data.h"

namespace {

const std::string kData = VANTAROO_DATA_DIR;
constexpr int kRate = 44100;
constexpr double kUpdateSeconds = 1.0 / 60;
constexpr std::size_t kEffectChannels = 24;
// What OpenAL Soft's stereo output gives each side of a source straight ahead.
constexpr double kCentredPanGain = 0.6;

using Samples = std::vector<float>;

Samples Effect(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "/sfx/%03d.wav", number);
    Wave wave;
    EXPECT_TRUE(readWave(kData + name, wave)) << name;
    EXPECT_EQ(wave.channels, 1) << name;
    Samples samples;
    for (int16_t sample : wave.samples) samples.push_back(sample / 32768.0f);
    return samples;
}

struct Start {
    double seconds;
    int effect;
    float rate;
};

// Running along fresh rows at the top speed scores a cell about every fourth
// update; here one every third, each with one of the three scoring sounds at
// a random pitch. On top come a jump every 24 updates at its own random
// pitch, a runner coming in and one hitting every 40, and the fiftieth
// cell's fanfare.
std::vector<Start> BusiestPlay(int updates) {
    std::uint32_t seed = 1;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / 16777216.0f;
    };
    std::vector<Start> starts;
    for (int update = 0; update < updates; ++update) {
        double seconds = update * kUpdateSeconds;
        if (update % 3 == 0) {
            int effect = 3 + int(2.99f * random());
            starts.push_back({seconds, effect, 0.8f + 0.5f * random()});
        }
        if (update % 24 == 5) starts.push_back({seconds, 6, 0.7f + 0.6f * random()});
        if (update % 40 == 11) starts.push_back({seconds, 1, 1});
        if (update % 40 == 31) starts.push_back({seconds, 2, 1});
        if (update == 120) starts.push_back({seconds, 9, 1});
    }
    return starts;
}

// The effects as the device mixes them: each start takes the next channel
// round robin and cuts off what sounded there; a rate resamples linearly.
Samples MixEffects(const std::vector<Start>& starts, std::map<int, Samples>& effects, std::size_t length) {
    Samples mix(length, 0.0f);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (!effects.count(starts[i].effect)) effects[starts[i].effect] = Effect(starts[i].effect);
        const Samples& sound = effects[starts[i].effect];
        std::size_t from = std::size_t(starts[i].seconds * kRate);
        std::size_t until = length;
        if (i + kEffectChannels < starts.size()) until = std::size_t(starts[i + kEffectChannels].seconds * kRate);
        for (std::size_t t = from; t < until; ++t) {
            double position = double(t - from) * starts[i].rate;
            std::size_t k = std::size_t(position);
            if (k + 1 >= sound.size()) break;
            double part = position - double(k);
            mix[t] += float(sound[k] * (1 - part) + sound[k + 1] * part);
        }
    }
    return mix;
}

double Peak(const Samples& samples) {
    double peak = 0;
    for (float sample : samples) peak = std::max(peak, double(std::fabs(sample)));
    return peak;
}

// The stream laid over the tune every half second from its start to its
// end, so its loudest passages meet the effects' loudest moments.
double LoudestOverTheTune(const Wave& tune, const Samples& effects) {
    std::size_t frames = tune.samples.size() / 2, step = kRate / 2;
    double loudest = 0;
    for (std::size_t offset = 0; offset + effects.size() <= frames; offset += step) {
        const int16_t* stereo = tune.samples.data() + 2 * offset;
        for (std::size_t t = 0; t < effects.size(); ++t) {
            double effect = kCentredPanGain * effects[t];
            loudest = std::max({loudest, std::fabs(stereo[2 * t] / 32768.0 + effect),
                                std::fabs(stereo[2 * t + 1] / 32768.0 + effect)});
        }
    }
    return loudest;
}

TEST(Mix, BusiestPlayStaysBelowFullScale) {
    Wave tune;
    ASSERT_TRUE(decodeOgg(kData + "/sfx/Agile.ogg", tune));
    ASSERT_EQ(tune.channels, 2);
    ASSERT_EQ(tune.rate, kRate);
    const int updates = 240;
    std::map<int, Samples> effects;
    Samples stream = MixEffects(BusiestPlay(updates), effects, std::size_t(updates * kUpdateSeconds * kRate));
    double loudest = LoudestOverTheTune(tune, stream);
    EXPECT_LT(loudest, 0.9) << "effects alone peak at " << Peak(stream);
    EXPECT_GT(loudest, 0.5) << "the busiest play is loud";
}

}  // namespace
