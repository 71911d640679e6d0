// The renderer on the shared window, read back as pixels: projection, full-screen scaling,
// colour formula, blending, transforms, textures, the mesh limit and bitmap text.
#include "CapturedOutput.h"
#include "ScratchFolder.h"
#include "graphics_pixels.h"

#include <SDL.h>
#include <SDL_image.h>
#include <math.h>
#include <stdint.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

const Rgba kMagenta{255, 0, 255, 255};

// A closed mesh of one axis-aligned quad from (x0, y0) to (x1, y1), one colour, with
// u from 0 (left) to 1 (right) and v from 0 (top) to 1 (bottom).
VNGfxVertexList* MakeQuad(float x0, float y0, float x1, float y1, uint32_t color)
{
  VNGfxReset();
  VNGfxMeshStart();
  VNGfxTriAdd(x0, y0, color, 0.0f, 1.0f, x1, y0, color, 1.0f, 1.0f, x1, y1, color, 1.0f, 0.0f);
  VNGfxTriAdd(x0, y0, color, 0.0f, 1.0f, x1, y1, color, 1.0f, 0.0f, x0, y1, color, 0.0f, 0.0f);
  return VNGfxMeshEnd();
}

// Window pixel of a world point with the camera at (camX, camY), 1280 x 720, scale 1.
int PixelX(float worldX, float camX = 0.0f)
{
  return (int)floorf(worldX - camX) + 640;
}

int PixelY(float worldY, float camY = 0.0f)
{
  return (int)floorf(worldY - camY) + 360;
}

// Red, green, blue and yellow as RGBA bytes.
const unsigned char kFourTexels[] = {255, 0, 0,   255, 0,   255, 0, 255,
                                     0,   0, 255, 255, 255, 255, 0, 255};

// The pixel showing world point (x, y), with the camera at the origin and scale 1.
Rgba At(float x, float y)
{
  return ReadPixel(PixelX(x), PixelY(y));
}

// How many pixels of the window rectangle [x0, x1) x [y0, y1) show the colour.
int Count(int x0, int y0, int x1, int y1, const Rgba& colour)
{
  std::vector<unsigned char> bytes((size_t)(x1 - x0) * (y1 - y0) * 4);
  glFinish();
  glReadPixels(x0, y0, x1 - x0, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
  int count = 0;
  for (size_t i = 0; i < bytes.size(); i += 4)
    count += bytes[i] == colour.r && bytes[i + 1] == colour.g && bytes[i + 2] == colour.b;
  return count;
}

// Draws a 200 x 100 textured quad at the window centre.
void DrawTexturedQuad(VNGfxTexture* texture, float offsetU)
{
  VNGfxVertexList* quad = MakeQuad(-100.0f, -50.0f, 100.0f, 50.0f, 0xFFFFFFFF);
  BeginFrame(VN_GFX_RENDER_TEXTURE);
  VNGfxTextureSet(texture, offsetU, 0.0f);
  VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
  VNGfxMeshFree(quad);
}

// The pixel at texture coordinate (u, v) of the quad DrawTexturedQuad draws.
Rgba AtUV(float u, float v)
{
  return At(-100.0f + 200.0f * u, 50.0f - 100.0f * v);
}

// Where the next glyph would go, in window pixels.
std::array<float, 2> RasterPosition()
{
  float position[4];
  glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
  return {position[0], position[1]};
}

class Graphics : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    VNGfxSetCamPosition(0.0f, 0.0f);
    if (!font)
      font = VNGfxCreateFont("Courier New", 20, 1, 0);
    ASSERT_NE(0u, font);
  }
  void TearDown() override
  {
    gVNScreenScaleX = gVNScreenScaleY = 1.0f;
    VNGfxTextureSet(nullptr, 0.0f, 0.0f);
    VNGfxReset();
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
  }

  static unsigned int font; // Courier New bold, 20 pixels
  ScratchFolder folder;
};

unsigned int Graphics::font = 0;

TEST_F(Graphics, CameraAndFullScreenScaleDecideWhereTheWorldLands)
{
  VNGfxSetCamPosition(100.0f, 50.0f);
  EXPECT_EQ(-540.0f, gVNWinMinX);
  EXPECT_EQ(410.0f, gVNWinMaxY);

  // A 6 x 6 quad in a colour whose channels all differ.
  const struct
  {
    float scale, camX, camY, x, y;
    int pixelX, pixelY, viewport;
  } cases[] = {{1.0f, 100.0f, 50.0f, 100.0f, 50.0f, 640, 360, 1280},
               {1.0f, 0.0f, 0.0f, -200.0f, 100.0f, 440, 460, 1280},
               // ((-300 + 100) * 1.5 + 960, (-80 - 20) * 1.5 + 540)
               {1.5f, -100.0f, 20.0f, -300.0f, -80.0f, 660, 390, 1920}};
  VNGfxVertexList* dot = MakeQuad(-3.0f, -3.0f, 3.0f, 3.0f, 0xFFE03010);
  for (const auto& c : cases)
  {
    SCOPED_TRACE(&c - cases);
    gVNScreenScaleX = gVNScreenScaleY = c.scale;
    VNGfxSetCamPosition(c.camX, c.camY);
    BeginFrame(VN_GFX_RENDER_COLOR);
    VNGfxSetPosition(c.x, c.y);
    VNGfxMeshDraw(dot, VN_GFX_MESH_TRIANGLES);
    EXPECT_EQ((Rgba{224, 48, 16, 255}), ReadPixel(c.pixelX, c.pixelY));
    EXPECT_EQ(kWhite, ReadPixel(c.pixelX + 6, c.pixelY));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(c.viewport, viewport[2]);
  }
  VNGfxMeshFree(dot);
}

TEST_F(Graphics, BothProgramsMixTheBlendColourInThenTintAndFade)
{
  // The colour program draws a blue quad; the texture program a blue texel beside a
  // transparent one, which must leave the background showing.
  VNGfxVertexList* blueQuad = MakeQuad(-100.0f, -50.0f, 100.0f, 50.0f, 0xFF0000FF);
  VNGfxVertexList* whiteQuad = MakeQuad(-100.0f, -50.0f, 100.0f, 50.0f, 0xFFFFFFFF);
  const unsigned char texels[] = {0, 0, 255, 255, 0, 255, 0, 0};
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(texels, 2, 1);
  const struct
  {
    float blend[4], tint[4], transparency;
    Rgba expected;
  } cases[] = {{{0, 0, 0, 0}, {1, 1, 1, 1}, 1.0f, {0, 0, 255, 255}},
               {{1, 0, 0, 1}, {1, 1, 1, 1}, 1.0f, {255, 0, 0, 255}},
               {{1, 0, 0, 0.5f}, {1, 1, 1, 1}, 1.0f, {128, 0, 128, 255}},
               {{0, 1, 0, 1}, {0.5f, 0.5f, 1, 1}, 1.0f, {0, 128, 0, 255}},
               // Over white at alpha 0.5, from the tint's alpha or from the transparency.
               {{0, 0, 0, 0}, {1, 1, 1, 0.5f}, 1.0f, {128, 128, 255, 255}},
               {{0, 0, 0, 0}, {1, 1, 1, 1}, 0.5f, {128, 128, 255, 255}}};
  for (int mode : {VN_GFX_RENDER_COLOR, VN_GFX_RENDER_TEXTURE})
    for (const auto& c : cases)
    {
      SCOPED_TRACE(testing::Message() << "mode " << mode << ", case " << &c - cases);
      BeginFrame(mode);
      VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
      VNGfxSetBlendColor(c.blend[0], c.blend[1], c.blend[2], c.blend[3]);
      VNGfxSetTintColor(c.tint[0], c.tint[1], c.tint[2], c.tint[3]);
      VNGfxSetTransparency(c.transparency);
      const bool textured = mode == VN_GFX_RENDER_TEXTURE;
      VNGfxTextureSet(textured ? texture : nullptr, 0.0f, 0.0f);
      VNGfxMeshDraw(textured ? whiteQuad : blueQuad, VN_GFX_MESH_TRIANGLES);
      EXPECT_RGB_NEAR(c.expected, At(-50.0f, 0.0f), 1);
      EXPECT_RGB_NEAR(textured ? kWhite : c.expected, At(50.0f, 0.0f), 1);
    }
  VNGfxMeshFree(blueQuad);
  VNGfxMeshFree(whiteQuad);
  VNGfxTextureUnload(texture);
}

TEST_F(Graphics, AdditiveBlendingAndWorldTransforms)
{
  // Additive blending: half-transparent red adds half its red to a blue background.
  VNGfxVertexList* halfRed = MakeQuad(-50.0f, -50.0f, 50.0f, 50.0f, 0x80FF0000);
  BeginFrame(VN_GFX_RENDER_COLOR, 0.0f, 0.0f, 1.0f);
  VNGfxSetBlendMode(VN_GFX_BLEND_ADD);
  VNGfxMeshDraw(halfRed, VN_GFX_MESH_TRIANGLES);
  EXPECT_RGB_NEAR((Rgba{128, 0, 255, 255}), At(0.0f, 0.0f), 1);
  VNGfxMeshFree(halfRed);

  // Scaled by (20, 10) and moved to (200, -100); the third row does not matter.
  VNGfxVertexList* unit = MakeQuad(-1.0f, -1.0f, 1.0f, 1.0f, 0xFF00FF00);
  const VNMtx33 transform = {{{20.0f, 0.0f, 200.0f}, {0.0f, 10.0f, -100.0f}, {7.0f, 7.0f, 7.0f}}};
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxSetTransform(&transform);
  VNGfxMeshDraw(unit, VN_GFX_MESH_TRIANGLES);
  EXPECT_EQ(kGreen, At(215.0f, -92.0f));
  EXPECT_EQ(kWhite, At(225.0f, -100.0f));
  EXPECT_EQ(kWhite, At(200.0f, -85.0f));
  VNGfxMeshFree(unit);
}

TEST_F(Graphics, ImageFilesAndMemoryPixelsShowTheirFirstRowAtTheTop)
{
  // Red and green on the top row, blue and yellow below, in a PNG file and in memory.
  const Rgba colours[] = {kRed, kGreen, kBlue, kYellow};
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(kFourTexels),
                                                            2, 2, 32, 8, SDL_PIXELFORMAT_RGBA32);
  const std::string path = folder.File("texels.png");
  ASSERT_EQ(0, IMG_SavePNG(surface, path.c_str())) << IMG_GetError();
  SDL_FreeSurface(surface);

  // Decoded ahead on the worker thread: the file may be gone by the time it is loaded.
  const std::string early = folder.File("early.png");
  std::filesystem::copy_file(path, early);
  VNGfxTexturePreload(early.c_str());
  SDL_Delay(200);
  std::filesystem::remove(early);

  for (VNGfxTexture* texture : {VNGfxTextureLoad(path.c_str()), VNGfxTextureLoad(early.c_str()),
                                VNGfxTextureLoadFromMemory(kFourTexels, 2, 2)})
  {
    ASSERT_NE(nullptr, texture);
    DrawTexturedQuad(texture, 0.0f);
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(colours[i], AtUV(i % 2 ? 0.9f : 0.1f, i / 2 ? 0.9f : 0.1f)) << texture->path;
    VNGfxTextureUnload(texture);
  }
}

TEST_F(Graphics, UnreadableImagesShowACheckerAndNameTheFile)
{
  const std::string corrupt = folder.File("corrupt.png");
  WriteText(corrupt, "\x89PNG this is not an image");
  // Read on the worker thread, whose reason must still reach the message.
  VNGfxTexturePreload(corrupt.c_str());
  SDL_Delay(200);
  for (const std::string& path : {folder.File("missing.png"), corrupt, std::string()})
  {
    VNGfxTexture* texture = nullptr;
    const std::string out = StdoutOf(
        [&]
        {
          texture = path.empty() ? VNGfxTextureLoadFromMemory(nullptr, 4, 4)
                                 : VNGfxTextureLoad(path.c_str());
        });
    ASSERT_NE(nullptr, texture);
    EXPECT_NE(std::string::npos, out.find(path.empty() ? "4 x 4" : path)) << out;
    EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n')) << out;
    EXPECT_EQ(std::string::npos, out.find("()")) << "no reason given: " << out;
    DrawTexturedQuad(texture, 0.0f);
    EXPECT_EQ(kMagenta, AtUV(0.25f, 0.25f)) << path;
    EXPECT_EQ(kBlack, AtUV(0.75f, 0.25f)) << path;
    VNGfxTextureUnload(texture);
  }
}

TEST_F(Graphics, OffsetsAboveOneFoldDownAndTheShaderWrapsOnceAboveOne)
{
  // The four texels in a row. Clamping shows what the shader itself does with
  // coordinates outside 0..1, which repeat wrapping would otherwise hide.
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(kFourTexels, 4, 1);
  const struct
  {
    float offset;
    GLint wrap;
    float u;
    Rgba expected;
  } cases[] = {{2.25f, GL_CLAMP_TO_EDGE, 0.9f, kRed},    // 0.25 + 0.9 wraps to 0.15
               {2.25f, GL_CLAMP_TO_EDGE, 0.6f, kYellow}, // 0.85 stays
               {1e9f, GL_CLAMP_TO_EDGE, 0.1f, kRed},     // folds to 0
               {-0.25f, GL_CLAMP_TO_EDGE, 0.02f, kRed},  // the shader leaves -0.23
               {-0.25f, GL_REPEAT, 0.02f, kYellow}};     // for the texture to wrap
  for (const auto& c : cases)
  {
    glBindTexture(GL_TEXTURE_2D, *texture->name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, c.wrap);
    DrawTexturedQuad(texture, c.offset);
    EXPECT_EQ(c.expected, AtUV(c.u, 0.5f)) << "offset " << c.offset << " at u " << c.u;
  }
  VNGfxTextureUnload(texture);
}

TEST_F(Graphics, MeshesRefuseVerticesPastTheLimitAndLineStripsJoinTheirVertices)
{
  for (int i = 0; i < VN_GFX_MESH_MAX_VERTICES - 2; ++i)
    VNGfxVertexAdd((float)i, 0, 0xFF000000, 0, 0);
  // Two places left: a triangle is refused whole, then two single vertices fit.
  const std::string out = StdoutOf(
      []
      {
        VNGfxTriAdd(0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0);
        for (int i = 1; i <= 4; ++i)
          VNGfxVertexAdd(float(-i), 0, 0xFF000000, 0, 0);
      });
  EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n')) << out;
  VNGfxVertexList* full = VNGfxMeshEnd();
  EXPECT_EQ(uint32_t(VN_GFX_MESH_MAX_VERTICES), full->vertexCount);
  VNGfxMeshFree(full);

  // A line strip joins every vertex to the next.
  VNGfxMeshStart();
  VNGfxVertexAdd(-200.5f, 0.5f, 0xFF000000, 0, 0);
  VNGfxVertexAdd(-100.5f, 0.5f, 0xFF000000, 0, 0);
  VNGfxVertexAdd(-100.5f, 100.5f, 0xFF000000, 0, 0);
  VNGfxVertexList* path = VNGfxMeshEnd();
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxMeshDraw(path, VN_GFX_MESH_LINE_STRIP);
  EXPECT_EQ(kBlack, At(-150.5f, 0.5f));
  EXPECT_EQ(kBlack, At(-100.5f, 50.5f));
  VNGfxMeshFree(path);
}

TEST_F(Graphics, GlyphsSitOnTheBaselineInThePrintColour)
{
  // With blending on, as the game draws: the glyphs must not vanish for want of alpha.
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxPrint(font, "HH", -100, 0, 0.0f, 0.5f, 1.0f);
  const int inked = Count(540, 360, 580, 385, {0, 128, 255, 255});
  EXPECT_GT(inked, 40);
  EXPECT_EQ(40 * 25 - inked, Count(540, 360, 580, 385, kWhite)) << "one flat colour";
  EXPECT_EQ(60 * 20, Count(530, 340, 590, 360, kWhite)) << "nothing under the baseline";
}

TEST_F(Graphics, TextIsCulledOnlyPastOneWindowLeftAndBelowAndFollowsTheFullScreenScale)
{
  const struct
  {
    int camX, camY, x, y;
    bool drawn;
  } cases[] = {
      {0, 0, -1919, 0, true},         {0, 0, -1920, 0, false}, {0, 0, 639, 0, true},
      {0, 0, 640, 0, false},          {0, 0, 0, -1079, true},  {0, 0, 0, -1080, false},
      {0, 0, 0, 359, true},           {0, 0, 0, 360, false},   {1000, -500, 1639, -1579, true},
      {1000, -500, 1640, -500, false}};
  for (const auto& c : cases)
  {
    VNGfxSetCamPosition((float)c.camX, (float)c.camY);
    BeginFrame(VN_GFX_RENDER_COLOR);
    // Marks the window centre; printing moves the raster position only when it draws.
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glVertexAttrib4f(glGetAttribLocation((GLuint)program, "aPosition"), c.camX, c.camY, 0, 1);
    glRasterPos2f((float)c.camX, (float)c.camY);
    VNGfxPrint(font, "A", c.x, c.y, 0.0f, 0.0f, 0.0f);
    const float row = c.drawn ? c.y - c.camY + 360.0f : 360.0f;
    EXPECT_EQ(c.drawn, RasterPosition()[0] != 640.0f) << c.x << ", " << c.y;
    EXPECT_FLOAT_EQ(row, RasterPosition()[1]) << c.x << ", " << c.y;
  }

  // Full screen, text goes where a mesh vertex at its position would.
  VNGfxSetCamPosition(0.0f, 0.0f);
  gVNScreenScaleX = gVNScreenScaleY = 1.5f;
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxPrint(font, "", -200, -100, 0.0f, 0.0f, 0.0f);
  // (-200 * 1.5 + 960, -100 * 1.5 + 540)
  EXPECT_NEAR(660.0f, RasterPosition()[0], 0.01);
  EXPECT_NEAR(390.0f, RasterPosition()[1], 0.01);

  // A mesh drawn after the text lands where it would have without it, in its own colour.
  VNGfxVertexList* dot = MakeQuad(-3.0f, -3.0f, 3.0f, 3.0f, 0xFF00FF00);
  VNGfxSetPosition(200.0f, -100.0f);
  VNGfxMeshDraw(dot, VN_GFX_MESH_TRIANGLES);
  EXPECT_EQ(kGreen, ReadPixel(1260, 390));
  VNGfxMeshFree(dot);
}

} // namespace
