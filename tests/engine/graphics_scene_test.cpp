// A small scene drawn through the engine calls alone, as a game frame would: a coloured
// quad, the key card picture from Assets/ on a textured quad, a line and a line of text,
// then the frame is presented. The pixels read back before presenting must show each.
#include "graphics_pixels.h"

#include <SDL.h>
#include <SDL_image.h>

namespace
{

const char* const kPicture = "Assets/Tilemap/keycard.png";
const Rgba kGrey{51, 51, 51, 255}; // the background, 0.2 in every channel

TEST(SceneTest, QuadPictureLineAndTextDrawTogether)
{
  EnsureTestWindow();

  // The picture as the file holds it, to compare the drawn texels with.
  SDL_Surface* loaded = IMG_Load(kPicture);
  ASSERT_NE(nullptr, loaded) << kPicture << ": " << IMG_GetError();
  SDL_Surface* image = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(loaded);
  ASSERT_NE(nullptr, image);
  auto texel = [&](int x, int y)
  {
    const unsigned char* p =
        static_cast<const unsigned char*>(image->pixels) + y * image->pitch + x * 4;
    return Rgba{p[0], p[1], p[2], p[3]};
  };

  VNGfxVertexList* square = MakeQuad(-25.0f, -25.0f, 25.0f, 25.0f, 0xFFE03010);
  // Two world units per texel, so each texel covers whole pixels.
  const float size = 2.0f * image->w;
  VNGfxVertexList* card = MakeQuad(0.0f, 0.0f, size, 2.0f * image->h, 0xFFFFFFFF);
  VNGfxTexture* texture = VNGfxTextureLoad(kPicture);
  unsigned int font = VNGfxCreateFont("Courier New", 24, 1, 0);
  ASSERT_NE(0u, font);

  VNGfxSetCamPosition(0.0f, 0.0f);
  VNGfxSetBackgroundColor(0.2f, 0.2f, 0.2f);
  VNGfxStart();
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
  VNGfxSetTransparency(1.0f);
  VNGfxSetPosition(-300.0f, 0.0f);
  VNGfxMeshDraw(square, VN_GFX_MESH_TRIANGLES);
  VNGfxLine(-400.5f, -150.5f, 0.0f, 1, 1, 0, 1, 400.5f, -150.5f, 0.0f, 1, 1, 0, 1);
  VNGfxPrint(font, "KESTRIN", -400, 200, 1.0f, 1.0f, 1.0f);

  VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
  VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
  VNGfxSetTransparency(1.0f);
  VNGfxSetBlendColor(0.0f, 0.0f, 0.0f, 0.0f);
  VNGfxTextureSet(texture, 0.0f, 0.0f);
  VNGfxSetPosition(100.0f, -50.0f);
  VNGfxMeshDraw(card, VN_GFX_MESH_TRIANGLES);
  VNGfxTextureSet(nullptr, 0.0f, 0.0f);

  EXPECT_EQ((Rgba{224, 48, 16, 255}), ReadPixel(PixelX(-300.0f), PixelY(0.0f)));
  EXPECT_EQ(kYellow, ReadPixel(PixelX(0.0f), PixelY(-150.5f)));
  EXPECT_RGB_NEAR(kGrey, ReadPixel(PixelX(0.0f), PixelY(-145.0f)), 1);

  // Every opaque texel shows as itself, the top row at the top; clear ones show the
  // background through.
  int opaque = 0;
  for (int y = 0; y < image->h; y += 3)
    for (int x = 0; x < image->w; x += 3)
    {
      Rgba expected = texel(x, y);
      if (expected.a != 255 && expected.a != 0)
        continue;
      Rgba drawn = ReadPixel(PixelX(100.0f + 2.0f * x + 1.0f),
                             PixelY(-50.0f + 2.0f * (image->h - y) - 1.0f));
      if (expected.a == 0)
      {
        EXPECT_RGB_NEAR(kGrey, drawn, 1) << x << ", " << y;
        continue;
      }
      ++opaque;
      EXPECT_RGB_NEAR(expected, drawn, 0) << "texel " << x << ", " << y;
    }
  EXPECT_GT(opaque, 20) << "the picture has opaque texels to compare";

  // The text: white glyph pixels above its baseline, nothing else there.
  int white = 0;
  for (int y = PixelY(200.0f); y < PixelY(220.0f); ++y)
    for (int x = PixelX(-400.0f); x < PixelX(-300.0f); ++x)
    {
      Rgba p = ReadPixel(x, y);
      if (p.r == 255 && p.g == 255 && p.b == 255)
        ++white;
      else
        EXPECT_RGB_NEAR(kGrey, p, 1) << x << ", " << y;
    }
  EXPECT_GT(white, 100);

  // Presenting checks for GL errors and would halt on any.
  VNGfxEnd();

  VNGfxDestroyFont(font);
  VNGfxTextureUnload(texture);
  VNGfxMeshFree(card);
  VNGfxMeshFree(square);
  SDL_FreeSurface(image);
}

} // namespace
