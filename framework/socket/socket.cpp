#include "framework/socket/socket.h"

#include "framework/asyncevent/async_event.h"
#include "framework/socket/async_queue.h"
#include "framework/socket/native_socket.h"
#include "runtime/errors.h"

namespace {

int ProtocolNamed(const String& name) {
    if (name == String("stream")) return c_Socket::kStream;
    if (name == String("server")) return c_Socket::kServer;
    if (name == String("datagram")) return c_Socket::kDatagram;
    kpError(String("Illegal socket protocol"));
}

}  // namespace

c_Socket* c_Socket::m_new(String name) {
    int named = ProtocolNamed(name);
    gc_assign(socket, new KpSocket);
    if (!socket->Open(named)) kpError(String("Socket open failed"));
    protocol = named;
    status = kOpen;
    p_Start();
    return this;
}

c_Socket* c_Socket::m_new2(KpSocket* native, int newProtocol, int newStatus) {
    gc_assign(socket, native);
    protocol = newProtocol;
    status = newStatus;
    p_Start();
    return this;
}

int c_Socket::p_Start() {
    gc_assign(readQueue, (new c_AsyncQueue)->m_new(this));
    gc_assign(writeQueue, (new c_AsyncQueue)->m_new(this));
    kp_asyncevent_AddAsyncEventSource(this);
    return 0;
}

int c_Socket::p_ConnectAsync(String host, int port, c_IOnConnectComplete* onComplete) {
    if (!p_IsOpen() || p_IsConnected() || p_IsListening()) return 0;
    readQueue->p_Enqueue((new c_AsyncConnectOp)->m_new(socket, host, port, onComplete));
    return 0;
}

int c_Socket::p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete) {
    if (!p_IsConnected()) return 0;
    writeQueue->p_Enqueue((new c_AsyncSendOp)->m_new(socket, data, offset, count, onComplete));
    return 0;
}

int c_Socket::p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* onComplete) {
    if (!p_IsConnected()) return 0;
    readQueue->p_Enqueue((new c_AsyncReceiveOp)->m_new(socket, data, offset, count, onComplete));
    return 0;
}

bool c_Socket::p_IsOpen() { return (status & kOpen) != 0; }

bool c_Socket::p_IsConnected() { return (status & kConnected) != 0; }

bool c_Socket::p_IsListening() { return (status & kListening) != 0; }

int c_Socket::p_Close() {
    socket->Close();
    status = 0;
    return 0;
}

int c_Socket::p_UpdateAsyncEvents() {
    readQueue->p_UpdateAsyncEvents();
    writeQueue->p_UpdateAsyncEvents();
    return 0;
}

void c_Socket::mark() {
    gc_mark(socket);
    gc_mark(readQueue);
    gc_mark(writeQueue);
}
