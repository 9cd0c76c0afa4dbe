#include "bench/sprite_scene.h"

#include <GL/gl.h>

namespace {

c_Image* MakeSheet(int size) {
    int width = size * kSpriteSheetFrames;
    c_Image* sheet = kp_graphics_CreateImage(size, size, kSpriteSheetFrames, c_Image::CentreHandle);
    std::vector<std::uint32_t> colours = SheetPixels(size);
    Array<int> pixels(width * size);
    for (int i = 0; i < pixels.Length(); ++i) pixels[i] = static_cast<int>(colours[i]);
    kp_graphics_device->WritePixels2(sheet->m_surface, pixels, 0, 0, width, size, 0, width);
    return sheet;
}

}  // namespace

SpriteScene::SpriteScene(int spriteSize)
    : spriteSize(spriteSize), sheet(MakeSheet(spriteSize)), sprites(SpriteLayout(kSprites)) {}

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
