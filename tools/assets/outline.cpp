#include "outline.h"

#include <array>
#include <cmath>
#include <unordered_map>
#include <utility>

namespace art {

namespace {

// Distances sampled on the corners of a grid over the part of the clip the
// shape can reach, with a border of samples outside the shape so every
// loop closes.
struct Grid {
    float x0 = 0, y0 = 0, step = 1;
    int nx = 0, ny = 0;
    std::vector<float> d;

    float at(int i, int j) const { return d[size_t(j) * nx + i]; }
    V2 point(int i, int j) const { return {x0 + i * step, y0 + j * step}; }
};

Grid sample(const Sdf& shape, Rect clip, float step) {
    float bx0 = std::max(shape.x0, clip.x0) - 2 * step, by0 = std::max(shape.y0, clip.y0) - 2 * step;
    float bx1 = std::min(shape.x1, clip.x1) + 2 * step, by1 = std::min(shape.y1, clip.y1) + 2 * step;
    Grid g;
    g.x0 = bx0;
    g.y0 = by0;
    g.step = step;
    g.nx = std::max(2, int(std::ceil((bx1 - bx0) / step)) + 1);
    g.ny = std::max(2, int(std::ceil((by1 - by0) / step)) + 1);
    g.d.resize(size_t(g.nx) * g.ny);
    for (int j = 0; j < g.ny; ++j)
        for (int i = 0; i < g.nx; ++i) {
            V2 p = g.point(i, j);
            bool border = i == 0 || j == 0 || i == g.nx - 1 || j == g.ny - 1;
            bool clipped = p.x < clip.x0 || p.y < clip.y0 || p.x > clip.x1 || p.y > clip.y1;
            g.d[size_t(j) * g.nx + i] = (border || clipped) ? step : shape(p);
        }
    return g;
}

// Grid edges are numbered: 2k for the one right of corner k, 2k + 1 for the
// one below it.
long edgeRight(const Grid& g, int i, int j) { return 2L * (long(j) * g.nx + i); }
long edgeDown(const Grid& g, int i, int j) { return 2L * (long(j) * g.nx + i) + 1; }

V2 crossing(const Grid& g, long edge) {
    long corner = edge / 2;
    int i = int(corner % g.nx), j = int(corner / g.nx);
    int i2 = edge % 2 ? i : i + 1, j2 = edge % 2 ? j + 1 : j;
    float a = g.at(i, j), b = g.at(i2, j2);
    float t = a / (a - b);
    return g.point(i, j) + (g.point(i2, j2) - g.point(i, j)) * t;
}

using Segment = std::pair<long, long>;

// The segments of one cell between the edges its outline crosses. In a
// saddle the centre decides which corners are joined.
void cellSegments(const Grid& g, int i, int j, std::vector<Segment>& out) {
    float tl = g.at(i, j), tr = g.at(i + 1, j), br = g.at(i + 1, j + 1), bl = g.at(i, j + 1);
    bool a = tl < 0, b = tr < 0, c = br < 0, d = bl < 0;
    long top = edgeRight(g, i, j), bottom = edgeRight(g, i, j + 1);
    long left = edgeDown(g, i, j), right = edgeDown(g, i + 1, j);
    if (a == c && b == d && a != b) {
        bool centreLikeTopLeft = ((tl + tr + br + bl) / 4 < 0) == a;
        if (centreLikeTopLeft) {
            out.push_back({top, right});
            out.push_back({left, bottom});
        } else {
            out.push_back({top, left});
            out.push_back({right, bottom});
        }
        return;
    }
    std::array<long, 2> crossed{};
    int n = 0;
    if (a != b) crossed[n++] = top;
    if (b != c) crossed[n++] = right;
    if (d != c) crossed[n++] = bottom;
    if (a != d) crossed[n++] = left;
    if (n == 2) out.push_back({crossed[0], crossed[1]});
}

// Joins segments that share an edge into closed loops.
std::vector<Loop> link(const Grid& g, const std::vector<Segment>& segments) {
    std::unordered_map<long, std::array<int, 2>> byEdge;
    for (int s = 0; s < int(segments.size()); ++s)
        for (long edge : {segments[s].first, segments[s].second}) {
            auto [it, fresh] = byEdge.try_emplace(edge, std::array<int, 2>{-1, -1});
            it->second[it->second[0] < 0 ? 0 : 1] = s;
        }
    std::vector<bool> used(segments.size());
    std::vector<Loop> loops;
    for (int start = 0; start < int(segments.size()); ++start) {
        if (used[start]) continue;
        Loop loop;
        int s = start;
        long edge = segments[s].first;
        while (s >= 0 && !used[s]) {
            used[s] = true;
            loop.push_back(crossing(g, edge));
            edge = segments[s].first == edge ? segments[s].second : segments[s].first;
            const auto& pair = byEdge[edge];
            s = pair[0] == s ? pair[1] : pair[0];
        }
        if (loop.size() >= 3) loops.push_back(std::move(loop));
    }
    return loops;
}

float distanceToLine(V2 p, V2 a, V2 b) {
    V2 ab = b - a;
    float l = len(ab);
    if (l <= 0) return len(p - a);
    return std::fabs(ab.x * (p.y - a.y) - ab.y * (p.x - a.x)) / l;
}

void keepFarthest(const Loop& loop, size_t from, size_t to, float tolerance, std::vector<bool>& keep) {
    size_t n = loop.size();
    V2 a = loop[from % n], b = loop[to % n];
    float worst = 0;
    size_t at = from;
    for (size_t k = from + 1; k < to; ++k) {
        float d = distanceToLine(loop[k % n], a, b);
        if (d > worst) {
            worst = d;
            at = k;
        }
    }
    if (worst <= tolerance) return;
    keep[at % n] = true;
    keepFarthest(loop, from, at, tolerance, keep);
    keepFarthest(loop, at, to, tolerance, keep);
}

}  // namespace

std::vector<Loop> traceOutline(const Sdf& shape, Rect clip, float step) {
    Grid g = sample(shape, clip, step);
    std::vector<Segment> segments;
    for (int j = 0; j + 1 < g.ny; ++j)
        for (int i = 0; i + 1 < g.nx; ++i) cellSegments(g, i, j, segments);
    return link(g, segments);
}

Loop simplify(const Loop& loop, float tolerance) {
    size_t n = loop.size();
    if (n < 4) return loop;
    // The loop is split at its first point and the point farthest from it.
    size_t far = 0;
    for (size_t k = 1; k < n; ++k)
        if (len(loop[k] - loop[0]) > len(loop[far] - loop[0])) far = k;
    std::vector<bool> keep(n);
    keep[0] = keep[far] = true;
    keepFarthest(loop, 0, far, tolerance, keep);
    keepFarthest(loop, far, n, tolerance, keep);
    Loop out;
    for (size_t k = 0; k < n; ++k)
        if (keep[k]) out.push_back(loop[k]);
    return out;
}

}  // namespace art
