#include <gtest/gtest.h>

#include <mutex>
#include <string>

#include "../game/game_fixture.h"
#include "framework/socket/async_queue.h"
#include "loopback_server.h"

namespace {

// A game started with the greeting switch and host chosen by the test.
class Greeting : public GameTest {
protected:
    void SetUp() override {}

    void TearDown() override {
        // The next game drops this one's sockets; their workers end first.
        if (app && app->m_Request) {
            c_Socket* socket = app->m_Request->m_Socket;
            WaitFor([&] { return !socket->readQueue->IsRunning() && !socket->writeQueue->IsRunning(); });
        }
        GameTest::TearDown();
    }

    void Start(int allow, int port) {
        host = new GameTestHost;
        kp_framework_init();
        kp_VTR_init();
        kp_VTR_J_On_Allow = allow;
        kp_VTR_GreetingHost = String(("127.0.0.1:" + std::to_string(port)).c_str());
        static bool rooted = (gc_add_roots(kp_framework_mark), gc_add_roots(kp_VTR_mark), true);
        (void)rooted;
        ::testing::internal::CaptureStdout();
        app = (new c_MyApp)->m_new();
        host->StartGame();
    }

    // Runs updates until the greeting completes, at most twenty seconds.
    bool UpdateUntilAnswered() {
        return WaitFor([&] {
            Update();
            return app->m_RequestDone == 1;
        });
    }
};

// Answers one greeting with `reply` and keeps the request it saw.
struct GreetingServer {
    explicit GreetingServer(std::string reply)
        : server([this, reply](int connection) {
              std::string got = ReadHttpRequest(connection);
              {
                  std::lock_guard<std::mutex> hold(lock);
                  request = got;
              }
              SendAll(connection, reply);
          }) {}

    std::string Request() {
        std::lock_guard<std::mutex> hold(lock);
        return request;
    }

    std::mutex lock;
    std::string request;
    LoopbackServer server;
};

TEST_F(Greeting, ANonEmptyReplyMarksTheGreetingAnswered) {
    GreetingServer maker("HTTP/1.0 200 OK\r\n\r\nWelcome back");
    Start(1, maker.server.Port());
    ASSERT_TRUE(UpdateUntilAnswered());
    std::string out = ::testing::internal::GetCapturedStdout();
    size_t requesting = out.find("Requesting URL\n");
    ASSERT_NE(requesting, std::string::npos) << out;
    EXPECT_NE(out.find("Http GET complete! 200\n", requesting), std::string::npos) << out;
    EXPECT_EQ(maker.Request(), "GET /housecall.php?hello=1&gameID=415 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(kp_VTR_J_On_Able, 1);
    EXPECT_EQ(app->m_PlayerName, String("Welcome back"));
}

TEST_F(Greeting, AnEmptyReplyLeavesItUnanswered) {
    GreetingServer maker("HTTP/1.0 200 OK\r\n\r\n");
    Start(1, maker.server.Port());
    ASSERT_TRUE(UpdateUntilAnswered());
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Http GET complete! 200\n"), std::string::npos) << out;
    EXPECT_EQ(kp_VTR_J_On_Able, 0);
    EXPECT_EQ(app->m_PlayerName, String());
}

TEST_F(Greeting, NoAnswerPrintsMinusOneAndTheGameGoesOn) {
    Start(1, ClosedPort());
    ASSERT_TRUE(UpdateUntilAnswered());
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Http GET complete! -1\n"), std::string::npos) << out;
    EXPECT_EQ(kp_VTR_J_On_Able, 0);
    EXPECT_EQ(app->m_GameMode, 1);
}

TEST_F(Greeting, SwitchedOffNothingIsSent) {
    GreetingServer maker("HTTP/1.0 200 OK\r\n\r\nWelcome back");
    Start(0, maker.server.Port());
    Update(30);
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("Requesting URL"), std::string::npos) << out;
    EXPECT_EQ(app->m_Request, nullptr);
    EXPECT_EQ(maker.server.Accepted(), 0);
    EXPECT_EQ(app->m_PlayerName, String("N/A"));
}

}  // namespace
