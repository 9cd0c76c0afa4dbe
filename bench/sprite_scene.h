#pragma once

#include <vector>

#include "bench/sprite_layout.h"
#include "framework/graphics/graphics.h"

// The game's fullest frame: 2,500 sprites from one sheet.

class SpriteScene {
public:
    static constexpr int kSprites = kFullestFrameSprites;

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
