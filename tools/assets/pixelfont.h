// The house pixel font: printable ASCII on a 9-row grid (7-row capitals,
// 5-row x-height, 2 rows of descenders).
#pragma once

#include <string>
#include <vector>

namespace art {

struct Glyph {
    int width = 0;                  // columns in use
    std::vector<std::string> rows;  // 9 rows, '#' set
    bool at(int x, int y) const {
        return y >= 0 && y < int(rows.size()) && x >= 0 && x < int(rows[y].size()) && rows[y][x] == '#';
    }
};

constexpr int kGlyphRows = 9;

// Glyph for a character code 32..126; anything else gives an empty glyph.
const Glyph& glyph(int code);

// Tiny 3x5 capitals and digits for labels inside prompt glyphs.
const Glyph& miniGlyph(char c);

}  // namespace art
