// The renderer core under a real GL context: camera extents and projection, render and
// blend modes, the colour and texture programs' formulas, per-program uniforms, world
// matrices, full-screen scaling, and the GL error report with its halt.
#include "graphics_pixels.h"

#include <stdio.h>
#include <unistd.h>

namespace
{

class RendererTest : public GfxTest
{
protected:
  void TearDown() override
  {
    gVNScreenScaleX = gVNScreenScaleY = 1.0f;
    GfxTest::TearDown();
  }
};

// The visible world rectangle, through the exported globals and through the getters.
void ExpectExtents(float minX, float maxX, float minY, float maxY)
{
  const float expected[] = {minX, maxX, minY, maxY};
  const float globals[] = {gVNWinMinX, gVNWinMaxX, gVNWinMinY, gVNWinMaxY};
  const float got[] = {VNGfxGetWinMinX(), VNGfxGetWinMaxX(), VNGfxGetWinMinY(), VNGfxGetWinMaxY()};
  for (int i = 0; i < 4; ++i)
  {
    EXPECT_FLOAT_EQ(expected[i], globals[i]) << "min x, max x, min y, max y: " << i;
    EXPECT_FLOAT_EQ(expected[i], got[i]) << "min x, max x, min y, max y: " << i;
  }
}

TEST_F(RendererTest, CameraMovesExtentsAndShowsOnlyAfterTheMatricesAreUploaded)
{
  EXPECT_EQ(1280, VNGetWindowWidth());
  EXPECT_EQ(720, VNGetWindowHeight());
  ExpectExtents(-640.0f, 640.0f, -360.0f, 360.0f);

  VNGfxVertexList* dot = MakeQuad(-3.0f, -3.0f, 3.0f, 3.0f, 0xFF000000);
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxSetCamPosition(100.0f, 50.0f);
  ExpectExtents(-540.0f, 740.0f, -310.0f, 410.0f);
  float cx = 0.0f, cy = 0.0f;
  VNGfxGetCamPosition(&cx, &cy);
  EXPECT_EQ(100.0f, cx);
  EXPECT_EQ(50.0f, cy);

  // Same mode again: the old view stays, so (100, 50) still lands 100, 50 off centre.
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxSetPosition(100.0f, 50.0f);
  VNGfxMeshDraw(dot, VN_GFX_MESH_TRIANGLES);
  EXPECT_EQ(kBlack, ReadPixel(740, 410));
  EXPECT_EQ(kWhite, ReadPixel(640, 360));

  // A change of mode uploads the camera: the point now sits at the window centre.
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxSetPosition(100.0f, 50.0f);
  VNGfxMeshDraw(dot, VN_GFX_MESH_TRIANGLES);
  EXPECT_EQ(kBlack, ReadPixel(640, 360));
  EXPECT_EQ(kWhite, ReadPixel(740, 410));
  VNGfxMeshFree(dot);
}

TEST_F(RendererTest, FullScreenScaleStretchesTheWorldRectangleOverTheViewport)
{
  // Full screen on a 1920 x 1080 screen: the world rectangle stretches by 1.5.
  gVNScreenScaleX = gVNScreenScaleY = 1.5f;
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
  EXPECT_EQ(kBlue, ReadPixel(660, 390));
  EXPECT_EQ(kWhite, ReadPixel(440, 260));
  VNGfxMeshFree(dot);
}

// One case of the programs' colour formula: blend colour, tint and transparency set after
// the frame starts, with blending on.
struct ColourCase
{
  float blend[4], tint[4], transparency;
  Rgba expected;
};

void BeginColourCase(int mode, const ColourCase& c)
{
  BeginFrame(mode);
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxSetBlendColor(c.blend[0], c.blend[1], c.blend[2], c.blend[3]);
  VNGfxSetTintColor(c.tint[0], c.tint[1], c.tint[2], c.tint[3]);
  VNGfxSetTransparency(c.transparency);
}

TEST_F(RendererTest, ColourProgramMixesBlendColourThenTintsAndFades)
{
  VNGfxVertexList* quad = MakeQuad(-50.0f, -50.0f, 50.0f, 50.0f, 0xFF0000FF);
  const ColourCase cases[] = {
      {{0, 0, 0, 0}, {1, 1, 1, 1}, 1.0f, {0, 0, 255, 255}},
      {{1, 0, 0, 1}, {1, 1, 1, 1}, 1.0f, {255, 0, 0, 255}},
      {{1, 0, 0, 0.5f}, {1, 1, 1, 1}, 1.0f, {128, 0, 128, 255}},
      {{0, 0, 0, 0}, {1, 1, 0.5f, 1}, 1.0f, {0, 0, 128, 255}},
      {{0, 1, 0, 1}, {0.5f, 0.5f, 1, 1}, 1.0f, {0, 128, 0, 255}},
      // Over white with alpha 0.5 (transparency 1 x tint alpha 0.5, then 0.5 x 1).
      {{0, 0, 0, 0}, {1, 1, 1, 0.5f}, 1.0f, {128, 128, 255, 255}},
      {{0, 0, 0, 0}, {1, 1, 1, 1}, 0.5f, {128, 128, 255, 255}},
  };
  for (const ColourCase& c : cases)
  {
    SCOPED_TRACE(&c - cases);
    BeginColourCase(VN_GFX_RENDER_COLOR, c);
    VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
    EXPECT_RGB_NEAR(c.expected, ReadPixel(640, 360), 1);
  }
  VNGfxMeshFree(quad);
}

TEST_F(RendererTest, TextureProgramMixesBlendColourInsideTheTextureAlphaShape)
{
  // Left texel opaque blue, right texel fully transparent: the right half stays white.
  const unsigned char texels[] = {0, 0, 255, 255, 0, 255, 0, 0};
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(texels, 2, 1);
  VNGfxVertexList* quad = MakeQuad(-100.0f, -50.0f, 100.0f, 50.0f, 0xFFFFFFFF);
  const ColourCase cases[] = {
      {{0, 0, 0, 0}, {1, 1, 1, 1}, 1.0f, {0, 0, 255, 255}},
      {{1, 0, 0, 1}, {1, 1, 1, 1}, 1.0f, {255, 0, 0, 255}},
      {{1, 0, 0, 0.5f}, {1, 1, 1, 1}, 1.0f, {128, 0, 128, 255}},
      {{0, 0, 0, 0}, {0.5f, 1, 0.5f, 1}, 1.0f, {0, 0, 128, 255}},
      {{0, 0, 0, 0}, {1, 1, 1, 1}, 0.5f, {128, 128, 255, 255}},
  };
  for (const ColourCase& c : cases)
  {
    SCOPED_TRACE(&c - cases);
    BeginColourCase(VN_GFX_RENDER_TEXTURE, c);
    VNGfxTextureSet(texture, 0.0f, 0.0f);
    VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
    EXPECT_RGB_NEAR(c.expected, ReadPixel(590, 360), 1);
    EXPECT_RGB_NEAR(kWhite, ReadPixel(690, 360), 1);
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
  EXPECT_EQ(1.0f, tint[0]);
  EXPECT_EQ(1.0f, tint[1]);
  EXPECT_EQ(1.0f, tint[3]);
  VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
  GetUniform("uTintColor", tint);
  EXPECT_EQ(0.25f, tint[1]);
  EXPECT_EQ(0.25f, tint[3]);
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
  EXPECT_EQ(kGreen, ReadPixel(PixelX(215.0f), PixelY(-100.0f)));
  EXPECT_EQ(kGreen, ReadPixel(PixelX(200.0f), PixelY(-92.0f)));
  EXPECT_EQ(kWhite, ReadPixel(PixelX(200.0f), PixelY(-85.0f)));
  EXPECT_EQ(kWhite, ReadPixel(PixelX(225.0f), PixelY(-100.0f)));

  // Row-major: translation in the last column.
  const float matrix[16] = {5, 0, 0, -300, 0, 5, 0, 200, 0, 0, 1, 0, 0, 0, 0, 1};
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxSetTransform3D(matrix);
  VNGfxMeshDraw(unit, VN_GFX_MESH_TRIANGLES);
  EXPECT_EQ(kGreen, ReadPixel(PixelX(-297.0f), PixelY(203.0f)));
  EXPECT_EQ(kWhite, ReadPixel(PixelX(-290.0f), PixelY(200.0f)));
  VNGfxMeshFree(unit);
}

TEST_F(RendererTest, BlendModesChooseTheBlendFactors)
{
  // Half-transparent red over a blue background.
  VNGfxVertexList* halfRed = MakeQuad(-50.0f, -50.0f, 50.0f, 50.0f, 0x80FF0000);
  const struct
  {
    int mode;
    Rgba expected;
    int tolerance;
  } cases[] = {{VN_GFX_BLEND_NONE, {255, 0, 0, 0}, 0},
               {VN_GFX_BLEND_BLEND, {128, 0, 127, 0}, 1},
               {VN_GFX_BLEND_ADD, {128, 0, 255, 0}, 1}};
  for (const auto& c : cases)
  {
    BeginFrame(VN_GFX_RENDER_COLOR, 0.0f, 0.0f, 1.0f);
    VNGfxSetBlendMode(c.mode);
    VNGfxMeshDraw(halfRed, VN_GFX_MESH_TRIANGLES);
    EXPECT_RGB_NEAR(c.expected, ReadPixel(640, 360), c.tolerance) << "mode " << c.mode;
  }

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
  EXPECT_EQ(kGreen, ReadPixel(10, 10));
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
