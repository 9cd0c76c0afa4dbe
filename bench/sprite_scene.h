#pragma once

#include <vector>

#include "framework/graphics/graphics.h"

// The game's fullest frame: 2,500 sprites of 20 x 20 pixels from one
// sheet, each with its own colour, alpha, rotation and scale.
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
    static constexpr int kSpriteSize = 20;

    // Needs the module's renderer and a window.
    SpriteScene();

    // Through the module and the batched renderer; returns the draw calls.
    int DrawBatched();
    // One immediate-mode draw per sprite, as a plain OpenGL 1.x program
    // would; returns the draw calls.
    int DrawImmediate();

private:
    void StartFrame();
    void DrawImmediateSprite(const Sprite& sprite);

    c_Image* sheet;
    std::vector<Sprite> sprites;
};
