#pragma once

#include "framework/socket/socket_completions.h"

class KpSocket;

// One queued socket operation: executed on the queue's worker, completed on
// the main thread. Execution touches only the fields the operation holds.
class c_AsyncOp : public Object {
public:
    c_AsyncOp* m_new() { return this; }
    virtual int p_Complete(c_Socket* source) = 0;
    virtual int p_Execute__UNSAFE__(c_Socket* source) = 0;
};

class c_AsyncConnectOp : public c_AsyncOp {
public:
    KpSocket* socket = nullptr;
    // A private copy: the worker reads it while the main thread runs on.
    String host;
    int port = 0;
    c_IOnConnectComplete* onComplete = nullptr;
    bool connected = false;

    c_AsyncConnectOp* m_new(KpSocket* newSocket, String newHost, int newPort, c_IOnConnectComplete* newOnComplete);
    int p_Execute__UNSAFE__(c_Socket* source) override;
    int p_Complete(c_Socket* source) override;
    void mark() override;
};

class c_AsyncSocketIoOp : public c_AsyncOp {
public:
    KpSocket* socket = nullptr;
    c_DataBuffer* data = nullptr;
    int offset = 0;
    // The bytes asked for, replaced by the bytes moved (or -1).
    int count = 0;

    c_AsyncSocketIoOp* m_new(KpSocket* newSocket, c_DataBuffer* newData, int newOffset, int newCount);
    void mark() override;
};

class c_AsyncSendOp : public c_AsyncSocketIoOp {
public:
    c_IOnSendComplete* onComplete = nullptr;

    c_AsyncSendOp* m_new(KpSocket* newSocket, c_DataBuffer* newData, int newOffset, int newCount, c_IOnSendComplete* newOnComplete);
    int p_Execute__UNSAFE__(c_Socket* source) override;
    int p_Complete(c_Socket* source) override;
    void mark() override;
};

class c_AsyncReceiveOp : public c_AsyncSocketIoOp {
public:
    c_IOnReceiveComplete* onComplete = nullptr;

    c_AsyncReceiveOp* m_new(KpSocket* newSocket, c_DataBuffer* newData, int newOffset, int newCount,
                            c_IOnReceiveComplete* newOnComplete);
    int p_Execute__UNSAFE__(c_Socket* source) override;
    int p_Complete(c_Socket* source) override;
    void mark() override;
};
