#pragma once

#include <cstdint>
#include <vector>

#include "framework/graphics/graphics.h"

// The game's fullest frame: 2,500 sprites from one sheet (20 x 20 pixels in
// the game), each with its own colour, alpha, rotation and scale.
struct Sprite {
    float x, y;
    float rotation, scale;
    float red, green, blue, alpha;
    int frame;
};

class SpriteScene {
public:
    static constexpr int kSprites = 2500;
    static constexpr int kSheetFrames = 16;
    static constexpr int kGameSpriteSize = 20;

    // Needs the module's renderer and a window.
    explicit SpriteScene(int spriteSize = kGameSpriteSize);

    // Through the module and the batched renderer; returns the draw calls.
    // Neither draw waits for OpenGL to finish.
    int DrawBatched();
    // One immediate-mode draw per sprite, as a plain OpenGL 1.x program
    // would; returns the draw calls.
    int DrawImmediate();

    const std::vector<Sprite>& Sprites() const { return sprites; }
    int SpriteSize() const { return spriteSize; }

private:
    void StartFrame();
    void DrawImmediateSprite(const Sprite& sprite);

    int spriteSize;
    c_Image* sheet;
    std::vector<Sprite> sprites;
};

// The sheet's pixels as 0xAARRGGBB, frames side by side: every frame a
// different opaque pattern.
std::vector<std::uint32_t> SheetPixels(int spriteSize);
