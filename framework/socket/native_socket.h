#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "runtime/gc.h"

class KpDataBuffer;
class KpSocketAddress;

// A BSD socket handle. Protocol 1 and 2 are TCP (with the Nagle delay off),
// 3 is UDP. Workers call into it while the main thread may close it.
class KpSocket : public Object {
public:
    // Holds the descriptor for one call on a worker. A Close meanwhile shuts
    // the socket down, which ends the call at once, but the descriptor is
    // closed only when the last call holding it ends: closed earlier, its
    // number could go to a new socket and the call would act on that one.
    class Use {
    public:
        explicit Use(KpSocket* socket);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

        // The descriptor, -1 when the socket was closed before the call.
        int Handle() const { return handle; }
        // True when the socket has been closed since the call began.
        bool CutShort() const;

    private:
        KpSocket* socket;
        int handle;
    };

    // -1 once closed.
    std::atomic<int> handle{-1};
    int protocol = 0;
    // Written by Accept on a worker, taken by Accepted on the main thread.
    std::atomic<int> acceptedHandle{-1};

    ~KpSocket() override;

    bool Open(int newProtocol);
    void Close();
    bool Bind(const String& host, int port);
    bool Connect(const String& host, int port);
    bool Listen(int backlog);
    bool Accept();
    // The last accepted connection, handed out once; null when there is none.
    KpSocket* Accepted();
    // A call that a Close cut short reports -1, as one begun after it does.
    int Send(KpDataBuffer* data, int offset, int count);
    int Receive(KpDataBuffer* data, int offset, int count);
    int SendTo(KpDataBuffer* data, int offset, int count, KpSocketAddress* address);
    int ReceiveFrom(KpDataBuffer* data, int offset, int count, KpSocketAddress* address);
    void GetLocalAddress(KpSocketAddress* address);
    void GetRemoteAddress(KpSocketAddress* address);

private:
    std::mutex uses;
    int callsInFlight = 0;
    // Shut down by Close while calls held them; closed when the last ends.
    std::vector<int> closeWhenIdle;
};
