#include <gtest/gtest.h>

#include <cmath>

#include "outline.h"
#include "vector.h"

namespace art {
namespace {

bool insideEvenOdd(const std::vector<Loop>& loops, V2 p) {
    bool inside = false;
    for (const Loop& loop : loops)
        for (size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
            V2 a = loop[i], b = loop[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
        }
    return inside;
}

struct OutlineCase {
    const char* name;
    Sdf shape;
    size_t loops;
};

// Filled under the even-odd rule, the simplified outline covers exactly the
// shape inside the clip, away from a thin band around the edges; holes and
// separate parts come out as loops of their own.
TEST(Outline, FillsTheShapeItTraces) {
    const Rect clip{0, 0, 64, 64};
    const OutlineCase cases[] = {
        {"disc", circle({32, 32}, 20), 1},
        {"ring", ring({32, 32}, 20, 4), 2},
        {"two discs", unite(circle({16, 16}, 8), circle({48, 48}, 8)), 2},
        {"disc cut by the clip", circle({60, 32}, 12), 1},
        {"crescent", subtract(circle({32, 32}, 20), circle({40, 28}, 16)), 1},
        {"gear", gear({32, 32}, 29, 16, 3.2f), 1},
        {"kangaroo", kangaroo({32, 32}, 25), 1},
        {"overlapping discs", unite(circle({24, 32}, 10), circle({40, 32}, 10)), 1},
    };
    for (const OutlineCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Loop> loops;
        for (const Loop& loop : traceOutline(c.shape, clip, 0.125f)) loops.push_back(simplify(loop, 0.01f));
        EXPECT_EQ(loops.size(), c.loops);
        int wrong = 0;
        for (float y = 0.2f; y < 64; y += 0.37f)
            for (float x = 0.2f; x < 64; x += 0.37f) {
                float d = c.shape({x, y});
                if (std::fabs(d) < 0.05f) continue;
                wrong += insideEvenOdd(loops, {x, y}) != (d < 0);
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(Outline, SimplifyingKeepsOnlyTheCorners) {
    Loop square;
    for (int k = 0; k < 10; ++k) square.push_back({float(k), 0});
    for (int k = 0; k < 10; ++k) square.push_back({10, float(k)});
    for (int k = 0; k < 10; ++k) square.push_back({10 - float(k), 10});
    for (int k = 0; k < 10; ++k) square.push_back({0, 10 - float(k)});
    Loop corners = simplify(square, 0.01f);
    ASSERT_EQ(corners.size(), 4u);
    for (V2 p : corners) {
        EXPECT_TRUE(p.x == 0 || p.x == 10);
        EXPECT_TRUE(p.y == 0 || p.y == 10);
    }
}

}  // namespace
}  // namespace art
