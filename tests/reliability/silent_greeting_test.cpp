#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "framework/socket/async_queue.h"
#include "tests/game/play_fixture.h"
#include "tests/network/loopback_server.h"

namespace {

// A greeting host that takes the connection and the request, then says
// nothing until it is let go, or for half a minute at most, so a game that
// waits for it fails rather than hangs.
class SilentHost {
public:
    SilentHost()
        : server([this](int connection) {
              ReadHttpRequest(connection);
              std::unique_lock<std::mutex> hold(lock);
              wake.wait_for(hold, std::chrono::seconds(30), [this] { return released; });
          }) {}
    ~SilentHost() { Release(); }

    void Release() {
        {
            std::lock_guard<std::mutex> hold(lock);
            released = true;
        }
        wake.notify_all();
    }

    int Port() const { return server.Port(); }
    int Accepted() const { return server.Accepted(); }

private:
    std::mutex lock;
    std::condition_variable wake;
    bool released = false;
    LoopbackServer server;  // last, so its thread ends before the rest goes
};

// A game with the greeting switched on, sent to the silent host.
class SilentGreeting : public GameTest {
protected:
    void SetUp() override {
        host = new GameTestHost;
        kp_framework_init();
        kp_VTR_init();
        kp_VTR_J_On_Allow = 1;
        kp_VTR_GreetingHost = String(("127.0.0.1:" + std::to_string(maker.Port())).c_str());
        static bool rooted = (gc_add_roots(kp_framework_mark), gc_add_roots(kp_VTR_mark), true);
        (void)rooted;
        ::testing::internal::CaptureStdout();
        app = (new c_MyApp)->m_new();
        host->StartGame();
    }

    // The next game drops this one's socket; its workers end first.
    void TearDown() override {
        maker.Release();
        if (!app->m_Request) return GameTest::TearDown();
        c_Socket* socket = app->m_Request->m_Socket;
        WaitFor([&] {
            Update();
            return app->m_RequestDone == 1 && !socket->readQueue->IsRunning() && !socket->writeQueue->IsRunning();
        });
        GameTest::TearDown();
    }

    SilentHost maker;
};

// The reply never comes while the game loads, shows the title and plays a
// game: no update waits for it. Once the host gives up the connection, the
// request ends unanswered and the game goes on.
TEST_F(SilentGreeting, NeverHoldsUpTheGame) {
    ASSERT_TRUE(WaitFor([&] {
        Update();
        return maker.Accepted() == 1;
    }));
    FinishLoading();
    Update(60);
    EXPECT_EQ(app->m_GameMode, 1);
    Press(kJumpKey);
    Update(2);
    Release(kJumpKey);
    Update(300);
    EXPECT_EQ(app->m_GameMode, 10) << "a game runs";
    EXPECT_EQ(app->m_RequestDone, 0) << "the host has not answered";

    maker.Release();
    ASSERT_TRUE(WaitFor([&] {
        Update();
        return app->m_RequestDone == 1;
    }));
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Requesting URL\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Http GET complete! "), std::string::npos) << out;
    EXPECT_EQ(kp_VTR_J_On_Able, 0);
    EXPECT_EQ(app->m_GameMode, 10);
}

}  // namespace
