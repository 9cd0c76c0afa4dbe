#include "loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace {

// Long enough for a machine busy with other builds or a sanitizer; only a
// failing test waits that long.
constexpr auto kPatience = std::chrono::seconds(20);

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int BoundSocket() {
    int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return handle;
}

int PortOf(int handle) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    getsockname(handle, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

void SetTimeouts(int connection) {
    timeval limit{5, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

}  // namespace

LoopbackServer::LoopbackServer(std::function<void(int)> serveConnection, int connections)
    : serve(std::move(serveConnection)), listener(BoundSocket()) {
    listen(listener, 4);
    port = PortOf(listener);
    thread = std::thread([this, connections] { Run(connections); });
}

LoopbackServer::~LoopbackServer() {
    stopping = true;
    thread.join();
    close(listener);
}

void LoopbackServer::Run(int connections) {
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (accepted < connections && !stopping && std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{listener, POLLIN, 0};
        if (poll(&waiting, 1, 20) <= 0) continue;
        int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        ++accepted;
        SetTimeouts(connection);
        serve(connection);
        close(connection);
        deadline = std::chrono::steady_clock::now() + kPatience;
    }
}

std::string ReadHttpRequest(int connection) {
    std::string request;
    char block[4096];
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    while (headEnd == std::string::npos || request.size() < wanted) {
        ssize_t got = recv(connection, block, sizeof block, 0);
        if (got <= 0 || request.size() > (1 << 20)) break;
        request.append(block, static_cast<std::size_t>(got));
        if (headEnd != std::string::npos) continue;
        headEnd = request.find("\r\n\r\n");
        if (headEnd == std::string::npos) continue;
        std::size_t length = request.find("Content-Length: ");
        std::size_t body = length < headEnd ? std::strtoul(request.c_str() + length + 16, nullptr, 10) : 0;
        wanted = headEnd + 4 + body;
    }
    return request;
}

void SendAll(int connection, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t wrote = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (wrote <= 0) return;
        sent += static_cast<std::size_t>(wrote);
    }
}

void ResetConnection(int connection) {
    linger abort{1, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
}

bool WaitFor(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return done();
}

int ClosedPort() {
    int handle = BoundSocket();
    int port = PortOf(handle);
    close(handle);
    return port;
}
