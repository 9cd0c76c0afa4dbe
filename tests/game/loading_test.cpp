#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "tests/game/game_fixture.h"

namespace {

constexpr float kOval = -3716;

// An audio device that notes which files are loaded and which samples are
// played, each with the loader step running at the time.
class RecordingAudio : public gxtkAudio {
public:
    explicit RecordingAudio(c_MyApp* game) : app(game) {}

    struct Note {
        std::string what;
        int step;
    };
    std::vector<Note> loads;
    std::vector<gxtkSample*> played;
    std::vector<int> playedAtStep;

    gxtkSample* LoadSample(String path) override {
        std::string name;
        for (int i = 0; i < path.Length(); ++i) name += static_cast<char>(path[i]);
        loads.push_back({name.substr(name.rfind('/') + 1), app->m_LoaderStep});
        return gxtkAudio::LoadSample(path);
    }
    int PlaySample(gxtkSample* sample, int channel, int flags) override {
        played.push_back(sample);
        playedAtStep.push_back(app->m_LoaderStep);
        return gxtkAudio::PlaySample(sample, channel, flags);
    }

private:
    c_MyApp* app;
};

struct Sizes {
    int width, height, frames;
    bool operator==(const Sizes&) const = default;
};

struct ImageSet {
    int id;
    int frameWidth, frameHeight, frames;
};

// Every file-backed image at factor 1.
const ImageSet kImages[] = {
    {1, 20, 20, 36},   {80, 64, 64, 64},  {85, 256, 256, 4}, {86, 32, 32, 4},   {93, 256, 256, 1},
    {94, 32, 32, 16},  {95, 64, 64, 16},  {96, 8, 8, 256},   {97, 32, 32, 16},  {98, 256, 128, 1},
    {99, 256, 256, 4},
};

class LoadingTest : public GameTest {
protected:
    Sizes SizesOf(int id) const {
        return {app->m_ImageSizes[id * 3], app->m_ImageSizes[id * 3 + 1], app->m_ImageSizes[id * 3 + 2]};
    }

    void Resize(int width, int height) {
        host->width = width;
        host->height = height;
        kp_app_ValidateDeviceWindow(true);
    }

    // What the render step does when it sees a new device size.
    void RestartLoading() { app->m_LoaderStep = 1; }

    void ClearImages() {
        for (int id = 0; id < 100; ++id) gc_assign(app->m_Images[id], static_cast<c_Image*>(nullptr));
    }

    std::set<int> LoadedImages() const {
        std::set<int> ids;
        for (int id = 0; id < 100; ++id) {
            if (app->m_Images[id]) ids.insert(id);
        }
        return ids;
    }

    // The i-th command of the frame's list, from its first float.
    const float* Command(int index) const { return &app->m_DrawList[index * 15]; }
    int Commands() const { return app->m_DrawCount / 15; }

    RecordingAudio* InstallRecordingAudio() {
        auto* audio = new RecordingAudio(app);
        kp_audio_SetAudioDevice(audio);
        return audio;
    }

    void ExpectAllImagesAt(int factor) {
        for (const ImageSet& image : kImages) {
            SCOPED_TRACE(image.id);
            c_Image* loaded = app->m_Images[image.id];
            ASSERT_NE(loaded, nullptr);
            EXPECT_EQ(loaded->m_width, image.frameWidth * factor);
            EXPECT_EQ(loaded->m_height, image.frameHeight * factor);
            EXPECT_EQ(loaded->m_frames.Length(), image.frames);
            EXPECT_EQ(SizesOf(image.id),
                      (Sizes{image.frameWidth * factor, image.frameHeight * factor, image.frames}));
        }
        ASSERT_NE(app->m_Images[90], nullptr);
        EXPECT_EQ(app->m_Images[90]->m_width, 16 * factor);
        EXPECT_EQ(app->m_Images[90]->m_frames.Length(), 128);
    }
};

TEST_F(LoadingTest, CreationLoadsTheLoadingScreenImagesAndStartsAtStepOne) {
    EXPECT_EQ(app->m_LoaderStep, 1);
    EXPECT_EQ(LoadedImages(), (std::set<int>{90, 93}));
    EXPECT_EQ(app->m_FontImage, 90);
    EXPECT_EQ(SizesOf(90), (Sizes{7, 10, 128}));
    EXPECT_EQ(app->m_ClsAlpha, 1.0f);

    app->m_ClsRed = 80;
    app->m_ClsAlpha = 0.5f;
    Resize(1920, 1080);
    app->p_Reload();
    EXPECT_EQ(app->m_ClsRed, 0.0f);
    EXPECT_EQ(app->m_ClsAlpha, 1.0f);
    EXPECT_EQ(app->m_Images[93]->m_width, 1024);
    EXPECT_EQ(app->m_Images[90]->m_width, 64);
    EXPECT_EQ(SizesOf(90), (Sizes{7, 10, 128}));
}

// The factor follows the larger side: 2 from 631 pixels, 4 from 1231.
TEST_F(LoadingTest, DeviceSizeChoosesTheImageFiles) {
    struct Case {
        int width, height, useHD, factor;
    };
    const Case cases[] = {
        {630, 480, 1, 1},  {640, 480, 1, 2},  {480, 631, 1, 2},   {800, 600, 1, 2},
        {1230, 1230, 1, 2}, {1231, 600, 1, 4}, {1920, 1080, 1, 4}, {1920, 1080, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " hd " + std::to_string(c.useHD));
        kp_VTR_UseHDImages = c.useHD;
        Resize(c.width, c.height);
        app->m_LoaderStep = 5;
        Update(3);

        EXPECT_EQ(app->m_HDLevel, c.factor);
        EXPECT_EQ(app->m_ImageScale, 1.0f / static_cast<float>(c.factor));
        // menu.png is 512 pixels wide, menu-hd.png 1024, menu-hd2.png 2048.
        ASSERT_NE(app->m_Images[99], nullptr);
        EXPECT_EQ(app->m_Images[99]->m_surface->Width(), 512 * c.factor);
        EXPECT_EQ(app->m_Images[99]->m_width, 256 * c.factor);
        EXPECT_EQ(SizesOf(99), (Sizes{256 * c.factor, 256 * c.factor, 4}));
        EXPECT_EQ(SizesOf(96), (Sizes{8 * c.factor, 8 * c.factor, 256}));
        EXPECT_EQ(app->m_Images[90]->m_surface->Width(), 256 * c.factor);
        EXPECT_EQ(SizesOf(90), (Sizes{7, 10, 128}));
    }
}

TEST_F(LoadingTest, EachStepLoadsItsImagesAndSoundsInOrder) {
    RecordingAudio* audio = InstallRecordingAudio();
    const std::set<int> images[] = {{97, 81}, {95}, {94}, {93}, {90}, {99, 98}, {80, 96}, {85, 86}, {1}};
    for (int step = 1; step <= 18; ++step) {
        SCOPED_TRACE(step);
        ClearImages();
        Update();
        EXPECT_EQ(LoadedImages(), step <= 9 ? images[step - 1] : std::set<int>{});
        EXPECT_EQ(app->m_LoaderStep, step == 18 ? 0 : step + 1);
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"096.wav", 1},  {"001.wav", 2},  {"098.wav", 3},  {"099.wav", 5},  {"095.wav", 6},
        {"002.wav", 10}, {"003.wav", 11}, {"004.wav", 12}, {"005.wav", 13}, {"006.wav", 14},
        {"007.wav", 15}, {"008.wav", 16}, {"009.wav", 17},
    };
    std::vector<std::pair<std::string, int>> loads;
    for (const auto& load : audio->loads) loads.emplace_back(load.what, load.step);
    EXPECT_EQ(loads, expected);
}

TEST_F(LoadingTest, FinishedLoadFillsEverySlotWithTheFilesFrames) {
    FinishLoading();

    ASSERT_EQ(app->m_LoaderStep, 0);
    EXPECT_EQ(app->m_HDLevel, 2);
    ExpectAllImagesAt(2);
    c_Image* blank = app->m_Images[81];
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->m_surface->Width(), 2048);
    EXPECT_EQ(blank->m_surface->Height(), 2048);
    ASSERT_EQ(blank->m_frames.Length(), 1);
    EXPECT_EQ(blank->m_frames[0]->m_x, 0);
    EXPECT_EQ(blank->m_frames[0]->m_y, 0);
    EXPECT_EQ(blank->m_handleX, 1024.0f);
    EXPECT_EQ(blank->m_flags, c_Image::WholeSurface);
    EXPECT_EQ(SizesOf(81), (Sizes{2048, 2048, 1}));
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 95, 96, 98, 99}) EXPECT_NE(app->m_Sounds[n], nullptr) << n;
}

TEST_F(LoadingTest, ResizeDuringLoadRestartsWithTheNewFactor) {
    Update(8);
    ASSERT_EQ(app->m_LoaderStep, 9);
    Resize(1920, 1080);
    RestartLoading();
    Update();
    EXPECT_EQ(app->m_LoaderStep, 2);
    FinishLoading();

    ASSERT_EQ(app->m_LoaderStep, 0);
    EXPECT_EQ(app->m_HDLevel, 4);
    ExpectAllImagesAt(4);

    Resize(630, 480);
    RestartLoading();
    FinishLoading();
    ExpectAllImagesAt(1);
}

TEST_F(LoadingTest, JinglePlaysAtStepFourOfTheFirstLoadOnly) {
    RecordingAudio* audio = InstallRecordingAudio();
    FinishLoading();
    ASSERT_NE(app->m_Sounds[96], nullptr);
    EXPECT_EQ(audio->played, std::vector<gxtkSample*>{app->m_Sounds[96]->m_sample});
    EXPECT_EQ(audio->playedAtStep, std::vector<int>{4});
    EXPECT_EQ(app->m_JinglePlayed, 1);

    RestartLoading();
    FinishLoading();
    app->p_WaitStart(0);
    FinishLoading();
    EXPECT_EQ(audio->played.size(), 1u);
}

// The fixture's 640 x 480 window loads at factor 2.
TEST_F(LoadingTest, MissingFileEmptiesTheSlotButKeepsTheRequestedSizes) {
    gc_assign(app->m_Images[50], app->m_Images[93]);
    app->p_LoadImg(50, String("no/such/sheet"), 10, 12, 3, 1);
    EXPECT_EQ(app->m_Images[50], nullptr);
    EXPECT_EQ(SizesOf(50), (Sizes{20, 24, 3}));
}

TEST_F(LoadingTest, LoadingScreenDrawsRingsLogoAndText) {
    app->m_WaitTimer = 0;
    app->m_BgR = 80;
    app->m_BgG = 40;
    app->m_BgTargetR = 200;
    app->p_WaitStart(1);

    EXPECT_EQ(app->m_WaitTimer, 3);
    EXPECT_EQ(app->m_BgR, 70.0f);
    EXPECT_EQ(app->m_BgG, 35.0f);
    EXPECT_EQ(app->m_BgTargetR, 0.0f);
    EXPECT_EQ(app->m_ClsRed, 70.0f);
    EXPECT_EQ(app->m_ClsAlpha, 1.0f);

    // Each ring: its first command, angle offset, dot radius, distance as a
    // share of the shorter screen side, and colour.
    struct Ring {
        int first, offset;
        float radius, share, red, blue;
    };
    const Ring rings[] = {{0, 0, 16, 0.45f, 0, 255}, {12, 120, 12, 0.4f, 255, 0}, {23, 240, 8, 0.35f, 255, 0}};
    for (const Ring& ring : rings) {
        SCOPED_TRACE(ring.offset);
        for (int n = 0; n <= 10; ++n) {
            const float* dot = Command(ring.first + n);
            double a = (3 + ring.offset + 4 * n) * 0.017453292;
            EXPECT_EQ(dot[0], kOval);
            EXPECT_NEAR(dot[1], 320 + std::sin(a) * 480 * ring.share, 1e-3);
            EXPECT_NEAR(dot[2], 240 - std::cos(a) * 480 * ring.share, 1e-3);
            EXPECT_EQ(dot[4], ring.radius);
            EXPECT_EQ(dot[5], ring.radius);
            EXPECT_FLOAT_EQ(dot[7], n / 10.0f);
            EXPECT_EQ(dot[10], ring.red);
            EXPECT_EQ(dot[11], 125.0f);
            EXPECT_EQ(dot[12], ring.blue);
        }
    }
    const float* logo = Command(11);
    EXPECT_EQ(logo[0], 93.0f);
    EXPECT_EQ(logo[1], 320.0f);
    EXPECT_FLOAT_EQ(logo[2], 480 * 0.48f);
    EXPECT_EQ(logo[3], 0.0f);
    EXPECT_EQ(logo[4], 2.0f);
    EXPECT_EQ(logo[5], 2.0f);
    EXPECT_EQ(logo[7], 1.0f);
    EXPECT_EQ(logo[10], 255.0f);
    EXPECT_EQ(logo[13], 1.0f);

    // "Loading..." has ten drawn glyphs, on the line 32 above the bottom.
    ASSERT_EQ(Commands(), 34 + 10);
    for (int i = 34; i < Commands(); ++i) {
        EXPECT_EQ(Command(i)[0], 90.0f);
        EXPECT_EQ(Command(i)[2], 448.0f);
        EXPECT_EQ(Command(i)[4], 1.0f);
        EXPECT_EQ(Command(i)[10], 255.0f);
        EXPECT_EQ(Command(i)[12], 255.0f);
    }
    EXPECT_EQ(Command(34)[6], 'L' - 32);
}

TEST_F(LoadingTest, ReloadScreenDrawsNoRingsAndStartsLoadingAgain) {
    FinishLoading();
    app->m_GameMode = 5;
    app->m_TouchUsed = 0;
    kp_app_SetUpdateRate(5);
    gc_assign(app->m_Images[93], static_cast<c_Image*>(nullptr));

    app->p_WaitStart(0);

    for (int i = 0; i < Commands(); ++i) EXPECT_NE(Command(i)[0], kOval) << i;
    EXPECT_EQ(Command(0)[0], 93.0f);
    EXPECT_EQ(Commands(), 1 + 10);
    EXPECT_EQ(app->m_TouchUsed, 1);
    EXPECT_EQ(app->m_GameMode, 1);
    EXPECT_EQ(app->m_LoaderStep, 1);
    EXPECT_NE(app->m_Images[93], nullptr);
    EXPECT_EQ(kp_app__updateRate, 60);
}

}  // namespace
