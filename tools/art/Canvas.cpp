// Canvas: drawing primitives on an RGBA buffer and PNG output through SDL2_image.
#include "Canvas.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

Color Shade(Color c, float amount)
{
  auto mix = [amount](uint8_t v)
  {
    float target = amount > 0 ? 255.0f : 0.0f;
    float t = std::fabs(amount);
    return uint8_t(std::lround(v + (target - v) * t));
  };
  return Color{mix(c.r), mix(c.g), mix(c.b), c.a};
}

Color WithAlpha(Color c, uint8_t a)
{
  return Color{c.r, c.g, c.b, a};
}

Canvas::Canvas(int width, int height)
    : width(width), height(height), pixels(size_t(width) * size_t(height), Color{0, 0, 0, 0})
{
}

Color Canvas::Get(int x, int y) const
{
  if (x < 0 || y < 0 || x >= width || y >= height)
    return Color{0, 0, 0, 0};
  return pixels[size_t(y) * width + x];
}

void Canvas::Put(int x, int y, Color c)
{
  if (x < 0 || y < 0 || x >= width || y >= height)
    return;
  pixels[size_t(y) * width + x] = c;
}

void Canvas::Plot(int x, int y, Color c)
{
  if (x < 0 || y < 0 || x >= width || y >= height || c.a == 0)
    return;
  Color& d = pixels[size_t(y) * width + x];
  if (c.a == 255 || d.a == 0)
  {
    d = c;
    return;
  }
  // "Over" compositing in straight alpha.
  float sa = c.a / 255.0f, da = d.a / 255.0f;
  float oa = sa + da * (1 - sa);
  auto mix = [&](uint8_t s, uint8_t dd)
  { return uint8_t(std::lround((s * sa + dd * da * (1 - sa)) / oa)); };
  d = Color{mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b), uint8_t(std::lround(oa * 255))};
}

void Canvas::Fill(Color c)
{
  std::fill(pixels.begin(), pixels.end(), c);
}

void Canvas::Erase(int x, int y, int w, int h)
{
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      Put(i, j, Color{0, 0, 0, 0});
}

void Canvas::EraseEllipse(float cx, float cy, float rx, float ry)
{
  Canvas mask(width, height);
  mask.Ellipse(cx, cy, rx, ry, Color{255, 255, 255, 255});
  for (size_t i = 0; i < pixels.size(); ++i)
    if (mask.pixels[i].a)
      pixels[i] = Color{0, 0, 0, 0};
}

void Canvas::Rect(int x, int y, int w, int h, Color c)
{
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      Plot(i, j, c);
}

void Canvas::RoundRect(int x, int y, int w, int h, Color c)
{
  Rect(x + 1, y, w - 2, 1, c);
  Rect(x, y + 1, w, h - 2, c);
  Rect(x + 1, y + h - 1, w - 2, 1, c);
}

void Canvas::Ellipse(float cx, float cy, float rx, float ry, Color c)
{
  if (rx <= 0 || ry <= 0)
    return;
  int x0 = int(std::floor(cx - rx)), x1 = int(std::ceil(cx + rx));
  int y0 = int(std::floor(cy - ry)), y1 = int(std::ceil(cy + ry));
  for (int j = y0; j <= y1; ++j)
    for (int i = x0; i <= x1; ++i)
    {
      float dx = (i + 0.5f - cx) / rx, dy = (j + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f)
        Plot(i, j, c);
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Color c)
{
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;)
  {
    Plot(x0, y0, c);
    if (x0 == x1 && y0 == y1)
      break;
    int e2 = 2 * err;
    if (e2 >= dy)
    {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx)
    {
      err += dx;
      y0 += sy;
    }
  }
}

void Canvas::Gradient(int x, int y, int w, int h, Color top, Color bottom)
{
  for (int j = 0; j < h; ++j)
  {
    float t = h > 1 ? float(j) / float(h - 1) : 0.0f;
    auto mix = [t](uint8_t a, uint8_t b) { return uint8_t(std::lround(a + (b - a) * t)); };
    Rect(x, y + j, w, 1,
         Color{mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b),
               mix(top.a, bottom.a)});
  }
}

void Canvas::Pattern(int x, int y, const std::vector<std::string>& rows, const std::string& keys,
                     const std::vector<Color>& colors)
{
  for (size_t j = 0; j < rows.size(); ++j)
    for (size_t i = 0; i < rows[j].size(); ++i)
    {
      size_t k = keys.find(rows[j][i]);
      if (k != std::string::npos && k < colors.size())
        Plot(x + int(i), y + int(j), colors[k]);
    }
}

void Canvas::Blit(const Canvas& src, int x, int y, bool flipped)
{
  for (int j = 0; j < src.height; ++j)
    for (int i = 0; i < src.width; ++i)
      Plot(x + i, y + j, src.Get(flipped ? src.width - 1 - i : i, j));
}

void Canvas::Outline(Color ink)
{
  std::vector<Color> out = pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
    {
      if (Get(x, y).a != 0)
        continue;
      if (Get(x - 1, y).a > 127 || Get(x + 1, y).a > 127 || Get(x, y - 1).a > 127 ||
          Get(x, y + 1).a > 127)
        out[size_t(y) * width + x] = ink;
    }
  pixels.swap(out);
}

Canvas Canvas::Scaled(int factor) const
{
  Canvas big(width * factor, height * factor);
  for (int y = 0; y < big.height; ++y)
    for (int x = 0; x < big.width; ++x)
      big.pixels[size_t(y) * big.width + x] = pixels[size_t(y / factor) * width + x / factor];
  return big;
}

Canvas Canvas::Silhouette(Color c) const
{
  Canvas s(width, height);
  for (size_t i = 0; i < pixels.size(); ++i)
    if (pixels[i].a > 0)
      s.pixels[i] = Color{c.r, c.g, c.b, uint8_t(c.a * pixels[i].a / 255)};
  return s;
}

bool Canvas::SavePng(const std::string& path) const
{
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
  if (!surface)
  {
    std::printf("make_images: cannot make a %dx%d surface for %s: %s\n", width, height,
                path.c_str(), SDL_GetError());
    return false;
  }
  for (int y = 0; y < height; ++y)
  {
    uint8_t* row = static_cast<uint8_t*>(surface->pixels) + size_t(y) * surface->pitch;
    for (int x = 0; x < width; ++x)
    {
      const Color& c = pixels[size_t(y) * width + x];
      row[4 * x + 0] = c.r;
      row[4 * x + 1] = c.g;
      row[4 * x + 2] = c.b;
      row[4 * x + 3] = c.a;
    }
  }
  bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
  if (!ok)
    std::printf("make_images: cannot write %s: %s\n", path.c_str(), IMG_GetError());
  SDL_FreeSurface(surface);
  return ok;
}
