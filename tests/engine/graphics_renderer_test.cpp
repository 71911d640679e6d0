// The renderer core under a real GL context: camera extents and projection, render and
// blend modes, the colour and texture programs' formulas, per-program uniforms, world
// matrices, full-screen scaling, and the GL error report with its halt.
#include "TestWindow.h"
#include "graphics_pixels.h"

#include <stdio.h>
#include <unistd.h>

namespace
{

class RendererTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureTestWindow();
        VNGfxSetCamPosition(0.0f, 0.0f);
    }
    void TearDown() override
    {
        VNGfxSetCamPosition(0.0f, 0.0f);
        gVNScreenScaleX = 1.0f;
        gVNScreenScaleY = 1.0f;
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    }
};

TEST_F(RendererTest, CameraMovesExtentsAndShowsOnlyAfterTheMatricesAreUploaded)
{
    EXPECT_EQ(1280, VNGetWindowWidth());
    EXPECT_EQ(720, VNGetWindowHeight());
    EXPECT_FLOAT_EQ(-640.0f, gVNWinMinX);
    EXPECT_FLOAT_EQ(640.0f, gVNWinMaxX);
    EXPECT_FLOAT_EQ(-360.0f, gVNWinMinY);
    EXPECT_FLOAT_EQ(360.0f, VNGfxGetWinMaxY());

    VNGfxVertexList* dot = MakeQuad(-3.0f, -3.0f, 3.0f, 3.0f, 0xFF000000);
    BeginFrame(VN_GFX_RENDER_COLOR);
    VNGfxSetCamPosition(100.0f, 50.0f);
    EXPECT_FLOAT_EQ(-540.0f, VNGfxGetWinMinX());
    EXPECT_FLOAT_EQ(740.0f, VNGfxGetWinMaxX());
    EXPECT_FLOAT_EQ(-310.0f, VNGfxGetWinMinY());
    EXPECT_FLOAT_EQ(410.0f, VNGfxGetWinMaxY());
    float cx = 0.0f, cy = 0.0f;
    VNGfxGetCamPosition(&cx, &cy);
    EXPECT_FLOAT_EQ(100.0f, cx);
    EXPECT_FLOAT_EQ(50.0f, cy);

    // Same mode again: the old view stays, so (100, 50) still lands 100, 50 off centre.
    VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
    VNGfxSetPosition(100.0f, 50.0f);
    VNGfxMeshDraw(dot, VN_GFX_MESH_TRIANGLES);
    EXPECT_EQ((Rgba{0, 0, 0, 255}), ReadPixel(740, 410));
    EXPECT_EQ((Rgba{255, 255, 255, 255}), ReadPixel(640, 360));

    // A change of mode uploads the camera: the point now sits at the window centre.
    BeginFrame(VN_GFX_RENDER_COLOR);
    VNGfxSetPosition(100.0f, 50.0f);
    VNGfxMeshDraw(dot, VN_GFX_MESH_TRIANGLES);
    EXPECT_EQ((Rgba{0, 0, 0, 255}), ReadPixel(640, 360));
    EXPECT_EQ((Rgba{255, 255, 255, 255}), ReadPixel(740, 410));
    VNGfxMeshFree(dot);
}

TEST_F(RendererTest, FullScreenScaleStretchesTheWorldRectangleOverTheViewport)
{
    // Full screen on a 1920 x 1080 screen: the world rectangle stretches by 1.5.
    gVNScreenScaleX = 1.5f;
    gVNScreenScaleY = 1.5f;
    VNGfxSetCamPosition(-100.0f, 20.0f);
    VNGfxVertexList* dot = MakeQuad(-3.0f, -3.0f, 3.0f, 3.0f, 0xFF0000FF);
    BeginFrame(VN_GFX_RENDER_COLOR);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(1920, viewport[2]);
    EXPECT_EQ(1080, viewport[3]);
    VNGfxSetPosition(-300.0f, -80.0f);
    VNGfxMeshDraw(dot, VN_GFX_MESH_TRIANGLES);
    // ((-300 + 100) * 1.5 + 960, (-80 - 20) * 1.5 + 540)
    EXPECT_EQ((Rgba{0, 0, 255, 255}), ReadPixel(660, 390));
    EXPECT_EQ((Rgba{255, 255, 255, 255}), ReadPixel(440, 260));
    VNGfxMeshFree(dot);
}

TEST_F(RendererTest, ColourProgramMixesBlendColourThenTintsAndFades)
{
    VNGfxVertexList* quad = MakeQuad(-50.0f, -50.0f, 50.0f, 50.0f, 0xFF0000FF);
    struct Case
    {
        float blend[4], tint[4], transparency;
        Rgba expected;
    } cases[] = {
        {{0, 0, 0, 0}, {1, 1, 1, 1}, 1.0f, {0, 0, 255, 255}},
        {{1, 0, 0, 1}, {1, 1, 1, 1}, 1.0f, {255, 0, 0, 255}},
        {{1, 0, 0, 0.5f}, {1, 1, 1, 1}, 1.0f, {128, 0, 128, 255}},
        {{0, 0, 0, 0}, {1, 1, 0.5f, 1}, 1.0f, {0, 0, 128, 255}},
        {{0, 1, 0, 1}, {0.5f, 0.5f, 1, 1}, 1.0f, {0, 128, 0, 255}},
        // Over white with alpha 0.5 (transparency 1 x tint alpha 0.5, then 0.5 x 1).
        {{0, 0, 0, 0}, {1, 1, 1, 0.5f}, 1.0f, {128, 128, 255, 255}},
        {{0, 0, 0, 0}, {1, 1, 1, 1}, 0.5f, {128, 128, 255, 255}},
    };
    for (const Case& c : cases)
    {
        BeginFrame(VN_GFX_RENDER_COLOR);
        VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
        VNGfxSetBlendColor(c.blend[0], c.blend[1], c.blend[2], c.blend[3]);
        VNGfxSetTintColor(c.tint[0], c.tint[1], c.tint[2], c.tint[3]);
        VNGfxSetTransparency(c.transparency);
        VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
        EXPECT_RGB_NEAR(c.expected, ReadPixel(640, 360), 1);
    }
    VNGfxMeshFree(quad);
}

TEST_F(RendererTest, TextureProgramMixesBlendColourInsideTheTextureAlphaShape)
{
    // Left texel opaque blue, right texel fully transparent.
    const unsigned char texels[] = {0, 0, 255, 255, 0, 255, 0, 0};
    VNGfxTexture* texture = VNGfxTextureLoadFromMemory(texels, 2, 1);
    VNGfxVertexList* quad = MakeQuad(-100.0f, -50.0f, 100.0f, 50.0f, 0xFFFFFFFF);
    struct Case
    {
        float blend[4], tint[4], transparency;
        Rgba left, right;
    } cases[] = {
        {{0, 0, 0, 0}, {1, 1, 1, 1}, 1.0f, {0, 0, 255, 255}, {255, 255, 255, 255}},
        {{1, 0, 0, 1}, {1, 1, 1, 1}, 1.0f, {255, 0, 0, 255}, {255, 255, 255, 255}},
        {{1, 0, 0, 0.5f}, {1, 1, 1, 1}, 1.0f, {128, 0, 128, 255}, {255, 255, 255, 255}},
        {{0, 0, 0, 0}, {0.5f, 1, 0.5f, 1}, 1.0f, {0, 0, 128, 255}, {255, 255, 255, 255}},
        {{0, 0, 0, 0}, {1, 1, 1, 1}, 0.5f, {128, 128, 255, 255}, {255, 255, 255, 255}},
    };
    for (const Case& c : cases)
    {
        BeginFrame(VN_GFX_RENDER_TEXTURE);
        VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
        VNGfxTextureSet(texture, 0.0f, 0.0f);
        VNGfxSetBlendColor(c.blend[0], c.blend[1], c.blend[2], c.blend[3]);
        VNGfxSetTintColor(c.tint[0], c.tint[1], c.tint[2], c.tint[3]);
        VNGfxSetTransparency(c.transparency);
        VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
        EXPECT_RGB_NEAR(c.left, ReadPixel(590, 360), 1);
        EXPECT_RGB_NEAR(c.right, ReadPixel(690, 360), 1);
    }
    VNGfxTextureSet(nullptr, 0.0f, 0.0f);
    VNGfxMeshFree(quad);
    VNGfxTextureUnload(texture);
}

TEST_F(RendererTest, UniformsBelongToOneProgramAndRenderModeNoneDropsThem)
{
    VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
    VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
    VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
    VNGfxSetTintColor(0.25f, 0.25f, 0.25f, 0.25f);

    VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
    VNGfxSetTintColor(0.0f, 0.5f, 0.0f, 0.5f);
    VNGfxSetTransparency(0.0f);
    VNGfxSetPosition(500.0f, 500.0f);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError()) << "a dropped uniform leaves no GL error";

    float tint[4];
    VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
    GetUniform("uTintColor", tint);
    EXPECT_FLOAT_EQ(1.0f, tint[0]);
    EXPECT_FLOAT_EQ(1.0f, tint[1]);
    EXPECT_FLOAT_EQ(1.0f, tint[3]);
    VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
    GetUniform("uTintColor", tint);
    EXPECT_FLOAT_EQ(0.25f, tint[1]);
    EXPECT_FLOAT_EQ(0.25f, tint[3]);
    VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
}

TEST_F(RendererTest, WorldMatricesFromTwoDAndFourByFourTransforms)
{
    VNGfxVertexList* unit = MakeQuad(-1.0f, -1.0f, 1.0f, 1.0f, 0xFF00FF00);

    // Scale by 20 and 10 and move to (200, -100); the third row must not matter.
    VNMtx33 transform = {{{20.0f, 0.0f, 200.0f}, {0.0f, 10.0f, -100.0f}, {7.0f, 7.0f, 7.0f}}};
    BeginFrame(VN_GFX_RENDER_COLOR);
    VNGfxSetTransform(&transform);
    VNGfxMeshDraw(unit, VN_GFX_MESH_TRIANGLES);
    EXPECT_EQ((Rgba{0, 255, 0, 255}), ReadPixel(PixelX(215.0f), PixelY(-100.0f)));
    EXPECT_EQ((Rgba{0, 255, 0, 255}), ReadPixel(PixelX(200.0f), PixelY(-92.0f)));
    EXPECT_EQ((Rgba{255, 255, 255, 255}), ReadPixel(PixelX(200.0f), PixelY(-85.0f)));
    EXPECT_EQ((Rgba{255, 255, 255, 255}), ReadPixel(PixelX(225.0f), PixelY(-100.0f)));

    // Row-major: translation in the last column.
    const float matrix[16] = {5, 0, 0, -300, 0, 5, 0, 200, 0, 0, 1, 0, 0, 0, 0, 1};
    BeginFrame(VN_GFX_RENDER_COLOR);
    VNGfxSetTransform3D(matrix);
    VNGfxMeshDraw(unit, VN_GFX_MESH_TRIANGLES);
    EXPECT_EQ((Rgba{0, 255, 0, 255}), ReadPixel(PixelX(-297.0f), PixelY(203.0f)));
    EXPECT_EQ((Rgba{255, 255, 255, 255}), ReadPixel(PixelX(-290.0f), PixelY(200.0f)));
    VNGfxMeshFree(unit);
}

TEST_F(RendererTest, BlendModesChooseTheBlendFactors)
{
    VNGfxVertexList* halfRed = MakeQuad(-50.0f, -50.0f, 50.0f, 50.0f, 0x80FF0000);

    BeginFrame(VN_GFX_RENDER_COLOR, 0.0f, 0.0f, 1.0f);
    VNGfxSetBlendMode(VN_GFX_BLEND_NONE);
    VNGfxMeshDraw(halfRed, VN_GFX_MESH_TRIANGLES);
    EXPECT_RGB_NEAR((Rgba{255, 0, 0, 0}), ReadPixel(640, 360), 0);

    BeginFrame(VN_GFX_RENDER_COLOR, 0.0f, 0.0f, 1.0f);
    VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
    VNGfxMeshDraw(halfRed, VN_GFX_MESH_TRIANGLES);
    EXPECT_RGB_NEAR((Rgba{128, 0, 127, 0}), ReadPixel(640, 360), 1);

    BeginFrame(VN_GFX_RENDER_COLOR, 0.0f, 0.0f, 1.0f);
    VNGfxSetBlendMode(VN_GFX_BLEND_ADD);
    VNGfxMeshDraw(halfRed, VN_GFX_MESH_TRIANGLES);
    EXPECT_RGB_NEAR((Rgba{128, 0, 255, 0}), ReadPixel(640, 360), 1);

    // An unknown mode leaves blending as it was.
    VNGfxSetBlendMode(7);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    VNGfxSetBlendMode(VN_GFX_BLEND_NONE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    VNGfxMeshFree(halfRed);
}

TEST_F(RendererTest, FrameStartClearsToTheBackgroundAndEndLeavesRenderModeNone)
{
    VNGfxSetBackgroundColor(0.0f, 1.0f, 0.0f);
    VNGfxStart();
    EXPECT_EQ((Rgba{0, 255, 0, 255}), ReadPixel(10, 10));
    VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
    VNGfxEnd();
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(0, program);
}

// A pending GL error at the end of a frame prints its report and halts with status 1
// after one key (here the end of an empty standard input).
TEST(RendererDeathTest, PendingErrorAtFrameEndIsReportedAndHalts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            EnsureTestWindow();
            if (!freopen("/dev/null", "r", stdin))
                abort();
            dup2(STDERR_FILENO, STDOUT_FILENO);
            glEnable(0x7777);
            VNGfxEnd();
            fprintf(stderr, "not halted\n");
            _exit(0);
        },
        ::testing::ExitedWithCode(1),
        "CHECK_GL_ERROR:\nLine: [0-9]+\nFunc: VNGfxEnd\nFile: VNGfxRenderer.cpp\n"
        "Code: 0x00000500\nMesg: \n");
}

} // namespace
