#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <vector>

#include "framework/asyncevent/async_event.h"
#include "tests/support/runtime_error.h"

namespace {

std::vector<int> polled;

struct Source : Object, virtual c_IAsyncEventSource {
    int id = 0;
    std::function<void()> duringPoll;
    int p_UpdateAsyncEvents() override {
        polled.push_back(id);
        if (duringPoll) duringPoll();
        return 0;
    }
};

Source* NewSource(int id) {
    auto* source = new Source;
    source->id = id;
    return source;
}

class AsyncEvents : public ::testing::Test {
protected:
    void SetUp() override {
        kp_asyncevent_init();
        polled.clear();
    }
};

TEST_F(AsyncEvents, SourcesArePolledInRegistrationOrder) {
    Source* second = NewSource(2);
    kp_asyncevent_AddAsyncEventSource(NewSource(1));
    kp_asyncevent_AddAsyncEventSource(second);
    // A source added while polling is polled in the same pass; a poll from
    // inside a completion returns at once.
    second->duringPoll = [] {
        kp_asyncevent_UpdateAsyncEvents();
        if (polled.size() == 2) kp_asyncevent_AddAsyncEventSource(NewSource(3));
    };
    kp_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(polled, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(kp_asyncevent__current, nullptr);
}

TEST_F(AsyncEvents, RegisteringTwiceIsARuntimeError) {
    Source* source = NewSource(1);
    kp_asyncevent_AddAsyncEventSource(source);
    ExpectRuntimeError([source] { kp_asyncevent_AddAsyncEventSource(source); }, "Async event source is already active");
}

}  // namespace
