// Outlines of signed-distance shapes as closed polygons, for vector output.
#pragma once

#include <vector>

#include "canvas.h"

namespace art {

using Loop = std::vector<V2>;

struct Rect {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The closed loops where the shape's distance crosses zero inside `clip`,
// found by marching squares on a grid of `step` design units. Holes come out
// as loops of their own, so the loops fill the shape under the even-odd
// rule; the shape is cut off at the clip's edges.
std::vector<Loop> traceOutline(const Sdf& shape, Rect clip, float step);

// Drops the points that lie within `tolerance` of the straight line their
// neighbours span (Ramer-Douglas-Peucker on the closed loop).
Loop simplify(const Loop& loop, float tolerance);

}  // namespace art
