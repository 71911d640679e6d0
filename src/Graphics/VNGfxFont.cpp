/*
 * VNGfxFont: bitmap fonts and one-line text. A font is a system typeface, found by name
 * through fontconfig and rasterised by FreeType into 96 display lists (characters 32 to
 * 127), each drawing its glyph with glBitmap and moving the raster position by the
 * glyph's advance. Text is placed by a raster position at a world point, so it goes
 * through the current program like a vertex and follows the camera.
 */
#include "Graphics/VNGraphics.h"
#include "Graphics/VNGfxInternal.h"
#include "System/VNSystem.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

static const int kFirstChar = 32;
static const int kGlyphCount = 96;
static const int kMaxTextLength = 255;

/* ---- Typeface lookup ----------------------------------------------------------------- */

/* The font file fontconfig picks for the family, weight and slant; empty when none. */
static std::string FindFontFile(const char* face, bool bold, bool italic, int* index)
{
  std::string file;
  if (!FcInit())
    return file;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
  /* A light request: regular faces are the closest most families have. */
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FcWeightFromOpenType(100));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);

  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcChar8* path = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
  {
    file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch)
      *index = 0;
  }
  if (match)
    FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return file;
}

/* ---- Glyph lists --------------------------------------------------------------------------- */

/* Compiles one glyph of the face into a display list: the bitmap placed against the
 * baseline, then the advance. */
static void CompileGlyph(FT_Face face, unsigned int list, int character, bool embolden,
                         bool oblique)
{
  std::vector<GLubyte> rows;
  int width = 0;
  int height = 0;
  float originX = 0.0f;
  float originY = 0.0f;
  float advance = 0.0f;

  if (FT_Load_Char(face, character, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) == 0)
  {
    FT_GlyphSlot slot = face->glyph;
    if (oblique)
      FT_GlyphSlot_Oblique(slot);
    if (embolden)
      FT_GlyphSlot_Embolden(slot);
    advance = (float)((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0)
    {
      const FT_Bitmap& bitmap = slot->bitmap;
      width = (int)bitmap.width;
      height = (int)bitmap.rows;
      int rowBytes = (width + 7) / 8;
      rows.resize((size_t)rowBytes * height);
      /* FreeType rows run top down, glBitmap rows bottom up. */
      for (int row = 0; row < height; ++row)
      {
        const unsigned char* source = bitmap.buffer + row * bitmap.pitch;
        std::copy(source, source + rowBytes, rows.begin() + (size_t)(height - 1 - row) * rowBytes);
      }
      originX = (float)-slot->bitmap_left;
      originY = (float)(height - slot->bitmap_top);
    }
  }

  glNewList(list, GL_COMPILE);
  glBitmap(width, height, originX, originY, advance, 0.0f, rows.empty() ? nullptr : rows.data());
  glEndList();
}

unsigned int VNGfxCreateFont(const char* face, int height, int bold, int italic)
{
  if (!face)
  {
    printf("VNGfxCreateFont: no typeface name given\n");
    return 0;
  }
  if (height <= 0)
  {
    printf("VNGfxCreateFont: \"%s\" asked at %d pixels; the height must be positive\n", face,
           height);
    return 0;
  }

  int index = 0;
  std::string file = FindFontFile(face, bold != 0, italic != 0, &index);
  FT_Library library = nullptr;
  FT_Face ftFace = nullptr;
  if (file.empty() || FT_Init_FreeType(&library) != 0 ||
      FT_New_Face(library, file.c_str(), index, &ftFace) != 0 ||
      FT_Set_Pixel_Sizes(ftFace, 0, (FT_UInt)height) != 0)
  {
    printf("VNGfxCreateFont: cannot load typeface \"%s\" (file \"%s\")\n", face, file.c_str());
    if (ftFace)
      FT_Done_Face(ftFace);
    if (library)
      FT_Done_FreeType(library);
    return 0;
  }

  GLuint base = glGenLists(kGlyphCount);
  if (base != 0)
  {
    /* Families without the asked weight or slant are made bold or slanted here. */
    bool embolden = bold && !(ftFace->style_flags & FT_STYLE_FLAG_BOLD);
    bool oblique = italic && !(ftFace->style_flags & FT_STYLE_FLAG_ITALIC);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    for (int i = 0; i < kGlyphCount; ++i)
      CompileGlyph(ftFace, base + i, kFirstChar + i, embolden, oblique);
    glPopClientAttrib();
  }
  else
  {
    printf("VNGfxCreateFont: no display lists left for \"%s\"\n", face);
  }

  FT_Done_Face(ftFace);
  FT_Done_FreeType(library);
  return base;
}

void VNGfxDestroyFont(unsigned int font)
{
  if (font != 0)
    glDeleteLists(font, kGlyphCount);
}

/* ---- Printing --------------------------------------------------------------------------- */

/* The text as it is printed: "%%" gives "%", any other byte stands as it is, bytes
 * outside the font's range become '?', and the text is cut at 255 characters. */
static int PrintableText(const char* text, unsigned char* out)
{
  int length = 0;
  for (const char* c = text; *c && length < kMaxTextLength; ++c)
  {
    if (c[0] == '%' && c[1] == '%')
      ++c;
    unsigned char byte = (unsigned char)*c;
    out[length++] = (byte >= kFirstChar && byte < kFirstChar + kGlyphCount) ? byte : '?';
  }
  return length;
}

void VNGfxPrint(unsigned int font, const char* text, int x, int y, float r, float g, float b)
{
  if (!text || font == 0)
    return;

  const int w = VNGetWindowWidth();
  const int h = VNGetWindowHeight();
  float cx = 0.0f;
  float cy = 0.0f;
  VNGfxGetCamPosition(&cx, &cy);

  /* A text may start up to one window left of or below the visible rectangle (its
     * raster position is still inside the tripled viewport), never right of or above. */
  const int left = (int)(cx - (float)(w / 2) + 1.0f) - w;
  const int right = (int)(cx + (float)(w / 2) - 1.0f);
  const int bottom = (int)(cy - (float)(h / 2) + 1.0f) - h;
  const int top = (int)(cy + (float)(h / 2) - 1.0f);
  if (x < left || x > right || y < bottom || y > top)
    return;

  const float sx = gVNScreenScaleX;
  const float sy = gVNScreenScaleY;
  const int viewWidth = (int)(w * sx);
  const int viewHeight = (int)(h * sy);

  glViewport((int)(-w * sx), (int)(-h * sy), (int)(3 * w * sx), (int)(3 * h * sy));
  VNGfxSetPosition(0.0f, 0.0f);
  VNGfxUploadView(sx / 3.0f, sy / 3.0f);
  VNGfxSetBlendColor(r, g, b, 1.0f);

  /* Some drivers (Mesa among them) run the raster position through the program with
     * the current value of aPosition rather than the coordinates given, so the position
     * is set there too. */
  GLint position = VNGfxAttributeLocation(VN_GFX_ATTRIBUTE_POSITION);
  if (position >= 0)
    glVertexAttrib4f(position, (float)x, (float)y, 0.0f, 1.0f);
  glRasterPos2f((float)x, (float)y);

  unsigned char buffer[kMaxTextLength + 1];
  int length = PrintableText(text, buffer);
  /* Glyph fragments do not reliably get the program's varyings (Mesa draws bitmaps
     * through its own pass-through vertex stage), so their alpha is unknown and may be
     * 0. They are written without blending: for one-bit glyphs in an opaque flat colour
     * that is what blending would show. */
  glPushAttrib(GL_LIST_BIT | GL_COLOR_BUFFER_BIT);
  glDisable(GL_BLEND);
  glListBase(font - kFirstChar);
  glCallLists(length, GL_UNSIGNED_BYTE, buffer);
  glPopAttrib();

  VNGfxSetBlendColor(0.0f, 0.0f, 0.0f, 0.0f);
  glViewport(0, 0, viewWidth, viewHeight);
  VNGfxUploadView(sx, sy);
}
