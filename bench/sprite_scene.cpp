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

// Every frame of the sheet a different opaque pattern.
c_Image* MakeSheet() {
    int width = SpriteScene::kSpriteSize * SpriteScene::kSheetFrames;
    int height = SpriteScene::kSpriteSize;
    c_Image* sheet = kp_graphics_CreateImage(SpriteScene::kSpriteSize, height, SpriteScene::kSheetFrames,
                                             c_Image::CentreHandle);
    Array<int> pixels(width * height);
    for (int i = 0; i < pixels.Length(); ++i) {
        int x = i % width, y = i / width;
        pixels[i] = static_cast<int>(0xFF000000u | static_cast<std::uint32_t>(x * 7 % 256) << 16 |
                                     static_cast<std::uint32_t>(y * 12 % 256) << 8 | ((x + y) % 2 ? 255u : 64u));
    }
    kp_graphics_device->WritePixels2(sheet->m_surface, pixels, 0, 0, width, height, 0, width);
    return sheet;
}

}  // namespace

SpriteScene::SpriteScene() : sheet(MakeSheet()) {
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
    glFinish();
    return kp_graphics_device->Stats().drawCalls;
}

int SpriteScene::DrawImmediate() {
    StartFrame();
    glEnable(GL_TEXTURE_2D);
    sheet->m_surface->Bind();
    for (const Sprite& s : sprites) DrawImmediateSprite(s);
    glDisable(GL_TEXTURE_2D);
    glFinish();
    return static_cast<int>(sprites.size());
}

// The same sprite as DrawImage2 draws it: OpenGL turns the other way round
// on a y-down screen, hence the negated angle.
void SpriteScene::DrawImmediateSprite(const Sprite& s) {
    auto size = static_cast<float>(kSpriteSize);
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
