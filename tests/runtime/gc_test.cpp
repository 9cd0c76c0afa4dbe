#include "tests/runtime/gc_fixture.h"

namespace {

class Listener : public virtual gc_interface {
public:
    virtual int Heard() = 0;
};

// Derives from Object first and from its interface virtually, so the
// interface pointer is not the object's address.
class Speaker : public Object, public virtual Listener {
public:
    int Heard() override { return 7; }
};

struct Holder : TestNode {
    Listener* m_listener = nullptr;
    void mark() override {
        TestNode::mark();
        gc_mark(m_listener);
    }
};

// No constructor of its own: `new Bare()` and `new Bare{}` value-initialise
// it, which zero-fills the whole object before any constructor runs.
struct Bare : Object {
    int m_count;
    TestNode* m_ref;
    void mark() override { gc_mark(m_ref); }
};

// Value-initialises its base after its argument, itself a new object, was
// allocated.
struct Wrapper : Bare {
    explicit Wrapper(TestNode* ref) : Bare() { gc_assign(m_ref, ref); }
};

// Throws once linked, before or after marking itself as a write barrier would.
struct Refusing : Object {
    explicit Refusing(int marking) {
        if (marking == 1) gc_mark(this);
        if (marking == 2) gc_mark_at_once(this);
        throw 7;
    }
};

}  // namespace

TEST_F(CollectorTest, DroppedObjectLivesUntilALaterAllocationNeedsItsBytes) {
    new TestNode;
    gc_mark_queued(INT_MAX);
    EXPECT_EQ(TestNode::liveCount, 1);

    gc_collect_all();
    EXPECT_EQ(TestNode::liveCount, 1) << "sweeping only moves dead objects to the free list";
    EXPECT_EQ(gc_free_bytes, gc_free_list.succ->Size());

    new TestNode;
    EXPECT_EQ(TestNode::liveCount, 1) << "the allocation destroys the dead node first";
    EXPECT_EQ(gc_free_bytes, 0);
}

TEST_F(CollectorTest, SmallBlocksAreRecycledThroughTheCache) {
    Object* first = new Object;
    ASSERT_LT(first->Size(), 64);
    ClearHeap();
    Object* second = new Object;
    EXPECT_EQ(second, first);
}

TEST_F(CollectorTest, WriteBarrierKeepsObjectsStoredIntoScannedObjects) {
    gc_assign(testRoot, new TestNode);
    gc_collect_all();
    gc_mark_queued(INT_MAX);
    ASSERT_TRUE(IsOn(&gc_marked_list, testRoot)) << "the root is already scanned in this cycle";

    gc_assign(testRoot->m_left, new TestNode);
    testRoot->m_right = new TestNode;  // a store that bypasses the barrier
    TestNode* kept = testRoot->m_left;
    testRoot->m_right->id = 99;
    gc_collect_all();
    gc_flush_free(INT_MAX);

    EXPECT_EQ(kept->canary, TestNode::kAlive);
    EXPECT_EQ(TestNode::liveCount, 2) << "only the barrier-stored node survives beside the root";
    testRoot->m_right = nullptr;
}

TEST_F(CollectorTest, InterfaceReferenceMarksItsCompleteObject) {
    Holder* holder = new Holder;
    gc_assign(testRoot, static_cast<TestNode*>(holder));
    Speaker* speaker = new Speaker;
    Listener* listener = speaker;
    ASSERT_NE(static_cast<void*>(listener), static_cast<void*>(speaker));
    gc_assign(holder->m_listener, listener);

    ClearHeap();
    EXPECT_TRUE(IsOn(&gc_unmarked_list, speaker) || IsOn(&gc_queued_list, speaker) || IsOn(&gc_marked_list, speaker));
    EXPECT_EQ(holder->m_listener->Heard(), 7);
}

TEST_F(CollectorTest, StaticEmptyArrayIsNeverQueued) {
    gc_assign(testRoot, new TestNode);
    gc_assign(testRoot->m_children, Array<TestNode*>());
    gc_assign(testRoot->m_children, Array<TestNode*>(0));
    gc_collect_all();
    gc_mark_queued(INT_MAX);
    EXPECT_EQ(Array<TestNode*>::nullRep.flags, 3);
    EXPECT_EQ(Array<TestNode*>::nullRep.succ, nullptr);
    ValidateLists();
}

TEST_F(CollectorTest, SweepWithEverythingReachedFreesNothing) {
    gc_assign(testRoot, new TestNode);
    gc_assign(testRoot->m_left, new TestNode);
    gc_collect_all();
    int freeBefore = gc_free_bytes;
    gc_mark_queued(INT_MAX);
    gc_sweep();
    EXPECT_EQ(gc_free_bytes, freeBefore);
    EXPECT_EQ(gc_free_list.succ, &gc_free_list);
    EXPECT_EQ(gc_alloced_bytes, testRoot->Size() + testRoot->m_left->Size());
    gc_mark();
}

TEST_F(CollectorTest, FullCycleWithNothingLiveEmptiesTheHeap) {
    for (int i = 0; i < 10; ++i) new TestNode;
    gc_collect_all();
    gc_collect_all();
    EXPECT_EQ(gc_unmarked_list.succ, &gc_unmarked_list);
    EXPECT_EQ(gc_alloced_bytes, 0);
    EXPECT_EQ(gc_free_bytes, 10 * gc_free_list.succ->Size());
    gc_flush_free(INT_MAX);
    EXPECT_EQ(TestNode::liveCount, 0);
}

// Sizes beyond 2 GB, alone or as a sum, still count as more, not less.
TEST_F(CollectorTest, ExternalMemoryAboveTheThresholdFinishesTheCycle) {
    struct Case {
        long long reports[2];
        bool finishes;
    };
    for (Case c : {Case{{8388608, 0}, false}, Case{{8388609, 0}, true}, Case{{20000000, 0}, true},
                   Case{{3000000000LL, 0}, true}, Case{{1500000000, 1500000000}, true}}) {
        int markbit = gc_markbit;
        for (long long bytes : c.reports) gc_ext_malloced(bytes);
        long long reported = c.reports[0] + c.reports[1];
        EXPECT_EQ(gc_ext_new_bytes.load(), reported);
        gc_collect();
        EXPECT_EQ(gc_markbit != markbit, c.finishes) << reported;
        EXPECT_EQ(gc_ext_new_bytes.load(), c.finishes ? 0 : reported) << reported;
        gc_ext_new_bytes = 0;
    }
}

TEST_F(CollectorTest, MarkingWorkFollowsThePacingFormula) {
    Array<TestNode*> nodes(400);
    gc_assign(testRootArray, nodes);
    for (int i = 0; i < nodes.Length(); ++i) gc_assign(nodes[i], new TestNode);
    ClearHeap();
    ASSERT_EQ(gc_marked_bytes, 0);

    gc_collect();
    EXPECT_EQ(gc_marked_bytes, 0) << "no allocation, no marking work";

    // With 4 MiB new over a heap this size the target is far above the heap;
    // the product (heap x new bytes) only fits in 64 bits.
    int heap = gc_alloced_bytes;
    gc_new_bytes = 4194304;
    gc_alloced_bytes = heap + gc_new_bytes;
    gc_collect();
    gc_alloced_bytes = heap;
    gc_new_bytes = 0;
    EXPECT_EQ(gc_marked_bytes, heap) << "the whole heap is marked";
    EXPECT_EQ(gc_queued_list.succ, &gc_queued_list);
}

TEST_F(CollectorTest, MicrosecondClockAdvances) {
    long long start = gc_micros();
    ASSERT_GT(start, 0);
    while (gc_micros() == start) {
    }
    EXPECT_GT(gc_micros(), start);
}

TEST_F(CollectorTest, ObjectBaseOperations) {
    Object* a = new Object;
    Object* b = new Object;
    EXPECT_TRUE(a->Equals(a));
    EXPECT_FALSE(a->Equals(b));
    EXPECT_EQ(a->Compare(a), 0);
    EXPECT_EQ(a->Compare(b), -b->Compare(a));
    EXPECT_TRUE(a->debug() == String("+Object\n"));
}

// The header is the collector's: a zero-filling initialisation of the object
// or of a base leaves it linked, coloured and sized.
TEST_F(CollectorTest, ValueInitialisedObjectsStayInTheCollectorsList) {
    Bare* parenthesised = new Bare();
    Bare* braced = new Bare{};
    Wrapper* wrapper = new Wrapper(new TestNode);
    static_assert(sizeof(Wrapper) == sizeof(Bare));
    for (Bare* object : {parenthesised, braced, static_cast<Bare*>(wrapper)}) {
        ASSERT_EQ(object->Size(), static_cast<int>((sizeof(Bare) + 7) & ~7u));
        EXPECT_TRUE(gc_is_unmarked(object));
        ValidateLists();
        EXPECT_TRUE(IsOn(&gc_unmarked_list, object));
    }
    EXPECT_EQ(parenthesised->m_count, 0);
    EXPECT_EQ(braced->m_ref, nullptr);
    EXPECT_EQ(wrapper->m_ref->canary, TestNode::kAlive);

    ClearHeap();
    ValidateLists();
    EXPECT_EQ(gc_alloced_bytes, 0) << "each was counted once and freed once";
    EXPECT_EQ(TestNode::liveCount, 0);
}

// The allocation comes before the arguments are evaluated; when one throws,
// the block goes back without ever having been live.
TEST_F(CollectorTest, ABlockWhoseConstructorArgumentThrowsGoesBackUnlinked) {
    auto refuse = []() -> TestNode* { throw 7; };
    int alloced = gc_alloced_bytes;
    int freeBytes = gc_free_bytes;
    EXPECT_THROW(new Wrapper(refuse()), int);
    ValidateLists();
    EXPECT_EQ(gc_alloced_bytes, alloced);
    EXPECT_EQ(gc_free_bytes, freeBytes);

    Bare* next = new Bare();
    ValidateLists();
    EXPECT_TRUE(IsOn(&gc_unmarked_list, next));
    EXPECT_EQ(gc_alloced_bytes, alloced + next->Size());
}

// A constructor that throws after the link hands back a live object, which
// leaves its list and the live count; the free list and its count stay as
// they were.
TEST_F(CollectorTest, AnObjectWhoseConstructorThrowsLeavesTheLiveLists) {
    for (int marking : {0, 1, 2}) {
        SCOPED_TRACE(marking);
        int alloced = gc_alloced_bytes;
        int marked = gc_marked_bytes;
        int freeBytes = gc_free_bytes;
        EXPECT_THROW(new Refusing(marking), int);
        ValidateLists();
        EXPECT_EQ(gc_alloced_bytes, alloced);
        EXPECT_EQ(gc_marked_bytes, marked);
        EXPECT_EQ(gc_free_bytes, freeBytes);
    }
    ClearHeap();
    ValidateLists();
    EXPECT_EQ(gc_alloced_bytes, 0);
}

// The flush destroys a swept object in a block the next allocation of its
// size takes again; an object built there whose constructor throws is a live
// one all the same, and leaves the live list and counts.
TEST_F(CollectorTest, AnObjectWhoseConstructorThrowsInAFlushedBlockLeavesTheLiveLists) {
    static_assert(sizeof(Refusing) == sizeof(Object));
    Object* swept = new Object;
    gc_collect_all();
    gc_collect_all();
    ASSERT_TRUE(IsOn(&gc_free_list, swept));
    int alloced = gc_alloced_bytes;

    EXPECT_THROW(new Refusing(0), int);
    // Counted first: lists that still hold the released block cannot be walked.
    ASSERT_EQ(gc_free_bytes, 0);
    ASSERT_EQ(gc_alloced_bytes, alloced);
    ValidateLists();
    EXPECT_EQ(gc_find_live(swept), nullptr) << "the block went back to the cache";

    Object* next = new Object;
    EXPECT_EQ(next, swept) << "the block is handed out once more";
    ValidateLists();
    EXPECT_TRUE(IsOn(&gc_unmarked_list, next));
}
