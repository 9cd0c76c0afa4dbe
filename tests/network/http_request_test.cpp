#include <gtest/gtest.h>
#include <sys/socket.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/http/http_request.h"
#include "polling.h"

namespace {

// Counts completions and keeps the last request reported.
struct Done : Object, virtual c_IOnHttpRequestComplete {
    int calls = 0;
    c_HttpRequest* request = nullptr;

    int p_OnHttpRequestComplete(c_HttpRequest* finished) override {
        ++calls;
        gc_assign(request, finished);
        return 0;
    }
    void mark() override { gc_mark(request); }
};

// What the server received, handed over once its connection is done.
class Received {
public:
    void Set(std::string request) {
        std::lock_guard<std::mutex> hold(lock);
        text = std::move(request);
    }
    std::string Get() {
        std::lock_guard<std::mutex> hold(lock);
        return text;
    }

private:
    std::mutex lock;
    std::string text;
};

std::string Url(int port, const std::string& path) { return "http://127.0.0.1:" + std::to_string(port) + path; }

std::u16string Units(const String& text) { return std::u16string(text.Data(), text.Length()); }

class HttpRequest : public ::testing::Test {
protected:
    void SetUp() override {
        kp_asyncevent_init();
        done = new Done;
    }

    c_HttpRequest* Open(const std::string& method, const std::string& url) {
        return (new c_HttpRequest)->m_new2(String(method.c_str()), String(url.c_str()), done);
    }

    // Polls until the completion arrives, then a little longer to see that
    // it comes only once.
    void Finish(c_HttpRequest* request) {
        ASSERT_TRUE(PollUntil([&] { return done->calls > 0; }));
        for (int i = 0; i < 20; ++i) kp_asyncevent_UpdateAsyncEvents();
        EXPECT_EQ(done->calls, 1);
        EXPECT_EQ(done->request, request);
        EXPECT_FALSE(request->m_Socket->p_IsOpen());
    }

    Done* done = nullptr;
};

struct Reply {
    const char* name;
    std::vector<std::string> chunks;
    int status;
    std::u16string text;
    bool reset = false;
};

class HttpReply : public HttpRequest, public ::testing::WithParamInterface<Reply> {};

// The server answers in the given chunks, a little apart, then closes.
TEST_P(HttpReply, GivesStatusAndText) {
    const Reply& reply = GetParam();
    LoopbackServer server([&](int connection) {
        ReadHttpRequest(connection);
        for (const std::string& chunk : reply.chunks) {
            SendAll(connection, chunk);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (reply.reset) ResetConnection(connection);
    });
    c_HttpRequest* request = Open("GET", Url(server.Port(), "/"));
    request->p_Send();
    Finish(request);
    EXPECT_EQ(request->p_Status(), reply.status);
    EXPECT_EQ(Units(request->p_ResponseText()), reply.text);
}

INSTANTIATE_TEST_SUITE_P(
    Http, HttpReply,
    ::testing::Values(
        Reply{"OkWithBody", {"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nHello, world"}, 200, u"Hello, world"},
        Reply{"LowerCaseStatusLine", {"http/1.1 404 Not Found\r\n\r\nmissing"}, 404, u"missing"},
        Reply{"HeadersThenClose", {"HTTP/1.0 204 No Content\r\nServer: test\r\n\r\n"}, 204, u""},
        Reply{"HeadInPieces", {"HTTP/1.0 20", "1 Created\r\nSer", "ver: test\r\n", "\r\nab", "cd"}, 201, u"abcd"},
        Reply{"BareLineFeeds", {"HTTP/1.0 200 OK\nServer: test\n\nbody"}, 200, u"body"},
        Reply{"Utf8Body", {"HTTP/1.0 200 OK\r\n\r\ncaf\xC3\xA9 \xE2\x82\xAC"}, 200, u"caf\u00E9 \u20AC"},
        Reply{"BadByteInTheBody", {"HTTP/1.0 200 OK\r\n\r\nx\xE9y"}, 200, u"x\uFFE9y"},
        Reply{"CutCharacterAtTheEnd", {"HTTP/1.0 200 OK\r\n\r\nab\xC3"}, 200, u"ab\uFFC3"},
        Reply{"ClosedBeforeAnyLine", {"HTTP/1.0 200 OK"}, -1, u""},
        Reply{"ClosedAtOnce", {}, -1, u""},
        Reply{"EmptyFirstLine", {"\r\nHTTP/1.0 200 OK\r\n\r\nbody"}, -1, u""},
        Reply{"StatusLineWithTwoParts", {"HTTP/1.0 200\r\n\r\nbody"}, -1, u""},
        Reply{"NotHttp", {"ICY 200 OK\r\n\r\nbody"}, -1, u""},
        Reply{"ResetBeforeAnswering", {}, -1, u"", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HttpRequest, SendsTheHeadWithFullPathAndHostOnly) {
    Received received;
    LoopbackServer server([&](int connection) {
        received.Set(ReadHttpRequest(connection));
        SendAll(connection, "HTTP/1.0 200 OK\r\n\r\n");
    });
    c_HttpRequest* request = Open("GET", Url(server.Port(), "/a/b?x=1#top"));
    request->p_Send();
    Finish(request);
    EXPECT_EQ(received.Get(), "GET /a/b?x=1#top HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(request->p_Status(), 200);
}

struct BodyCase {
    const char* name;
    const char* mimeType;
    std::string head;
};

class HttpBody : public HttpRequest, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(HttpBody, FollowsTheHead) {
    const BodyCase& c = GetParam();
    Received received;
    LoopbackServer server([&](int connection) {
        received.Set(ReadHttpRequest(connection));
        SendAll(connection, "HTTP/1.0 201 Created\r\n\r\nok");
    });
    c_HttpRequest* request = Open("POST", Url(server.Port(), "/p"));
    request->p_Send2(String(u"h\u00E9llo", 5), String(c.mimeType), String("utf8"));
    Finish(request);
    EXPECT_EQ(received.Get(), c.head + "Content-Length: 6\r\n\r\nh\xC3\xA9llo");
    EXPECT_EQ(request->p_Status(), 201);
    EXPECT_EQ(request->p_ResponseText(), String("ok"));
}

INSTANTIATE_TEST_SUITE_P(
    Http, HttpBody,
    ::testing::Values(BodyCase{"WithType", "text/plain", "POST /p HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: text/plain\r\n"},
                      BodyCase{"WithoutType", "", "POST /p HTTP/1.0\r\nHost: 127.0.0.1\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HttpRequest, SendsAHeadLongerThanItsBuffer) {
    Received received;
    LoopbackServer server([&](int connection) {
        received.Set(ReadHttpRequest(connection));
        SendAll(connection, "HTTP/1.0 200 OK\r\n\r\n");
    });
    std::string path = "/" + std::string(5000, 'a');
    c_HttpRequest* request = Open("GET", Url(server.Port(), path));
    request->p_Send();
    Finish(request);
    EXPECT_EQ(received.Get(), "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
}

TEST_F(HttpRequest, RefusedConnectionEndsWithoutStatus) {
    c_HttpRequest* request = Open("GET", Url(ClosedPort(), "/"));
    request->p_Send();
    Finish(request);
    EXPECT_EQ(request->p_Status(), -1);
    EXPECT_EQ(request->p_ResponseText(), String());
}

// The server never ends the line and keeps the connection open; the request
// ends by itself once the line fills the receive buffer.
TEST_F(HttpRequest, EndlessHeaderLineEndsTheRequest) {
    LoopbackServer server([&](int connection) {
        ReadHttpRequest(connection);
        SendAll(connection, "HTTP/1.0 200 OK\r\nX-Long: " + std::string(20000, 'a'));
        char rest;
        recv(connection, &rest, 1, 0);
    });
    c_HttpRequest* request = Open("GET", Url(server.Port(), "/"));
    request->p_Send();
    Finish(request);
    EXPECT_EQ(request->p_Status(), -1);
    EXPECT_EQ(request->p_ResponseText(), String());
}

// The rest of a character arrives only after the first chunk was read, so
// the two land in separate receives; the character still comes out whole,
// wherever the cut falls in it.
TEST_F(HttpRequest, CharacterSplitBetweenTwoReadsStaysWhole) {
    const struct {
        const char* name;
        std::string first, second;
        std::u16string text;
    } cases[] = {
        {"two bytes, cut after one", "ab\xC3", "\xA9" "cd", u"ab\u00E9cd"},
        {"three bytes, cut after one", "ab\xE2", "\x82\xAC" "cd", u"ab\u20ACcd"},
        {"three bytes, cut after two", "ab\xE2\x82", "\xAC" "cd", u"ab\u20ACcd"},
    };
    for (const auto& split : cases) {
        SCOPED_TRACE(split.name);
        done = new Done;
        std::atomic<bool> firstRead{false};
        LoopbackServer server([&](int connection) {
            ReadHttpRequest(connection);
            SendAll(connection, "HTTP/1.0 200 OK\r\n\r\n" + split.first);
            WaitFor([&] { return firstRead.load(); });
            SendAll(connection, split.second);
        });
        c_HttpRequest* request = Open("GET", Url(server.Port(), "/"));
        request->p_Send();
        const int firstBytes = static_cast<int>(split.first.size());
        ASSERT_TRUE(PollUntil([&] { return request->m_BytesReceived == firstBytes; }));
        firstRead = true;
        Finish(request);
        EXPECT_EQ(request->p_Status(), 200);
        EXPECT_EQ(Units(request->p_ResponseText()), split.text);
        EXPECT_EQ(request->m_BytesReceived, firstBytes + static_cast<int>(split.second.size()));
    }
}

}  // namespace
