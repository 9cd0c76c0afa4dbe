// Shared palette, stroke lettering and symbols for the vector-drawn sheets.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "canvas.h"

namespace art {

namespace pal {
const Rgba ink = hex(0x1a1028);
const Rgba white = hex(0xffffff);
const Rgba cream = hex(0xfff4d6);
const Rgba teal = hex(0x38d0c4), tealDark = hex(0x1c8a96), tealLight = hex(0xa8fff4);
const Rgba orange = hex(0xe58a3c), orangeDark = hex(0xb2562c), orangeLight = hex(0xffc070);
const Rgba gold = hex(0xffd040), goldDark = hex(0xb07a20), goldLight = hex(0xfff0a0);
const Rgba pink = hex(0xff6a9a), pinkDark = hex(0xa02858), pinkLight = hex(0xffd0e0);
const Rgba green = hex(0x5cbc48), greenDark = hex(0x2f7a3a), greenLight = hex(0x9be060);
const Rgba red = hex(0xe8464a), redDark = hex(0x8e2030), redLight = hex(0xff9a90);
const Rgba blue = hex(0x3c8cf0), blueDark = hex(0x1c4a9a), blueLight = hex(0xa0d0ff);
const Rgba purple = hex(0x8a4ab8), purpleDark = hex(0x4a2470), purpleLight = hex(0xd0a8ff);
const Rgba grey = hex(0x9aa2ba), greyDark = hex(0x5c6478), greyLight = hex(0xd8dcec);
const Rgba navy = hex(0x1c2248), night = hex(0x101830);
}  // namespace pal

using Segments = std::vector<std::pair<V2, V2>>;

// Round-capped strokes, evaluated together (faster than nested unions).
Sdf strokes(Segments segs, float radius);

// Chunky stroke capitals and digits on a 4 x 6 grid (I is narrower).
Segments letterStrokes(char c);
float letterWidth(char c);
// Lays text out from `origin` (top-left), `unit` design pixels per grid
// step; `bounce` lifts alternate letters for a playful baseline.
Segments textStrokes(const std::string& text, V2 origin, float unit, float gap, float bounce = 0, float yScale = 1);
float textWidth(const std::string& text, float unit, float gap);

// Symbols centred on c with overall size r (roughly the radius).
Sdf heart(V2 c, float r);
Sdf bolt(V2 c, float r);
Sdf paw(V2 c, float r);
Sdf crown(V2 c, float r);
Sdf gear(V2 c, float r, int teeth, float depth, float turn = 0);
Sdf arrowRight(V2 c, float r);  // a fat arrow pointing right
Sdf chevron(V2 c, float r, float thickness);  // pointing right
Sdf triangleRight(V2 c, float r);
Sdf kangaroo(V2 c, float r);  // hopping silhouette facing right

Segments arcPoints(V2 c, float r, float a0, float a1, int n);  // degrees, clockwise from up
Sdf questionMark(V2 c, float k);  // k scales a roughly 20-unit symbol
Sdf speaker(V2 c, float k);
Sdf musicNote(V2 c, float k);
Sdf trophy(V2 c, float k);
Sdf lock(V2 c, float k);
Sdf house(V2 c, float k);
Sdf translated(Sdf a, V2 by);

// A shaded disc button: rim, face gradient and a top gloss.
void gemDisc(const Pen& p, V2 c, float r, Rgba light, Rgba mid, Rgba dark, float outline);

}  // namespace art
