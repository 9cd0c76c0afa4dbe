#pragma once

#include <cstdint>
#include <vector>

// Sprites as the game draws them, without a renderer: the same fixed scene
// for our renderer and for SDL2's.
struct Sprite {
    float x, y;
    float rotation, scale;
    float red, green, blue, alpha;
    int frame;
};

constexpr int kSpriteSheetFrames = 16;
// The game's sprites are 20 x 20 pixels.
constexpr int kGameSpriteSize = 20;
// The game's fullest frame.
constexpr int kFullestFrameSprites = 2500;

// The same sprites every run over a 640 x 480 window, each with its own
// colour, alpha, rotation and scale.
std::vector<Sprite> SpriteLayout(int count);

// The sheet's pixels as 0xAARRGGBB, frames side by side: every frame a
// different opaque pattern.
std::vector<std::uint32_t> SheetPixels(int spriteSize);
