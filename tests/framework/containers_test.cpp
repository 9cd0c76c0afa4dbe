#include <gtest/gtest.h>

#include <random>
#include <set>

#include "framework/containers/map.h"
#include "framework/containers/random.h"
#include "framework/containers/stack.h"

namespace {

constexpr int kRed = -1;
constexpr int kBlack = 1;

// Checks the red-black rules below `node`; returns its black height.
int BlackHeight(c_Node* node, c_Node* parent, std::vector<int>& keys) {
    if (!node) return 1;
    EXPECT_EQ(node->m_parent, parent);
    if (node->m_color == kRed) {
        EXPECT_FALSE(node->m_left && node->m_left->m_color == kRed) << "red node " << node->m_key << " has a red child";
        EXPECT_FALSE(node->m_right && node->m_right->m_color == kRed) << "red node " << node->m_key << " has a red child";
    }
    int left = BlackHeight(node->m_left, node, keys);
    keys.push_back(node->m_key);
    int right = BlackHeight(node->m_right, node, keys);
    EXPECT_EQ(left, right) << "black heights differ below " << node->m_key;
    return left + (node->m_color == kBlack ? 1 : 0);
}

c_DisplayMode* Mode(int width, int height) { return (new c_DisplayMode)->m_new(width, height); }

TEST(IntMap, RandomInsertionsKeepTheTreeBalanced) {
    c_IntMap* map = (new c_IntMap)->m_new();
    std::mt19937 rng(99);
    std::set<int> inserted;
    for (int i = 0; i < 3000; ++i) {
        int key = static_cast<int>(rng() % 5000) - 2500;
        EXPECT_EQ(map->p_Set(key, Mode(key, 0)), inserted.insert(key).second);
    }
    ASSERT_NE(map->m_root, nullptr);
    EXPECT_EQ(map->m_root->m_color, kBlack);
    std::vector<int> keys;
    BlackHeight(map->m_root, nullptr, keys);
    EXPECT_EQ(keys, std::vector<int>(inserted.begin(), inserted.end())) << "in-order walk gives sorted keys";
    for (int key : {-2500, 0, 2499, 7000}) {
        EXPECT_EQ(map->p_Contains(key), inserted.count(key) == 1) << key;
    }
}

TEST(IntMap, OneTwoThreeRotatesAroundTwo) {
    c_IntMap* map = (new c_IntMap)->m_new();
    for (int key : {1, 2, 3}) map->p_Insert(key, Mode(key, key));
    c_Node* root = map->m_root;
    EXPECT_EQ(root->m_key, 2);
    EXPECT_EQ(root->m_color, kBlack);
    EXPECT_EQ(root->m_left->m_key, 1);
    EXPECT_EQ(root->m_left->m_color, kRed);
    EXPECT_EQ(root->m_right->m_key, 3);
    EXPECT_EQ(root->m_right->m_color, kRed);
}

TEST(IntMap, SettingAPresentKeyReplacesTheValue) {
    c_IntMap* map = (new c_IntMap)->m_new();
    c_DisplayMode* second = Mode(2, 2);
    EXPECT_TRUE(map->p_Set(7, Mode(1, 1)));
    EXPECT_FALSE(map->p_Set(7, second));
    EXPECT_EQ(map->p_FindNode(7)->m_value, second);
    EXPECT_EQ(map->p_FindNode(8), nullptr);
}

TEST(Stacks, GrowByTwiceTheLengthPlusTen) {
    c_Stack* stack = (new c_Stack)->m_new();
    EXPECT_EQ(stack->m_data.Length(), 0);
    std::vector<int> capacities;
    for (int i = 0; i < 11; ++i) {
        stack->p_Push(Mode(i, i));
        capacities.push_back(stack->m_data.Length());
    }
    EXPECT_EQ(capacities.front(), 10);
    EXPECT_EQ(capacities.back(), 30);
    Array<c_DisplayMode*> copy = stack->p_ToArray();
    ASSERT_EQ(copy.Length(), 11);
    EXPECT_EQ(copy[10]->m_width, 10);

    c_Stack* fromArray = (new c_Stack)->m_new2(copy);
    fromArray->p_Push3(copy, 9);
    EXPECT_EQ(fromArray->m_length, 13);
    EXPECT_EQ(fromArray->p_ToArray()[12]->m_width, 10);
}

TEST(Stacks, ShrinkingAStringStackReleasesItsStrings) {
    String text = String("kept") + String(" once");
    auto refs = [&text] {
        return reinterpret_cast<const String::Rep*>(reinterpret_cast<const char*>(text.Data()) -
                                                    offsetof(String::Rep, data))->refs;
    };
    int before = refs();
    c_StringStack* stack = (new c_StringStack)->m_new2();
    for (int i = 0; i < 5; ++i) stack->p_Push4(text);
    EXPECT_EQ(refs(), before + 5);
    stack->p_Length(2);
    EXPECT_EQ(refs(), before + 2);
    EXPECT_EQ(stack->p_Length2(), 2);
    stack->p_Clear();
    EXPECT_EQ(refs(), before);

    stack->p_Length(40);
    EXPECT_EQ(stack->m_data.Length(), 40) << "grows to the asked length when that is more";
    EXPECT_EQ(stack->p_Get(39).Length(), 0);
}

// A negative length empties the stack, as a negative array length gives an
// empty array; nothing before the data array is written.
TEST(Stacks, NegativeLengthEmptiesTheStack) {
    String text = String("dropped") + String(" whole");
    const auto* body =
        reinterpret_cast<const String::Rep*>(reinterpret_cast<const char*>(text.Data()) - offsetof(String::Rep, data));
    int before = body->refs;
    c_StringStack* strings = (new c_StringStack)->m_new2();
    for (int i = 0; i < 3; ++i) strings->p_Push4(text);
    int capacity = strings->m_data.Length();
    int bodySize = strings->m_data.rep->Size();
    strings->p_Length(-2);
    EXPECT_EQ(strings->p_Length2(), 0);
    EXPECT_EQ(body->refs, before);
    EXPECT_EQ(strings->m_data.Length(), capacity);
    EXPECT_EQ(strings->m_data.rep->Size(), bodySize);

    c_Stack3* sources = (new c_Stack3)->m_new();
    sources->p_Push7(nullptr);
    capacity = sources->m_data.Length();
    bodySize = sources->m_data.rep->Size();
    sources->p_Length(-1);
    EXPECT_EQ(sources->p_Length2(), 0);
    EXPECT_EQ(sources->m_data.Length(), capacity);
    EXPECT_EQ(sources->m_data.rep->Size(), bodySize);
}

TEST(Stacks, StringStackJoins) {
    Array<String> words(3);
    words[0] = String("a");
    words[1] = String("b");
    words[2] = String("c");
    c_StringStack* stack = (new c_StringStack)->m_new(words);
    stack->p_Push6(words, 1);
    EXPECT_EQ(stack->p_Join(String(", ")).ToUtf8(), "a, b, c, b, c");
}

struct Source : Object, virtual c_IAsyncEventSource {
    int p_UpdateAsyncEvents() override { return 0; }
};

TEST(Stacks, InterfaceStackFindsByIdentity) {
    c_Stack3* stack = (new c_Stack3)->m_new();
    Source* first = new Source;
    Source* second = new Source;
    stack->p_Push7(first);
    EXPECT_TRUE(stack->p_Contains2(first));
    EXPECT_FALSE(stack->p_Contains2(second));
    stack->p_Length(0);
    EXPECT_FALSE(stack->p_Contains2(first));
    EXPECT_EQ(stack->m_data[0], nullptr) << "a dropped slot holds the empty element";
}

TEST(Random, FirstValuesFromTheStartSeed) {
    kp_random_init();
    // (1234 x 1664525 + 1013904223) mod 2^32 = 3067928073; >> 8 = 11984094.
    EXPECT_FLOAT_EQ(kp_random_Rnd(), 11984094.0f / 16777216.0f);
    EXPECT_EQ(static_cast<unsigned>(kp_random_Seed), 3067928073u);
    // 3067928073 x 1664525 + 1013904223 wraps to 889114580; >> 8 = 3473103.
    EXPECT_FLOAT_EQ(kp_random_Rnd2(10, 20), 10 + 10 * (3473103.0f / 16777216.0f));
    // The next seed is 3219257635; >> 8 = 12575225.
    EXPECT_FLOAT_EQ(kp_random_Rnd3(100), 100 * (12575225.0f / 16777216.0f));
}

TEST(Maths, AbsAndMax) {
    EXPECT_EQ(kp_math_Abs(-5), 5);
    EXPECT_EQ(kp_math_Abs(5), 5);
    EXPECT_FLOAT_EQ(kp_math_Abs2(-2.5f), 2.5f);
    EXPECT_EQ(kp_math_Max(3, -4), 3);
    EXPECT_FLOAT_EQ(kp_math_Max2(-1.5f, -0.5f), -0.5f);
}

}  // namespace
