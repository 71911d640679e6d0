// Helpers the graphics tests share (the engine's and the game's): start a frame in a
// render mode, build a quad, and read back pixels of the frame being drawn.
#pragma once

#include "TestWindow.h"
#include "Vorn.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>
#include <stdlib.h>

struct Rgba
{
  int r, g, b, a;
};

inline bool operator==(const Rgba& x, const Rgba& y)
{
  return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}

inline std::ostream& operator<<(std::ostream& out, const Rgba& c)
{
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

const Rgba kWhite{255, 255, 255, 255}, kBlack{0, 0, 0, 255}, kRed{255, 0, 0, 255},
    kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kYellow{255, 255, 0, 255},
    kMagenta{255, 0, 255, 255};

// Colour channels of a read-back pixel may differ from the exact value by rounding.
inline ::testing::AssertionResult RgbNear(const Rgba& expected, const Rgba& actual, int tolerance)
{
  if (abs(expected.r - actual.r) <= tolerance && abs(expected.g - actual.g) <= tolerance &&
      abs(expected.b - actual.b) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

#define EXPECT_RGB_NEAR(expected, actual, tolerance)                                               \
  EXPECT_TRUE(RgbNear((expected), (actual), (tolerance)))

// Pixel (x, y) of the back buffer, counted from the bottom-left corner of the window.
inline Rgba ReadPixel(int x, int y)
{
  unsigned char p[4] = {0, 0, 0, 0};
  glFinish();
  glReadBuffer(GL_BACK);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return Rgba{p[0], p[1], p[2], p[3]};
}

// Clears to the background colour and enters `mode` with freshly uploaded matrices,
// an identity world matrix, no blending, tint 1 and transparency 1 in that program,
// and no blend colour.
inline void BeginFrame(int mode, float r = 1.0f, float g = 1.0f, float b = 1.0f)
{
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
  VNGfxSetBackgroundColor(r, g, b);
  VNGfxStart();
  VNGfxSetRenderMode(mode);
  VNGfxSetBlendMode(VN_GFX_BLEND_NONE);
  VNGfxSetPosition(0.0f, 0.0f);
  VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
  VNGfxSetTransparency(1.0f);
  VNGfxSetBlendColor(0.0f, 0.0f, 0.0f, 0.0f);
}

// A closed mesh of one axis-aligned quad from (x0, y0) to (x1, y1), one colour, with
// u from 0 (left) to 1 (right) and v from 0 (top) to 1 (bottom).
inline VNGfxVertexList* MakeQuad(float x0, float y0, float x1, float y1, uint32_t color)
{
  VNGfxReset();
  VNGfxMeshStart();
  VNGfxTriAdd(x0, y0, color, 0.0f, 1.0f, x1, y0, color, 1.0f, 1.0f, x1, y1, color, 1.0f, 0.0f);
  VNGfxTriAdd(x0, y0, color, 0.0f, 1.0f, x1, y1, color, 1.0f, 0.0f, x0, y1, color, 0.0f, 0.0f);
  return VNGfxMeshEnd();
}

// Window pixel of a world point with the camera at (camX, camY), 1280 x 720, scale 1.
inline int PixelX(float worldX, float camX = 0.0f)
{
  return (int)floorf(worldX - camX) + 640;
}

inline int PixelY(float worldY, float camY = 0.0f)
{
  return (int)floorf(worldY - camY) + 360;
}
