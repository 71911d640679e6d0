// PixelFont: a TrueType face rendered without anti-aliasing at a small pixel size, so that
// text drawn on a canvas and scaled up matches the pixel art around it.
#pragma once

#include "Canvas.h"

#include <string>

struct FT_FaceRec_;

class PixelFont
{
public:
  // file: a font file; pixelHeight: the em size in canvas pixels.
  PixelFont(const std::string& file, int pixelHeight);
  ~PixelFont();
  PixelFont(const PixelFont&) = delete;
  PixelFont& operator=(const PixelFont&) = delete;

  int Measure(const std::string& text) const;
  // Draws text with its baseline at y; returns the pen position after the last glyph.
  int Draw(Canvas& canvas, int x, int y, const std::string& text, Color color) const;
  // Text centred on cx with its cap height centred on cy, with a one-pixel shadow
  // below (shadow alpha 0 draws none).
  void DrawCentred(Canvas& canvas, int cx, int cy, const std::string& text, Color color,
                   Color shadow = Color{0, 0, 0, 0}) const;

private:
  FT_FaceRec_* face = nullptr;
};

// Debian's font files the asset programs use.
namespace Fonts
{
extern const char* const kSansBold;
extern const char* const kSans;
} // namespace Fonts
