#include "icons.h"

#include "sheet.h"
#include "svg.h"

namespace art {

namespace {

// The gold rosette of the kangaroo badge, the hero's own symbol.
constexpr int kKangarooBadge = 2 * 16 + 15;
constexpr int kDesign = 64;
constexpr int kSizes[] = {48, 64, 128, 256};

std::string iconPath(const std::string& dir, const std::string& size, const std::string& extension) {
    return dir + "/hicolor/" + size + "/apps/vantaroo." + extension;
}

Canvas rasterIcon(int size) {
    Canvas c(size, size);
    Pen pen;
    pen.c = &c;
    pen.fw = pen.fh = size;
    pen.s = float(size) / kDesign;
    drawBadge(pen, kKangarooBadge);
    return c;
}

}  // namespace

bool writeIcons(const std::string& dir) {
    bool ok = true;
    for (int size : kSizes) {
        std::string folder = std::to_string(size) + "x" + std::to_string(size);
        ok &= writePng(iconPath(dir, folder, "png"), rasterIcon(size));
    }
    SvgDrawing svg(kDesign, kDesign);
    drawBadge(svg.pen(), kKangarooBadge);
    return svg.write(iconPath(dir, "scalable", "svg")) && ok;
}

}  // namespace art
