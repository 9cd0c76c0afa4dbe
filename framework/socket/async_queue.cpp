#include "framework/socket/async_queue.h"

#include "framework/socket/socket.h"
#include "runtime/errors.h"

c_AsyncQueue* c_AsyncQueue::m_new(c_Socket* newSocket) {
    gc_assign(socket, newSocket);
    gc_assign(ops, Array<c_AsyncOp*>(kSlots));
    return this;
}

// The slot is filled before the index that hands it to the worker moves.
int c_AsyncQueue::p_Enqueue(c_AsyncOp* op) {
    int put = putIndex.load(std::memory_order_relaxed);
    int next = (put + 1) % kSlots;
    gc_assign(ops[put], op);
    if (next == doneIndex) kpError(String("AsyncQueue queue overflow!"));
    putIndex.store(next, std::memory_order_release);
    Start();
    return 0;
}

void c_AsyncQueue::Run__UNSAFE__() {
    int run = runIndex.load(std::memory_order_relaxed);
    while (run != putIndex.load(std::memory_order_acquire)) {
        ops[run]->p_Execute__UNSAFE__(socket);
        run = (run + 1) % kSlots;
        runIndex.store(run, std::memory_order_release);
    }
}

// Only operations executed before the poll began complete in it, so work
// queued by a completion completes at a later poll.
int c_AsyncQueue::p_UpdateAsyncEvents() {
    int ran = runIndex.load(std::memory_order_acquire);
    if (ran != putIndex.load(std::memory_order_relaxed)) Start();
    while (doneIndex != ran) {
        c_AsyncOp* op = ops[doneIndex];
        doneIndex = (doneIndex + 1) % kSlots;
        op->p_Complete(socket);
    }
    return 0;
}

void c_AsyncQueue::mark() {
    gc_mark(socket);
    gc_mark(ops);
}
