#pragma once

#include <string>
#include <vector>

#include "native/graphics/gxtk_graphics.h"

// A renderer that writes down what reaches it instead of drawing, so the
// game's render step can be checked without a window.
class RecordingRenderer : public gxtkGraphics {
public:
    std::vector<std::string> calls;

    int DrawRect(float x, float y, float w, float h) override { return Note("rect", {x, y, w, h}); }
    int DrawOval(float x, float y, float w, float h) override { return Note("oval", {x, y, w, h}); }
    int DrawLine(float x1, float y1, float x2, float y2) override { return Note("line", {x1, y1, x2, y2}); }
    int DrawPoly(Array<float> xy) override {
        std::vector<float> values(xy.Data(), xy.Data() + xy.Length());
        return Note("poly", values);
    }
    int DrawSurface(gxtkSurface*, float x, float y) override { return Note("image", {x, y}); }
    int DrawSurface2(gxtkSurface*, float x, float y, int srcX, int srcY, int, int) override {
        return Note("image", {x, y, static_cast<float>(srcX), static_cast<float>(srcY)});
    }
    int SetMatrix(float a, float b, float c, float d, float tx, float ty) override {
        return Note("matrix", {a, b, c, d, tx, ty});
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
};
