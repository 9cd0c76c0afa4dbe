#pragma once

#include "framework/asyncevent/async_event_source.h"
#include "framework/socket/socket_completions.h"

class KpSocket;
class c_AsyncQueue;

// A socket whose connect, send and receive run on worker threads: connects
// and receives on the read queue, sends on the write queue. It registers
// itself as an async event source and stays polled for good.
class c_Socket : public Object, public virtual c_IAsyncEventSource {
public:
    static constexpr int kStream = 1;
    static constexpr int kServer = 2;
    static constexpr int kDatagram = 3;
    static constexpr int kOpen = 1;
    static constexpr int kBound = 2;
    static constexpr int kConnected = 4;
    static constexpr int kListening = 8;

    KpSocket* socket = nullptr;
    int protocol = 0;
    int status = 0;
    c_AsyncQueue* readQueue = nullptr;
    c_AsyncQueue* writeQueue = nullptr;

    // "stream" (TCP), "server" (TCP, for listening) or "datagram" (UDP).
    c_Socket* m_new(String name);
    c_Socket* m_new2(KpSocket* native, int newProtocol, int newStatus);
    int p_Start();
    // Each call is ignored, with no completion, in the wrong state.
    int p_ConnectAsync(String host, int port, c_IOnConnectComplete* onComplete);
    int p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete);
    int p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* onComplete);
    bool p_IsOpen();
    bool p_IsConnected();
    bool p_IsListening();
    int p_Close();
    int p_UpdateAsyncEvents() override;
    void mark() override;
};
