#pragma once

#include "runtime/gc.h"

class c_Socket;
class c_DataBuffer;

// Told on the main thread when a connect has finished.
class c_IOnConnectComplete : public virtual gc_interface {
public:
    virtual int p_OnConnectComplete(bool connected, c_Socket* source) = 0;
};

// Told on the main thread how many bytes a send wrote (-1 on failure).
class c_IOnSendComplete : public virtual gc_interface {
public:
    virtual int p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

// Told on the main thread how many bytes a receive read (0 when the peer
// closed, -1 on failure).
class c_IOnReceiveComplete : public virtual gc_interface {
public:
    virtual int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};
