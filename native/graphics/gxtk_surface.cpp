#include "native/graphics/gxtk_surface.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "host/kp_glfw_game.h"
#include "runtime/memory.h"

namespace {

int FormatOfDepth(int depth) {
    switch (depth) {
        case 1:
            return GL_LUMINANCE;
        case 2:
            return GL_LUMINANCE_ALPHA;
        case 3:
            return GL_RGB;
        case 4:
            return GL_RGBA;
        default:
            return 0;
    }
}

unsigned char Premultiplied(unsigned value, unsigned alpha) { return static_cast<unsigned char>(value * alpha / 255); }

// Colour bytes are scaled by the pixel's alpha byte, which is the last one.
void Premultiply(unsigned char* pixels, std::size_t count, int depth) {
    if (depth != 2 && depth != 4) return;
    int colours = depth - 1;
    for (std::size_t i = 0; i < count; ++i, pixels += depth) {
        unsigned alpha = pixels[colours];
        for (int c = 0; c < colours; ++c) pixels[c] = Premultiplied(pixels[c], alpha);
    }
}

int PowerOfTwoNotBelow(int size) {
    int padded = 1;
    while (padded < size && padded < (1 << 30)) padded <<= 1;
    return padded;
}

// Textures whose surface got new pixels, possibly off the main thread, with
// the context each belongs to.
struct StaleTexture {
    unsigned int textureId;
    int contextSeq;
};

std::mutex staleTexturesLock;
std::vector<StaleTexture> staleTextures;

void DropPendingErrors() {
    for (int i = 0; i < 16; ++i) {
        if (glGetError() == GL_NO_ERROR) return;
    }
}

}  // namespace

gxtkSurface::~gxtkSurface() {
    ReleaseTexture();
    ReleasePixels();
}

int gxtkSurface::Discard() {
    ReleaseTexture();
    ReleasePixels();
    return 0;
}

int gxtkSurface::Width() { return width; }

int gxtkSurface::Height() { return height; }

bool gxtkSurface::Loaded() { return true; }

void gxtkSurface::OnUnsafeLoadComplete() { Bind(); }

// A texture of an earlier context went with that context, so only one of
// the current context is deleted.
void gxtkSurface::ReleaseTexture() {
    if (contextSeq == glfwGraphicsSeq) glDeleteTextures(1, &textureId);
    contextSeq = -1;
}

void gxtkSurface::ReleasePixels() {
    std::free(pixels);
    pixels = nullptr;
}

// Without an OpenGL context on this thread the texture cannot be deleted
// here; the main thread deletes it at its next frame or texture.
void gxtkSurface::RetireTexture() {
    if (contextSeq == -1) return;
    {
        std::lock_guard<std::mutex> hold(staleTexturesLock);
        staleTextures.push_back({textureId, contextSeq});
    }
    contextSeq = -1;
}

void gxtkSurface::DeleteStaleTextures() {
    std::vector<StaleTexture> stale;
    {
        std::lock_guard<std::mutex> hold(staleTexturesLock);
        stale.swap(staleTextures);
    }
    for (StaleTexture& texture : stale) {
        if (texture.contextSeq == glfwGraphicsSeq) glDeleteTextures(1, &texture.textureId);
    }
}

// New pixels make any texture of the old ones stale; the next Bind builds
// one from the new pixels.
void gxtkSurface::SetData(unsigned char* data, int newWidth, int newHeight, int newDepth) {
    RetireTexture();
    if (data != pixels) ReleasePixels();
    pixels = data;
    width = newWidth;
    height = newHeight;
    depth = newDepth;
    glFormat = FormatOfDepth(newDepth);
    if (data && width > 0 && height > 0) {
        Premultiply(data, static_cast<std::size_t>(width) * static_cast<std::size_t>(height), depth);
    }
}

void gxtkSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;
    if (contextSeq == glfwGraphicsSeq) {
        glBindTexture(GL_TEXTURE_2D, textureId);
        return;
    }
    MakeTexture();
}

void gxtkSurface::MakeTexture() {
    DeleteStaleTextures();
    contextSeq = glfwGraphicsSeq;
    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    AllocateTexture();
    if (!pixels) return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, glFormat, GL_UNSIGNED_BYTE, pixels);
}

// A driver without non-power-of-two textures refuses the exact size; the
// image then sits in the top-left corner of a padded texture, and the
// scales keep source-pixel coordinates addressing it unstretched. Errors
// left by earlier calls are dropped first so that only this one counts.
void gxtkSurface::AllocateTexture() {
    int textureWidth = width;
    int textureHeight = height;
    DropPendingErrors();
    glTexImage2D(GL_TEXTURE_2D, 0, glFormat, width, height, 0, glFormat, GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR) {
        textureWidth = PowerOfTwoNotBelow(width);
        textureHeight = PowerOfTwoNotBelow(height);
        glTexImage2D(GL_TEXTURE_2D, 0, glFormat, textureWidth, textureHeight, 0, glFormat, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    uScale = 1.0f / static_cast<float>(textureWidth);
    vScale = 1.0f / static_cast<float>(textureHeight);
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const unsigned int* src, int pitch) {
    if (glFormat != GL_RGBA || w <= 0 || h <= 0 || x < 0 || y < 0) return;
    if (static_cast<long long>(x) + w > width || static_cast<long long>(y) + h > height) return;
    if (!pixels) pixels = static_cast<unsigned char*>(kp_malloc(static_cast<std::size_t>(width) * height * 4));
    for (int r = 0; r < h; ++r) {
        const unsigned int* from = src + static_cast<std::ptrdiff_t>(r) * pitch;
        unsigned char* to = pixels + (static_cast<std::size_t>(y + r) * width + x) * 4;
        for (int i = 0; i < w; ++i, to += 4) {
            unsigned argb = from[i];
            unsigned alpha = argb >> 24;
            to[0] = Premultiplied(argb >> 16 & 0xFF, alpha);
            to[1] = Premultiplied(argb >> 8 & 0xFF, alpha);
            to[2] = Premultiplied(argb & 0xFF, alpha);
            to[3] = static_cast<unsigned char>(alpha);
        }
    }
    if (contextSeq == glfwGraphicsSeq) UploadBlock(x, y, w, h);
}

// A block as wide as the surface is contiguous in `pixels`; a narrower one
// goes up row by row.
void gxtkSurface::UploadBlock(int x, int y, int w, int h) {
    glBindTexture(GL_TEXTURE_2D, textureId);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    auto rowStart = [&](int row) { return pixels + (static_cast<std::size_t>(row) * width + x) * 4; };
    if (w == width) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rowStart(y));
        return;
    }
    for (int r = 0; r < h; ++r) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + r, w, 1, GL_RGBA, GL_UNSIGNED_BYTE, rowStart(y + r));
    }
}
