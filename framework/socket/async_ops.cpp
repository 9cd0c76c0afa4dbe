#include "framework/socket/async_ops.h"

#include "framework/asyncevent/thread.h"
#include "framework/http/data_buffer.h"
#include "framework/socket/native_socket.h"
#include "framework/socket/socket.h"

c_AsyncConnectOp* c_AsyncConnectOp::m_new(KpSocket* newSocket, String newHost, int newPort,
                                          c_IOnConnectComplete* newOnComplete) {
    c_AsyncOp::m_new();
    gc_assign(socket, newSocket);
    host = KpThread::Strdup(newHost);
    port = newPort;
    gc_assign(onComplete, newOnComplete);
    return this;
}

int c_AsyncConnectOp::p_Execute__UNSAFE__(c_Socket*) {
    connected = socket->Connect(host, port);
    return 0;
}

int c_AsyncConnectOp::p_Complete(c_Socket* source) {
    if (connected) source->status |= c_Socket::kBound | c_Socket::kConnected;
    onComplete->p_OnConnectComplete(connected, source);
    return 0;
}

void c_AsyncConnectOp::mark() {
    gc_mark(socket);
    gc_mark(onComplete);
}

c_AsyncSocketIoOp* c_AsyncSocketIoOp::m_new(KpSocket* newSocket, c_DataBuffer* newData, int newOffset, int newCount) {
    c_AsyncOp::m_new();
    gc_assign(socket, newSocket);
    gc_assign(data, newData);
    offset = newOffset;
    count = newCount;
    return this;
}

void c_AsyncSocketIoOp::mark() {
    gc_mark(socket);
    gc_mark(data);
}

c_AsyncSendOp* c_AsyncSendOp::m_new(KpSocket* newSocket, c_DataBuffer* newData, int newOffset, int newCount,
                                    c_IOnSendComplete* newOnComplete) {
    c_AsyncSocketIoOp::m_new(newSocket, newData, newOffset, newCount);
    gc_assign(onComplete, newOnComplete);
    return this;
}

int c_AsyncSendOp::p_Execute__UNSAFE__(c_Socket*) {
    count = socket->Send(data, offset, count);
    return 0;
}

int c_AsyncSendOp::p_Complete(c_Socket* source) {
    onComplete->p_OnSendComplete(data, offset, count, source);
    return 0;
}

void c_AsyncSendOp::mark() {
    c_AsyncSocketIoOp::mark();
    gc_mark(onComplete);
}

c_AsyncReceiveOp* c_AsyncReceiveOp::m_new(KpSocket* newSocket, c_DataBuffer* newData, int newOffset, int newCount,
                                          c_IOnReceiveComplete* newOnComplete) {
    c_AsyncSocketIoOp::m_new(newSocket, newData, newOffset, newCount);
    gc_assign(onComplete, newOnComplete);
    return this;
}

int c_AsyncReceiveOp::p_Execute__UNSAFE__(c_Socket*) {
    count = socket->Receive(data, offset, count);
    return 0;
}

int c_AsyncReceiveOp::p_Complete(c_Socket* source) {
    onComplete->p_OnReceiveComplete(data, offset, count, source);
    return 0;
}

void c_AsyncReceiveOp::mark() {
    c_AsyncSocketIoOp::mark();
    gc_mark(onComplete);
}
