#include "sheet.h"

#include "pixelfont.h"

namespace art {

Canvas vectorFrame(int fw, int fh, int factor, const std::function<void(const Pen&)>& draw) {
    Canvas c(fw * factor, fh * factor);
    Pen pen;
    pen.c = &c;
    pen.fw = c.w;
    pen.fh = c.h;
    pen.s = float(factor);
    draw(pen);
    return c;
}

Canvas pixelFrame(int fw, int fh, int factor, const std::function<void(Canvas&)>& draw) {
    Canvas c(fw, fh);
    draw(c);
    return pixelScale(c, factor);
}

std::string suffix(int factor) {
    return factor == 1 ? "" : (factor == 2 ? "-hd" : "-hd2");
}

Canvas assemble(const Sheet& s, int factor) {
    int rows = (s.count + s.cols - 1) / s.cols;
    Canvas out(s.cols * s.fw * factor, rows * s.fh * factor);
    for (int f = 0; f < s.count; ++f) {
        Canvas frame = s.render(f, factor);
        out.blit(frame, (f % s.cols) * s.fw * factor, (f / s.cols) * s.fh * factor);
    }
    return out;
}

namespace {
void label(Canvas& c, int x, int y, const std::string& text) {
    for (char ch : text) {
        const Glyph& g = glyph(ch);
        for (int j = 0; j < kGlyphRows; ++j)
            for (int i = 0; i < g.width; ++i)
                if (g.at(i, j)) {
                    c.blend(x + i + 1, y + j + 1, hex(0x000000, 0.8f));
                    c.blend(x + i, y + j, hex(0xffee88));
                }
        x += g.width + 1;
    }
}
}  // namespace

Canvas contactSheet(const Sheet& s, int factor, int zoom) {
    int cw = s.fw * factor * zoom, ch = s.fh * factor * zoom;
    int cellW = std::max(cw, 24) + 4, cellH = ch + 14;
    int cols = std::max(1, std::min(s.cols, std::max(1, 1200 / cellW)));
    int rows = (s.count + cols - 1) / cols;
    Canvas out(cols * cellW + 4, rows * cellH + 4);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) out.at(x, y) = hex(0x101828);
    for (int f = 0; f < s.count; ++f) {
        int x0 = 4 + (f % cols) * cellW, y0 = 4 + (f / cols) * cellH;
        Canvas frame = s.render(f, factor);
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                bool dark = ((x / 8) + (y / 8)) % 2 == 0;
                out.at(x0 + x, y0 + 11 + y) = hex(dark ? 0x1c2848 : 0x26365c);
                out.blend(x0 + x, y0 + 11 + y, frame.at(x / zoom, y / zoom));
            }
        label(out, x0, y0, std::to_string(f));
    }
    return out;
}

std::vector<Sheet> allSheets() {
    return {gfxSheet(),         partsSheet(),        iconsSheet(),  buttonsSheet(),
            dpadSheet(),        circleSheet(),       lightSheet(),  menuSheet(),
            studioLogoSheet(),  titleLogoSheet(),    badgesSheet(), gameFontSheet()};
}

}  // namespace art
