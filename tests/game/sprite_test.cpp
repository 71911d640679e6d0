#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <string>

#include "../engine/graphics_pixels.h"
#include "Framework/Sprite2D.h"
#include "Framework/TextureManager.h"
#include "ScratchFolder.h"
#include "TestWindow.h"

namespace
{
// One colour per frame of a 4 x 2 sheet of 16-pixel frames, row by row from the top.
const Rgba kFrames[8] = {{255, 0, 0, 255},   {0, 255, 0, 255},   {0, 0, 255, 255},
                         {255, 255, 0, 255}, {255, 0, 255, 255}, {0, 255, 255, 255},
                         {255, 128, 0, 255}, {128, 0, 255, 255}};

class SpriteTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 64, 32, 32, SDL_PIXELFORMAT_RGBA32);
    for (int frame = 0; frame < 8; ++frame)
    {
      SDL_Rect area = {(frame % 4) * 16, (frame / 4) * 16, 16, 16};
      const Rgba& c = kFrames[frame];
      SDL_FillRect(sheet, &area, SDL_MapRGBA(sheet->format, c.r, c.g, c.b, 255));
    }
    EXPECT_EQ(0, IMG_SavePNG(sheet, sheetFile.c_str())) << IMG_GetError();
    SDL_FreeSurface(sheet);
    // Leaving render mode None makes the next draw upload the camera's matrices.
    BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);
    VNGfxSetCamPosition(0.0f, 0.0f);
  }
  void TearDown() override
  {
    VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
    TextureManager::Destroy();
  }

  // Colour at a world point, camera at the origin.
  static Rgba At(int x, int y) { return ReadPixel(640 + x, 360 + y); }

  ScratchFolder folder;
  const std::string sheetFile = folder.File("sheet.png");
};
} // namespace

TEST_F(SpriteTest, SheetFramesAreRowsOfTheImage)
{
  Sprite2D sprite(4, 2, sheetFile, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(0.25f, sprite.frameSize.x);
  EXPECT_FLOAT_EQ(0.5f, sprite.frameSize.y);
  sprite.width = 160.0f;
  sprite.height = 160.0f;

  sprite.DrawFrame(1);
  EXPECT_RGB_NEAR(kFrames[4], At(0, 0), 2) << "DrawFrame(1): second row, first frame";
  sprite.DrawFrame(0);
  EXPECT_RGB_NEAR(kFrames[0], At(0, 0), 2) << "DrawFrame(0): first row, first frame";
  // The plain draw scrolls by one frame height, so a two-row sheet shows its second row.
  sprite.Draw();
  EXPECT_RGB_NEAR(kFrames[4], At(0, 0), 2) << "Draw(): second row";
}

TEST_F(SpriteTest, WholeImageShowsUprightAndUnmirroredAndNotWhenHidden)
{
  Sprite2D sprite(1, 1, sheetFile, 0.0f, 0.0f);
  sprite.width = 160.0f;
  sprite.height = 160.0f;
  sprite.Draw();
  EXPECT_RGB_NEAR(kFrames[0], At(-70, 70), 2) << "top left";
  EXPECT_RGB_NEAR(kFrames[3], At(70, 70), 2) << "top right";
  EXPECT_RGB_NEAR(kFrames[4], At(-70, -70), 2) << "bottom left";
  EXPECT_RGB_NEAR(kFrames[7], At(70, -70), 2) << "bottom right";

  Sprite2D hidden(1, 1, sheetFile, 0.0f, 0.0f);
  hidden.width = 160.0f;
  hidden.height = 160.0f;
  hidden.hidden = true;
  BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);
  hidden.Draw();
  hidden.DrawFrame(1);
  EXPECT_FALSE(hidden.meshBuilt);
  EXPECT_EQ(nullptr, hidden.mesh);
  EXPECT_RGB_NEAR((Rgba{0, 0, 0, 255}), At(0, 0), 2) << "hidden sprite";
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
