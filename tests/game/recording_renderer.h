#pragma once

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "native/graphics/gxtk_graphics.h"

// A renderer that writes down what reaches it instead of drawing, so the
// game's render step can be checked without a window.
class RecordingRenderer : public gxtkGraphics {
public:
    std::vector<std::string> calls;

    // The device pixels one draw can colour: its bounds (an image's inked
    // pixels only) through the matrix, cut to the scissor. A draw that shows
    // nothing leaves an empty patch.
    struct Patch {
        float left, top, right, bottom;
        const gxtkSurface* image;
        bool Empty() const { return left >= right || top >= bottom; }
        bool Overlaps(const Patch& other) const {
            return !Empty() && !other.Empty() && left < other.right && other.left < right && top < other.bottom &&
                   other.top < bottom;
        }
    };
    std::vector<Patch> patches;

    int DrawRect(float x, float y, float w, float h) override {
        Show({{x, y}, {x + w, y + h}});
        return Note("rect", {x, y, w, h});
    }
    int DrawOval(float x, float y, float w, float h) override {
        Show({{x, y}, {x + w, y + h}});
        return Note("oval", {x, y, w, h});
    }
    int DrawLine(float x1, float y1, float x2, float y2) override {
        Show({{x1, y1}, {x2, y2}});
        return Note("line", {x1, y1, x2, y2});
    }
    int DrawPoly(Array<float> xy) override {
        std::vector<float> values(xy.Data(), xy.Data() + xy.Length());
        std::vector<Point> corners;
        for (size_t i = 0; i + 1 < values.size(); i += 2) corners.push_back({values[i], values[i + 1]});
        Show(corners);
        return Note("poly", values);
    }
    int DrawSurface(gxtkSurface* surface, float x, float y) override {
        ShowImage(surface, x, y, 0, 0, surface->width, surface->height);
        return Note("image", {x, y});
    }
    int DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW, int srcH) override {
        ShowImage(surface, x, y, srcX, srcY, srcW, srcH);
        return Note("image", {x, y, static_cast<float>(srcX), static_cast<float>(srcY)});
    }
    int SetMatrix(float a, float b, float c, float d, float tx, float ty) override {
        matrix = {a, b, c, d, tx, ty};
        return Note("matrix", {a, b, c, d, tx, ty});
    }
    int SetScissor(int x, int y, int w, int h) override {
        scissor = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + w), static_cast<float>(y + h)};
        return Note("scissor", {scissor.left, scissor.top, static_cast<float>(w), static_cast<float>(h)});
    }
    int SetColor(float r, float g, float b) override { return Note("color", {r, g, b}); }
    int SetAlpha(float alpha) override { return Note("alpha", {alpha}); }
    int SetBlend(int mode) override { return Note("blend", {static_cast<float>(mode)}); }

    // The calls of one kind, in order.
    std::vector<std::string> Only(const std::string& kind) const {
        std::vector<std::string> found;
        for (const std::string& call : calls) {
            if (call.compare(0, kind.size() + 1, kind + " ") == 0) found.push_back(call);
        }
        return found;
    }

private:
    struct Point {
        float x, y;
    };
    struct Box {
        float left, top, right, bottom;
    };
    static constexpr Box kNothing{1e30f, 1e30f, -1e30f, -1e30f};
    struct Matrix {
        float a, b, c, d, tx, ty;
    };

    // The shape's bounds, turned and moved by the matrix, then cut to the
    // scissor.
    void Show(std::initializer_list<Point> points, const gxtkSurface* image = nullptr) {
        Show(std::vector<Point>(points), image);
    }
    void Show(const std::vector<Point>& points, const gxtkSurface* image = nullptr) {
        Box local = kNothing;
        for (const Point& p : points) Include(local, p.x, p.y);
        Box device = kNothing;
        for (float x : {local.left, local.right}) {
            for (float y : {local.top, local.bottom}) {
                Include(device, matrix.a * x + matrix.c * y + matrix.tx, matrix.b * x + matrix.d * y + matrix.ty);
            }
        }
        patches.push_back({std::max(device.left, scissor.left), std::max(device.top, scissor.top),
                           std::min(device.right, scissor.right), std::min(device.bottom, scissor.bottom), image});
    }

    // Only the pixels with some alpha count; a surface without an alpha
    // channel is inked all over.
    void ShowImage(const gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW, int srcH) {
        if (!surface->pixels || surface->depth != 4) {
            Show({{x, y}, {x + srcW, y + srcH}}, surface);
            return;
        }
        Box ink = kNothing;
        for (int row = 0; row < srcH; ++row) {
            const unsigned char* line = surface->pixels + (static_cast<size_t>(srcY + row) * surface->width + srcX) * 4;
            for (int column = 0; column < srcW; ++column) {
                if (line[column * 4 + 3] == 0) continue;
                Include(ink, x + column, y + row);
                Include(ink, x + column + 1, y + row + 1);
            }
        }
        if (ink.left > ink.right) ink = {x, y, x, y};
        Show({{ink.left, ink.top}, {ink.right, ink.bottom}}, surface);
    }

    static void Include(Box& box, float x, float y) {
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    }

    int Note(const char* kind, const std::vector<float>& values) {
        std::string call = kind;
        for (float value : values) {
            char number[32];
            std::snprintf(number, sizeof number, " %g", value);
            call += number;
        }
        calls.push_back(call);
        return 0;
    }

    Matrix matrix{1, 0, 0, 1, 0, 0};
    Box scissor{-1e30f, -1e30f, 1e30f, 1e30f};
};
