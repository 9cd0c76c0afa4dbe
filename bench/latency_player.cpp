// Presses keys in a program's window through XTest, as a player at the keys
// would, and takes each answer's time from the shim preloaded into the
// program (see press_page.h).
//   latency_player <window title> <press page file> <presses>
// Waits for the window, gives it the focus and three seconds to settle, then
// presses Down and Up in turn (a press left unanswered is tried again), each at a random moment spread over more than
// an update period, held a tenth of a second or until answered; every fourth
// press is a tap whose release comes with the press, as a quick tap reaches
// a program that is busy with a long frame. Prints a
// line per press, "answered <nanoseconds>" or "unanswered", then
// "readbacks <count> <nanoseconds> <longest nanoseconds>" and
// "stray_changes <count>"; or, where it cannot go on, "failed: <why>".
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <thread>

#include "bench/press_page.h"
#include "tests/support/x11_windows.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr auto kWindowWait = std::chrono::seconds(30);
constexpr auto kSettle = std::chrono::seconds(3);
constexpr auto kFrameWait = std::chrono::seconds(2);
constexpr auto kAnswerWait = std::chrono::seconds(1);
constexpr auto kHold = milliseconds(100);
// Long enough for an update to see no key down, which the menu waits for
// before it takes the next step.
constexpr auto kReleased = milliseconds(60);
constexpr double kLeastWait = 0.04;
constexpr double kUpdatePeriod = 1.0 / 60;
constexpr auto kPoll = milliseconds(2);

std::int64_t MonotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

template <typename Condition> bool WaitFor(Clock::duration limit, Condition condition) {
    auto end = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

bool Viewable(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

bool Focused(Display* display, Window window) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus == window;
}

// A window can be named before it is shown, only a shown one takes the
// focus, and a program may replace its window meanwhile: the window is looked
// up afresh each try, and an error from one that went away only means
// another try.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

bool FocusWindow(Display* display, const char* title) {
    XErrorHandler previous = XSetErrorHandler(IgnoreError);
    bool focused = WaitFor(kWindowWait, [&] {
        Window window = FindWindowByTitle(display, DefaultRootWindow(display), title);
        if (!window || !Viewable(display, window)) return false;
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        return Focused(display, window);
    });
    XSync(display, False);
    XSetErrorHandler(previous);
    return focused;
}

class Player {
public:
    Player(Display* display, PressPage* page) : display(display), page(page), random(std::random_device()()) {}

    enum Outcome { kAnswered, kUnanswered, kNoFrames };

    Outcome Press(std::int64_t number, KeySym key, bool tap) {
        if (!Arm(number)) return kNoFrames;
        std::this_thread::sleep_for(std::chrono::duration<double>(kLeastWait + kUpdatePeriod * Uniform()));
        KeyCode code = XKeysymToKeycode(display, key);
        std::int64_t pressTime = MonotonicNanos();
        page->pressTime.store(pressTime, std::memory_order_relaxed);
        page->pressed.store(number, std::memory_order_release);
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        if (tap) XTestFakeKeyEvent(display, code, False, CurrentTime);
        XFlush(display);
        bool answer = AwaitAnswer(number);
        if (!tap) XTestFakeKeyEvent(display, code, False, CurrentTime);
        XFlush(display);
        if (answer) {
            std::printf("answered %lld\n",
                        static_cast<long long>(page->answerTime.load(std::memory_order_relaxed) - pressTime));
        } else {
            std::printf("unanswered\n");
        }
        std::this_thread::sleep_for(kReleased);
        return answer ? kAnswered : kUnanswered;
    }

private:
    // False when the program shows no frame to take the reference from.
    bool Arm(std::int64_t number) {
        page->armed.store(number, std::memory_order_release);
        return WaitFor(kFrameWait, [&] { return page->referenced.load(std::memory_order_acquire) == number; });
    }

    // Holds the key at least kHold, and up to kAnswerWait for an answer.
    bool AwaitAnswer(std::int64_t number) {
        auto answered = [&] { return page->answered.load(std::memory_order_acquire) == number; };
        std::this_thread::sleep_for(kHold);
        return answered() || WaitFor(kAnswerWait - kHold, answered);
    }

    double Uniform() { return std::uniform_real_distribution<double>(0, 1)(random); }

    Display* display;
    PressPage* page;
    std::mt19937 random;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: latency_player <window title> <press page file> <presses>\n");
        return 2;
    }
    PressPage* page = MapPressPage(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!page || !display) {
        std::printf("failed: needs the press page and an X display\n");
        return 1;
    }
    if (!FocusWindow(display, argv[1])) {
        std::printf("failed: no window named %s\n", argv[1]);
        return 1;
    }
    std::this_thread::sleep_for(kSettle);
    Player player(display, page);
    int presses = std::atoi(argv[3]);
    bool down = true;
    for (int number = 1; number <= presses; ++number) {
        Player::Outcome outcome = player.Press(number, down ? XK_Down : XK_Up, number % 4 == 0);
        if (outcome == Player::kNoFrames) {
            std::printf("failed: the program showed no frame\n");
            return 1;
        }
        if (outcome == Player::kAnswered) down = !down;
    }
    std::printf("readbacks %lld %lld %lld\n", static_cast<long long>(page->readbacks.load()),
                static_cast<long long>(page->readbackNanos.load()),
                static_cast<long long>(page->longestReadbackNanos.load()));
    std::printf("stray_changes %lld\n", static_cast<long long>(page->strayChanges.load()));
    XCloseDisplay(display);
    return 0;
}
