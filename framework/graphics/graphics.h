#pragma once

#include "framework/graphics/graphics_context.h"
#include "framework/graphics/image.h"
#include "native/graphics/gxtk_graphics.h"

// Collector roots: all three hold references.
extern gxtkGraphics* kp_graphics_device;
extern c_GraphicsContext* kp_graphics_context;
// The renderer while a frame is rendered, null otherwise.
extern gxtkGraphics* kp_graphics_renderDevice;

void kp_graphics_init();
// Marks the three globals; for the program's root list.
void kp_graphics_mark();

int kp_graphics_SetGraphicsDevice(gxtkGraphics* device);
int kp_graphics_BeginRender();
int kp_graphics_EndRender();

int kp_graphics_SetColor(float r, float g, float b);
int kp_graphics_SetAlpha(float alpha);
int kp_graphics_SetBlend(int mode);
int kp_graphics_SetScissor(float x, float y, float w, float h);
int kp_graphics_SetFont(c_Image* font, int firstChar);

int kp_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty);
int kp_graphics_SetMatrix2(Array<float> m);
int kp_graphics_Transform(float a, float b, float c, float d, float tx, float ty);
int kp_graphics_Transform2(Array<float> m);
int kp_graphics_Translate(float x, float y);
int kp_graphics_Scale(float x, float y);
int kp_graphics_Rotate(float degrees);
int kp_graphics_PushMatrix();
int kp_graphics_PopMatrix();

int kp_graphics_DrawRect(float x, float y, float w, float h);
int kp_graphics_DrawLine(float x1, float y1, float x2, float y2);
int kp_graphics_DrawEllipse(float x, float y, float xRadius, float yRadius);
int kp_graphics_DrawPoly(Array<float> xy);
int kp_graphics_DrawPoly2(Array<float> xyuv, c_Image* image, int frame);
int kp_graphics_DrawImage(c_Image* image, float x, float y, int frame);
int kp_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame);

c_Image* kp_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* kp_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags);
c_Image* kp_graphics_CreateImage(int width, int height, int frameCount, int flags);
