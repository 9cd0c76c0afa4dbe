#include <thread>

#include "tests/graphics/render_fixture.h"
#include "tests/graphics/test_images.h"

namespace {

using SurfaceTextures = RenderTest;

int TextureWidth(gxtkSurface* surface) {
    surface->Bind();
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
}

void Fill(gxtkSurface* surface, int x, int y, int w, int h, std::uint32_t argb) {
    Array<int> block(w * h);
    for (int i = 0; i < block.Length(); ++i) block[i] = static_cast<int>(argb);
    RenderTest::renderer()->WritePixels2(surface, block, x, y, w, h, 0, w);
}

// The texture comes with the first bind; this driver takes any size, so it
// is the image's own.
TEST_F(SurfaceTextures, SurfacesGetTexturesOfTheirOwnSizeWhenFirstBound) {
    gxtkSurface* surface = renderer()->CreateSurface(100, 50);
    EXPECT_EQ(surface->contextSeq, -1);
    surface->Bind();
    EXPECT_EQ(surface->contextSeq, glfwGraphicsSeq);
    EXPECT_EQ(TextureWidth(surface), 100);
    EXPECT_FLOAT_EQ(surface->uScale, 1.0f / 100);
    EXPECT_FLOAT_EQ(surface->vScale, 1.0f / 50);
}

TEST_F(SurfaceTextures, BlocksNarrowerThanTheSurfaceGoUpRowByRow) {
    gxtkSurface* surface = renderer()->CreateSurface(8, 4);
    surface->Bind();
    Fill(surface, 0, 0, 8, 4, 0xFF808080);
    Fill(surface, 2, 1, 3, 2, 0xFFFF0000);
    renderer()->DrawSurface(surface, 0, 100);
    EXPECT_EQ(Pixel(2, 101), 0xFF0000u);
    EXPECT_EQ(Pixel(4, 102), 0xFF0000u);
    for (auto [x, y] : {std::pair{1, 101}, {5, 101}, {2, 100}, {2, 103}, {7, 103}}) {
        EXPECT_EQ(Pixel(x, y), 0x808080u) << x << ", " << y;
    }
}

// A new window is a new context: its textures are rebuilt from the kept
// pixels, and a stale texture name is never deleted in the new context,
// where it may name another surface's texture.
TEST_F(SurfaceTextures, ImagesSurviveAWindowReopen) {
    TempFolder folder;
    std::string path = WriteArgbPng(folder, "loaded.png", 2, 1, {0xFF00FF00, 0xFFFF00FF});
    gxtkSurface* loaded = renderer()->LoadSurface(String(path.c_str()));
    ASSERT_NE(loaded, nullptr);
    gxtkSurface* written = renderer()->CreateSurface(2, 2);
    written->Bind();
    Fill(written, 0, 0, 2, 2, 0xFF3366CC);
    int firstSeq = glfwGraphicsSeq;

    EndFrame();
    OpenWindow();
    StartFrame();
    ASSERT_EQ(glfwGraphicsSeq, firstSeq + 1);
    renderer()->DrawSurface(loaded, 10, 10);
    renderer()->DrawSurface(written, 20, 10);
    EXPECT_EQ(Pixel(10, 10), 0x00FF00u);
    EXPECT_EQ(Pixel(11, 10), 0xFF00FFu);
    EXPECT_EQ(Pixel(21, 11), 0x3366CCu);
    EXPECT_EQ(loaded->contextSeq, glfwGraphicsSeq);
    EXPECT_EQ(written->contextSeq, glfwGraphicsSeq);

    GLuint loadedTexture = loaded->textureId;
    loaded->Discard();
    EXPECT_FALSE(glIsTexture(loadedTexture));
    EXPECT_TRUE(glIsTexture(written->textureId));
}

TEST_F(SurfaceTextures, StaleTexturesAreLeftAlone) {
    gxtkSurface* stale = renderer()->CreateSurface(2, 2);
    stale->Bind();
    EndFrame();
    OpenWindow();
    StartFrame();
    gxtkSurface* current = renderer()->CreateSurface(2, 2);
    current->Bind();
    stale->textureId = current->textureId;
    EXPECT_EQ(stale->Discard(), 0);
    EXPECT_EQ(stale->contextSeq, -1);
    EXPECT_TRUE(glIsTexture(current->textureId));
}

TEST_F(SurfaceTextures, CollectedSurfacesDeleteTheirTexture) {
    gxtkSurface* dropped = renderer()->CreateSurface(4, 4);
    gxtkSurface* kept = renderer()->CreateSurface(4, 4);
    dropped->Bind();
    kept->Bind();
    gc_assign(testKept, kept);
    GLuint droppedTexture = dropped->textureId;
    ASSERT_TRUE(glIsTexture(droppedTexture));
    dropped = nullptr;

    CollectEverythingUnreachable();
    EXPECT_FALSE(glIsTexture(droppedTexture));
    EXPECT_TRUE(glIsTexture(kept->textureId));
    renderer()->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(Pixel(0, 0), 0xFFFFFFu);
}

// The renderer knows the surface of its last batch only by address. A new
// surface that the heap places where a collected one was must still get its
// texture, and with it its scales, before its first vertices are written.
TEST_F(SurfaceTextures, ANewSurfaceWhereACollectedOneWasGetsItsOwnTexture) {
    CollectEverythingUnreachable();
    gxtkSurface* collected = renderer()->CreateSurface(4, 1);
    Fill(collected, 0, 0, 4, 1, 0xFFFF0000);
    renderer()->DrawSurface(collected, 0, 0);
    EndFrame();
    const void* address = collected;
    collected = nullptr;
    CollectEverythingUnreachable();

    // The heap hands back recently freed blocks first, but not necessarily
    // this one first.
    gxtkSurface* fresh = nullptr;
    for (int tries = 0; tries < 100 && fresh != address; ++tries) fresh = renderer()->CreateSurface(4, 1);
    StartFrame();
    if (fresh != address) GTEST_SKIP() << "the heap gave the new surface another block";
    Fill(fresh, 0, 0, 2, 1, 0xFF00FF00);
    Fill(fresh, 2, 0, 2, 1, 0xFF0000FF);
    renderer()->DrawSurface(fresh, 10, 10);
    const std::uint32_t expected[] = {0x00FF00, 0x00FF00, 0x0000FF, 0x0000FF};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(10 + x, 10), expected[x]) << x;
}

// Loading may run off the main thread, where there is no OpenGL context: the
// old texture is deleted by the main thread at its next frame, and the first
// draw after the load shows the new image at its own size.
TEST_F(SurfaceTextures, LoadingIntoADrawnSurfaceOffTheMainThread) {
    TempFolder folder;
    std::string before = WriteArgbPng(folder, "before.png", 2, 1, {0xFFFF0000, 0xFFFF0000});
    std::string after = WriteArgbPng(folder, "after.png", 4, 1, {0xFF00FF00, 0xFF00FF00, 0xFF0000FF, 0xFF0000FF});
    gxtkSurface* surface = renderer()->LoadSurface(String(before.c_str()));
    ASSERT_NE(surface, nullptr);
    gc_assign(testKept, surface);
    renderer()->DrawSurface(surface, 0, 0);
    EndFrame();
    GLuint oldTexture = surface->textureId;

    // The loader is handed the resolved path; the main thread meanwhile
    // resolves paths through the host's Strings as the game does.
    std::string systemPath = KpGame::_game->SystemFilePath(String(after.c_str()));
    bool loaded = false;
    std::thread loader([&] { loaded = renderer()->LoadSurface__UNSAFE__(surface, systemPath); });
    for (int i = 0; i < 1000; ++i) KpGame::_game->SystemFilePath(String("brisko://data/after.png"));
    loader.join();
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(glIsTexture(oldTexture));

    StartFrame();
    EXPECT_FALSE(glIsTexture(oldTexture)) << "the old texture is not left behind";
    renderer()->DrawSurface(surface, 10, 10);
    const std::uint32_t expected[] = {0x00FF00, 0x00FF00, 0x0000FF, 0x0000FF};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(10 + x, 10), expected[x]) << x;
}

}  // namespace
