// PixelFont: FreeType glyphs rendered as one-bit bitmaps onto a canvas.
#include "PixelFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>

namespace Fonts
{
const char* const kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
} // namespace Fonts

namespace
{
FT_Library Library()
{
  static FT_Library library = nullptr;
  if (!library && FT_Init_FreeType(&library) != 0)
  {
    std::printf("make_images: FreeType does not start\n");
    library = nullptr;
  }
  return library;
}
} // namespace

PixelFont::PixelFont(const std::string& file, int pixelHeight)
{
  FT_Library library = Library();
  if (!library || FT_New_Face(library, file.c_str(), 0, &face) != 0)
  {
    std::printf("make_images: cannot open the font %s\n", file.c_str());
    face = nullptr;
    return;
  }
  FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelHeight));
}

PixelFont::~PixelFont()
{
  if (face)
    FT_Done_Face(face);
}

int PixelFont::Measure(const std::string& text) const
{
  if (!face)
    return 0;
  int pen = 0;
  for (unsigned char ch : text)
    if (FT_Load_Char(face, ch, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0)
      pen += int(face->glyph->advance.x >> 6);
  return pen;
}

int PixelFont::Draw(Canvas& canvas, int x, int y, const std::string& text, Color color) const
{
  if (!face)
    return x;
  int pen = x;
  for (unsigned char ch : text)
  {
    if (FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
      continue;
    FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& bm = g->bitmap;
    for (unsigned row = 0; row < bm.rows; ++row)
      for (unsigned col = 0; col < bm.width; ++col)
      {
        const unsigned char* line = bm.buffer + row * bm.pitch;
        bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (line[col >> 3] & (0x80 >> (col & 7))) != 0
                                                      : line[col] > 127;
        if (on)
          canvas.Plot(pen + g->bitmap_left + int(col), y - g->bitmap_top + int(row), color);
      }
    pen += int(g->advance.x >> 6);
  }
  return pen;
}

void PixelFont::DrawCentred(Canvas& canvas, int cx, int cy, const std::string& text, Color color,
                            Color shadow) const
{
  if (!face)
    return;
  // Cap height from the glyph 'H' centres capitals and digits on cy.
  int cap = 0;
  if (FT_Load_Char(face, 'H', FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0)
    cap = int(face->glyph->metrics.height >> 6);
  int x = cx - Measure(text) / 2;
  int baseline = cy + cap / 2;
  if (shadow.a != 0)
    Draw(canvas, x, baseline + 1, text, shadow);
  Draw(canvas, x, baseline, text, color);
}
