// Checks the generated data folder: every file the game loads exists and
// decodes, images have the frame grid the loader cuts them into, and sounds
// are audible, of a sensible length and below their ceilings (the mix's
// headroom is checked in mix_headroom_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <stb/stb_image.h>

#include "sound_data.h"

namespace {

const std::string kData = VANTAROO_DATA_DIR;

struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    uint8_t alpha(int x, int y) const { return rgba[(size_t(y) * w + x) * 4 + 3]; }
};

bool load(const std::string& path, Picture& out) {
    int comp = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> px(stbi_load(path.c_str(), &out.w, &out.h, &comp, 4), stbi_image_free);
    if (!px) return false;
    out.rgba.assign(px.get(), px.get() + size_t(out.w) * out.h * 4);
    return true;
}

std::string imagePath(const std::string& name, int factor) {
    return kData + "/" + name + (factor == 1 ? "" : factor == 2 ? "-hd" : "-hd2") + ".png";
}

// The loader's image table: file name, frame size at factor 1, frame count.
struct ImageEntry {
    const char* name;
    int fw, fh, frames;
};
const ImageEntry kImages[] = {
    {"gfx", 20, 20, 36},
    {"BadgesA", 64, 64, 64},
    {"common/circle", 256, 256, 4},
    {"common/light", 32, 32, 4},
    {"fonts/shadow_editundo", 16, 16, 128},
    {"common/PelkLogo", 256, 256, 1},
    {"common/dpad", 32, 32, 16},
    {"common/Buttons", 64, 64, 16},
    {"parts", 8, 8, 256},
    {"common/icons", 32, 32, 16},
    {"logo", 256, 128, 1},
    {"menu", 256, 256, 4},
};
const int kFactors[] = {1, 2, 4};

// Frame f's top-left corner when frames are read row by row.
void frameOrigin(const Picture& p, int fw, int fh, int f, int& x, int& y) {
    int cols = p.w / fw;
    x = (f % cols) * fw;
    y = (f / cols) * fh;
}

bool frameHasInk(const Picture& p, int fw, int fh, int f) {
    int x0, y0;
    frameOrigin(p, fw, fh, f, x0, y0);
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw; ++x)
            if (p.alpha(x0 + x, y0 + y) > 0) return true;
    return false;
}

TEST(ImageFiles, EverySetHoldsExactlyTheFrameGrid) {
    for (const ImageEntry& s : kImages) {
        Picture base;
        ASSERT_TRUE(load(imagePath(s.name, 1), base)) << s.name;
        for (int f : kFactors) {
            SCOPED_TRACE(imagePath(s.name, f));
            Picture p;
            ASSERT_TRUE(load(imagePath(s.name, f), p));
            int fw = s.fw * f, fh = s.fh * f;
            ASSERT_EQ(p.w % fw, 0);
            ASSERT_EQ(p.h % fh, 0);
            int cols = p.w / fw, rows = p.h / fh;
            EXPECT_GE(cols * rows, s.frames) << "frames missing";
            EXPECT_LT((rows - 1) * cols, s.frames) << "a whole row of unused frames";
            // the larger sets are the same grid at 2 and 4 times the size
            EXPECT_EQ(p.w, base.w * f);
            EXPECT_EQ(p.h, base.h * f);
        }
    }
}

TEST(ImageFiles, FramesHaveTransparentCorners) {
    for (const ImageEntry& s : kImages)
        for (int factor : kFactors) {
            Picture p;
            ASSERT_TRUE(load(imagePath(s.name, factor), p)) << s.name;
            int fw = s.fw * factor, fh = s.fh * factor;
            for (int f = 0; f < s.frames; ++f) {
                int x, y;
                frameOrigin(p, fw, fh, f, x, y);
                EXPECT_EQ(p.alpha(x, y), 0) << s.name << " frame " << f << " at factor " << factor;
                EXPECT_EQ(p.alpha(x + fw - 1, y), 0) << s.name << " frame " << f;
                EXPECT_EQ(p.alpha(x, y + fh - 1), 0) << s.name << " frame " << f;
                EXPECT_EQ(p.alpha(x + fw - 1, y + fh - 1), 0) << s.name << " frame " << f;
            }
        }
}

// Frames the game draws must show something at every resolution.
TEST(ImageFiles, FramesTheGameDrawsAreNotBlank) {
    struct Used {
        const char* name;
        std::vector<int> frames;
    };
    std::vector<int> gfxFrames = {1, 2};
    for (int f = 6; f <= 27; ++f) gfxFrames.push_back(f);
    gfxFrames.push_back(30);
    gfxFrames.push_back(31);
    std::vector<int> all256, all64;
    for (int f = 0; f < 256; ++f) all256.push_back(f);
    for (int f = 0; f < 64; ++f) all64.push_back(f);
    const Used used[] = {
        {"gfx", gfxFrames},
        {"parts", all256},
        {"BadgesA", all64},
        {"common/icons", {0, 1, 3, 6, 7, 11}},
        {"common/Buttons", {0, 1, 2, 3, 4, 5, 8, 9, 10, 12}},
        {"common/dpad", {0, 1, 4, 5, 6, 9}},
        {"common/circle", {1, 3}},
        {"common/PelkLogo", {0}},
        {"logo", {0}},
    };
    for (const Used& u : used) {
        const ImageEntry* entry = nullptr;
        for (const ImageEntry& s : kImages)
            if (std::string(s.name) == u.name) entry = &s;
        ASSERT_NE(entry, nullptr);
        for (int factor : kFactors) {
            Picture p;
            ASSERT_TRUE(load(imagePath(u.name, factor), p)) << u.name;
            for (int f : u.frames)
                EXPECT_TRUE(frameHasInk(p, entry->fw * factor, entry->fh * factor, f)) << u.name << " frame " << f << " at factor " << factor;
        }
    }
}

TEST(ImageFiles, FontHoldsCentredGlyphsAndPrompts) {
    for (int factor : kFactors) {
        SCOPED_TRACE(factor);
        Picture p;
        ASSERT_TRUE(load(imagePath("fonts/shadow_editundo", factor), p));
        int fw = 16 * factor;
        EXPECT_FALSE(frameHasInk(p, fw, fw, 0)) << "space";
        for (int f = 1; f <= 94; ++f) EXPECT_TRUE(frameHasInk(p, fw, fw, f)) << "character " << char(f + 32);
        for (int f = 96; f <= 110; ++f) EXPECT_TRUE(frameHasInk(p, fw, fw, f)) << "pad prompt " << f;
        for (int f = 112; f <= 124; ++f) EXPECT_TRUE(frameHasInk(p, fw, fw, f)) << "key prompt " << f;
        // capitals and digits sit on the frame centre, where the text
        // routine places each character
        for (char c : std::string("AHMOW08")) {
            int x0, y0;
            frameOrigin(p, fw, fw, c - 32, x0, y0);
            double sx = 0, sy = 0, n = 0;
            for (int y = 0; y < fw; ++y)
                for (int x = 0; x < fw; ++x)
                    if (p.alpha(x0 + x, y0 + y) > 0) {
                        sx += x + 0.5;
                        sy += y + 0.5;
                        n += 1;
                    }
            ASSERT_GT(n, 0);
            EXPECT_NEAR(sx / n, fw / 2.0, 1.5 * factor) << c;
            EXPECT_NEAR(sy / n, fw / 2.0, 1.5 * factor) << c;
        }
    }
}

TEST(ImageFiles, FrameworkFontIsAStripOfBorderedGlyphs) {
    Picture p;
    ASSERT_TRUE(load(kData + "/qira_font.png", p));
    ASSERT_EQ(p.w % 96, 0);
    int fw = p.w / 96;
    ASSERT_GE(fw, 3);
    for (int f = 0; f < 96; ++f) {
        for (int y = 0; y < p.h; ++y) {
            EXPECT_EQ(p.alpha(f * fw, y), 0) << "left border of frame " << f;
            EXPECT_EQ(p.alpha(f * fw + fw - 1, y), 0) << "right border of frame " << f;
        }
        if (f > 0) {
            EXPECT_TRUE(frameHasInk(p, fw, p.h, f)) << "character " << f + 32;
        }
    }
}

// --- sounds ---------------------------------------------------------------

struct Level {
    double peak = 0, rms = 0;
};

Level level(const int16_t* s, size_t n) {
    Level l;
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        double x = s[i] / 32768.0;
        l.peak = std::max(l.peak, std::fabs(x));
        sum += x * x;
    }
    l.rms = n ? std::sqrt(sum / double(n)) : 0;
    return l;
}

TEST(SoundFiles, EffectsAreAudiblePcmBelowTheirCeiling) {
    for (int number : {1, 2, 3, 4, 5, 6, 7, 8, 9, 95, 96, 98, 99}) {
        char name[32];
        std::snprintf(name, sizeof name, "/sfx/%03d.wav", number);
        SCOPED_TRACE(name);
        Wave w;
        ASSERT_TRUE(readWave(kData + name, w));
        EXPECT_EQ(w.format, 1) << "PCM";
        EXPECT_EQ(w.bits, 16);
        ASSERT_TRUE(w.channels == 1 || w.channels == 2);
        EXPECT_GE(w.rate, 22050);
        double seconds = double(w.samples.size()) / w.channels / w.rate;
        EXPECT_GE(seconds, 0.02);
        EXPECT_LE(seconds, 5.0);
        Level l = level(w.samples.data(), w.samples.size());
        EXPECT_GT(l.peak, 0.15);
        EXPECT_GT(l.rms, 0.03);
        EXPECT_LE(l.peak, 0.28);
    }
}

TEST(SoundFiles, TuneDecodesToAMinuteOfMusicBelowItsCeiling) {
    Wave tune;
    ASSERT_TRUE(decodeOgg(kData + "/sfx/Agile.ogg", tune));
    ASSERT_GE(tune.channels, 1);
    ASSERT_GT(tune.rate, 0);
    size_t second = size_t(tune.rate) * tune.channels;
    EXPECT_GE(double(tune.samples.size()) / second, 60.0);
    Level l = level(tune.samples.data(), tune.samples.size());
    EXPECT_GT(l.peak, 0.3);
    EXPECT_LE(l.peak, 0.42);
    EXPECT_NEAR(20 * std::log10(l.rms), -21, 3) << "dBFS";
    // no long silences anywhere: every second carries sound
    for (size_t s = 0; (s + 2) * second <= tune.samples.size(); ++s) {
        Level part = level(tune.samples.data() + s * second, second);
        EXPECT_GT(part.rms, 0.02) << "second " << s;
    }
}

}  // namespace
