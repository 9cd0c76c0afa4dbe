#include <cmath>

#include "tests/e2e/new_user.h"

namespace e2e {
namespace {

constexpr double kFullScale = 32768;

// Runs to and fro along the rows at the top speed, jumping twice on every
// run: a fresh cell is scored every few updates, each with its sound, on top
// of the jumps, the runners and the tune.
void PlayBusily(double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    const std::string jump = "keydown space sleep 0.15 keyup space sleep 0.35 ";
    for (int run = 0; std::chrono::steady_clock::now() < end; ++run) {
        std::string direction = run % 4 < 2 ? "Right" : "Left";
        ASSERT_EQ(RealProgram::Send("keydown " + direction + " " + jump + jump + "keyup " + direction), 0);
    }
}

// Root mean square of the samples in each half second between two times.
std::vector<double> HalfSecondLevels(const Recording& sound, double from, double to) {
    std::vector<double> levels;
    const std::size_t window = 44100;  // half a second of stereo samples
    std::size_t first = static_cast<std::size_t>(from * 44100) * 2;
    std::size_t last = std::min(sound.samples.size(), static_cast<std::size_t>(to * 44100) * 2);
    for (std::size_t start = first; start + window <= last; start += window) {
        double sum = 0;
        for (std::size_t i = start; i < start + window; ++i) sum += std::pow(sound.samples[i] / kFullScale, 2);
        levels.push_back(std::sqrt(sum / window));
    }
    return levels;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The busiest play a new user meets: both volumes at their top step, the
// tune and a dense stream of effects together. Nothing reaches full scale,
// and the mix stays plainly audible.
TEST(NewUser, BusyPlayWithTheTuneStaysBelowFullScale) {
    NewUser user;
    user.Start();
    ASSERT_TRUE(NewUser::IsTitle(NewUser::ShotWhen("mix-title", 15, NewUser::IsTitle)));
    RealProgram::Hold("Down");  // Normal to Fast
    RealProgram::Wait(300);
    RealProgram::Hold("Return");
    ASSERT_TRUE(NewUser::IsPlay(NewUser::ShotWhen("mix-play", 10, NewUser::IsPlay)));
    double playFrom = user.Sound().Seconds();
    PlayBusily(25);
    double playTo = user.Sound().Seconds();
    ASSERT_EQ(std::system(SEND_CLOSE_REQUEST " Vantaroo"), 0);
    EXPECT_EQ(user.ExitStatus(), 0);

    Recording sound = user.Sound();
    ASSERT_GT(playTo - playFrom, 24.0) << "the recording runs in real time";
    long atFullScale = std::count_if(sound.samples.begin(), sound.samples.end(),
                                     [](std::int16_t sample) { return std::abs(sample) >= 32767; });
    EXPECT_LT(sound.Loudest(0, sound.Seconds()) / kFullScale, 0.9) << atFullScale << " samples at full scale";
    EXPECT_GT(sound.Loudest(playFrom, playTo) / kFullScale, 0.25) << "effects are heard";
    // Most half seconds carry the tune; effects come and go above it.
    double typical = Median(HalfSecondLevels(sound, playFrom, playTo));
    EXPECT_GT(20 * std::log10(typical), -28.0);
    EXPECT_LT(20 * std::log10(typical), -12.0);
}

}  // namespace
}  // namespace e2e
