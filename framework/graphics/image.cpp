#include "framework/graphics/image.h"

#include "framework/graphics/graphics.h"
#include "framework/graphics/graphics_checks.h"
#include "host/data_path.h"
#include "runtime/errors.h"

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

void c_Image::TakeSurface(gxtkSurface* surface, c_Image* source, int frameCount) {
    if (m_surface) kpError(String("Image already initialized"));
    gc_assign(m_surface, kp_graphics__NotNull(surface));
    gc_assign(m_source, source);
    gc_assign(m_frames, Array<c_Frame*>(frameCount));
}

// A count below one would leave no frame width to divide the strip into.
c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
    TakeSurface(surface, nullptr, frameCount);
    if (frameCount < 1) kpError(String("Image frame count must be positive"));
    m_width = surface->Width() / frameCount;
    m_height = surface->Height();
    for (int i = 0; i < frameCount; ++i) gc_assign(m_frames[i], (new c_Frame)->m_new(i * m_width, 0));
    return p_ApplyFlags(flags);
}

c_Image* c_Image::p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount,
                          int flags, c_Image* source, int srcX, int srcY, int srcW, int srcH) {
    TakeSurface(surface, source, frameCount);
    m_width = frameWidth;
    m_height = frameHeight;
    long long column = x, row = y;
    for (int i = 0; i < frameCount; ++i) {
        if (column + m_width > srcW) {
            if (m_width > srcW) kpError(String("Image frame outside surface"));
            row += m_height;
            column = 0;
        }
        if (row + m_height > srcH) kpError(String("Image frame outside surface"));
        c_Frame* frame = (new c_Frame)->m_new(static_cast<int>(column + srcX), static_cast<int>(row + srcY));
        gc_assign(m_frames[i], frame);
        column += m_width;
    }
    return p_ApplyFlags(flags);
}

c_Image* c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    if (flags & BorderX) {
        for (int i = 0; i < m_frames.Length(); ++i) m_frames[i]->m_x += 1;
        m_width -= 2;
    }
    if (flags & BorderY) {
        for (int i = 0; i < m_frames.Length(); ++i) m_frames[i]->m_y += 1;
        m_height -= 2;
    }
    if (flags & CentreHandle) {
        m_flags &= ~CentreHandle;
        m_handleX = static_cast<float>(m_width) * 0.5f;
        m_handleY = static_cast<float>(m_height) * 0.5f;
    }
    if (CoversWholeSurface()) m_flags |= WholeSurface;
    return this;
}

bool c_Image::CoversWholeSurface() {
    if (m_frames.Length() != 1 || m_frames[0]->m_x != 0 || m_frames[0]->m_y != 0) return false;
    return m_width == m_surface->Width() && m_height == m_surface->Height();
}

c_Image* c_Image::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_flags &= ~CentreHandle;
    return this;
}

void c_Image::mark() {
    Object::mark();
    gc_mark(m_surface);
    gc_mark(m_frames);
    gc_mark(m_source);
}

namespace {

gxtkSurface* LoadDataSurface(String path) {
    return kp_graphics__NotNull(kp_graphics_device)->LoadSurface(kp_data_FixDataPath(path));
}

}  // namespace

c_Image* kp_graphics_LoadImage(String path, int frameCount, int flags) {
    gxtkSurface* surface = LoadDataSurface(path);
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* kp_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags) {
    gxtkSurface* surface = LoadDataSurface(path);
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0,
                                           surface->Width(), surface->Height());
}

// The frames sit side by side on one surface.
c_Image* kp_graphics_CreateImage(int width, int height, int frameCount, int flags) {
    long long surfaceWidth = static_cast<long long>(width) * frameCount;
    if (surfaceWidth != static_cast<int>(surfaceWidth)) return nullptr;
    gxtkSurface* surface =
        kp_graphics__NotNull(kp_graphics_device)->CreateSurface(static_cast<int>(surfaceWidth), height);
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}
