#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

#include "host/kp_glfw_game.h"
#include "host/pad_layout.h"
#include "tests/host/temp_folder.h"

namespace {

struct PadCase {
    const char* name;
    int axisCount;
    int buttonCount;
    std::vector<int> pressed;
    float sticks[6];  // x0 y0 z0 x1 y1 z1
    std::vector<int> expectedButtons;
};

TEST(PadLayout, ReadingsBecomeSticksAndButtons) {
    const float axes[6] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    const PadCase cases[] = {
        // Layout A: exactly 14 buttons and 5 axes.
        {"A, face buttons", 5, 14, {0, 3}, {0.1f, 0.2f, 0.3f, 0.5f, -0.4f, -0.3f}, {0, 3}},
        {"A, d-pad from the end", 5, 14, {10, 11, 12, 13}, {0.1f, 0.2f, 0.3f, 0.5f, -0.4f, -0.3f}, {8, 9, 10, 11}},
        {"A, sticks pressed", 5, 14, {8, 9}, {0.1f, 0.2f, 0.3f, 0.5f, -0.4f, -0.3f}, {12, 13}},
        // Layout B: everything else; triggers read from buttons 6 and 7.
        {"B, triggers", 6, 16, {6, 7}, {0.1f, 0.2f, 1, 0.3f, -0.4f, 1}, {}},
        {"B, face order", 6, 16, {0, 1, 2}, {0.1f, 0.2f, 0, 0.3f, -0.4f, 0}, {0, 1, 2}},
        {"B, back and start", 6, 16, {8, 9, 10, 11}, {0.1f, 0.2f, 0, 0.3f, -0.4f, 0}, {6, 7, 12, 13}},
        {"B, d-pad from the end", 6, 17, {13, 14, 15, 16}, {0.1f, 0.2f, 0, 0.3f, -0.4f, 0}, {8, 9, 10, 11}},
        // Counted from the end of three buttons, -4 lies before the first one.
        {"B, few buttons", 2, 3, {0, 1, 2}, {0.1f, 0.2f, 0, 0.3f, -0.4f, 0}, {0, 1, 2, 9, 10, 11}},
    };
    for (const PadCase& c : cases) {
        unsigned char pressed[32] = {};
        for (int button : c.pressed) pressed[button] = 1;
        Array<float> x(2), y(2), z(2);
        Array<bool> buttons(32);
        for (int k = 0; k < 32; ++k) buttons[k] = true;
        MapPadReading(axes, c.axisCount, pressed, c.buttonCount, x, y, z, buttons);
        const float got[6] = {x[0], y[0], z[0], x[1], y[1], z[1]};
        for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(got[i], c.sticks[i]) << c.name << ", value " << i;
        std::vector<int> down;
        for (int k = 0; k < 32; ++k) {
            if (buttons[k]) down.push_back(k);
        }
        EXPECT_EQ(down, c.expectedButtons) << c.name;
    }
}

// Each pad button of a layout B pad pressed alone, to see exactly which
// framework button it becomes; the triggers (6 and 7) become none.
TEST(PadLayout, EachLayoutBButtonAloneBecomesItsFrameworkButton) {
    const float axes[6] = {};
    const int frameworkButton[16] = {2, 0, 1, 3, 4, 5, -1, -1, 6, 7, 12, 13, 8, 9, 10, 11};
    for (int padButton = 0; padButton < 16; ++padButton) {
        unsigned char pressed[32] = {};
        pressed[padButton] = 1;
        Array<float> x(2), y(2), z(2);
        Array<bool> buttons(32);
        MapPadReading(axes, 6, pressed, 16, x, y, z, buttons);
        std::vector<int> down;
        for (int k = 0; k < 32; ++k) {
            if (buttons[k]) down.push_back(k);
        }
        std::vector<int> expected;
        if (frameworkButton[padButton] >= 0) expected.push_back(frameworkButton[padButton]);
        EXPECT_EQ(down, expected) << "pad button " << padButton;
    }
}

// Opens `url` with the opener put in `folder`, which comes first along PATH
// for the while, and gives what the opener wrote to `report` there.
std::string OpenWithStandIn(const TempFolder& folder, const std::string& url, const char* report) {
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", (folder.path + ":" + oldPath).c_str(), 1);
    KpGlfwGame host;
    host.OpenUrl(String(url.c_str()));
    for (int wait = 0; wait < 50 && folder.Read(report).empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    setenv("PATH", oldPath.c_str(), 1);
    return folder.Read(report);
}

TEST(HostServices, UrlReachesTheOpenerAsOneArgumentWithoutAShell) {
    TempFolder folder;
    std::string opener =
        folder.Write("xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$(dirname \"$0\")/opened\"\n");
    chmod(opener.c_str(), 0755);
    const std::string url = "https://example.org/a b;touch " + folder.path + "/owned$(id)";
    EXPECT_EQ(OpenWithStandIn(folder, url, "opened"), "1|" + url);
    struct stat info;
    EXPECT_NE(stat(folder.File("owned").c_str(), &info), 0);
}

// The browser owes nothing to the game's own signal settings: saves ignore
// SIGXFSZ and a thread may block signals, yet the opener starts with every
// signal at its default and none blocked.
TEST(HostServices, OpenerStartsWithDefaultSignals) {
    TempFolder folder;
    ASSERT_EQ(symlink(SIGNAL_PROBE, folder.File("xdg-open").c_str()), 0);
    struct sigaction ignore {}, before {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &before);
    sigset_t blocked, mask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &blocked, &mask);

    std::string signals = OpenWithStandIn(folder, folder.File("signals"), "signals");
    pthread_sigmask(SIG_SETMASK, &mask, nullptr);
    sigaction(SIGXFSZ, &before, nullptr);
    EXPECT_EQ(signals, "ignored:\nblocked:\n");
}

TEST(HostServices, DateFillsAsManyFieldsAsAsked) {
    KpGlfwGame host;
    Array<int> date(7);
    host.GetDate(date);
    EXPECT_GE(date[0], 2024);
    EXPECT_GE(date[1], 1);
    EXPECT_LE(date[1], 12);
    EXPECT_GE(date[2], 1);
    EXPECT_EQ(date[6], 0);
    Array<int> year(1);
    host.GetDate(year);
    EXPECT_EQ(year[0], date[0]);
}

}  // namespace
