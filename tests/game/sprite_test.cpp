#include <SDL.h>
#include <SDL_image.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "Framework/Sprite2D.h"
#include "Framework/TextureManager.h"
#include "TestWindow.h"

namespace
{
const int kColumns = 4;
const int kRows = 2;
const int kFramePixels = 16;

// One colour per frame of the 4 x 2 sheet, row by row from the top.
const Uint8 kFrameColors[kColumns * kRows][3] = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0},
    {255, 0, 255}, {0, 255, 255}, {255, 128, 0}, {128, 0, 255}};

std::string WriteSheet()
{
  const std::string file = ::testing::TempDir() + "kestrin-sprite-sheet.png";
  SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(
      0, kColumns * kFramePixels, kRows * kFramePixels, 32, SDL_PIXELFORMAT_RGBA32);
  for (int frame = 0; frame < kColumns * kRows; ++frame)
  {
    SDL_Rect area = {(frame % kColumns) * kFramePixels, (frame / kColumns) * kFramePixels,
                     kFramePixels, kFramePixels};
    const Uint8* c = kFrameColors[frame];
    SDL_FillRect(sheet, &area, SDL_MapRGBA(sheet->format, c[0], c[1], c[2], 255));
  }
  EXPECT_EQ(0, IMG_SavePNG(sheet, file.c_str())) << IMG_GetError();
  SDL_FreeSurface(sheet);
  return file;
}

class SpriteTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    sheetFile = WriteSheet();
    VNGfxSetBackgroundColor(0.0f, 0.0f, 0.0f);
    VNGfxStart();
    VNGfxSetCamPosition(0.0f, 0.0f);
    // Leaving render mode None makes the next draw upload the camera's matrices.
    VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
  }
  void TearDown() override
  {
    VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
    TextureManager::Destroy();
    remove(sheetFile.c_str());
  }

  // Colour at a world point, camera at the origin, 1280 x 720 window.
  static void ExpectColorAt(float x, float y, const Uint8* rgb, const char* what)
  {
    glFinish();
    unsigned char pixel[4] = {};
    glReadPixels(640 + static_cast<int>(x), 360 + static_cast<int>(y), 1, 1, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixel);
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(rgb[i], pixel[i], 2) << what << " channel " << i;
  }

  std::string sheetFile;
};
}

TEST_F(SpriteTest, SheetFramesAreRowsOfTheImage)
{
  Sprite2D sprite(kColumns, kRows, sheetFile, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(0.25f, sprite.frameSize.x);
  EXPECT_FLOAT_EQ(0.5f, sprite.frameSize.y);
  sprite.width = 160.0f;
  sprite.height = 160.0f;

  sprite.DrawFrame(1);
  ExpectColorAt(0, 0, kFrameColors[4], "DrawFrame(1): second row, first frame");
  sprite.DrawFrame(0);
  ExpectColorAt(0, 0, kFrameColors[0], "DrawFrame(0): first row, first frame");
  // The plain draw scrolls by one frame height, so a two-row sheet shows its second row.
  sprite.Draw();
  ExpectColorAt(0, 0, kFrameColors[4], "Draw(): second row");
}

TEST_F(SpriteTest, WholeImageShowsUprightAndUnmirrored)
{
  Sprite2D sprite(1, 1, sheetFile, 0.0f, 0.0f);
  sprite.width = 160.0f;
  sprite.height = 160.0f;
  sprite.Draw();
  ExpectColorAt(-70, 70, kFrameColors[0], "top left");
  ExpectColorAt(70, 70, kFrameColors[3], "top right");
  ExpectColorAt(-70, -70, kFrameColors[4], "bottom left");
  ExpectColorAt(70, -70, kFrameColors[7], "bottom right");
}

TEST_F(SpriteTest, HiddenSpriteDrawsNothingAndBuildsNoMesh)
{
  Sprite2D sprite(1, 1, sheetFile, 0.0f, 0.0f);
  sprite.width = 160.0f;
  sprite.height = 160.0f;
  sprite.hidden = true;
  sprite.Draw();
  sprite.DrawFrame(1);
  EXPECT_FALSE(sprite.meshBuilt);
  EXPECT_EQ(nullptr, sprite.mesh);
  const Uint8 black[3] = {0, 0, 0};
  ExpectColorAt(0, 0, black, "hidden sprite");
}

TEST_F(SpriteTest, TimedSpriteExpiresWhenItsLifetimeIsUsedUp)
{
  Sprite2D sprite;
  sprite.lifetime = 0.5f;
  sprite.Update(0.25f);
  EXPECT_FLOAT_EQ(0.5f, sprite.lifetime) << "an untimed sprite does not count down";

  sprite.timed = true;
  sprite.Update(0.25f);
  EXPECT_FALSE(sprite.expired);
  sprite.Update(0.25f);
  EXPECT_TRUE(sprite.expired);
  sprite.Update(0.25f);
  EXPECT_FLOAT_EQ(0.0f, sprite.lifetime) << "an expired sprite stops counting";
}
