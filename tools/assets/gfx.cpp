// The play sheet "gfx": tiles, the kangaroo hero, the runner and the level-end
// streaks, as 20 x 20 pixel art. A cell is the centred 16 x 16 square; tiles
// reach one pixel further right and down so neighbours share an outline.
#include <cmath>

#include "sheet.h"

namespace art {

namespace {

const Rgba K = hex(0x1a1028);

// Hero and runner palette: o fur, O fur shade, l light fur, p inner ear,
// e eye, w eye shine, n nose, t/T scarf, f foot shade, r runner body,
// R runner shade, s spine, S spine tip, m runner snout, x inner outline.
const Palette kCharacters{"oOlpewntTfrRsSmxy",
                          {hex(0xe58a3c), hex(0xb2562c), hex(0xf9d59c), hex(0xff8fa8), hex(0x1a1028),
                           hex(0xffffff), hex(0x3a1e2e), hex(0x38d0c4), hex(0x1c8a96), hex(0x8a4026),
                           hex(0xd8408a), hex(0x8e2468), hex(0x6a2a8a), hex(0xf6d8ff), hex(0xffb0c8),
                           K, hex(0xffe066)}};

// Transparent pixels touching the figure become outline.
void autoOutline(Canvas& c, Rgba line) {
    Canvas src = c;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            if (src.at(x, y).a > 0) continue;
            bool touch = false;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                if (src.inside(x + dx, y + dy) && src.at(x + dx, y + dy).a > 0.5f) touch = true;
            if (touch) c.at(x, y) = line;
        }
}

void sprite(Canvas& c, const std::vector<std::string>& rows, bool mirror = false) {
    drawMap(c, 0, 0, rows, kCharacters, mirror);
    autoOutline(c, K);
}

// --- the hero -------------------------------------------------------------

const std::vector<std::string> kStand = {
    "....................",
    ".........O..o.......",
    ".........OO.op......",
    ".........OO.op......",
    "..........OOop......",
    "..........oooo......",
    ".........oooooo.....",
    ".........ooooowo....",
    ".........ooooeeoooo.",
    "..........oooolllln.",
    "..........ottTTll...",
    ".........oooTtlll...",
    ".........oooolOll...",
    "........ooooollOl...",
    "........oooooolll...",
    "...oo..ooooooolll...",
    "..oooooooOOOOolll...",
    "ooo.....Offfffffff..",
    "....................",
    "....................",
};

const std::vector<std::string> kRun[4] = {
    {
        // crouch before the push
        "....................",
        "....................",
        "....................",
        ".........O..o.......",
        ".........OO.op......",
        "..........OOop......",
        "..........oooo......",
        ".........oooooo.....",
        ".........ooooowo....",
        ".........ooooeeoooo.",
        "..........oooolllln.",
        ".........ottTTll....",
        "........oooTtlOl....",
        ".......ooooollOl....",
        "......oooooollll....",
        "oooooooooOOOolll....",
        "..oooooOOOOOOll.....",
        ".......fffffffffff..",
        "....................",
        "....................",
    },
    {
        // push off, legs stretched back
        ".........O..o.......",
        ".........OO.op......",
        ".........OO.op......",
        "..........OOop......",
        "..........oooo......",
        ".........oooooo.....",
        ".........ooooowo....",
        ".........ooooeeoooo.",
        "..........oooolllln.",
        ".........ottTTll....",
        "........oooTtlOl....",
        ".......ooooollOl....",
        "......ooooooollll...",
        "...oooOOOOoollll....",
        ".ooo...OOOOooll.....",
        "oo.......ffff.......",
        "..........ffff......",
        "...........fff......",
        "....................",
        "....................",
    },
    {
        // airborne, legs tucked
        "........O..o........",
        "........OO.op.......",
        "........OO.op.......",
        ".........OOop.......",
        ".........oooo.......",
        "........oooooo......",
        "........ooooowo.....",
        "........ooooeeoooo..",
        ".........oooolllln..",
        "........ottTTll.....",
        ".......oooTtlOl.....",
        "......ooooollOl.....",
        "....oooooooollll....",
        "..ooooOOOOOolll.....",
        "ooo....OOOOffff.....",
        "o..........ffff.....",
        "....................",
        "....................",
        "....................",
        "....................",
    },
    {
        // reaching down to land
        "....................",
        ".........O..o.......",
        ".........OO.op......",
        ".........OO.op......",
        "..........OOop......",
        "..........oooo......",
        ".........oooooo.....",
        ".........ooooowo....",
        ".........ooooeeoooo.",
        "..........oooolllln.",
        ".........ottTTll....",
        "........oooTtlOl....",
        ".......ooooollOl....",
        ".....ooooooollll....",
        "...oooOOOOoolll.....",
        "..oo....OOOOff......",
        ".oo.........fffff...",
        "....................",
        "....................",
        "....................",
    },
};

// Back to the wall (the wall is on the right when not mirrored).
const std::vector<std::string> kWallSlide = {
    "..........o..O......",
    ".........po.OO......",
    ".........po.OO......",
    ".........poOO.......",
    ".........oooo.......",
    "........oooooo......",
    ".......owooooo......",
    "...ooooeeoooooo.....",
    "...nllllooooo.......",
    ".....lTTttoooo......",
    ".....lllTtoooo......",
    "....llOllooooo......",
    "....lOlllooooooo....",
    ".....lllloooooooO...",
    ".....llllooooo.OOf..",
    ".....llllOOOoo..Off.",
    "......fffffffo..Off.",
    "................oo..",
    "....................",
    "....................",
};

// Knocked back: tumbling with dizzy stars, drawn as the pose moving right.
const std::vector<std::string> kKnocked[2] = {
    {
        "..y.....O..o........",
        ".yyy....OO.op.y.....",
        "..y.....OO.opyyy....",
        ".........OOop.y.....",
        "..........oo........",
        ".....ooooooo........",
        "....ooooooooo.......",
        "....oooeooeooo......",
        "....ooooooooooll....",
        ".....ooooooolllln...",
        ".....ottTollllll....",
        "....ooOttTllll......",
        "...ooooTllllo.......",
        "..oooooollllo.......",
        ".oo..OOOOooooo......",
        "oo.......fff.ooo....",
        "..........fff..oo...",
        ".................oo.",
        "....................",
        "....................",
    },
    {
        "...y....O..o...y....",
        "..yyy...OO.op.......",
        "...y....OO.op.......",
        ".........OOop.......",
        "..........oo........",
        ".....ooooooo........",
        "....ooooooooo.......",
        "....oooeooeooo......",
        "....ooooooooooll....",
        ".....ooooooolllln...",
        ".....ottTollllll....",
        "....ooOttTllll......",
        "...ooooTllllo.......",
        "..oooooollllo.......",
        ".oo..OOOOooooo......",
        "oo.......fff.ooo....",
        "..........fff..oo...",
        ".................oo.",
        "....................",
        "....................",
    },
};

// --- the runner, a spiny critter ---------------------------------------------

const std::vector<std::string> kRunner[2] = {
    {
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "..........S.S.......",
        ".......S.SsSsS.S....",
        "......SsSsssssSsS...",
        ".....SsssssssssssS..",
        "....rrrssssssssssS..",
        "...rwerrrrsssssss...",
        "..mrrrrrrrRrrrrrr...",
        ".mmrrrrrrRRRrrrrr...",
        "..xrrrrrrrRRRrrrr...",
        "...rrRRRRRRRRRRr....",
        "....RR.RR..RR.RR....",
        "....f..ff...f..ff...",
        "....................",
        "....................",
        "....................",
    },
    {
        "....................",
        "....................",
        "....................",
        "....................",
        "....................",
        "..........S.S.......",
        ".......S.SsSsS.S....",
        "......SsSsssssSsS...",
        ".....SsssssssssssS..",
        "....rrrssssssssssS..",
        "...rwerrrrsssssss...",
        "..mrrrrrrrRrrrrrr...",
        ".mmrrrrrrRRRrrrrr...",
        "..xrrrrrrrRRRrrrr...",
        "...rrRRRRRRRRRRr....",
        "....RR..RR.RR..RR...",
        "...ff...f...ff..f...",
        "....................",
        "....................",
        "....................",
    },
};

// --- tiles ---------------------------------------------------------------

void blockOutline(Canvas& c, int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; ++x) c.at(x, y0) = c.at(x, y1) = K;
    for (int y = y0; y <= y1; ++y) c.at(x0, y) = c.at(x1, y) = K;
}

void wallTile(Canvas& c, bool vines) {
    const Rgba base = hex(0xc2603c), light = hex(0xe8925c), dark = hex(0x8a3a2e), deep = hex(0x6a2a2a);
    for (int y = 3; y <= 17; ++y)
        for (int x = 3; x <= 17; ++x) c.at(x, y) = base;
    // two courses of bricks, offset
    for (int x = 3; x <= 17; ++x) {
        c.at(x, 10) = dark;
        c.at(x, 11) = light;
    }
    for (int y = 3; y <= 9; ++y) {
        c.at(11, y) = dark;
        c.at(12, y) = light;
    }
    for (int y = 11; y <= 17; ++y) {
        c.at(6, y) = dark;
        c.at(7, y) = light;
    }
    c.at(12, 11) = dark;
    c.at(7, 3) = light;
    for (int x = 3; x <= 17; ++x) {
        c.at(x, 3) = light;
        c.at(x, 17) = dark;
    }
    for (int y = 3; y <= 17; ++y) {
        c.at(3, y) = light;
        c.at(17, y) = dark;
    }
    Rng r(7);
    for (int i = 0; i < 7; ++i) {
        int x = 5 + r.pick(11), y = 5 + r.pick(11);
        if (c.at(x, y).r == base.r && c.at(x, y).g == base.g) c.at(x, y) = deep;
    }
    blockOutline(c, 2, 2, 18, 18);
    if (vines) {
        const Rgba leaf = hex(0x5cbc48), leafDark = hex(0x2f7a3a);
        int xs[] = {5, 5, 6, 6, 7, 7, 7, 8, 8, 8, 9};
        for (int i = 0; i < 11; ++i) c.at(xs[i], 3 + i) = (i % 3 == 0) ? leaf : leafDark;
        c.at(4, 6) = leaf;
        c.at(9, 9) = leaf;
        c.at(10, 12) = leaf;
    }
}

const Rgba kGrass = hex(0x5cbc48), kGrassLight = hex(0x9be060), kGrassDark = hex(0x2f7a3a);
const Rgba kSoil = hex(0xd8843c), kSoilLight = hex(0xf0b060), kSoilDark = hex(0xa85430), kSoilDeep = hex(0x7a3426);

// A slab with a grassy top. `top` recolours the grass (scored cells glow).
void platformTile(Canvas& c, Rgba grassLight, Rgba grass, Rgba grassDark) {
    for (int y = 3; y <= 12; ++y)
        for (int x = 3; x <= 17; ++x) c.at(x, y) = kSoil;
    for (int x = 2; x <= 18; ++x) {
        c.at(x, 3) = grassLight;
        c.at(x, 4) = grass;
        c.at(x, 5) = grass;
    }
    // grass drips over the soil
    int drips[] = {4, 5, 9, 13, 14, 16};
    for (int x : drips) c.at(x, 6) = grassDark;
    c.at(5, 7) = grassDark;
    c.at(13, 7) = grassDark;
    for (int x = 3; x <= 17; ++x) {
        c.at(x, 11) = kSoilDark;
        c.at(x, 12) = kSoilDeep;
    }
    // pebbles
    int peb[][2] = {{6, 8}, {11, 9}, {15, 8}, {8, 10}};
    for (auto& p : peb) {
        c.at(p[0], p[1]) = kSoilLight;
        c.at(p[0] + 1, p[1]) = kSoilDark;
    }
    for (int x = 2; x <= 18; ++x) {
        c.at(x, 2) = K;
        c.at(x, 13) = K;
    }
    for (int y = 2; y <= 13; ++y) {
        c.at(2, y) = K;
        c.at(18, y) = K;
    }
    c.at(2, 3) = c.at(18, 3) = K;
    // a ragged underside with a few hanging strands
    for (int x : {4, 8, 9, 14}) c.at(x, 13) = kSoilDeep;
    for (int x : {4, 8, 9, 14}) c.at(x, 14) = K;
    c.at(9, 15) = K;
    c.at(9, 14) = kSoilDeep;
    c.at(5, 14) = c.at(12, 14) = withAlpha(kGrassDark, 1);
    c.at(12, 15) = kGrassDark;
}

// Cracks spread from the landing spot as the cell crumbles (stage 0..5).
void crumbleTile(Canvas& c, int stage) {
    Rgba gl = hex(0xfff2a0), g = hex(0xf2c23c), gd = hex(0xb07a20);
    Rgba soil = mix(kSoil, kSoilDeep, stage * 0.1f);
    platformTile(c, gl, g, gd);
    for (int y = 6; y <= 10; ++y)
        for (int x = 3; x <= 17; ++x)
            if (c.at(x, y).r == kSoil.r && c.at(x, y).g == kSoil.g) c.at(x, y) = soil;
    // crack paths: list of points walked from the top
    const int crackA[][2] = {{10, 3}, {10, 4}, {9, 5}, {9, 6}, {8, 7}, {8, 8}, {9, 9}, {9, 10}, {10, 11}, {10, 12}};
    const int crackB[][2] = {{14, 3}, {14, 4}, {15, 5}, {15, 6}, {16, 7}, {16, 8}, {17, 9}};
    const int crackC[][2] = {{6, 3}, {6, 4}, {5, 5}, {5, 6}, {4, 7}, {4, 8}, {3, 9}};
    const int crackD[][2] = {{9, 7}, {10, 7}, {11, 8}, {12, 8}, {13, 9}, {14, 9}, {15, 10}};
    auto draw = [&](const int (*pts)[2], int n, int upto) {
        for (int i = 0; i < std::min(n, upto); ++i) c.at(pts[i][0], pts[i][1]) = K;
    };
    draw(crackA, 10, 3 + stage * 2);
    if (stage >= 2) draw(crackB, 7, (stage - 1) * 2);
    if (stage >= 3) draw(crackC, 7, (stage - 2) * 3);
    if (stage >= 4) draw(crackD, 7, (stage - 3) * 4);
    if (stage >= 5) {
        // chunks break away: the right third sags, a corner is gone
        Canvas src = c;
        for (int y = 2; y <= 18; ++y)
            for (int x = 11; x <= 18; ++x) c.at(x, y) = Rgba{};
        for (int y = 2; y <= 17; ++y)
            for (int x = 11; x <= 18; ++x)
                if (src.at(x, y).a > 0 && !(x > 15 && y > 8)) c.at(x, y + 1) = src.at(x, y);
        for (int y = 2; y <= 5; ++y) c.at(10, y + 1) = K;
        for (int y = 9; y <= 14; ++y)
            for (int x = 2; x <= 5; ++x) c.at(x, y) = Rgba{};
        c.at(3, 9) = c.at(4, 8) = K;
        for (int x = 2; x <= 5; ++x) c.at(x, 9) = K;
    }
}

// The home row: a glowing strip over dark stone, its shine moving about.
void floorTile(Canvas& c, int variant) {
    const Rgba stone = hex(0x2a3468), stoneLight = hex(0x3c4a88), stoneDark = hex(0x1c2248);
    const Rgba glowHi = hex(0xc8ffff), glow = hex(0x4adcec), glowDeep = hex(0x1c90b4);
    for (int y = 3; y <= 17; ++y)
        for (int x = 3; x <= 17; ++x) c.at(x, y) = stone;
    for (int x = 2; x <= 18; ++x) {
        c.at(x, 3) = glowHi;
        c.at(x, 4) = glow;
        c.at(x, 5) = glow;
        c.at(x, 6) = glowDeep;
        c.at(x, 7) = stoneDark;
    }
    for (int y = 8; y <= 17; ++y) {
        c.at(3, y) = stoneLight;
        c.at(17, y) = stoneDark;
    }
    for (int x = 3; x <= 17; ++x) c.at(x, 8) = stoneLight;
    c.at(8, 12) = stoneDark;
    c.at(13, 14) = stoneDark;
    c.at(9, 12) = stoneLight;
    blockOutline(c, 2, 2, 18, 18);
    // moving shine and sparks above the strip
    Rng r(100 + variant * 17);
    int sx = 3 + (variant * 5) % 13;
    for (int i = 0; i < 3; ++i)
        if (sx + i <= 17) {
            c.at(sx + i, 4) = glowHi;
            c.at(sx + i, 3) = hex(0xffffff);
        }
    for (int i = 0; i < 2; ++i) {
        int x = 3 + r.pick(15), y = r.pick(2);
        c.at(x, y) = withAlpha(hex(0xc8ffff), 0.9f - 0.3f * i);
    }
    c.at(3 + r.pick(15), 5) = glowHi;
}

// Vertical light streak; `up` puts the bright head on top.
void streak(Canvas& c, bool up, Rgba head, Rgba tail) {
    for (int y = 0; y < 20; ++y) {
        float t = up ? y / 19.0f : (19 - y) / 19.0f;  // 0 at the head
        float a = std::pow(1 - t, 1.2f);
        Rgba col = mix(head, tail, std::min(1.0f, t * 1.6f));
        float half = 3.2f - 2.6f * t;
        for (int x = 4; x < 16; ++x) {
            float d = std::fabs(x + 0.5f - 10) / half;
            if (d >= 1) continue;
            float k = d < 0.5f ? 1 : (1 - d) * 2;
            c.at(x, y) = withAlpha(mix(col, hex(0xffffff), (1 - d) * (1 - t) * 0.7f), a * k);
        }
    }
    int hy = up ? 1 : 18;
    for (int x = 8; x <= 11; ++x) c.at(x, hy) = hex(0xffffff);
    for (int y = hy - 1; y <= hy + 1; ++y) c.at(9, y) = c.at(10, y) = hex(0xffffff);
}

// Spare frames: a little collectable and a flag in the same style.
void gem(Canvas& c, Rgba body, Rgba light, Rgba dark) {
    const std::vector<std::string> rows = {
        ".......bbbbbb.......", "......bllbbbbb......", ".....bllbbbbbdd.....", ".....bbbbbbbddd.....",
        "......bbbbbddd......", ".......bbbddd.......", "........bddd........", ".........dd.........",
    };
    Palette p{"bld", {body, light, dark}};
    drawMap(c, 0, 6, rows, p);
    autoOutline(c, K);
}

void flag(Canvas& c) {
    const std::vector<std::string> rows = {
        "......trrrrrr.......", "......trrrrrrrr.....", "......trrrRrrrrr....", "......trrRRRrrr.....",
        "......trrrrrr.......", "......t.............", "......t.............", "......t.............",
        "......t.............", "......t.............", ".....ttt............",
    };
    Palette p{"trR", {hex(0xd8dcec), hex(0xe8464a), hex(0xffe066)}};
    drawMap(c, 0, 4, rows, p);
    autoOutline(c, K);
}

Canvas gfxFrame(int f) {
    Canvas c(20, 20);
    switch (f) {
        case 1: wallTile(c, false); break;
        case 2: platformTile(c, kGrassLight, kGrass, kGrassDark); break;
        case 3: platformTile(c, hex(0xb8ec80), hex(0x74cc50), kGrassDark); break;
        case 4: platformTile(c, hex(0xf4d890), hex(0xd8b050), hex(0x9a7030)); break;
        case 5: wallTile(c, true); break;
        case 6: case 7: case 8: case 9: case 10: case 11: crumbleTile(c, f - 6); break;
        case 12: case 13: case 14: case 15: case 16: case 17: floorTile(c, f - 12); break;
        case 18: sprite(c, kStand); break;
        case 19: case 20: case 21: case 22: sprite(c, kRun[f - 19]); break;
        case 23: sprite(c, kWallSlide); break;
        case 24: sprite(c, kRunner[0]); break;
        case 25: sprite(c, kRunner[1], true); break;
        case 26: sprite(c, kKnocked[0]); break;
        case 27: sprite(c, kKnocked[1]); break;
        case 28: sprite(c, kRun[2]); break;
        case 29: sprite(c, kRun[3]); break;
        case 30: streak(c, true, hex(0xfff6b0), hex(0xff9a30)); break;
        case 31: streak(c, false, hex(0xe0e8ff), hex(0x7a50e0)); break;
        case 32: gem(c, hex(0x38d0c4), hex(0xc8fff8), hex(0x1c8a96)); break;
        case 33: gem(c, hex(0xff6a9a), hex(0xffd0e0), hex(0xa02858)); break;
        case 34: gem(c, hex(0xffd040), hex(0xfff6c0), hex(0xb07a20)); break;
        case 35: flag(c); break;
        default: break;
    }
    return c;
}

}  // namespace

Sheet gfxSheet() {
    Sheet s{"gfx", 20, 20, 36, 6, nullptr};
    // Tiles keep square corners so neighbours meet without notches; the
    // characters are smoothed.
    s.render = [](int frame, int factor) {
        bool tile = (frame >= 1 && frame <= 17) || frame == 30 || frame == 31;
        return tile ? blockScale(gfxFrame(frame), factor) : pixelScale(gfxFrame(frame), factor);
    };
    return s;
}

}  // namespace art
