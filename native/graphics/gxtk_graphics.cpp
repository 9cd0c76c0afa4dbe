#include "native/graphics/gxtk_graphics.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>

#include "host/glfw2.h"
#include "host/kp_glfw_game.h"

namespace {

// Out-of-range colours saturate instead of spilling into the next byte.
std::uint32_t ColorByte(float value) {
    if (!(value > 0)) return 0;
    if (value >= 255) return 255;
    return static_cast<std::uint32_t>(value);
}

int ClampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -2147483647LL - 1, 2147483647LL));
}

}  // namespace

gxtkGraphics::gxtkGraphics() {
    ReadWindowSize();
    for (int quad = 0; quad < kMaxQuads; ++quad) {
        auto first = static_cast<std::uint16_t>(quad * 4);
        std::uint16_t* at = quadIndices + quad * 6;
        at[0] = first;
        at[1] = first + 1;
        at[2] = first + 2;
        at[3] = first;
        at[4] = first + 2;
        at[5] = first + 3;
    }
}

void gxtkGraphics::ReadWindowSize() {
    width = 0;
    height = 0;
    glfw2::GetWindowSize(&width, &height);
}

int gxtkGraphics::Width() { return width; }

int gxtkGraphics::Height() { return height; }

int gxtkGraphics::BeginRender() {
    gxtkSurface::DeleteStaleTextures();
    ReadWindowSize();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    EnableClientArrays();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    blendAdditive = 0;
    glDisable(GL_TEXTURE_2D);
    vertexCount = 0;
    stats = {};
    return 1;
}

void gxtkGraphics::EnableClientArrays() {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &vertices[0].color);
}

void gxtkGraphics::EndRender() { Flush(); }

void gxtkGraphics::DiscardGraphics() {}

// Pending vertices are dropped: the clear would erase them anyway.
int gxtkGraphics::Cls(float r, float g, float b) {
    vertexCount = 0;
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

int gxtkGraphics::SetAlpha(float newAlpha) {
    alpha = newAlpha;
    PackColor();
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float bl) {
    red = r;
    green = g;
    blue = bl;
    PackColor();
    return 0;
}

// Premultiplied by alpha, as the blend functions expect.
void gxtkGraphics::PackColor() {
    packedColor = ColorByte(red * alpha) | ColorByte(green * alpha) << 8 | ColorByte(blue * alpha) << 16 |
                  ColorByte(255 * alpha) << 24;
}

int gxtkGraphics::SetMatrix(float na, float nb, float nc, float nd, float ntx, float nty) {
    a = na;
    b = nb;
    c = nc;
    d = nd;
    tx = ntx;
    ty = nty;
    transformed = !(a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0);
    return 0;
}

// Callers set the blend before every draw; only a change ends the batch.
int gxtkGraphics::SetBlend(int mode) {
    int additive = mode == 1 ? 1 : 0;
    if (additive == blendAdditive) return 0;
    Flush();
    blendAdditive = additive;
    glBlendFunc(GL_ONE, additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    return 0;
}

// OpenGL counts scissor rows from the bottom of the window.
int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        glDisable(GL_SCISSOR_TEST);
        return 0;
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, ClampToInt(static_cast<long long>(Height()) - y - h), w, h);
    return 0;
}

gxtkVertex* gxtkGraphics::Begin(int kind, int count, gxtkSurface* surface) {
    if (batchKind != kind || batchSurface != surface || vertexCount + count > kMaxVertices) {
        Flush();
        batchKind = kind;
        batchSurface = surface;
    }
    // A surface without a texture in this context gets one now, which also
    // fixes its texture-space scales. This is checked on every call: the
    // batch knows its surface only by address, and a surface that was
    // reloaded, or a new one where a collected one was, may sit there.
    if (surface && surface->contextSeq != glfwGraphicsSeq) surface->Bind();
    gxtkVertex* first = vertices + vertexCount;
    vertexCount += count;
    return first;
}

void gxtkGraphics::Flush() {
    if (vertexCount == 0) return;
    if (batchSurface) {
        glEnable(GL_TEXTURE_2D);
        batchSurface->Bind();
    }
    IssueDrawCalls();
    if (batchSurface) glDisable(GL_TEXTURE_2D);
    stats.vertices += vertexCount;
    vertexCount = 0;
}

// The kind is the number of vertices per primitive; five or more make one
// fan per polygon.
void gxtkGraphics::IssueDrawCalls() {
    static const GLenum kFixedModes[] = {GL_POINTS, GL_LINES, GL_TRIANGLES};
    if (batchKind == 4) {
        glDrawElements(GL_TRIANGLES, vertexCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices);
        ++stats.drawCalls;
    } else if (batchKind < 4) {
        glDrawArrays(kFixedModes[batchKind - 1], 0, vertexCount);
        ++stats.drawCalls;
    } else {
        for (int first = 0; first < vertexCount; first += batchKind) {
            glDrawArrays(GL_TRIANGLE_FAN, first, batchKind);
            ++stats.drawCalls;
        }
    }
}
