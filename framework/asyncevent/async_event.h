#pragma once

#include "framework/asyncevent/async_event_source.h"
#include "framework/containers/stack.h"

// Every source of asynchronous completions, in registration order; polled
// once per update on the main thread.
extern c_Stack3* kp_asyncevent__sources;
// The source being polled, or null outside a poll.
extern c_IAsyncEventSource* kp_asyncevent__current;

void kp_asyncevent_init();
int kp_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source);
int kp_asyncevent_UpdateAsyncEvents();
