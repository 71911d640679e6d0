// Textures under a real GL context: PNG files written by the test and read back through
// the engine, orientation, offsets and the shader's one-time wrap, filtering modes,
// unreadable files, the path limit and unbinding.
#include "CapturedOutput.h"
#include "ScratchFolder.h"
#include "graphics_pixels.h"

#include <SDL.h>
#include <SDL_image.h>

#include <stdio.h>

#include <algorithm>
#include <string>

namespace
{

class TextureTest : public GfxTest
{
protected:
  void TearDown() override
  {
    VNGfxTextureSet(nullptr, 0.0f, 0.0f);
    GfxTest::TearDown();
  }

  // Writes a width x height PNG whose quadrants are red (top left), green (top right),
  // blue (bottom left) and yellow (bottom right).
  std::string WriteQuadrantPng(const char* name, int width, int height)
  {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    const SDL_Rect quadrants[] = {{0, 0, width / 2, height / 2},
                                  {width / 2, 0, width / 2, height / 2},
                                  {0, height / 2, width / 2, height / 2},
                                  {width / 2, height / 2, width / 2, height / 2}};
    const Rgba colours[] = {kRed, kGreen, kBlue, kYellow};
    for (int i = 0; i < 4; ++i)
      SDL_FillRect(surface, &quadrants[i],
                   SDL_MapRGBA(surface->format, colours[i].r, colours[i].g, colours[i].b, 255));
    const std::string path = folder.File(name);
    EXPECT_EQ(0, IMG_SavePNG(surface, path.c_str())) << IMG_GetError();
    SDL_FreeSurface(surface);
    return path;
  }

  ScratchFolder folder;
};

// Draws a 200 x 100 quad at the window centre with u, v from 0, 0 (top left) to 1, 1.
void DrawTexturedQuad(VNGfxTexture* texture, float offsetU, float offsetV)
{
  VNGfxVertexList* quad = MakeQuad(-100.0f, -50.0f, 100.0f, 50.0f, 0xFFFFFFFF);
  BeginFrame(VN_GFX_RENDER_TEXTURE);
  VNGfxTextureSet(texture, offsetU, offsetV);
  VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
  VNGfxMeshFree(quad);
}

// Pixel at texture coordinate (u, v) of the quad DrawTexturedQuad draws.
Rgba PixelAtUV(float u, float v)
{
  return ReadPixel(PixelX(-100.0f + 200.0f * u), PixelY(50.0f - 100.0f * v));
}

TEST_F(TextureTest, PngFileShowsUprightWithItsTopRowAtVZero)
{
  std::string path = WriteQuadrantPng("quadrants.png", 64, 32);
  VNGfxTexture* texture = VNGfxTextureLoad(path.c_str());
  ASSERT_NE(nullptr, texture);
  EXPECT_EQ(path, texture->path);

  DrawTexturedQuad(texture, 0.0f, 0.0f);
  EXPECT_EQ(kRed, PixelAtUV(0.1f, 0.1f));
  EXPECT_EQ(kGreen, PixelAtUV(0.9f, 0.1f));
  EXPECT_EQ(kBlue, PixelAtUV(0.1f, 0.9f));
  EXPECT_EQ(kYellow, PixelAtUV(0.9f, 0.9f));
  VNGfxTextureUnload(texture);
}

TEST_F(TextureTest, MemoryPixelsAreRgbaWithTheFirstRowAtVZero)
{
  const unsigned char pixels[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 0, 255};
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(pixels, 2, 2);
  EXPECT_EQ('\0', texture->path[0]);
  DrawTexturedQuad(texture, 0.0f, 0.0f);
  EXPECT_EQ(kRed, PixelAtUV(0.25f, 0.25f));
  EXPECT_EQ(kGreen, PixelAtUV(0.75f, 0.25f));
  EXPECT_EQ(kBlue, PixelAtUV(0.25f, 0.75f));
  EXPECT_EQ(kYellow, PixelAtUV(0.75f, 0.75f));
  VNGfxTextureUnload(texture);
}

TEST_F(TextureTest, PathsLongerThan255CharactersAreRefused)
{
  const std::string longest = folder.File(std::string(255 - folder.path.size() - 1, 'a'));
  ASSERT_EQ(255u, longest.size());
  EXPECT_EQ("", StdoutOf([&] { EXPECT_EQ(nullptr, VNGfxTextureLoad((longest + "b").c_str())); }));

  // The longest name is tried (and, missing, stands in as the checker texture).
  VNGfxTexture* texture = nullptr;
  StdoutOf([&] { texture = VNGfxTextureLoad(longest.c_str()); });
  ASSERT_NE(nullptr, texture);
  EXPECT_EQ(longest, texture->path);
  VNGfxTextureUnload(texture);
  EXPECT_EQ(nullptr, VNGfxTextureLoad(nullptr));
}

TEST_F(TextureTest, UnreadableFilesGiveAVisibleCheckerAndOneLineNamingTheFile)
{
  const std::string corrupt = folder.File("corrupt.png");
  WriteText(corrupt, "\x89PNG this is not an image");
  for (const std::string& path : {folder.File("missing.png"), corrupt})
  {
    VNGfxTexture* texture = nullptr;
    const std::string out = StdoutOf([&] { texture = VNGfxTextureLoad(path.c_str()); });
    ASSERT_NE(nullptr, texture);
    EXPECT_NE(std::string::npos, out.find(path)) << out;
    EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n')) << out;

    DrawTexturedQuad(texture, 0.0f, 0.0f);
    EXPECT_EQ(kMagenta, PixelAtUV(0.25f, 0.25f));
    EXPECT_EQ(kBlack, PixelAtUV(0.75f, 0.25f));
    EXPECT_EQ(kBlack, PixelAtUV(0.25f, 0.75f));
    VNGfxTextureUnload(texture);
  }

  VNGfxTexture* empty = nullptr;
  EXPECT_NE(std::string::npos,
            StdoutOf([&] { empty = VNGfxTextureLoadFromMemory(nullptr, 4, 4); }).find("4 x 4"));
  DrawTexturedQuad(empty, 0.0f, 0.0f);
  EXPECT_EQ(kMagenta, PixelAtUV(0.25f, 0.25f));
  VNGfxTextureUnload(empty);
}

TEST_F(TextureTest, OffsetsAboveOneFoldDownAndOthersPassUnchanged)
{
  const unsigned char white[] = {255, 255, 255, 255};
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(white, 1, 1);
  VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
  struct Case
  {
    float u, v, expectedU, expectedV;
  } cases[] = {
      {2.5f, 1.0f, 0.5f, 1.0f},   {-0.5f, 0.25f, -0.5f, 0.25f}, {1.0001f, 3.0f, 0.0001f, 1.0f},
      {-7.0f, 0.0f, -7.0f, 0.0f}, {1e9f, 2.75f, 0.0f, 0.75f},
  };
  for (const Case& c : cases)
  {
    VNGfxTextureSet(texture, c.u, c.v);
    float sent[2];
    GetUniform("uTextureOffset", sent);
    EXPECT_NEAR(c.expectedU, sent[0], 1e-6) << c.u;
    EXPECT_NEAR(c.expectedV, sent[1], 1e-6) << c.v;
  }

  // A null texture unbinds and leaves the offset uniform as it was.
  VNGfxTextureSet(texture, 0.5f, 0.5f);
  VNGfxTextureSet(nullptr, 0.25f, 0.25f);
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(0, bound);
  float sent[2];
  GetUniform("uTextureOffset", sent);
  EXPECT_FLOAT_EQ(0.5f, sent[0]);
  VNGfxTextureUnload(texture);
  VNGfxTextureUnload(nullptr);
}

TEST_F(TextureTest, ShaderWrapsOffsetCoordinatesOnceAboveOneButNotBelowZero)
{
  // Four texels across; clamping shows what the shader itself does with coordinates
  // outside 0..1, which repeat wrapping would otherwise hide.
  const unsigned char strip[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 0, 255};
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(strip, 4, 1);
  glBindTexture(GL_TEXTURE_2D, *texture->name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);

  DrawTexturedQuad(texture, 0.25f, 0.0f);
  EXPECT_EQ(kRed, PixelAtUV(0.9f, 0.5f)) << "1.15 wraps to 0.15";
  EXPECT_EQ(kYellow, PixelAtUV(0.6f, 0.5f)) << "0.85 stays";

  DrawTexturedQuad(texture, -0.25f, 0.0f);
  EXPECT_EQ(kBlue, PixelAtUV(0.9f, 0.5f)) << "0.9 - 0.25 = 0.65";
  EXPECT_EQ(kRed, PixelAtUV(0.02f, 0.5f)) << "-0.23 is not wrapped by the shader";

  // With the default repeat wrapping, a negative coordinate comes round again.
  glBindTexture(GL_TEXTURE_2D, *texture->name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  DrawTexturedQuad(texture, -0.25f, 0.0f);
  EXPECT_EQ(kYellow, PixelAtUV(0.02f, 0.5f));
  VNGfxTextureUnload(texture);
}

TEST_F(TextureTest, TextureModesSwitchFiltersAndUnknownModesAreRefused)
{
  const unsigned char white[] = {255, 255, 255, 255};
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(white, 1, 1);
  glBindTexture(GL_TEXTURE_2D, *texture->name);
  GLint min = 0, mag = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
  EXPECT_EQ(GL_NEAREST, min);
  EXPECT_EQ(GL_NEAREST, mag);

  VNGfxSetTextureMode(VN_GFX_TEXTURE_LINEAR);
  EXPECT_EQ("Unsupported texture mode!\n", StdoutOf([] { VNGfxSetTextureMode(2); }));
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
  EXPECT_EQ(GL_LINEAR, min);
  EXPECT_EQ(GL_LINEAR, mag);

  VNGfxSetTextureMode(VN_GFX_TEXTURE_NEAREST);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
  EXPECT_EQ(GL_NEAREST, mag);

  const std::string out = folder.File("out.png");
  EXPECT_EQ("VNGfxSaveTextureToFile not supported in the OpenGL version of the Vorn Engine!\n",
            StdoutOf(
                [&]
                {
                  VNGfxSaveTextureToFile(texture, out.c_str());
                  VNGfxSaveTextureToFile(nullptr, out.c_str());
                }));
  EXPECT_FALSE(std::filesystem::exists(out));
  VNGfxTextureUnload(texture);
}

} // namespace
