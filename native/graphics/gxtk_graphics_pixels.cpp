#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "host/image_decoding.h"
#include "host/kp_game.h"
#include "native/graphics/gxtk_graphics.h"

namespace {

// True when h rows of w values, `pitch` apart from `offset` on, lie inside
// an array of `length` values.
bool BlockFitsArray(int length, int w, int h, int offset, int pitch) {
    if (w <= 0 || h <= 0 || offset < 0) return false;
    long long last = offset + static_cast<long long>(h - 1) * pitch;
    long long lowest = last < offset ? last : offset;
    long long highest = last < offset ? offset : last;
    return lowest >= 0 && highest + w <= length;
}

bool BlockInside(int x, int y, int w, int h, int width, int height) {
    return x >= 0 && y >= 0 && static_cast<long long>(x) + w <= width && static_cast<long long>(y) + h <= height;
}

}  // namespace

// The path is resolved here, on the caller's thread, since the host's folder
// Strings are not for other threads.
gxtkSurface* gxtkGraphics::LoadSurface(String path) {
    auto* surface = new gxtkSurface;
    if (!LoadSurface__UNSAFE__(surface, KpGame::_game->SystemFilePath(path))) return nullptr;
    surface->Bind();
    return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, const std::string& systemPath) {
    int w = 0, h = 0, depth = 0;
    unsigned char* data = DecodePngFile(systemPath, &w, &h, &depth);
    if (!data) return false;
    surface->SetData(data, w, h, depth);
    return true;
}

// The texture is made when the surface is first drawn or bound, so a
// surface that is never drawn (the game reserves a 2048 x 2048 one) costs
// no video memory.
gxtkSurface* gxtkGraphics::CreateSurface(int w, int h) {
    auto* surface = new gxtkSurface;
    surface->SetData(nullptr, w, h, 4);
    return surface;
}

// OpenGL returns the bottom row first; the array gets the top row first.
void gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    if (!BlockInside(x, y, w, h, width, height) || !BlockFitsArray(pixels.Length(), w, h, offset, pitch)) return;
    Flush();
    std::vector<int> rows(static_cast<std::size_t>(w) * h);
    glReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    for (int r = 0; r < h; ++r) {
        std::memcpy(&pixels[offset + r * pitch], &rows[static_cast<std::size_t>(h - 1 - r) * w],
                    sizeof(int) * static_cast<std::size_t>(w));
    }
}

void gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                                int pitch) {
    if (!surface || !BlockFitsArray(pixels.Length(), w, h, offset, pitch)) return;
    surface->SetSubData(x, y, w, h, reinterpret_cast<const unsigned int*>(pixels.Data() + offset), pitch);
}
