#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <vector>

#include "framework/socket/async_queue.h"
#include "polling.h"
#include "tests/support/runtime_error.h"

namespace {

std::vector<int> completed;

// An operation that only notes that it ran and when it completes.
struct Step : c_AsyncOp {
    int id = 0;
    std::atomic<bool> executed{false};
    std::function<void()> whenComplete;

    int p_Execute__UNSAFE__(c_Socket*) override {
        executed = true;
        return 0;
    }
    int p_Complete(c_Socket*) override {
        completed.push_back(id);
        if (whenComplete) whenComplete();
        return 0;
    }
};

class AsyncQueue : public ::testing::Test {
protected:
    void SetUp() override {
        kp_asyncevent_init();
        completed.clear();
        queue = (new c_AsyncQueue)->m_new(nullptr);
        kp_asyncevent_AddAsyncEventSource(queue);
    }

    Step* Enqueue(int id) {
        auto* step = new Step;
        step->id = id;
        queue->p_Enqueue(step);
        return step;
    }

    // Executed, and the worker has ended, so no completion can be early.
    bool Ran(Step* step) {
        return WaitFor([&] { return step->executed.load() && !queue->IsRunning(); });
    }

    c_AsyncQueue* queue = nullptr;
};

TEST_F(AsyncQueue, CompletesInQueueOrderOnlyWhenPolled) {
    Enqueue(1);
    Enqueue(2);
    ASSERT_TRUE(Ran(Enqueue(3)));
    EXPECT_TRUE(completed.empty());
    kp_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(completed, (std::vector<int>{1, 2, 3}));
    kp_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(completed.size(), 3u);
}

TEST_F(AsyncQueue, WorkQueuedByACompletionCompletesAtALaterPoll) {
    Step* first = Enqueue(1);
    first->whenComplete = [this] {
        // The worker starts again and runs the new step during this poll...
        EXPECT_TRUE(Ran(Enqueue(2)));
        // ...and a poll from inside a completion returns at once.
        kp_asyncevent_UpdateAsyncEvents();
        EXPECT_EQ(completed.size(), 1u);
    };
    ASSERT_TRUE(Ran(first));
    kp_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(completed, (std::vector<int>{1}));
    kp_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(completed, (std::vector<int>{1, 2}));
}

TEST_F(AsyncQueue, WrapsAroundTheRing) {
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 200; ++i) Enqueue(round * 200 + i);
        ASSERT_TRUE(PollUntil([&] { return completed.size() == static_cast<size_t>(round + 1) * 200; }));
    }
    for (int i = 0; i < 600; ++i) ASSERT_EQ(completed[i], i);
}

TEST_F(AsyncQueue, The256thWaitingOperationStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            for (int i = 0; i < 255; ++i) Enqueue(i);
            std::fputs("255 waiting\n", stderr);
            CloseInputAndReportOnStandardError();
            Enqueue(255);
        },
        ::testing::ExitedWithCode(255), "255 waiting\nBrisko Runtime Error : AsyncQueue queue overflow!");
}

}  // namespace
