// An image sheet: equally sized frames laid out row by row, written at the
// three resolution factors the game can load.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

namespace art {

struct Sheet {
    std::string name;  // data-relative, without suffix or extension
    int fw = 0, fh = 0, count = 0, cols = 0;
    // Draws frame `frame` at `factor` device pixels per design pixel into a
    // canvas of exactly fw * factor by fh * factor.
    std::function<Canvas(int frame, int factor)> render;
};

// Helper for sheets drawn with vector shapes at each factor.
Canvas vectorFrame(int fw, int fh, int factor, const std::function<void(const Pen&)>& draw);
// Helper for pixel-art frames: drawn once at factor 1, enlarged with Scale2x.
Canvas pixelFrame(int fw, int fh, int factor, const std::function<void(Canvas&)>& draw);

std::string suffix(int factor);  // "", "-hd", "-hd2"
Canvas assemble(const Sheet& s, int factor);
// Every frame on a grid with its number, for reviewing the art.
Canvas contactSheet(const Sheet& s, int factor, int zoom);

// All sheets of the game, in writing order.
std::vector<Sheet> allSheets();

// Sheets by theme (one source file each).
Sheet gfxSheet();
Sheet partsSheet();
Sheet iconsSheet();
Sheet buttonsSheet();
Sheet dpadSheet();
Sheet circleSheet();
Sheet lightSheet();
Sheet menuSheet();
Sheet studioLogoSheet();
Sheet titleLogoSheet();
Sheet badgesSheet();
// Badge `frame` of "BadgesA" on its 64 x 64 design grid; the game's icon
// reuses it.
void drawBadge(const Pen& p, int frame);
Sheet gameFontSheet();
// The framework font is a single strip with bordered frames, factor 1 only.
Canvas frameworkFont();

}  // namespace art
