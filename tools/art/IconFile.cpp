// IconFile: writes a Windows .ico holding 32-bit images (BITMAPINFOHEADER with the
// doubled height the format wants, bottom-up BGRA rows, then the 1-bit AND mask).
#include "Art.h"

#include <cstdio>
#include <vector>

namespace
{
void Put16(std::vector<uint8_t>& out, unsigned v)
{
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, unsigned v)
{
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}

std::vector<uint8_t> IconImage(const Canvas& image)
{
  const int w = image.Width(), h = image.Height();
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, unsigned(w));
  Put32(out, unsigned(h * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x)
    {
      Color c = image.Get(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
      out.push_back(c.a);
    }
  // AND mask: one bit per pixel, set where transparent, rows padded to 4 bytes.
  const int rowBytes = ((w + 31) / 32) * 4;
  for (int y = h - 1; y >= 0; --y)
  {
    std::vector<uint8_t> row(size_t(rowBytes), 0);
    for (int x = 0; x < w; ++x)
      if (image.Get(x, y).a < 128)
        row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}
} // namespace

int WriteIco(const std::string& path, const Canvas* images, int count)
{
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, unsigned(count));
  std::vector<std::vector<uint8_t>> bodies;
  for (int i = 0; i < count; ++i)
    bodies.push_back(IconImage(images[i]));
  unsigned offset = 6 + 16 * unsigned(count);
  for (int i = 0; i < count; ++i)
  {
    file.push_back(uint8_t(images[i].Width() >= 256 ? 0 : images[i].Width()));
    file.push_back(uint8_t(images[i].Height() >= 256 ? 0 : images[i].Height()));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, unsigned(bodies[size_t(i)].size()));
    Put32(file, offset);
    offset += unsigned(bodies[size_t(i)].size());
  }
  for (const auto& body : bodies)
    file.insert(file.end(), body.begin(), body.end());

  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size())
  {
    std::printf("make_images: cannot write %s\n", path.c_str());
    if (f)
      std::fclose(f);
    return 1;
  }
  std::fclose(f);
  return 0;
}
