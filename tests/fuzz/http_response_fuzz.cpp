// HTTP response handling: a c_HttpRequest reads a server's response from a
// socket whose receives are answered with the input, in chunks, through the
// same completions a worker thread would deliver. No network is involved.
// The first input byte chooses the chunking (see Chunks); the rest is what
// the server sends before it closes.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/app/framework_globals.h"
#include "framework/http/http_request.h"
#include "framework/socket/async_queue.h"
#include "framework/socket/native_socket.h"
#include "runtime/gc.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// A socket queue that never starts a worker: the target runs its
// operations and then lets the queue complete them.
class ScriptedQueue : public c_AsyncQueue {
public:
    void Start() override {}

    c_AsyncOp* Waiting() {
        int run = runIndex.load();
        return run == putIndex.load() ? nullptr : ops[run];
    }
    void MarkRun() { runIndex.store((runIndex.load() + 1) % kSlots); }
};

// Hands out the response as a socket would, in chunks. Bit 0 of the control
// byte ends the stream with a failed receive (-1) instead of a close; the
// other bits give the largest chunk, ((byte >> 1) + 1)^2 bytes, and seed
// the varying sizes below it.
class Chunks {
public:
    Chunks(const std::uint8_t* data, std::size_t size)
        : next(size > 0 ? data + 1 : data), left(size > 0 ? size - 1 : 0) {
        int control = size > 0 ? data[0] : 0;
        failAtEnd = (control & 1) != 0;
        largest = ((control >> 1) + 1) * ((control >> 1) + 1);
        seed = static_cast<unsigned>(control) + 1;
    }

    // Receives into [offset, offset + count) of the buffer, clipped to it.
    int Receive(c_DataBuffer* buffer, int offset, int count) {
        count = buffer->Fit(offset, count);
        if (left == 0 || count == 0) return left == 0 && failAtEnd ? -1 : 0;
        std::size_t size = std::min({NextSize(), left, static_cast<std::size_t>(count)});
        std::memcpy(buffer->Bytes() + offset, next, size);
        next += size;
        left -= size;
        return static_cast<int>(size);
    }

private:
    std::size_t NextSize() {
        seed = seed * 1103515245u + 12345u;
        return 1 + (seed >> 8) % static_cast<unsigned>(largest);
    }

    const std::uint8_t* next;
    std::size_t left;
    bool failAtEnd;
    int largest;
    unsigned seed;
};

struct Completion : Object, virtual c_IOnHttpRequestComplete {
    int calls = 0;

    int p_OnHttpRequestComplete(c_HttpRequest*) override {
        ++calls;
        return 0;
    }
};

c_Socket* socket;
ScriptedQueue* reads;
ScriptedQueue* writes;

void MarkGlobals() {
    kp_framework_mark();
    gc_mark(socket);
}

// One socket for every input: each new one would stay polled for good.
void MakeSocket() {
    socket = (new c_Socket)->m_new2(new KpSocket, c_Socket::kStream, c_Socket::kOpen);
    reads = new ScriptedQueue;
    writes = new ScriptedQueue;
    gc_assign(socket->readQueue, reads->m_new(socket));
    gc_assign(socket->writeQueue, writes->m_new(socket));
}

// Every send goes out whole.
void CompleteSends() {
    while (writes->Waiting()) writes->MarkRun();
    writes->p_UpdateAsyncEvents();
}

void AnswerReceives(Chunks& chunks) {
    while (c_AsyncOp* waiting = reads->Waiting()) {
        auto* receive = static_cast<c_AsyncReceiveOp*>(waiting);
        receive->count = chunks.Receive(receive->data, receive->offset, receive->count);
        reads->MarkRun();
        reads->p_UpdateAsyncEvents();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartRuntime();
    kp_framework_init();
    gc_add_roots(MarkGlobals);
    gc_init2();
    MakeSocket();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto* completion = new Completion;
    c_HttpRequest* request = (new c_HttpRequest)->m_new2(String("GET"), String("http://fuzz.invalid/"), completion);
    socket->status = c_Socket::kOpen | c_Socket::kConnected;
    gc_assign(request->m_Socket, socket);
    request->p_OnConnectComplete(true, socket);
    CompleteSends();
    Chunks chunks(data, size);
    AnswerReceives(chunks);
    // However the response ends, the request tells its completion once and
    // closes the socket.
    if (completion->calls != 1 || socket->p_IsOpen()) std::abort();
    CollectGarbage();
    return 0;
}
