#include "framework/graphics/graphics.h"
#include "framework/graphics/graphics_checks.h"

namespace {

// The renderer of the frame, with the current matrix sent to it.
gxtkGraphics* ValidDevice() {
    gxtkGraphics* device = kp_graphics__RenderDevice();
    kp_graphics_context->p_Validate();
    return device;
}

c_Frame* FrameOf(c_Image* image, int frame) {
    kp_graphics__NotNull(image);
    kp_graphics__CheckIndex(frame, image->m_frames.Length());
    return image->m_frames[frame];
}

// An image that is its whole surface takes the renderer's whole-surface call.
void DrawFrame(gxtkGraphics* device, c_Image* image, c_Frame* frame, float x, float y) {
    if (image->m_flags & c_Image::WholeSurface) {
        device->DrawSurface(image->m_surface, x, y);
    } else {
        device->DrawSurface2(image->m_surface, x, y, frame->m_x, frame->m_y, image->m_width, image->m_height);
    }
}

}  // namespace

int kp_graphics_DrawRect(float x, float y, float w, float h) {
    ValidDevice()->DrawRect(x, y, w, h);
    return 0;
}

int kp_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    ValidDevice()->DrawLine(x1, y1, x2, y2);
    return 0;
}

int kp_graphics_DrawEllipse(float x, float y, float xRadius, float yRadius) {
    ValidDevice()->DrawOval(x - xRadius, y - yRadius, xRadius * 2, yRadius * 2);
    return 0;
}

int kp_graphics_DrawPoly(Array<float> xy) {
    ValidDevice()->DrawPoly(xy);
    return 0;
}

// u and v count in pixels from the frame's corner.
int kp_graphics_DrawPoly2(Array<float> xyuv, c_Image* image, int frame) {
    c_Frame* f = FrameOf(image, frame);
    ValidDevice()->DrawPoly2(xyuv, image->m_surface, f->m_x, f->m_y);
    return 0;
}

// The handle comes off before the matrix applies.
int kp_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    c_Frame* f = FrameOf(image, frame);
    DrawFrame(ValidDevice(), image, f, x - image->m_handleX, y - image->m_handleY);
    return 0;
}

// Turns and scales the frame about its handle, which lands at (x, y).
int kp_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame) {
    c_Frame* f = FrameOf(image, frame);
    kp_graphics_PushMatrix();
    kp_graphics_Translate(x, y);
    kp_graphics_Rotate(rotation);
    kp_graphics_Scale(scaleX, scaleY);
    kp_graphics_Translate(-image->m_handleX, -image->m_handleY);
    DrawFrame(ValidDevice(), image, f, 0, 0);
    kp_graphics_PopMatrix();
    return 0;
}
