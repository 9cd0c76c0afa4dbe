#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/glfw2.h"
#include "host/kp_glfw_game.h"

namespace {

using KeyLog = std::vector<std::pair<int, int>>;

// Records what the host calls, turn by turn (a turn starts with a render).
class Recorder : public KpGameDelegate {
public:
    std::function<void(int turn)> onRender;
    std::function<void(int turn, int update)> onUpdate;
    std::vector<int> updatesPerTurn;
    std::vector<std::string> lifecycle;
    KeyLog keys;
    std::vector<std::vector<int>> mouse;
    int turn = -1;
    bool finished = false;

    // Ends the host loop: the loop stops once the window is gone.
    void Finish() {
        finished = true;
        glfw2::CloseWindow();
    }

    // Closing the window to end the loop also takes its focus; that does not count.
    void StartGame() override { lifecycle.push_back("start"); }
    void SuspendGame() override {
        if (!finished) lifecycle.push_back("suspend");
    }
    void ResumeGame() override {
        if (!finished) lifecycle.push_back("resume");
    }
    void RenderGame() override {
        if (finished) return;
        ++turn;
        updatesPerTurn.push_back(0);
        if (onRender) onRender(turn);
    }
    void UpdateGame() override {
        if (finished) return;
        int update = updatesPerTurn.back()++;
        if (onUpdate) onUpdate(turn, update);
    }
    void KeyEvent(int event, int data) override { keys.emplace_back(event, data); }
    void MouseEvent(int event, int data, float x, float y) override {
        mouse.push_back({event, data, static_cast<int>(x), static_cast<int>(y)});
    }
};

void Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

bool Contains(const KeyLog& keys, const KeyLog& wanted) {
    auto at = keys.begin();
    for (const auto& key : wanted) {
        at = std::find(at, keys.end(), key);
        if (at == keys.end()) return false;
        ++at;
    }
    return true;
}

class HostLoop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool started = glfw2::Init();
        ASSERT_TRUE(started) << "needs a display (run under xvfb-run)";
    }

    void SetUp() override {
        recorder = new Recorder;
        host.SetDelegate(recorder);
    }

    KpGlfwGame host;
    Recorder* recorder;
};

TEST_F(HostLoop, SlowFrameGetsFourUpdatesAndDropsTheBacklog) {
    host.SetUpdateRate(60);
    recorder->onRender = [this](int turn) {
        if (turn == 10) Sleep(300);
        if (turn == 12) recorder->Finish();
    };
    host.Run();
    ASSERT_GE(recorder->updatesPerTurn.size(), 12u);
    EXPECT_EQ(recorder->updatesPerTurn[10], 4);
    EXPECT_LT(recorder->updatesPerTurn[11], 4) << "the 18 updates owed are not caught up";
    EXPECT_EQ(recorder->lifecycle, std::vector<std::string>{"start"});
}

TEST_F(HostLoop, RateChangeInsideAnUpdateEndsTheTurnsUpdates) {
    host.SetUpdateRate(60);
    recorder->onRender = [this](int turn) {
        if (turn == 10) Sleep(100);
        if (turn == 12) recorder->Finish();
    };
    recorder->onUpdate = [this](int turn, int update) {
        if (turn == 10 && update == 0) host.SetUpdateRate(30);
    };
    host.Run();
    ASSERT_GE(recorder->updatesPerTurn.size(), 12u);
    EXPECT_EQ(recorder->updatesPerTurn[10], 1);
    EXPECT_EQ(host.UpdateRate(), 30);
}

TEST_F(HostLoop, RateZeroUpdatesOncePerFrame) {
    host.SetUpdateRate(0);
    recorder->onRender = [this](int turn) {
        if (turn == 8) Sleep(100);
        if (turn == 10) recorder->Finish();
    };
    host.Run();
    for (int turn = 0; turn < 10; ++turn) EXPECT_EQ(recorder->updatesPerTurn[turn], 1) << turn;
}

TEST_F(HostLoop, FocusLossSuspendsAndFocusReturnResumes) {
    host.SetUpdateRate(60);
    GLFWwindow* other = nullptr;
    int resumedAt = -1;
    recorder->onRender = [&](int turn) {
        GLFWwindow* own = glfwGetCurrentContext();
        if (turn == 3) {
            glfwWindowHint(GLFW_FOCUSED, GLFW_TRUE);
            other = glfwCreateWindow(100, 100, "other", nullptr, nullptr);
            glfwMakeContextCurrent(own);
            glfwFocusWindow(other);
        }
        if (host.Suspended()) {
            EXPECT_EQ(recorder->updatesPerTurn[turn - 1], 0) << "no updates while suspended";
            glfwFocusWindow(own);
        }
        if (resumedAt < 0 && recorder->lifecycle.back() == "resume") resumedAt = turn;
        if (resumedAt >= 0 && turn == resumedAt + 5) recorder->Finish();
    };
    host.Run();
    glfwDestroyWindow(other);
    EXPECT_EQ(recorder->lifecycle, (std::vector<std::string>{"start", "suspend", "resume"}));
}

TEST_F(HostLoop, CloseRequestIsTheCloseKeyAndTheWindowStays) {
    host.SetUpdateRate(60);
    recorder->onRender = [this](int turn) {
        if (turn == 3) {
            ASSERT_EQ(std::system(SEND_CLOSE_REQUEST " Vantaroo"), 0);
        }
        if (turn > 3 && Contains(recorder->keys, {{2, 432}}) && turn < 200) {
            EXPECT_NE(glfw2::GetWindowParam(glfw2::OPENED), 0);
            recorder->Finish();
        }
        if (turn == 300) recorder->Finish();
    };
    host.Run();
    EXPECT_EQ(recorder->keys, (KeyLog{{1, 432}, {2, 432}}));
}

TEST_F(HostLoop, KeysAndMouseBecomeFrameworkEvents) {
    host.SetUpdateRate(60);
    recorder->onRender = [this](int turn) {
        if (turn == 3) {
            ASSERT_EQ(std::system("xdotool key Left Delete a search --name Vantaroo mousemove --window %1 30 40 click 1"), 0);
        }
        if (turn == 40) recorder->Finish();
    };
    host.Run();
    EXPECT_TRUE(Contains(recorder->keys, {{1, 37}, {3, 0x10025}, {2, 37}, {1, 46}, {3, 127}, {2, 46},
                                           {1, 65}, {3, 'a'}, {2, 65}}));
    bool clicked = false;
    for (const auto& event : recorder->mouse) {
        clicked = clicked || event == std::vector<int>{4, 0, 30, 40};
    }
    EXPECT_TRUE(clicked);
}

TEST_F(HostLoop, NewWindowReleasesHeldKeysFirst) {
    host.SetUpdateRate(60);
    int seqBefore = glfwGraphicsSeq;
    recorder->onRender = [this](int turn) {
        if (turn == 3) {
            ASSERT_EQ(std::system("xdotool keydown b"), 0);
        }
        if (turn == 20) host.SetDeviceWindow(320, 200, 0);
        if (turn == 25) {
            EXPECT_EQ(host.GetDeviceWidth(), 320);
            EXPECT_EQ(host.GetDeviceHeight(), 200);
            EXPECT_EQ(std::system("xdotool keyup b"), 0);
            recorder->Finish();
        }
    };
    host.Run();
    ASSERT_GE(recorder->keys.size(), 2u);
    EXPECT_EQ(recorder->keys[0], std::make_pair(1, 66));
    EXPECT_TRUE(Contains(recorder->keys, {{1, 66}, {2, 66}}));
    EXPECT_EQ(glfwGraphicsSeq, seqBefore + 2);
}

// A size the window library refuses still leaves the player a window, of
// the size the game starts with, instead of ending the loop without a word.
TEST_F(HostLoop, AWindowThatCannotBeMadeFallsBackToTheFirstSize) {
    for (bool fullscreen : {false, true}) {
        host.SetGlfwWindow(0, 0, 8, 8, 8, 0, 0, 0, fullscreen);
        ASSERT_NE(glfw2::GetWindowParam(glfw2::OPENED), 0) << fullscreen;
        int width = 0, height = 0;
        glfw2::GetWindowSize(&width, &height);
        EXPECT_EQ(width, 640);
        EXPECT_EQ(height, 480);
        glfw2::CloseWindow();
    }
}

// The window manager or the player may resize the window; the app sees the
// new size once the window's events are in.
TEST_F(HostLoop, ASizeGivenFromOutsideReachesTheDevice) {
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    glfwSetWindowSize(glfwGetCurrentContext(), 320, 200);
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (host.GetDeviceWidth() != 320 && std::chrono::steady_clock::now() < end) {
        glfw2::PollEvents();
        Sleep(10);
    }
    EXPECT_EQ(host.GetDeviceWidth(), 320);
    EXPECT_EQ(host.GetDeviceHeight(), 200);
    glfw2::CloseWindow();
    EXPECT_EQ(host.GetDeviceWidth(), 0) << "no window, no size";
}

TEST_F(HostLoop, NothingReachesTheDelegateBeforeTheStart) {
    host.KeyEvent(1, 65);
    host.RenderGame();
    host.UpdateGame();
    host.SuspendGame();
    EXPECT_TRUE(recorder->keys.empty());
    EXPECT_EQ(recorder->turn, -1);
    EXPECT_TRUE(recorder->lifecycle.empty());
}

}  // namespace
