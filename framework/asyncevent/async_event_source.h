#pragma once

#include "runtime/gc.h"

// Something that delivers completed asynchronous work on the main thread.
class c_IAsyncEventSource : public virtual gc_interface {
public:
    virtual int p_UpdateAsyncEvents() = 0;
};
