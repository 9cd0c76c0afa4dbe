#include <utility>

#include "tests/graphics/module_fixture.h"

namespace {

using Corners = std::vector<std::pair<int, int>>;

Corners CornersOf(c_Image* image) {
    Corners corners;
    for (int i = 0; i < image->m_frames.Length(); ++i) corners.emplace_back(image->m_frames[i]->m_x, image->m_frames[i]->m_y);
    return corners;
}

struct StripCase {
    const char* name;
    int fileWidth, fileHeight, frames, flags;
    Corners corners;
    int width, height;
    float handleX, handleY;
    int resultFlags;
};

void PrintTo(const StripCase& c, std::ostream* os) { *os << c.name; }

class Strip : public GraphicsModuleTest, public ::testing::WithParamInterface<StripCase> {};

TEST_P(Strip, FramesHandleAndFlags) {
    const StripCase& c = GetParam();
    c_Image* image = LoadStrip(c.fileWidth, c.fileHeight, c.frames, c.flags);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CornersOf(image), c.corners);
    EXPECT_EQ(image->m_width, c.width);
    EXPECT_EQ(image->m_height, c.height);
    EXPECT_EQ(image->m_handleX, c.handleX);
    EXPECT_EQ(image->m_handleY, c.handleY);
    EXPECT_EQ(image->m_flags, c.resultFlags);
    EXPECT_EQ(image->m_source, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    LoadImage, Strip,
    ::testing::Values(
        StripCase{"FourFrames", 64, 16, 4, 0, {{0, 0}, {16, 0}, {32, 0}, {48, 0}}, 16, 16, 0, 0, 0},
        StripCase{"FourFramesWithBorderX", 64, 16, 4, 2, {{1, 0}, {17, 0}, {33, 0}, {49, 0}}, 14, 16, 0, 0, 2},
        StripCase{"BorderYMovesDown", 64, 16, 4, 4, {{0, 1}, {16, 1}, {32, 1}, {48, 1}}, 16, 14, 0, 0, 4},
        StripCase{"OneFrameIsTheWholeSurface", 64, 16, 1, 0, {{0, 0}}, 64, 16, 0, 0, 0x10000},
        StripCase{"BorderedFrameIsNotTheWholeSurface", 64, 16, 1, 2, {{1, 0}}, 62, 16, 0, 0, 2},
        StripCase{"CentreHandleOfThePaddedFrame", 32, 16, 2, 7, {{1, 1}, {17, 1}}, 14, 14, 7, 7, 6},
        StripCase{"CentreHandleOfTheWholeSurface", 9, 5, 1, 1, {{0, 0}}, 9, 5, 4.5f, 2.5f, 0x10000},
        StripCase{"WidthLeftOverIsDropped", 50, 10, 4, 0, {{0, 0}, {12, 0}, {24, 0}, {36, 0}}, 12, 10, 0, 0, 0}),
    [](const ::testing::TestParamInfo<StripCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicsModuleTest, GridFramesAreReadRowByRow) {
    String path(WriteBlank("grid.png", 32, 32).c_str());
    c_Image* image = kp_graphics_LoadImage2(path, 16, 16, 4, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CornersOf(image), (Corners{{0, 0}, {16, 0}, {0, 16}, {16, 16}}));
    EXPECT_EQ(image->m_width, 16);
    EXPECT_EQ(image->m_flags, 0);
}

TEST_F(GraphicsModuleTest, GridInsideASourceRectangle) {
    c_Image* source = (new c_Image)->m_new()->p_Init(BlankSurface(40, 40), 1, 0);
    c_Image* image =
        (new c_Image)->m_new()->p_Init2(source->m_surface, 0, 0, 8, 8, 3, 0, source, 4, 4, 16, 16);
    EXPECT_EQ(CornersOf(image), (Corners{{4, 4}, {12, 4}, {4, 12}}));
    EXPECT_EQ(image->m_source, source);
}

TEST_F(GraphicsModuleTest, SingleGridFrameCoveringTheSurfaceIsWhole) {
    c_Image* image = kp_graphics_LoadImage2(String(WriteBlank("one.png", 20, 10).c_str()), 20, 10, 1, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_flags, c_Image::WholeSurface);
}

TEST_F(GraphicsModuleTest, SetHandleReplacesTheCentredHandle) {
    c_Image* image = LoadStrip(16, 16, 1, c_Image::CentreHandle | c_Image::BorderX | c_Image::BorderY);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_handleX, 7);
    image->m_flags |= c_Image::CentreHandle;
    EXPECT_EQ(image->p_SetHandle(2, 3), image);
    EXPECT_EQ(image->m_handleX, 2);
    EXPECT_EQ(image->m_handleY, 3);
    EXPECT_EQ(image->m_flags & c_Image::CentreHandle, 0);
}

TEST_F(GraphicsModuleTest, CreateImagePutsTheFramesSideBySide) {
    c_Image* image = kp_graphics_CreateImage(10, 8, 3, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_surface->Width(), 30);
    EXPECT_EQ(image->m_surface->Height(), 8);
    EXPECT_EQ(image->m_surface->depth, 4);
    EXPECT_EQ(CornersOf(image), (Corners{{0, 0}, {10, 0}, {20, 0}}));
}

TEST_F(GraphicsModuleTest, CreateImageTooWideForOneSurfaceGivesNull) {
    EXPECT_EQ(kp_graphics_CreateImage(1 << 20, 8, 1 << 12, 0), nullptr);
}

TEST_F(GraphicsModuleTest, MissingFilesGiveNullImages) {
    String missing(folder.File("missing.png").c_str());
    EXPECT_EQ(kp_graphics_LoadImage(missing, 1, 0), nullptr);
    EXPECT_EQ(kp_graphics_LoadImage2(missing, 8, 8, 1, 0), nullptr);
    folder.Write("broken.png", "not a picture");
    EXPECT_EQ(kp_graphics_LoadImage(String(folder.File("broken.png").c_str()), 1, 0), nullptr);
}

}  // namespace
