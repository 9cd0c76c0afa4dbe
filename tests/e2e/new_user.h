#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/game/real_program.h"
#include "tests/host/temp_folder.h"

namespace e2e {

// Checks the condition every 50 ms until it holds or the time is up.
inline bool WaitFor(double seconds, const std::function<bool()>& condition) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        RealProgram::Wait(50);
    }
    return true;
}

// Presses a key for as long as a player does, after focusing the game's
// window. The key goes to whatever window has the focus, so that a key that
// closes the window (F4, F11, Escape on the title) leaves xdotool nothing
// gone to touch, and is never left down for the next test.
inline int Press(const std::string& key) {
    int focused = RealProgram::Send("");
    int pressed = std::system(("xdotool keydown " + key + " sleep 0.2 keyup " + key).c_str());
    return focused != 0 ? focused : pressed;
}

struct Box {
    int x = 0, y = 0, width = 1 << 20, height = 1 << 20;
};

struct Colour {
    int red, green, blue;
};

// Colours of the game's screens.
constexpr Colour kSky{20, 80, 160};         // the title's background
constexpr Colour kNight{0, 0, 80};          // the play background
constexpr Colour kFur{229, 138, 60};        // the kangaroo
constexpr Colour kRunnerBody{216, 64, 138};  // the runners

struct Spot {
    double x = -1, y = -1;
    long count = 0;
};

// A screenshot's pixels, measured in boxes (clipped to the picture).
class Frame {
public:
    Frame() = default;
    explicit Frame(const std::string& file) {
        int channels;
        unsigned char* data = file.empty() ? nullptr : stbi_load(file.c_str(), &width, &height, &channels, 3);
        if (!data) {
            width = height = 0;
            return;
        }
        pixels.assign(data, data + static_cast<std::size_t>(width) * height * 3);
        stbi_image_free(data);
    }

    bool Empty() const { return pixels.empty(); }

    // Share of the box's pixels within `tolerance` of the colour on every
    // channel.
    double Share(Colour colour, Box box = {}, int tolerance = 8) const {
        return Fraction(box, [&](int x, int y) { return Near(x, y, colour, tolerance); });
    }

    // Share of the box's pixels with a channel above 200.
    double Bright(Box box = {}) const {
        return Fraction(box, [&](int x, int y) {
            const unsigned char* p = At(x, y);
            return p[0] > 200 || p[1] > 200 || p[2] > 200;
        });
    }

    // Mean difference of two equally sized pictures' channels in the box.
    double Difference(const Frame& other, Box box = {}) const {
        if (other.width != width || other.height != height) return 255;
        box = Clip(box);
        double sum = 0;
        for (int y = box.y; y < box.y + box.height; ++y) {
            for (int x = box.x; x < box.x + box.width; ++x) {
                for (int c = 0; c < 3; ++c) sum += std::abs(At(x, y)[c] - other.At(x, y)[c]);
            }
        }
        long count = static_cast<long>(box.width) * box.height * 3;
        return count > 0 ? sum / static_cast<double>(count) : 0;
    }

    // Where the box's pixels near the colour are, on average.
    Spot Find(Colour colour, Box box = {}) const {
        box = Clip(box);
        Spot spot;
        double sumX = 0, sumY = 0;
        for (int y = box.y; y < box.y + box.height; ++y) {
            for (int x = box.x; x < box.x + box.width; ++x) {
                if (!Near(x, y, colour)) continue;
                sumX += x;
                sumY += y;
                ++spot.count;
            }
        }
        if (spot.count > 0) {
            spot.x = sumX / static_cast<double>(spot.count);
            spot.y = sumY / static_cast<double>(spot.count);
        }
        return spot;
    }

    // Share of the box's pixels that differ from their right neighbour by
    // more than `step` in some channel: sharp edges.
    double Edges(int step, Box box = {}) const {
        return Fraction(box, [&](int x, int y) {
            if (x + 1 >= width) return false;
            const unsigned char* p = At(x, y);
            const unsigned char* q = At(x + 1, y);
            for (int c = 0; c < 3; ++c) {
                if (std::abs(p[c] - q[c]) > step) return true;
            }
            return false;
        });
    }

    int width = 0, height = 0;

private:
    const unsigned char* At(int x, int y) const { return &pixels[(static_cast<std::size_t>(y) * width + x) * 3]; }

    bool Near(int x, int y, Colour colour, int tolerance = 8) const {
        const unsigned char* p = At(x, y);
        return std::abs(p[0] - colour.red) < tolerance && std::abs(p[1] - colour.green) < tolerance &&
               std::abs(p[2] - colour.blue) < tolerance;
    }

    Box Clip(Box box) const {
        int right = std::min(width, box.x + std::min(box.width, width));
        int bottom = std::min(height, box.y + std::min(box.height, height));
        box.x = std::clamp(box.x, 0, width);
        box.y = std::clamp(box.y, 0, height);
        box.width = std::max(0, right - box.x);
        box.height = std::max(0, bottom - box.y);
        return box;
    }

    double Fraction(Box box, const std::function<bool(int, int)>& test) const {
        box = Clip(box);
        long count = 0;
        for (int y = box.y; y < box.y + box.height; ++y) {
            for (int x = box.x; x < box.x + box.width; ++x) count += test(x, y) ? 1 : 0;
        }
        long all = static_cast<long>(box.width) * box.height;
        return all > 0 ? static_cast<double>(count) / static_cast<double>(all) : 0;
    }

    std::vector<unsigned char> pixels;
};

// What the program played, as OpenAL Soft's wave driver records it while it
// plays: 16-bit stereo at 44100 Hz. The header's sizes are only written when
// the device closes, so the samples run to the end of the file.
class Recording {
public:
    explicit Recording(const std::string& wave) {
        std::size_t data = wave.find("data", 12);
        if (data == std::string::npos) return;
        for (std::size_t at = data + 8; at + 1 < wave.size(); at += 2) {
            auto low = static_cast<unsigned char>(wave[at]);
            auto high = static_cast<unsigned char>(wave[at + 1]);
            samples.push_back(static_cast<std::int16_t>(high << 8 | low));
        }
    }

    double Seconds() const { return static_cast<double>(samples.size()) / 2 / 44100; }

    // The largest sample between two times, in seconds from the start.
    int Loudest(double from, double to) const {
        int loudest = 0;
        auto first = static_cast<std::size_t>(std::max(0.0, from) * 44100) * 2;
        auto last = std::min(samples.size(), static_cast<std::size_t>(std::max(0.0, to) * 44100) * 2);
        for (std::size_t i = first; i < last; ++i) loudest = std::max(loudest, std::abs(static_cast<int>(samples[i])));
        return loudest;
    }

    std::vector<std::int16_t> samples;
};

// The fields of a state file, split at each "|" (the empty piece after the
// last one is dropped).
inline std::vector<std::string> StateFields(const std::string& state) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar; (bar = state.find('|', start)) != std::string::npos; start = bar + 1) {
        fields.push_back(state.substr(start, bar - start));
    }
    return fields;
}

// Another program's window holds the keyboard focus while this lives.
class OtherWindow {
public:
    OtherWindow() {
        pid = fork();
        if (pid == 0) {
            execl(OTHER_WINDOW, OTHER_WINDOW, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~OtherWindow() {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

private:
    pid_t pid;
};

void KeepDisplayOpen();

// A new user with a fresh working folder. The program starts there, and
// what it plays is recorded to "sound.wav" there.
class NewUser {
public:
    NewUser() {
        KeepDisplayOpen();
        folder.Write("alsoft.conf",
                     "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
                     "[wave]\nfile = " +
                         folder.File("sound.wav") + "\n");
    }

    // The test command chooses OpenAL's silent driver for everything; this
    // program records instead.
    void Start() {
        program.reset();
        program = std::make_unique<RealProgram>(
            folder.path, std::vector<std::string>{"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + folder.File("alsoft.conf")});
    }

    int ExitStatus() { return program->ExitStatus(); }

    // The window's picture, kept as "e2e-<name>.png" beside the test.
    static Frame Shot(const std::string& name, const std::string& title = "Vantaroo") {
        return Frame(RealProgram::Shot("e2e-" + name + ".png", title));
    }

    // Takes pictures until one passes the test or the time is up; returns
    // the last one taken.
    static Frame ShotWhen(const std::string& name, double seconds, const std::function<bool(const Frame&)>& test) {
        Frame frame;
        WaitFor(seconds, [&] {
            frame = Shot(name);
            return !frame.Empty() && test(frame);
        });
        return frame;
    }

    // The title once its logo, wheel and panel have dropped in: the panel's
    // left edge has come to rest.
    static bool IsTitle(const Frame& frame) {
        return frame.Share(kSky) > 0.4 && frame.Share(kSky, {505, 100, 10, 100}) < 0.1;
    }
    // Play, not paused: the kangaroo (and the lives, heads of it) shows.
    static bool IsPlay(const Frame& frame) { return frame.Share(kNight) > 0.5 && frame.Find(kFur).count > 20; }
    // The pause menu darkens the 640 x 480 window around the word "PAUSED".
    static bool IsPaused(const Frame& frame) {
        return frame.Share({0, 0, 30}) > 0.4 && frame.Bright({390, 230, 60, 20}) > 0.03;
    }

    std::string Output() const { return folder.Read("output.txt"); }
    std::string Errors() const { return folder.Read("errors.txt"); }
    std::string State() const { return folder.Read(".briskostate"); }
    Recording Sound() const { return Recording(folder.Read("sound.wav")); }

    TempFolder folder;
    std::unique_ptr<RealProgram> program;
};

}  // namespace e2e
