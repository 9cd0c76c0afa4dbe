#pragma once

#include <gtest/gtest.h>

#include <climits>

#include "runtime/kp_array.h"

// A collected node whose canary and id show whether a reachable object was
// destroyed or overwritten.
struct TestNode : Object {
    static constexpr int kAlive = 0x5eed1e55;
    static inline int liveCount = 0;

    int canary = kAlive;
    int id = 0;
    TestNode* m_left = nullptr;
    TestNode* m_right = nullptr;
    Array<TestNode*> m_children;

    TestNode() { ++liveCount; }
    ~TestNode() override {
        canary = 0;
        --liveCount;
    }
    void mark() override {
        gc_mark(m_left);
        gc_mark(m_right);
        gc_mark(m_children);
    }
};

// The test program's module globals: its only roots.
inline TestNode* testRoot;
inline Array<TestNode*> testRootArray;

inline void markTestRoots() {
    gc_mark(testRoot);
    gc_mark(testRootArray);
}

class CollectorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool started = [] {
            gc_init1();
            gc_add_roots(markTestRoots);
            gc_init2();
            return true;
        }();
        (void)started;
    }

    void SetUp() override {
        testRoot = nullptr;
        testRootArray = Array<TestNode*>();
        ClearHeap();
    }

    void TearDown() override {
        testRoot = nullptr;
        testRootArray = Array<TestNode*>();
        ClearHeap();
    }

    // Two full cycles put everything unreachable on the free list; the flush
    // destroys it. The roots of the next cycle stay queued.
    static void ClearHeap() {
        gc_collect_all();
        gc_collect_all();
        gc_flush_free(INT_MAX);
        gc_new_bytes = 0;
        gc_ext_new_bytes = 0;
    }

    static void ValidateLists() {
        gc_validate_list(&gc_unmarked_list, "unmarked");
        gc_validate_list(&gc_queued_list, "queued");
        gc_validate_list(&gc_marked_list, "marked");
        gc_validate_list(&gc_free_list, "free");
    }

    static bool IsOn(gc_object* list, gc_object* object) {
        for (gc_object* node = list->succ; node != list; node = node->succ) {
            if (node == object) return true;
        }
        return false;
    }
};
