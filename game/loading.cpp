#include <algorithm>
#include <cmath>

#include "game/game_math.h"
#include "game/my_app.h"

namespace {

constexpr int kLastStep = 18;
constexpr int kFontImage = 90;
constexpr int kLogoImage = 93;
constexpr int kBlankImage = 81;
constexpr int kJingle = 96;
constexpr int kRingDots = 10;

// Larger windows get the sets drawn at two and four times the pixel size.
int FactorFor(int width, int height) {
    if (kp_VTR_UseHDImages == 0) return 1;
    if (width >= 1231 || height >= 1231) return 4;
    if (width >= 631 || height >= 631) return 2;
    return 1;
}

void ChooseFactor(c_MyApp* app) {
    app->m_HDLevel = FactorFor(kp_app_DeviceWidth(), kp_app_DeviceHeight());
    app->m_ImageScale = 1.0f / static_cast<float>(app->m_HDLevel);
}

String ImageFile(String name, int factor) {
    if (factor == 4) return name + String("-hd2.png");
    if (factor == 2) return name + String("-hd.png");
    return name + String(".png");
}

void SetSizes(Array<int> sizes, int id, int width, int height, int frames) {
    sizes[id * 3] = width;
    sizes[id * 3 + 1] = height;
    sizes[id * 3 + 2] = frames;
}

// The work of one loader step: at most two image files, so no tick stalls.
void LoadStep(c_MyApp* app, int step) {
    switch (step) {
    case 1:
        app->p_LoadImg(97, String("common/icons"), 32, 32, 16, 1);
        app->p_LoadSFX(kJingle);
        app->p_ReserveImg(kBlankImage, 2048, 2048);
        return;
    case 2:
        app->p_LoadImg(95, String("common/Buttons"), 64, 64, 16, 1);
        app->p_LoadSFX(1);
        return;
    case 3:
        app->p_LoadImg(94, String("common/dpad"), 32, 32, 16, 1);
        app->p_LoadSFX(98);
        return;
    case 4:
        app->p_LoadImg(kLogoImage, String("common/PelkLogo"), 256, 256, 1, 1);
        if (app->m_JinglePlayed == 0) {
            app->p_PlaySFX(kJingle, 1.0f, 1.0f, 0);
            app->m_JinglePlayed = 1;
        }
        return;
    case 5:
        app->p_LoadFont(kFontImage, String("fonts/shadow_editundo"), 7, 10);
        app->p_LoadSFX(99);
        return;
    case 6:
        app->p_LoadImg(99, String("menu"), 256, 256, 4, 1);
        app->p_LoadImg(98, String("logo"), 256, 128, 1, 1);
        app->p_LoadSFX(95);
        return;
    case 7:
        app->p_LoadImg(80, String("BadgesA"), 64, 64, 64, 1);
        app->p_LoadImg(96, String("parts"), 8, 8, 256, 1);
        return;
    case 8:
        app->p_LoadImg(85, String("common/circle"), 256, 256, 4, 1);
        app->p_LoadImg(86, String("common/light"), 32, 32, 4, 1);
        return;
    case 9:
        app->p_LoadImg(1, String("gfx"), 20, 20, 36, 1);
        return;
    default:
        if (step >= 10 && step < kLastStep) app->p_LoadSFX(step - 8);
    }
}

// Eleven dots brightening toward the head, which stands at angle + 40.
void DrawRing(c_MyApp* app, float red, float green, float blue, float radius, int reach, float share, int angle) {
    float centreX = kp_VTR_jscrw / 2;
    float centreY = kp_VTR_jscrh / 2;
    for (int n = 0; n <= kRingDots; ++n) {
        float a = static_cast<float>(angle + 4 * n);
        app->p_SetCol(red, green, blue, static_cast<float>(n) / 10.0f);
        app->p_Oval(centreX + SinDeg(a) * static_cast<float>(reach) * share,
                    centreY - CosDeg(a) * static_cast<float>(reach) * share, radius, radius);
    }
}

// The loading screen fades whatever background was showing to black.
void FadeToBlack(c_MyApp* app) {
    app->m_BgTargetR = 0;
    app->m_BgTargetG = 0;
    app->m_BgTargetB = 0;
    app->m_BgR -= app->m_BgR / 8.0f;
    app->m_BgG -= app->m_BgG / 8.0f;
    app->m_BgB -= app->m_BgB / 8.0f;
    app->p_CLS2D(app->m_BgR, app->m_BgG, app->m_BgB, 1);
}

void DrawLogo(c_MyApp* app) {
    app->p_SetSize(2, 2);
    app->p_SetCol(255, 255, 255, 1);
    app->m_DrawBlend = 1;
    app->p_SetRot(0);
    app->p_DrawImg(kLogoImage, kp_VTR_jscrw / 2, kp_VTR_jscrh * 0.48f, 0);
    app->p_SetSize(1, 1);
}

}  // namespace

// A missing file leaves the slot empty but the sizes still tell the
// requested frames, so layout code keeps working.
int c_MyApp::p_LoadImg(int id, String name, int frameWidth, int frameHeight, int frames, int flags) {
    int width = frameWidth * m_HDLevel;
    int height = frameHeight * m_HDLevel;
    gc_assign(m_Images[id], kp_graphics_LoadImage2(ImageFile(name, m_HDLevel), width, height, frames, flags));
    SetSizes(m_ImageSizes, id, width, height, frames);
    return 0;
}

// The font's sizes are its advance and line height in virtual pixels, not
// its frame size.
int c_MyApp::p_LoadFont(int id, String name, int advance, int lineHeight) {
    int glyph = 16 * m_HDLevel;
    gc_assign(m_Images[id], kp_graphics_LoadImage2(ImageFile(name, m_HDLevel), glyph, glyph, 128, 1));
    SetSizes(m_ImageSizes, id, advance, lineHeight, 128);
    m_FontImage = id;
    return 0;
}

// One centred frame covering a blank surface.
int c_MyApp::p_ReserveImg(int id, int width, int height) {
    gxtkSurface* surface = kp_graphics_device->CreateSurface(width, height);
    c_Image* image = surface ? (new c_Image)->m_new()->p_Init(surface, 1, c_Image::CentreHandle) : nullptr;
    gc_assign(m_Images[id], image);
    SetSizes(m_ImageSizes, id, width, height, 1);
    return 0;
}

// The logo and the font come first so the loading screen can draw at once.
int c_MyApp::p_Reload() {
    m_ClsRed = 0;
    m_ClsGreen = 0;
    m_ClsBlue = 0;
    m_ClsAlpha = 1;
    ChooseFactor(this);
    p_LoadImg(kLogoImage, String("common/PelkLogo"), 256, 256, 1, 1);
    p_LoadFont(kFontImage, String("fonts/shadow_editundo"), 7, 10);
    m_LoaderStep = 1;
    return 0;
}

// The factor is chosen anew each step, so a load restarted after a resize
// never mixes sets from before it.
int c_MyApp::p_Loader() {
    ChooseFactor(this);
    LoadStep(this, m_LoaderStep);
    if (m_LoaderStep >= kLastStep) {
        m_LoaderStep = 0;
    } else if (m_LoaderStep >= 1) {
        ++m_LoaderStep;
    }
    p_WaitStart(1);
    return 0;
}

int c_MyApp::p_WaitStart(int mode) {
    FadeToBlack(this);
    int reach = static_cast<int>(std::min(kp_VTR_jscrw, kp_VTR_jscrh));
    m_WaitTimer += 3;
    int t = m_WaitTimer;
    if (mode == 1) DrawRing(this, 0, 125, 255, 16, reach, 0.45f, t);
    DrawLogo(this);
    if (mode == 1) {
        DrawRing(this, 255, 125, 0, 12, reach, 0.4f, t + 120);
        DrawRing(this, 255, 125, 0, 8, reach, 0.35f, t + 240);
    }
    p_SetCol(255, 255, 255, 1);
    p_Text(kp_VTR_jscrw / 2, kp_VTR_jscrh - 32, String("Loading..."), 1, 1, 0);
    if (mode == 0) {
        m_TouchUsed = 1;
        m_GameMode = 1;
        p_Reload();
        kp_app_SetUpdateRate(60);
    }
    return 0;
}
