// Drawings written as SVG: the shapes a pen fills, traced into paths.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"
#include "outline.h"

namespace art {

class SvgDrawing {
public:
    // A drawing of width x height design units.
    SvgDrawing(int width, int height) : w(width), h(height) {}

    // A pen whose fills become paths of this drawing, in painting order.
    Pen pen();
    bool write(const std::string& path) const;

private:
    // Paints vary from top to bottom in the drawings we trace (solid colours
    // and vertical gradients), so a fill keeps its paint as stops down its
    // height.
    struct Stop {
        float offset;
        Rgba colour;
    };
    struct Fill {
        std::vector<Loop> loops;
        float top = 0, bottom = 0;
        std::vector<Stop> stops;
    };
    void add(const Sdf& shape, const Paint& paint, float alpha);
    std::string document() const;

    int w, h;
    std::vector<Fill> fills;
};

}  // namespace art
