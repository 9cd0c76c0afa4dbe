#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "framework/app/app.h"

namespace {

class ModesHost : public KpGame {
public:
    std::vector<std::pair<int, int>> modes;
    bool hasDesktop = true;

    Array<KpDisplayMode*> GetDisplayModes() override {
        Array<KpDisplayMode*> list(static_cast<int>(modes.size()));
        for (int i = 0; i < list.Length(); ++i) {
            gc_assign(list[i], new KpDisplayMode);
            list[i]->width = modes[static_cast<size_t>(i)].first;
            list[i]->height = modes[static_cast<size_t>(i)].second;
        }
        return list;
    }
    KpDisplayMode* GetDesktopMode() override {
        if (!hasDesktop) return nullptr;
        auto* desktop = new KpDisplayMode;
        desktop->width = 1920;
        desktop->height = 1080;
        return desktop;
    }
    int GetDeviceWidth() override { return 640; }
    int GetDeviceHeight() override { return 480; }
};

class DisplayModes : public ::testing::Test {
protected:
    void SetUp() override { kp_app_init(); }
    ModesHost host;
};

std::vector<std::pair<int, int>> Sizes(Array<c_DisplayMode*> modes) {
    std::vector<std::pair<int, int>> sizes;
    for (int i = 0; i < modes.Length(); ++i) sizes.emplace_back(modes[i]->m_width, modes[i]->m_height);
    return sizes;
}

TEST_F(DisplayModes, RepeatsByColourDepthBecomeOneInTheHostsOrder) {
    host.modes = {{800, 600}, {640, 480}, {800, 600}, {1920, 1080}, {640, 480}};
    kp_app_EnumDisplayModes();
    EXPECT_EQ(Sizes(kp_app__displayModes), (std::vector<std::pair<int, int>>{{800, 600}, {640, 480}, {1920, 1080}}));
    EXPECT_EQ(kp_app__desktopMode->m_width, 1920);
    EXPECT_EQ(kp_app__desktopMode->m_height, 1080);
}

TEST_F(DisplayModes, NoModesStillGiveADesktop) {
    host.hasDesktop = false;
    kp_app_ValidateDeviceWindow(false);
    kp_app_EnumDisplayModes();
    EXPECT_EQ(kp_app__displayModes.Length(), 0);
    ASSERT_NE(kp_app__desktopMode, nullptr);
    EXPECT_EQ(kp_app__desktopMode->m_width, 640) << "the device size stands in";
    EXPECT_EQ(kp_app__desktopMode->m_height, 480);
}

}  // namespace
