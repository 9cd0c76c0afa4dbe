#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

// A TCP server on 127.0.0.1 at an ephemeral port. Its thread serves up to
// `connections` connections one after the other with `serve`, waits at most
// twenty seconds for each, and stops when the server is destroyed. Reads and
// writes on a connection time out after five seconds.
class LoopbackServer {
public:
    explicit LoopbackServer(std::function<void(int connection)> serve, int connections = 1);
    ~LoopbackServer();

    int Port() const { return port; }
    int Accepted() const { return accepted.load(); }

private:
    void Run(int connections);

    std::function<void(int)> serve;
    int listener = -1;
    int port = 0;
    std::atomic<bool> stopping{false};
    std::atomic<int> accepted{0};
    std::thread thread;
};

// Reads an HTTP request head and the body its Content-Length announces.
std::string ReadHttpRequest(int connection);
void SendAll(int connection, const std::string& bytes);
// Ends the connection with a reset instead of an orderly close.
void ResetConnection(int connection);
// Waits until `done` holds, at most twenty seconds; true when it does.
bool WaitFor(const std::function<bool()>& done);
// A loopback port with nobody listening.
int ClosedPort();
