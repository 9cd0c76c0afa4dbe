#pragma once

#include <atomic>

#include "runtime/gc.h"

class KpDataBuffer;
class KpSocketAddress;

// A BSD socket handle. Protocol 1 and 2 are TCP (with the Nagle delay off),
// 3 is UDP. Workers read the handle while the main thread may close it.
class KpSocket : public Object {
public:
    std::atomic<int> handle{-1};
    int protocol = 0;
    int acceptedHandle = -1;

    ~KpSocket() override;

    bool Open(int newProtocol);
    void Close();
    bool Bind(const String& host, int port);
    bool Connect(const String& host, int port);
    bool Listen(int backlog);
    bool Accept();
    // The last accepted connection, handed out once; null when there is none.
    KpSocket* Accepted();
    int Send(KpDataBuffer* data, int offset, int count);
    int Receive(KpDataBuffer* data, int offset, int count);
    int SendTo(KpDataBuffer* data, int offset, int count, KpSocketAddress* address);
    int ReceiveFrom(KpDataBuffer* data, int offset, int count, KpSocketAddress* address);
    void GetLocalAddress(KpSocketAddress* address);
    void GetRemoteAddress(KpSocketAddress* address);
};
