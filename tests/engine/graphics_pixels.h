// Helpers the graphics tests share (the engine's and the game's): start a frame in a
// render mode and read back pixels of the frame being drawn.
#pragma once

#include "TestWindow.h"
#include "Vorn.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

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
    kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kYellow{255, 255, 0, 255};

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
