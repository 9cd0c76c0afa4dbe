#pragma once

#include <atomic>

#include "framework/asyncevent/async_event_source.h"
#include "framework/asyncevent/thread.h"
#include "framework/socket/async_ops.h"
#include "runtime/kp_array.h"

// A ring of 256 operations run in order by a worker thread that exists only
// while work waits; completions are handed out on the main thread when the
// queue is polled. Slots from doneIndex to runIndex are executed and await
// completion, slots from runIndex to putIndex await execution.
class c_AsyncQueue : public c_Thread, public virtual c_IAsyncEventSource {
public:
    static constexpr int kSlots = 256;

    c_Socket* socket = nullptr;
    Array<c_AsyncOp*> ops;
    // Written by the main thread only, published with release ordering.
    std::atomic<int> putIndex{0};
    // Written and read by the main thread only.
    int doneIndex = 0;
    // Written by the worker only, published with release ordering.
    std::atomic<int> runIndex{0};

    c_AsyncQueue* m_new(c_Socket* newSocket);
    int p_Enqueue(c_AsyncOp* op);
    void Run__UNSAFE__() override;
    int p_UpdateAsyncEvents() override;
    void mark() override;
};
