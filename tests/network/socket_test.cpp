#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "framework/http/data_buffer.h"
#include "framework/socket/async_queue.h"
#include "framework/socket/native_socket.h"
#include "framework/socket/socket.h"
#include "blocked_call.h"
#include "polling.h"
#include "tests/support/runtime_error.h"

namespace {

struct Event {
    char kind;  // 'c' connect, 's' send, 'r' receive
    int offset;
    int count;
    bool operator==(const Event&) const = default;
};

void PrintTo(const Event& e, std::ostream* os) { *os << e.kind << "(" << e.offset << "," << e.count << ")"; }

// Notes every completion in arrival order.
struct Recorder : Object, virtual c_IOnConnectComplete, virtual c_IOnSendComplete, virtual c_IOnReceiveComplete {
    std::vector<Event> events;

    int p_OnConnectComplete(bool connected, c_Socket*) override {
        events.push_back({'c', 0, connected ? 1 : 0});
        return 0;
    }
    int p_OnSendComplete(c_DataBuffer*, int offset, int count, c_Socket*) override {
        events.push_back({'s', offset, count});
        return 0;
    }
    int p_OnReceiveComplete(c_DataBuffer*, int offset, int count, c_Socket*) override {
        events.push_back({'r', offset, count});
        return 0;
    }
};

int Option(int handle, int level, int name) {
    int value = 0;
    socklen_t size = sizeof value;
    getsockopt(handle, level, name, &value, &size);
    return value;
}

// Reads until the peer closes, at most until the connection's time-out.
std::string ReadToEnd(int connection) {
    std::string got;
    char block[256];
    ssize_t n;
    while ((n = recv(connection, block, sizeof block, 0)) > 0) got.append(block, static_cast<size_t>(n));
    return got;
}

class SocketTest : public ::testing::Test {
protected:
    void SetUp() override {
        kp_asyncevent_init();
        recorder = new Recorder;
    }

    c_Socket* Connected(int port) {
        c_Socket* socket = (new c_Socket)->m_new(String("stream"));
        socket->p_ConnectAsync(String("127.0.0.1"), port, recorder);
        EXPECT_TRUE(PollUntil([&] { return !recorder->events.empty(); }));
        return socket;
    }

    Recorder* recorder = nullptr;
};

struct ProtocolCase {
    const char* name;
    int protocol;
    int type;
};

class SocketProtocol : public SocketTest, public ::testing::WithParamInterface<ProtocolCase> {};

TEST_P(SocketProtocol, OpensARegisteredSocketOfItsKind) {
    const ProtocolCase& c = GetParam();
    c_Socket* socket = (new c_Socket)->m_new(String(c.name));
    int handle = socket->socket->handle.load();
    EXPECT_EQ(socket->protocol, c.protocol);
    EXPECT_EQ(socket->socket->protocol, c.protocol);
    EXPECT_EQ(socket->status, c_Socket::kOpen);
    EXPECT_EQ(Option(handle, SOL_SOCKET, SO_TYPE), c.type);
    if (c.type == SOCK_STREAM) {
        EXPECT_EQ(Option(handle, IPPROTO_TCP, TCP_NODELAY), 1);
    }
    EXPECT_TRUE(kp_asyncevent__sources->p_Contains2(socket));
}

INSTANTIATE_TEST_SUITE_P(Names, SocketProtocol,
                         ::testing::Values(ProtocolCase{"stream", 1, SOCK_STREAM}, ProtocolCase{"server", 2, SOCK_STREAM},
                                           ProtocolCase{"datagram", 3, SOCK_DGRAM}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FatalCase {
    const char* name;
    std::function<void()> run;
    const char* message;
};

class SocketFatal : public SocketTest, public ::testing::WithParamInterface<FatalCase> {};

TEST_P(SocketFatal, StopsTheProgram) { ExpectRuntimeError(GetParam().run, GetParam().message); }

INSTANTIATE_TEST_SUITE_P(
    Errors, SocketFatal,
    ::testing::Values(FatalCase{"UnknownProtocol", [] { (new c_Socket)->m_new(String("tcp")); }, "Illegal socket protocol"},
                      FatalCase{"StartedTwice", [] { (new c_Socket)->m_new(String("stream"))->p_Start(); },
                                "Async event source is already active"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SocketTest, CallsInTheWrongStateAreIgnored) {
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    auto* buffer = (new c_DataBuffer)->m_new(16);
    socket->p_SendAsync(buffer, 0, 4, recorder);
    socket->p_ReceiveAsync(buffer, 0, 4, recorder);
    socket->p_Close();
    EXPECT_EQ(socket->status, 0);
    EXPECT_EQ(socket->socket->handle.load(), -1);
    socket->p_ConnectAsync(String("127.0.0.1"), ClosedPort(), recorder);
    EXPECT_EQ(socket->readQueue->putIndex.load(), 0);
    EXPECT_EQ(socket->writeQueue->putIndex.load(), 0);
    kp_asyncevent_UpdateAsyncEvents();
    EXPECT_TRUE(recorder->events.empty());
}

TEST_F(SocketTest, RefusedConnectLeavesTheSocketOpen) {
    c_Socket* socket = Connected(ClosedPort());
    EXPECT_EQ(recorder->events, (std::vector<Event>{{'c', 0, 0}}));
    EXPECT_EQ(socket->status, c_Socket::kOpen);
}

TEST_F(SocketTest, SendsAndReceivesInQueueOrder) {
    std::atomic<bool> pinged{false};
    LoopbackServer server([&](int connection) {
        char ping[4];
        pinged = recv(connection, ping, sizeof ping, MSG_WAITALL) == 4 && std::string(ping, 4) == "ping";
        SendAll(connection, "abcdefghi");
        ReadToEnd(connection);
    });
    c_Socket* socket = Connected(server.Port());
    ASSERT_EQ(socket->status, c_Socket::kOpen | c_Socket::kBound | c_Socket::kConnected);
    // A second connect on a connected socket is ignored.
    socket->p_ConnectAsync(String("127.0.0.1"), server.Port(), recorder);
    auto* out = (new c_DataBuffer)->m_new(4);
    out->p_PokeString(0, String("ping"), String("ascii"));
    auto* in = (new c_DataBuffer)->m_new(16);
    socket->p_SendAsync(out, 0, 4, recorder);
    socket->p_ReceiveAsync(in, 0, 2, recorder);
    socket->p_ReceiveAsync(in, 2, 3, recorder);
    socket->p_ReceiveAsync(in, 5, 4, recorder);
    EXPECT_EQ(socket->readQueue->putIndex.load(), 4);
    ASSERT_TRUE(PollUntil([&] { return recorder->events.size() == 5; }));
    socket->p_Close();

    // The two queues complete independently; each keeps its own order.
    std::vector<Event> receives, sends;
    for (const Event& e : recorder->events) {
        if (e.kind == 'r') receives.push_back(e);
        if (e.kind == 's') sends.push_back(e);
    }
    EXPECT_EQ(receives, (std::vector<Event>{{'r', 0, 2}, {'r', 2, 3}, {'r', 5, 4}}));
    EXPECT_EQ(sends, (std::vector<Event>{{'s', 0, 4}}));
    EXPECT_EQ(in->p_PeekString(0, 9, String("ascii")), String("abcdefghi"));
    EXPECT_TRUE(pinged);
}

// The close wakes the waiting receive at once; it reports the socket gone
// (-1), not a peer that ended the stream (0).
TEST_F(SocketTest, CloseEndsAReceiveThatIsWaitingWithMinusOne) {
    LoopbackServer server([](int connection) { ReadToEnd(connection); });
    c_Socket* socket = Connected(server.Port());
    auto* in = (new c_DataBuffer)->m_new(16);
    socket->p_ReceiveAsync(in, 0, 16, recorder);
    ASSERT_TRUE(WaitFor([&] { return AThreadIsReceivingFrom(socket->socket->handle.load()); }));
    auto closed = std::chrono::steady_clock::now();
    socket->p_Close();
    ASSERT_TRUE(PollUntil([&] { return recorder->events.size() == 2; }));
    EXPECT_LT(std::chrono::steady_clock::now() - closed, std::chrono::seconds(2));
    EXPECT_EQ(recorder->events[1], (Event{'r', 0, -1}));
}

}  // namespace
