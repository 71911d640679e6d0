// Sprites outside the view are skipped, but one that reaches into it only through its
// scale or its rotation is still drawn.
#include <gtest/gtest.h>

#include "../engine/graphics_pixels.h"
#include "Framework/Sprite2D.h"

TEST(SpriteCullingTest, SpritesReachingIntoTheViewAreDrawn)
{
  EnsureTestWindow();
  VNGfxSetCamPosition(0.0f, 0.0f);
  struct Case
  {
    float x, y, scaleX, rotation;
    int pixelX, pixelY; // a window pixel the sprite covers
  };
  // A 100 x 10 bar; the view runs from -640 to 640 and from -360 to 360.
  const Case cases[] = {
      {-680.0f, 0.0f, 1.0f, 0.0f, 5, 360},   // its right end pokes in
      {-780.0f, 0.0f, 3.0f, 0.0f, 5, 360},   // only its scaled length reaches in
      {-780.0f, 0.0f, -3.0f, 0.0f, 5, 360},  // mirrored
      {0.0f, 400.0f, 1.0f, 90.0f, 640, 715}, // turned upright above the top edge
      {0.0f, -400.0f, 1.0f, -90.0f, 640, 5}, // and below the bottom one
  };
  for (const Case& test : cases)
  {
    BeginFrame(VN_GFX_RENDER_COLOR, 0.0f, 0.0f, 0.0f);
    Sprite2D bar;
    bar.width = 100.0f;
    bar.height = 10.0f;
    bar.position = {test.x, test.y};
    bar.scale = {test.scaleX, 1.0f};
    bar.rotation = test.rotation;
    bar.Draw();
    EXPECT_RGB_NEAR(kWhite, ReadPixel(test.pixelX, test.pixelY), 2)
        << "bar at " << test.x << ", " << test.y << " scale " << test.scaleX;
  }
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
}
