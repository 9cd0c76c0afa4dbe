#include "tests/runtime/gc_fixture.h"

TEST_F(CollectorTest, NewArraysAreZeroFilled) {
    Array<int> ints(5);
    Array<float> floats(5);
    Array<bool> flags(5);
    Array<TestNode*> nodes(5);
    Array<String> texts(5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ints[i], 0);
        EXPECT_EQ(floats[i], 0.0f);
        EXPECT_FALSE(flags[i]);
        EXPECT_EQ(nodes[i], nullptr);
        EXPECT_EQ(texts[i].Length(), 0);
    }
    EXPECT_EQ(ints.rep->Size(), static_cast<int>((sizeof(Array<int>::Rep) + 5 * sizeof(int) + 7) & ~7u));
}

TEST_F(CollectorTest, EmptyArraysShareTheStaticBody) {
    EXPECT_EQ(Array<int>(0).rep, &Array<int>::nullRep);
    EXPECT_EQ(Array<int>().rep, &Array<int>::nullRep);
    EXPECT_EQ(Array<int>(3).Resize(0).rep, &Array<int>::nullRep);
    EXPECT_EQ(Array<String>::nullRep.length, 0);
}

TEST_F(CollectorTest, ResizeCopiesThePrefixAndLeavesTheOldBody) {
    Array<int> numbers(3);
    for (int i = 0; i < 3; ++i) numbers[i] = i + 1;
    Array<int> longer = numbers.Resize(5);
    Array<int> shorter = numbers.Resize(2);
    EXPECT_EQ(numbers.Length(), 3);
    int expectedLonger[] = {1, 2, 3, 0, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(longer[i], expectedLonger[i]);
    EXPECT_EQ(shorter.Length(), 2);
    EXPECT_EQ(shorter[1], 2);

    Array<String> words(2);
    words[0] = String("left");
    words[1] = String("right");
    Array<String> more = words.Resize(3);
    EXPECT_TRUE(more[1] == String("right"));
    EXPECT_EQ(more[1].Data(), words[1].Data()) << "copied Strings share their text";
    EXPECT_EQ(more[2].Length(), 0);
}

TEST_F(CollectorTest, CollectedStringArrayReleasesItsElements) {
    String text = String("shared") + String(" text");
    const String::Rep* body = reinterpret_cast<const String::Rep*>(
        reinterpret_cast<const char*>(text.Data()) - offsetof(String::Rep, data));
    int refsBefore = body->refs;
    {
        Array<String> texts(4);
        for (int i = 0; i < 4; ++i) texts[i] = text;
        EXPECT_EQ(body->refs, refsBefore + 4);
    }
    ClearHeap();
    EXPECT_EQ(body->refs, refsBefore);
}

TEST_F(CollectorTest, ReferenceArrayKeepsItsElementsAlive) {
    gc_assign(testRoot, new TestNode);
    gc_assign(testRoot->m_children, Array<TestNode*>(3));
    for (int i = 0; i < 3; ++i) {
        gc_assign(testRoot->m_children[i], new TestNode);
        testRoot->m_children[i]->id = i + 1;
    }
    gc_assign(testRoot->m_children[1]->m_left, new TestNode);
    ClearHeap();
    ClearHeap();
    EXPECT_EQ(TestNode::liveCount, 5);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(testRoot->m_children[i]->id, i + 1);
    EXPECT_EQ(testRoot->m_children[1]->m_left->canary, TestNode::kAlive);
}
