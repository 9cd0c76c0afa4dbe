// Writes every image the game loads into a data folder, at the three
// resolution factors, plus the framework font. With --sheets DIR it also
// writes a numbered contact sheet of every image for review; with --icons
// DIR the desktop icons into an icon-theme folder.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "icons.h"
#include "sheet.h"

using namespace art;

int main(int argc, char** argv) {
    std::string dataDir, sheetsDir, iconsDir, only;
    int zoomOverride = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--sheets") && i + 1 < argc)
            sheetsDir = argv[++i];
        else if (!std::strcmp(argv[i], "--icons") && i + 1 < argc)
            iconsDir = argv[++i];
        else if (!std::strcmp(argv[i], "--zoom") && i + 1 < argc)
            zoomOverride = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--only") && i + 1 < argc)
            only = argv[++i];
        else
            dataDir = argv[i];
    }
    if (dataDir.empty() && sheetsDir.empty() && iconsDir.empty()) {
        std::fprintf(stderr, "usage: %s DATA_DIR [--sheets DIR [--zoom N]] [--only NAME] [--icons DIR]\n", argv[0]);
        return 2;
    }
    auto started = std::chrono::steady_clock::now();
    bool ok = true;
    for (const Sheet& s : allSheets()) {
        if (!only.empty() && s.name != only) continue;
        if (!dataDir.empty())
            for (int factor : {1, 2, 4}) ok &= writePng(dataDir + "/" + s.name + suffix(factor) + ".png", assemble(s, factor));
        if (!sheetsDir.empty()) {
            std::string flat = s.name;
            for (char& c : flat)
                if (c == '/') c = '_';
            int zoom = zoomOverride > 0 ? zoomOverride : std::max(1, 64 / std::max(s.fw, s.fh));
            ok &= writePng(sheetsDir + "/" + flat + ".png", contactSheet(s, 1, zoom));
            ok &= writePng(sheetsDir + "/" + flat + "-hd2.png", contactSheet(s, 4, 1));
        }
    }
    if (only.empty() || only == "qira_font") {
        Canvas font = frameworkFont();
        if (!dataDir.empty()) ok &= writePng(dataDir + "/qira_font.png", font);
        if (!sheetsDir.empty()) {
            const int fw = font.w / 96;
            Sheet strip{"qira_font", fw, font.h, 96, 16, nullptr};
            strip.render = [&font, fw](int f, int) {
                Canvas c(fw, font.h);
                for (int y = 0; y < font.h; ++y)
                    for (int x = 0; x < fw; ++x) c.at(x, y) = font.at(f * fw + x, y);
                return c;
            };
            ok &= writePng(sheetsDir + "/qira_font.png", contactSheet(strip, 1, 4));
        }
    }
    if (!iconsDir.empty()) ok &= writeIcons(iconsDir);
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("images %s in %.2f s\n", ok ? "written" : "FAILED", secs);
    return ok ? 0 : 1;
}
