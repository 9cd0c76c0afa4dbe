#pragma once

#include <functional>

#include "framework/asyncevent/async_event.h"
#include "loopback_server.h"

// Polls the async event sources until `done` holds, at most twenty seconds.
inline bool PollUntil(const std::function<bool()>& done) {
    return WaitFor([&] {
        kp_asyncevent_UpdateAsyncEvents();
        return done();
    });
}
