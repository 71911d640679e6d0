// Bitmap fonts and text under a real GL context: typefaces resolved by name, glyph
// pixels in the print colour against the baseline, weight and slant, culling bounds,
// the text as printed ("%%", long texts) and the state left after printing.
#include "graphics_pixels.h"

#include <string>
#include <utility>
#include <vector>

namespace
{

// Courier New bold at 20 pixels, made once for the whole program.
class FontTest : public GfxTest
{
protected:
  void SetUp() override
  {
    GfxTest::SetUp();
    if (!font)
      font = VNGfxCreateFont("Courier New", 20, 1, 0);
    ASSERT_NE(0u, font);
  }

  static unsigned int font;
};

unsigned int FontTest::font = 0;

// Where the next glyph would go, in window pixels.
std::pair<float, float> RasterPosition()
{
  float position[4];
  glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
  return {position[0], position[1]};
}

// Puts the raster position at the camera, the window centre, as a mark that printing
// moved it or not.
void MarkRasterPosition()
{
  float cx, cy;
  VNGfxGetCamPosition(&cx, &cy);
  GLint program = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  glVertexAttrib4f(glGetAttribLocation((GLuint)program, "aPosition"), cx, cy, 0.0f, 1.0f);
  glRasterPos2f(cx, cy);
  ASSERT_FLOAT_EQ(640.0f, RasterPosition().first);
}

// Pixels of the window rectangle [x0, x1) x [y0, y1) in the colour, and in any colour
// other than the white background.
struct Coverage
{
  int matching = 0;
  int other = 0;
  long sumX = 0;
};

Coverage Scan(int x0, int y0, int x1, int y1, Rgba colour)
{
  std::vector<unsigned char> pixels((size_t)(x1 - x0) * (y1 - y0) * 4);
  glFinish();
  glReadPixels(x0, y0, x1 - x0, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  Coverage coverage;
  for (size_t i = 0; i < pixels.size(); i += 4)
  {
    Rgba p{pixels[i], pixels[i + 1], pixels[i + 2], 255};
    if (p == colour)
    {
      ++coverage.matching;
      coverage.sumX += (long)((i / 4) % (size_t)(x1 - x0));
    }
    else if (!(p == kWhite))
      ++coverage.other;
  }
  return coverage;
}

TEST_F(FontTest, GlyphsSitOnTheBaselineInThePrintColour)
{
  // With blending on, as the game draws: the glyphs must not vanish for want of alpha.
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxPrint(font, "HH", -100, 0, 0.0f, 0.5f, 1.0f);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  const Rgba colour{0, 128, 255, 255};
  Coverage above = Scan(540, 360, 580, 385, colour);
  Coverage below = Scan(530, 340, 590, 360, colour);
  EXPECT_GT(above.matching, 40);
  EXPECT_EQ(0, above.other) << "glyphs are one flat colour";
  EXPECT_EQ(0, below.matching + below.other) << "H has nothing under the baseline";

  // The tint multiplies text like any other fragment.
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxSetTintColor(1.0f, 0.0f, 1.0f, 1.0f);
  VNGfxPrint(font, "HH", -100, 0, 0.0f, 0.5f, 1.0f);
  EXPECT_EQ(above.matching, Scan(540, 360, 580, 385, kBlue).matching);
  VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
}

TEST_F(FontTest, WeightAndSlantChangeTheGlyphs)
{
  unsigned int regular = VNGfxCreateFont("Courier New", 40, 0, 0);
  unsigned int italic = VNGfxCreateFont("Courier New", 40, 0, 1);
  unsigned int comic = VNGfxCreateFont("Comic Sans MS", 40, 1, 1);
  ASSERT_NE(0u, regular);
  ASSERT_NE(0u, italic);
  ASSERT_NE(0u, comic);
  unsigned int bold = VNGfxCreateFont("Courier New", 40, 1, 0);

  auto draw = [&](unsigned int f, const char* text)
  {
    BeginFrame(VN_GFX_RENDER_COLOR);
    VNGfxPrint(f, text, 0, 0, 0.0f, 0.0f, 0.0f);
    return Scan(640, 360, 700, 400, kBlack);
  };
  Coverage plain = draw(regular, "I");
  Coverage heavy = draw(bold, "I");
  EXPECT_GT(heavy.matching, plain.matching * 5 / 4) << "bold strokes are thicker";

  // A slanted I leans right: its upper half lies further right than its lower half.
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxPrint(italic, "I", 0, 0, 0.0f, 0.0f, 0.0f);
  Coverage low = Scan(640, 361, 700, 372, kBlack);
  Coverage high = Scan(640, 380, 700, 391, kBlack);
  ASSERT_GT(low.matching, 0);
  ASSERT_GT(high.matching, 0);
  EXPECT_GT((double)high.sumX / high.matching, (double)low.sumX / low.matching + 2.0);

  EXPECT_GT(draw(comic, "W").matching, 20);

  EXPECT_TRUE(glIsList(comic));
  EXPECT_TRUE(glIsList(comic + 95));
  VNGfxDestroyFont(comic);
  EXPECT_FALSE(glIsList(comic));
  EXPECT_FALSE(glIsList(comic + 95));
  VNGfxDestroyFont(0);
  for (unsigned int f : {regular, italic, bold})
    VNGfxDestroyFont(f);
}

TEST_F(FontTest, TextIsCulledOnlyPastOneWindowLeftAndBelowOrAtTheRightAndTop)
{
  struct Case
  {
    int x, y;
    bool drawn;
  } cases[] = {
      {-1919, 0, true}, {-1920, 0, false}, {639, 0, true}, {640, 0, false},
      {0, -1079, true}, {0, -1080, false}, {0, 359, true}, {0, 360, false},
  };
  BeginFrame(VN_GFX_RENDER_COLOR);
  for (const Case& c : cases)
  {
    MarkRasterPosition();
    VNGfxPrint(font, "A", c.x, c.y, 0.0f, 0.0f, 0.0f);
    const std::pair<float, float> at = RasterPosition();
    const bool moved = at != std::make_pair(640.0f, 360.0f);
    EXPECT_EQ(c.drawn, moved) << "text at (" << c.x << ", " << c.y << ")";
    if (c.drawn)
    {
      EXPECT_FLOAT_EQ(c.y + 360.0f, at.second) << "raster row of (" << c.x << ", " << c.y << ")";
    }
  }

  // The bounds follow the camera.
  VNGfxSetCamPosition(1000.0f, -500.0f);
  BeginFrame(VN_GFX_RENDER_COLOR);
  MarkRasterPosition();
  VNGfxPrint(font, "A", 1000 + 639, -500 - 1079, 0.0f, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(-719.0f, RasterPosition().second);
  MarkRasterPosition();
  VNGfxPrint(font, "A", 1000 + 640, -500, 0.0f, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(360.0f, RasterPosition().second);
}

TEST_F(FontTest, TextPositionFollowsTheFullScreenScale)
{
  gVNScreenScaleX = gVNScreenScaleY = 1.5f;
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxPrint(font, "", -200, -100, 0.0f, 0.0f, 0.0f);
  const std::pair<float, float> at = RasterPosition();
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  gVNScreenScaleX = gVNScreenScaleY = 1.0f;
  // (-200 * 1.5 + 960, -100 * 1.5 + 540): where a mesh vertex there would land.
  EXPECT_NEAR(660.0f, at.first, 0.01);
  EXPECT_NEAR(390.0f, at.second, 0.01);
  EXPECT_EQ(1920, viewport[2]) << "printing keeps the scaled viewport";
  EXPECT_EQ(1080, viewport[3]);
}

TEST_F(FontTest, TextIsPrintedAsWrittenAndCutAt255Characters)
{
  BeginFrame(VN_GFX_RENDER_COLOR);
  auto advance = [&](const std::string& text)
  {
    VNGfxPrint(font, text.c_str(), -1900, 0, 0.0f, 0.0f, 0.0f);
    return RasterPosition().first - (-1900.0f + 640.0f);
  };
  const float one = advance("A");
  ASSERT_GT(one, 5.0f);
  EXPECT_NEAR(one, advance("%%"), 0.5);
  EXPECT_NEAR(4 * one, advance("%s%n"), 0.5);
  EXPECT_NEAR(3 * one, advance("%d%"), 0.5);
  EXPECT_NEAR(255 * one, advance(std::string(255, 'x')), 0.5);
  EXPECT_NEAR(255 * one, advance(std::string(1000, '%')), 0.5);
  EXPECT_NEAR(255 * one, advance(std::string(300, 'y')), 0.5);
  EXPECT_NEAR(2 * one, advance("\xE9\t"), 0.5) << "bytes outside the font still take a place";
}

TEST_F(FontTest, PrintingRestoresViewportAndViewAndClearsTheBlendColour)
{
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxSetBlendColor(0.1f, 0.2f, 0.3f, 0.4f);
  GLint viewportBefore[4], viewportAfter[4];
  float viewBefore[16], viewAfter[16], blend[4];
  glGetIntegerv(GL_VIEWPORT, viewportBefore);
  GetUniform("uVMatrix", viewBefore);

  // A null text touches nothing.
  MarkRasterPosition();
  VNGfxPrint(font, nullptr, 0, 0, 1.0f, 0.0f, 0.0f);
  GetUniform("uBlendColor", blend);
  EXPECT_FLOAT_EQ(0.4f, blend[3]);
  EXPECT_FLOAT_EQ(640.0f, RasterPosition().first);

  VNGfxPrint(font, "state", -300, 100, 1.0f, 0.0f, 0.0f);
  glGetIntegerv(GL_VIEWPORT, viewportAfter);
  GetUniform("uVMatrix", viewAfter);
  GetUniform("uBlendColor", blend);
  for (int i = 0; i < 4; ++i)
  {
    EXPECT_EQ(viewportBefore[i], viewportAfter[i]);
    EXPECT_FLOAT_EQ(0.0f, blend[i]);
  }
  for (int i = 0; i < 16; ++i)
    EXPECT_FLOAT_EQ(viewBefore[i], viewAfter[i]) << i;

  // Meshes drawn afterwards land where they did before the text.
  VNGfxVertexList* dot = MakeQuad(-3.0f, -3.0f, 3.0f, 3.0f, 0xFF00FF00);
  VNGfxSetPosition(200.0f, -100.0f);
  VNGfxMeshDraw(dot, VN_GFX_MESH_TRIANGLES);
  EXPECT_EQ(kGreen, ReadPixel(840, 260));
  VNGfxMeshFree(dot);
}

} // namespace
