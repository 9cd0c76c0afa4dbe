#include <atomic>
#include <random>
#include <thread>
#include <unordered_set>
#include <vector>

#include "tests/runtime/gc_fixture.h"

namespace {

// The expected shape of the graph, kept outside the collector.
struct Model {
    struct Node {
        int left = -1;
        int right = -1;
    };
    std::vector<Node> nodes;
    std::vector<TestNode*> objects;
    std::vector<int> slots;

    int Reachable() const {
        std::vector<bool> seen(nodes.size());
        std::vector<int> pending;
        for (int id : slots) {
            if (id >= 0) pending.push_back(id);
        }
        int count = 0;
        while (!pending.empty()) {
            int id = pending.back();
            pending.pop_back();
            if (id < 0 || seen[id]) continue;
            seen[id] = true;
            ++count;
            pending.push_back(nodes[id].left);
            pending.push_back(nodes[id].right);
        }
        return count;
    }
};

int IdOf(const TestNode* node) { return node ? node->id : -1; }

// Walks the real graph from the roots and checks every node against the model.
void ExpectGraphIntact(const Model& model) {
    std::unordered_set<const TestNode*> seen;
    std::vector<const TestNode*> pending;
    for (int i = 0; i < testRootArray.Length(); ++i) {
        ASSERT_EQ(IdOf(testRootArray[i]), model.slots[i]);
        if (testRootArray[i]) pending.push_back(testRootArray[i]);
    }
    while (!pending.empty()) {
        const TestNode* node = pending.back();
        pending.pop_back();
        if (!seen.insert(node).second) continue;
        ASSERT_EQ(node->canary, TestNode::kAlive);
        ASSERT_EQ(model.objects[node->id], node);
        ASSERT_EQ(IdOf(node->m_left), model.nodes[node->id].left);
        ASSERT_EQ(IdOf(node->m_right), model.nodes[node->id].right);
        if (node->m_left) pending.push_back(node->m_left);
        if (node->m_right) pending.push_back(node->m_right);
    }
}

}  // namespace

TEST_F(CollectorTest, RandomGraphsSurviveIncrementalStepsAndFullCycles) {
    constexpr int kSlots = 256;
    constexpr int kRounds = 60;
    constexpr int kCallsPerRound = 40;
    constexpr int kStoresPerCall = 30;

    std::atomic<bool> stop{false};
    std::thread reporter([&stop] {
        std::mt19937 rng(7);
        while (!stop.load()) {
            gc_ext_malloced(static_cast<int>(rng() % 65536));
            std::this_thread::yield();
        }
    });

    std::mt19937 rng(2024);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    Model model;
    model.slots.assign(kSlots, -1);
    gc_assign(testRootArray, Array<TestNode*>(kSlots));

    auto newNode = [&model] {
        TestNode* node = new TestNode;
        node->id = static_cast<int>(model.nodes.size());
        model.nodes.emplace_back();
        model.objects.push_back(node);
        return node;
    };
    // A node known to be reachable: a random walk down from a root slot.
    auto reachableNode = [&]() -> TestNode* {
        TestNode* node = testRootArray[pick(kSlots)];
        for (int steps = pick(6); node && steps > 0; --steps) {
            TestNode* next = pick(2) ? node->m_left : node->m_right;
            if (!next) break;
            node = next;
        }
        return node;
    };

    for (int round = 0; round < kRounds; ++round) {
        for (int call = 0; call < kCallsPerRound; ++call) {
            for (int store = 0; store < kStoresPerCall; ++store) {
                int action = pick(10);
                if (action < 3) {
                    int slot = pick(kSlots);
                    TestNode* value = pick(4) ? newNode() : nullptr;
                    gc_assign(testRootArray[slot], value);
                    model.slots[slot] = IdOf(value);
                } else if (action < 8) {
                    TestNode* target = reachableNode();
                    if (!target) continue;
                    TestNode* value = pick(3) ? newNode() : reachableNode();
                    bool left = pick(2);
                    gc_assign(left ? target->m_left : target->m_right, value);
                    (left ? model.nodes[target->id].left : model.nodes[target->id].right) = IdOf(value);
                } else {
                    newNode();  // garbage from the start
                }
            }
            gc_collect();
        }
        ValidateLists();
        ExpectGraphIntact(model);
        if (HasFatalFailure()) break;
        if (round % 10 == 9) gc_collect_all();
    }

    stop = true;
    reporter.join();

    ClearHeap();
    ValidateLists();
    ExpectGraphIntact(model);
    EXPECT_EQ(TestNode::liveCount, model.Reachable()) << "every unreachable node is destroyed";
}
