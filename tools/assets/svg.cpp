#include "svg.h"

#include <cmath>
#include <cstdio>
#include <fstream>

namespace art {

namespace {

// Fine enough that the traced edge stays within a hundredth of a unit.
constexpr float kTraceStep = 0.125f;
constexpr float kTolerance = 0.01f;
constexpr int kStops = 9;

std::string number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string colour(Rgba c) {
    auto byte = [](float v) { return int(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(c.r), byte(c.g), byte(c.b));
    return text;
}

std::string pathData(const std::vector<Loop>& loops) {
    std::string d;
    for (const Loop& loop : loops) {
        for (size_t k = 0; k < loop.size(); ++k)
            d += (k ? "L" : "M") + number(loop[k].x) + " " + number(loop[k].y);
        d += "Z";
    }
    return d;
}

bool sameColour(Rgba a, Rgba b) { return colour(a) == colour(b) && std::fabs(a.a - b.a) < 0.002f; }

}  // namespace

Pen SvgDrawing::pen() {
    Pen p;
    p.fw = w;
    p.fh = h;
    p.sink = [this](const Sdf& shape, const Paint& paint, float alpha) { add(shape, paint, alpha); };
    return p;
}

void SvgDrawing::add(const Sdf& shape, const Paint& paint, float alpha) {
    Fill fill;
    for (const Loop& loop : traceOutline(shape, {0, 0, float(w), float(h)}, kTraceStep))
        fill.loops.push_back(simplify(loop, kTolerance));
    if (fill.loops.empty()) return;
    float left = 1e9f, right = -1e9f;
    fill.top = 1e9f;
    fill.bottom = -1e9f;
    for (const Loop& loop : fill.loops)
        for (V2 p : loop) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            fill.top = std::min(fill.top, p.y);
            fill.bottom = std::max(fill.bottom, p.y);
        }
    for (int k = 0; k < kStops; ++k) {
        float offset = k / float(kStops - 1);
        Rgba c = paint({(left + right) / 2, fill.top + (fill.bottom - fill.top) * offset});
        c.a *= alpha;
        fill.stops.push_back({offset, c});
    }
    fills.push_back(std::move(fill));
}

std::string SvgDrawing::document() const {
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(w) + "\" height=\"" +
                      std::to_string(h) + "\" viewBox=\"0 0 " + std::to_string(w) + " " + std::to_string(h) + "\">\n";
    for (size_t f = 0; f < fills.size(); ++f) {
        const Fill& fill = fills[f];
        bool solid = true;
        for (const Stop& s : fill.stops) solid &= sameColour(s.colour, fill.stops.front().colour);
        std::string paint;
        if (solid) {
            Rgba c = fill.stops.front().colour;
            paint = "fill=\"" + colour(c) + "\"" + (c.a < 1 ? " fill-opacity=\"" + number(c.a) + "\"" : "");
        } else {
            std::string id = "paint" + std::to_string(f);
            out += "<linearGradient id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" +
                   number(fill.top) + "\" x2=\"0\" y2=\"" + number(fill.bottom) + "\">";
            for (const Stop& s : fill.stops)
                out += "<stop offset=\"" + number(s.offset) + "\" stop-color=\"" + colour(s.colour) + "\"" +
                       (s.colour.a < 1 ? " stop-opacity=\"" + number(s.colour.a) + "\"" : "") + "/>";
            out += "</linearGradient>\n";
            paint = "fill=\"url(#" + id + ")\"";
        }
        out += "<path fill-rule=\"evenodd\" " + paint + " d=\"" + pathData(fill.loops) + "\"/>\n";
    }
    return out + "</svg>\n";
}

bool SvgDrawing::write(const std::string& path) const {
    makeDirs(path);
    std::ofstream file(path, std::ios::binary);
    file << document();
    return bool(file.flush());
}

}  // namespace art
