#include <GL/gl.h>

#include "tests/graphics/module_fixture.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes PixelsOf(gxtkSurface* surface) {
    int size = surface->Width() * surface->Height() * surface->depth;
    return Bytes(surface->pixels, surface->pixels + size);
}

struct LoadCase {
    const char* name;
    int channels;
    Bytes file;
    Bytes kept;
    int glFormat;
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class SurfaceLoad : public GraphicsModuleTest, public ::testing::WithParamInterface<LoadCase> {};

// Colour is premultiplied once, at load, for the blend functions.
TEST_P(SurfaceLoad, KeepsPremultipliedPixels) {
    const LoadCase& c = GetParam();
    int width = static_cast<int>(c.file.size()) / c.channels;
    std::string path = WritePng(folder, "pixels.png", width, 1, c.channels, c.file);
    gxtkSurface* surface = kp_graphics_device->LoadSurface(String(path.c_str()));
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->Width(), width);
    EXPECT_EQ(surface->Height(), 1);
    EXPECT_EQ(surface->depth, c.channels);
    EXPECT_EQ(surface->glFormat, c.glFormat);
    EXPECT_EQ(PixelsOf(surface), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    ByChannels, SurfaceLoad,
    ::testing::Values(
        LoadCase{"Rgba", 4, {200, 100, 50, 128, 10, 20, 30, 0, 9, 8, 7, 255}, {100, 50, 25, 128, 0, 0, 0, 0, 9, 8, 7, 255},
                 GL_RGBA},
        LoadCase{"GreyAndAlpha", 2, {255, 51, 200, 0}, {51, 51, 0, 0}, GL_LUMINANCE_ALPHA},
        LoadCase{"Rgb", 3, {200, 100, 50}, {200, 100, 50}, GL_RGB},
        LoadCase{"Grey", 1, {7, 200}, {7, 200}, GL_LUMINANCE}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicsModuleTest, MissingImageGivesNoSurface) {
    EXPECT_EQ(kp_graphics_device->LoadSurface(String(folder.File("none.png").c_str())), nullptr);
}

TEST_F(GraphicsModuleTest, BindWithoutAWindowMakesNoTexture) {
    ASSERT_EQ(glfwGraphicsSeq, 0);
    gxtkSurface* surface = kp_graphics_device->CreateSurface(4, 4);
    surface->Bind();
    EXPECT_EQ(surface->contextSeq, -1);
}

TEST_F(GraphicsModuleTest, WrittenPixelsArePremultipliedIntoNewPixels) {
    gxtkSurface* surface = BlankSurface(3, 2);
    Array<int> block(4);
    block[0] = static_cast<int>(0x80C86432);
    block[1] = 0x00FFFFFF;
    block[2] = 0;
    block[3] = static_cast<int>(0xFF010203);
    kp_graphics_device->WritePixels2(surface, block, 1, 0, 1, 2, 1, 2);
    ASSERT_NE(surface->pixels, nullptr);
    Bytes kept = PixelsOf(surface);
    EXPECT_EQ(Bytes(kept.begin() + 4, kept.begin() + 8), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Bytes(kept.begin() + 16, kept.begin() + 20), (Bytes{1, 2, 3, 255}));

    kp_graphics_device->WritePixels2(surface, block, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(Bytes(surface->pixels, surface->pixels + 4), (Bytes{100, 50, 25, 128}));
}

// A block outside the surface or the array would write or read past their ends.
TEST_F(GraphicsModuleTest, BlocksThatDoNotFitAreIgnored) {
    gxtkSurface* surface = BlankSurface(4, 4);
    Array<int> white(16);
    for (int i = 0; i < 16; ++i) white[i] = -1;
    kp_graphics_device->WritePixels2(surface, white, 0, 0, 4, 4, 0, 4);
    Bytes before = PixelsOf(surface);

    Array<int> black(16);
    struct Block {
        int x, y, w, h, offset, pitch;
    } blocks[] = {{1, 0, 4, 1, 0, 4}, {0, 3, 1, 2, 0, 1}, {-1, 0, 1, 1, 0, 1}, {0, 0, 4, 4, 1, 4},
                  {0, 0, 2, 2, 15, 1}, {0, 0, 1, 2, 0, -1}, {0, 0, 0, 1, 0, 1}};
    for (const Block& b : blocks) kp_graphics_device->WritePixels2(surface, black, b.x, b.y, b.w, b.h, b.offset, b.pitch);
    EXPECT_EQ(PixelsOf(surface), before);
}

TEST_F(GraphicsModuleTest, OnlyRgbaSurfacesTakeWrittenPixels) {
    std::string path = WritePng(folder, "rgb.png", 1, 1, 3, {1, 2, 3});
    gxtkSurface* surface = kp_graphics_device->LoadSurface(String(path.c_str()));
    ASSERT_NE(surface, nullptr);
    Array<int> red(1);
    red[0] = static_cast<int>(0xFFFF0000);
    kp_graphics_device->WritePixels2(surface, red, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(PixelsOf(surface), (Bytes{1, 2, 3}));
}

TEST_F(GraphicsModuleTest, DiscardReleasesThePixels) {
    gxtkSurface* surface = BlankSurface(2, 2);
    Array<int> block(4);
    kp_graphics_device->WritePixels2(surface, block, 0, 0, 2, 2, 0, 2);
    ASSERT_NE(surface->pixels, nullptr);
    EXPECT_EQ(surface->Discard(), 0);
    EXPECT_EQ(surface->pixels, nullptr);
    EXPECT_EQ(surface->contextSeq, -1);
}

}  // namespace
