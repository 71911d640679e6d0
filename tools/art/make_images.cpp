// make_images: draws every picture of the game and writes it under the Assets/ folder
// given as the first argument (default "Assets"), and the desktop icons in the sizes the
// hicolor theme wants under the folder given as the second (default
// "platform/linux/icons"). Exit status 1 when a file failed.
#include "Art.h"
#include "Palette.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <filesystem>

int Save(const Canvas& art, int factor, const std::string& path)
{
  return art.Scaled(factor).SavePng(path) ? 0 : 1;
}

Canvas WithDropShadow(Canvas art)
{
  art.Outline(Pal::kInk);
  Canvas out(art.Width(), art.Height());
  out.Blit(art.Silhouette(Pal::kShadow), 1, 1);
  out.Blit(art, 0, 0);
  return out;
}

int Noise(int x, int y, int seed)
{
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return int((h ^ (h >> 16)) & 0xff);
}

namespace
{
// The window icon: the hooded hero's face on a teal badge.
Canvas IconArt()
{
  Canvas c(16, 16);
  c.RoundRect(0, 0, 16, 16, Pal::kInk);
  c.RoundRect(1, 1, 14, 14, Pal::kTeal);
  c.Rect(2, 1, 12, 1, Pal::kTealLight);
  c.RoundRect(3, 3, 10, 11, Hex(0x24554f));
  c.RoundRect(5, 5, 6, 7, Hex(0xf1c39b));
  c.Rect(5, 5, 6, 2, Hex(0x5a3a2a));
  c.Rect(6, 8, 1, 2, Pal::kInk);
  c.Rect(9, 8, 1, 2, Pal::kInk);
  c.Rect(12, 2, 2, 2, Pal::kYellow);
  return c;
}
} // namespace

int main(int argc, char** argv)
{
  const std::string assets = argc > 1 ? argv[1] : "Assets";
  const std::string desktopIcons = argc > 2 ? argv[2] : "platform/linux/icons";
  for (const std::string& folder : {assets + "/Tilemap", desktopIcons})
  {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
    {
      std::printf("make_images: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
      return 1;
    }
  }
  if (IMG_Init(IMG_INIT_PNG) == 0)
  {
    std::printf("make_images: SDL2_image has no PNG support: %s\n", IMG_GetError());
    return 1;
  }

  int failures =
      MakeTiles(assets) + MakeCharacters(assets) + MakeInterface(assets) + MakeScreens(assets);
  // 32 × 32 first: the size the window asks for and the one decoders take by default.
  const Canvas icons[3] = {IconArt().Scaled(2), IconArt(), IconArt().Scaled(3)};
  failures += WriteIco(assets + "/SetupIcon.ico", icons, 3);
  // The same face for the desktop's menus and docks, in the theme's usual sizes.
  for (int size : {32, 64, 128, 256})
    failures += Save(IconArt(), size / 16, desktopIcons + "/" + std::to_string(size) + ".png");

  IMG_Quit();
  if (failures)
    std::printf("make_images: %d file(s) could not be written\n", failures);
  return failures ? 1 : 0;
}
