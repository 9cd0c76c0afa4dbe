#include "bench/sprite_scene.h"

#include <GL/gl.h>

#include <cstdint>

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

c_Image* MakeSheet(int size) {
    int width = size * SpriteScene::kSheetFrames;
    c_Image* sheet = kp_graphics_CreateImage(size, size, SpriteScene::kSheetFrames, c_Image::CentreHandle);
    std::vector<std::uint32_t> colours = SheetPixels(size);
    Array<int> pixels(width * size);
    for (int i = 0; i < pixels.Length(); ++i) pixels[i] = static_cast<int>(colours[i]);
    kp_graphics_device->WritePixels2(sheet->m_surface, pixels, 0, 0, width, size, 0, width);
    return sheet;
}

}  // namespace

std::vector<std::uint32_t> SheetPixels(int size) {
    int width = size * SpriteScene::kSheetFrames;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * size);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        auto x = static_cast<std::uint32_t>(i % width), y = static_cast<std::uint32_t>(i / width);
        pixels[i] = 0xFF000000u | (x * 7 % 256) << 16 | (y * 12 % 256) << 8 | ((x + y) % 2 ? 255u : 64u);
    }
    return pixels;
}

SpriteScene::SpriteScene(int spriteSize) : spriteSize(spriteSize), sheet(MakeSheet(spriteSize)) {
    Numbers numbers;
    for (int i = 0; i < kSprites; ++i) {
        Sprite s;
        s.x = numbers.Next(0, 640);
        s.y = numbers.Next(0, 480);
        s.rotation = numbers.Next(0, 360);
        s.scale = numbers.Next(0.5f, 2);
        s.red = numbers.Next(64, 255);
        s.green = numbers.Next(64, 255);
        s.blue = numbers.Next(64, 255);
        s.alpha = numbers.Next(0.25f, 1);
        s.frame = i % kSheetFrames;
        sprites.push_back(s);
    }
}

void SpriteScene::StartFrame() {
    kp_graphics_device->BeginRender();
    kp_graphics_device->Cls(0, 0, 0);
}

int SpriteScene::DrawBatched() {
    StartFrame();
    kp_graphics_BeginRender();
    for (const Sprite& s : sprites) {
        kp_graphics_SetColor(s.red, s.green, s.blue);
        kp_graphics_SetAlpha(s.alpha);
        kp_graphics_DrawImage2(sheet, s.x, s.y, s.rotation, s.scale, s.scale, s.frame);
    }
    kp_graphics_EndRender();
    kp_graphics_device->EndRender();
    return kp_graphics_device->Stats().drawCalls;
}

int SpriteScene::DrawImmediate() {
    StartFrame();
    glEnable(GL_TEXTURE_2D);
    sheet->m_surface->Bind();
    for (const Sprite& s : sprites) DrawImmediateSprite(s);
    glDisable(GL_TEXTURE_2D);
    return static_cast<int>(sprites.size());
}

// The same sprite as DrawImage2 draws it: OpenGL turns the other way round
// on a y-down screen, hence the negated angle.
void SpriteScene::DrawImmediateSprite(const Sprite& s) {
    auto size = static_cast<float>(spriteSize);
    float u0 = static_cast<float>(sheet->m_frames[s.frame]->m_x) * sheet->m_surface->uScale;
    float u1 = u0 + size * sheet->m_surface->uScale;
    glColor4f(s.red / 255 * s.alpha, s.green / 255 * s.alpha, s.blue / 255 * s.alpha, s.alpha);
    glPushMatrix();
    glTranslatef(s.x, s.y, 0);
    glRotatef(-s.rotation, 0, 0, 1);
    glScalef(s.scale, s.scale, 1);
    glTranslatef(-sheet->m_handleX, -sheet->m_handleY, 0);
    glBegin(GL_QUADS);
    glTexCoord2f(u0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(u1, 0);
    glVertex2f(size, 0);
    glTexCoord2f(u1, 1);
    glVertex2f(size, size);
    glTexCoord2f(u0, 1);
    glVertex2f(0, size);
    glEnd();
    glPopMatrix();
}
