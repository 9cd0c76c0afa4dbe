#include "bench/sprite_layout.h"

namespace {

// A fixed sequence, so every run draws the same frame.
class Numbers {
public:
    float Next(float low, float high) {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<float>(state >> 8) / 16777216.0f;
    }

private:
    std::uint32_t state = 12345;
};

}  // namespace

std::vector<Sprite> SpriteLayout(int count) {
    Numbers numbers;
    std::vector<Sprite> sprites;
    for (int i = 0; i < count; ++i) {
        Sprite s;
        s.x = numbers.Next(0, 640);
        s.y = numbers.Next(0, 480);
        s.rotation = numbers.Next(0, 360);
        s.scale = numbers.Next(0.5f, 2);
        s.red = numbers.Next(64, 255);
        s.green = numbers.Next(64, 255);
        s.blue = numbers.Next(64, 255);
        s.alpha = numbers.Next(0.25f, 1);
        s.frame = i % kSpriteSheetFrames;
        sprites.push_back(s);
    }
    return sprites;
}

std::vector<std::uint32_t> SheetPixels(int size) {
    int width = size * kSpriteSheetFrames;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * size);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        auto x = static_cast<std::uint32_t>(i % width), y = static_cast<std::uint32_t>(i / width);
        pixels[i] = 0xFF000000u | (x * 7 % 256) << 16 | (y * 12 % 256) << 8 | ((x + y) % 2 ? 255u : 64u);
    }
    return pixels;
}
