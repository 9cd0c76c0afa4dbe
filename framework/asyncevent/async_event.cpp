#include "framework/asyncevent/async_event.h"

#include "runtime/errors.h"

c_Stack3* kp_asyncevent__sources;
c_IAsyncEventSource* kp_asyncevent__current;

void kp_asyncevent_init() {
    gc_assign(kp_asyncevent__sources, (new c_Stack3)->m_new());
    kp_asyncevent__current = nullptr;
}

int kp_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source) {
    if (kp_asyncevent__sources->p_Contains2(source)) kpError(String("Async event source is already active"));
    kp_asyncevent__sources->p_Push7(source);
    return 0;
}

// A completion that polls again returns at once; sources added during the
// poll are polled in the same pass.
int kp_asyncevent_UpdateAsyncEvents() {
    if (kp_asyncevent__current) return 0;
    for (int i = 0; i < kp_asyncevent__sources->p_Length2(); ++i) {
        gc_assign(kp_asyncevent__current, kp_asyncevent__sources->p_Get(i));
        kp_asyncevent__current->p_UpdateAsyncEvents();
    }
    kp_asyncevent__current = nullptr;
    return 0;
}
