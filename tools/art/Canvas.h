// Canvas: an RGBA pixel buffer for drawing pixel art at its small native size, with the
// few primitives the asset programs need, nearest-neighbour scaling and PNG output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Color
{
  uint8_t r, g, b, a;
};

// 0xRRGGBB with an optional alpha.
constexpr Color Hex(uint32_t rgb, uint8_t a = 255)
{
  return Color{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), a};
}

// The colour moved towards white (amount > 0) or black (amount < 0), amount in -1..1.
Color Shade(Color c, float amount);
Color WithAlpha(Color c, uint8_t a);

class Canvas
{
public:
  Canvas(int width, int height);

  int Width() const { return width; }
  int Height() const { return height; }

  Color Get(int x, int y) const;
  // Writes the pixel as given (no blending); outside the canvas nothing happens.
  void Put(int x, int y, Color c);
  // Blends the colour over the pixel by its alpha.
  void Plot(int x, int y, Color c);

  void Fill(Color c);
  // Makes the pixels of the rectangle or ellipse fully transparent.
  void Erase(int x, int y, int w, int h);
  void EraseEllipse(float cx, float cy, float rx, float ry);
  void Rect(int x, int y, int w, int h, Color c);
  // Rectangle with its four corner pixels left out: the usual soft pixel-art box.
  void RoundRect(int x, int y, int w, int h, Color c);
  void Ellipse(float cx, float cy, float rx, float ry, Color c);
  void Disc(float cx, float cy, float r, Color c) { Ellipse(cx, cy, r, r, c); }
  void Line(int x0, int y0, int x1, int y1, Color c);
  // Vertical gradient from top to bottom colour over the rectangle.
  void Gradient(int x, int y, int w, int h, Color top, Color bottom);
  // Pixels of a small picture: one string per row, each character looked up in keys
  // and colours ('.' or a character without a key is left untouched).
  void Pattern(int x, int y, const std::vector<std::string>& rows, const std::string& keys,
               const std::vector<Color>& colors);

  // Draws src over this canvas with its alpha; flipped mirrors it left to right.
  void Blit(const Canvas& src, int x, int y, bool flipped = false);
  // Gives every transparent pixel next to an opaque one (4-neighbourhood) the ink colour.
  void Outline(Color ink);
  // Each pixel becomes factor × factor pixels.
  Canvas Scaled(int factor) const;
  // Darkens every opaque pixel to a translucent silhouette (drop shadows).
  Canvas Silhouette(Color c) const;

  // Writes the canvas as a 32-bit RGBA PNG; prints what failed and returns false.
  bool SavePng(const std::string& path) const;

private:
  int width;
  int height;
  std::vector<Color> pixels;
};
