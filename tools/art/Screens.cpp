// Screens: the full-window pictures (menu background, credits, loading, splash logo)
// drawn at 640 × 360, and the two menu titles. They are saved at the size they are drawn:
// the game stretches them over their widgets with nearest sampling, which doubles each
// pixel as saving them doubled would, for a quarter of the memory.
#include "Art.h"
#include "Palette.h"
#include "PixelFont.h"

namespace
{
constexpr int kW = 640;
constexpr int kH = 360;

// Night sky over a city, seen through the office's tall windows.
void NightWindows(Canvas& c, int sill)
{
  c.Gradient(0, 0, kW, sill, Pal::kNightDeep, Hex(0x2c3358));
  for (int i = 0; i < 90; ++i)
  {
    int x = Noise(i, 1, 21) * kW / 256, y = Noise(i, 2, 21) * (sill / 2) / 256;
    c.Put(x, y, WithAlpha(Pal::kWhite, uint8_t(90 + Noise(i, 3, 21) / 2)));
  }
  c.Disc(548, 52, 24, Hex(0xf3ecd0, 40));
  c.Disc(548, 52, 18, Hex(0xf3ecd0));
  c.Disc(545, 49, 15, Hex(0xfff8e4));
  c.Disc(554, 58, 3, Hex(0xd8cfb0));
  c.Disc(540, 56, 2, Hex(0xd8cfb0));
  int x = 0, k = 0;
  while (x < kW)
  {
    int bw = 24 + Noise(k, 5, 22) % 40;
    int bh = 40 + Noise(k, 6, 22) % (sill - 70);
    Color body = Shade(Hex(0x161a30), (Noise(k, 7, 22) % 20) / 100.0f);
    c.Rect(x, sill - bh, bw, bh, body);
    for (int wy = sill - bh + 4; wy < sill - 4; wy += 6)
      for (int wx = x + 3; wx < x + bw - 3; wx += 5)
        if (Noise(wx, wy, 23) < 70)
          c.Rect(wx, wy, 2, 3, Noise(wx, wy, 24) < 40 ? Hex(0xf7d98a) : Hex(0x8fa6c8, 180));
    x += bw + 2;
    ++k;
  }
  // Mullions and the sill.
  for (int mx = 0; mx <= kW; mx += 128)
  {
    c.Rect(mx - 4, 0, 8, sill, Pal::kWallDark);
    c.Rect(mx - 3, 0, 2, sill, Pal::kWall);
  }
  c.Rect(0, 0, kW, 6, Pal::kWallDark);
  c.Rect(0, sill, kW, 10, Pal::kWall);
  c.Rect(0, sill, kW, 2, Pal::kWallLight);
  c.Rect(0, sill + 10, kW, 4, Pal::kWallDark);
}

void SideDesk(Canvas& c, int x, int floor, bool lit)
{
  c.Rect(x, floor - 34, 70, 5, Pal::kWoodLight);
  c.Rect(x, floor - 30, 70, 3, Pal::kWood);
  c.Rect(x + 3, floor - 27, 4, 27, Pal::kWoodDark);
  c.Rect(x + 63, floor - 27, 4, 27, Pal::kWoodDark);
  c.Rect(x + 40, floor - 27, 22, 20, Pal::kWood);
  c.Rect(x + 48, floor - 20, 6, 2, Pal::kWoodLight);
  c.Rect(x + 12, floor - 58, 30, 22, Pal::kMetalDark);
  c.Rect(x + 14, floor - 56, 26, 18, lit ? Hex(0x3f7fb0) : Pal::kScreen);
  if (lit)
  {
    c.Rect(x + 16, floor - 53, 14, 2, Pal::kGlow);
    c.Rect(x + 16, floor - 49, 20, 2, Shade(Pal::kGlow, -0.3f));
    c.Rect(x + 16, floor - 45, 10, 2, Pal::kGlow);
  }
  c.Rect(x + 24, floor - 36, 6, 3, Pal::kMetalDark);
}

void Office(Canvas& c, int floor)
{
  c.Gradient(0, floor, kW, kH - floor, Pal::kCarpet, Shade(Pal::kCarpet, -0.45f));
  for (int y = floor + 6; y < kH; y += 9)
    c.Rect(0, y, kW, 1, WithAlpha(Pal::kCarpetDark, 120));
}

Canvas MenuBackground()
{
  Canvas c(kW, kH);
  const int sill = 190, floor = 300;
  NightWindows(c, sill);
  c.Gradient(0, sill + 14, kW, floor - sill - 14, Pal::kWallDark, Shade(Pal::kWallDark, -0.3f));
  Office(c, floor);
  SideDesk(c, 24, floor, true);
  SideDesk(c, 520, floor, true);
  c.Blit(DrawPlant(30, 44).Scaled(2), 110, floor - 86);
  c.Blit(DrawWaterCooler(19, 30).Scaled(2), 598, floor - 58);
  // A co-worker at the right desk, looking left: the yellow cone of its gaze.
  for (int i = 0; i < 120; ++i)
  {
    int half = i / 4;
    c.Rect(500 - i, floor - 60 - half / 2, 1, 18 + half, Hex(0xf2c94c, uint8_t(60 - i / 2)));
  }
  c.Blit(FigureFrame(kClerkLook, Facing::Left, false).Scaled(2), 470, floor - 94);
  // The player tiptoeing away at the left, facing right.
  c.Blit(FigureFrame(kPlayerLook, Facing::Left, true).Scaled(2), 170, floor - 92);
  // Darken the middle so the menu reads over it.
  for (int x = 0; x < kW; ++x)
  {
    float d = (x - kW / 2.0f) / (kW / 2.0f);
    uint8_t a = uint8_t(110 * (1.0f - d * d));
    c.Rect(x, 0, 1, kH, Hex(0x0c0d18, a));
  }
  return c;
}

// Large title text: ink outline two pixels thick, warm gradient face, drop shadow.
Canvas TitleText(int w, int h, const std::string& text, int size, Color top, Color bottom)
{
  PixelFont font(Fonts::kSansBold, size);
  Canvas mask(w, h);
  font.DrawCentred(mask, w / 2, h / 2, text, Pal::kWhite);
  Canvas face(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (mask.Get(x, y).a)
      {
        float t = float(y - (h / 2 - size / 2)) / float(size);
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        auto mix = [t](uint8_t a, uint8_t b) { return uint8_t(a + (b - a) * t); };
        Color col{mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), 255};
        if ((y % 4) == 0 && t > 0.5f)
          col = Shade(col, -0.1f);
        face.Put(x, y, col);
      }
  face.Outline(Pal::kInk);
  face.Outline(Pal::kInk);
  Canvas out(w, h);
  out.Blit(face.Silhouette(Hex(0x000000, 140)), 3, 3);
  out.Blit(face, 0, 0);
  return out;
}

Canvas MainTitle()
{
  Canvas c(320, 102);
  c.Blit(TitleText(320, 78, "KESTRIN", 58, Pal::kYellow, Pal::kOrange), 0, 0);
  // Ribbon with the tagline.
  c.RoundRect(70, 74, 180, 20, Pal::kInk);
  c.Rect(71, 75, 178, 18, Shade(Pal::kTeal, -0.3f));
  c.Rect(71, 75, 178, 15, Pal::kTeal);
  PixelFont small(Fonts::kSansBold, 11);
  small.DrawCentred(c, 160, 82, "SNEAK OUT OF THE OFFICE", Pal::kWhite, Pal::kInk);
  return c;
}

Canvas OptionTitle()
{
  return TitleText(144, 43, "OPTIONS", 28, Pal::kYellow, Pal::kOrange);
}

Canvas Panel(int w, int h)
{
  Canvas c(w, h);
  c.RoundRect(0, 0, w, h, Pal::kInk);
  c.Rect(1, 1, w - 2, h - 2, Hex(0x23263c, 235));
  c.Rect(2, 2, w - 4, 1, Hex(0x454b6a));
  return c;
}

Canvas Credits()
{
  Canvas c = MenuBackground();
  c.Rect(0, 0, kW, kH, Hex(0x0c0d18, 120));
  c.Blit(Panel(400, 250), 120, 22);
  c.Blit(TitleText(300, 44, "CREDITS", 30, Pal::kYellow, Pal::kOrange), 170, 26);
  PixelFont head(Fonts::kSansBold, 12);
  PixelFont body(Fonts::kSans, 11);
  struct Line
  {
    const char* heading;
    const char* text;
  };
  const Line lines[] = {
      {"GAME DESIGN, CODE, ART AND MUSIC", "the Kestrin team"},
      {"ENGINE", "Vorn, a small 2D engine in C++ and OpenGL"},
      {"BUILT WITH", "SDL2, SDL2_image, SDL2_mixer, GLEW, tinyxml2"},
      {"FONTS", "DejaVu, Liberation and Comic Neue"},
      {"THANKS FOR PLAYING!", "Stay quiet. Stay unseen."},
  };
  int y = 88;
  for (const Line& l : lines)
  {
    head.DrawCentred(c, kW / 2, y, l.heading, Pal::kYellow, Pal::kInk);
    body.DrawCentred(c, kW / 2, y + 15, l.text, Pal::kWhite, Pal::kInk);
    y += 36;
  }
  return c;
}

Canvas Loading()
{
  Canvas c(kW, kH);
  c.Gradient(0, 0, kW, kH, Pal::kNightDeep, Pal::kNight);
  for (int y = 0; y < kH; y += 4)
    c.Rect(0, y, kW, 1, Hex(0x000000, 40));
  c.Blit(FigureFrame(kPlayerLook, Facing::Left, true).Scaled(3), 200, 110);
  Canvas boxes = DrawBoxes(25, 24);
  c.Blit(boxes.Scaled(3), 360, 182);
  c.Blit(TitleText(400, 60, "LOADING...", 36, Pal::kYellow, Pal::kOrange), 120, 36);
  PixelFont tip(Fonts::kSansBold, 12);
  tip.DrawCentred(c, kW / 2, 290, "TIP: HOLD J TO HIDE AS A PIECE OF FURNITURE", Pal::kWhite,
                  Pal::kInk);
  tip.DrawCentred(c, kW / 2, 310, "K TURNS YOU HALF-INVISIBLE ONCE PER FLOOR", Pal::kTealLight,
                  Pal::kInk);
  return c;
}

Canvas Splash()
{
  Canvas c(kW, kH);
  c.Fill(Hex(0x101018));
  // The studio's umbrella.
  Canvas logo(64, 64);
  const Color canopy = Hex(0x7a5ab0), canopyDark = Hex(0x5a3f88), canopyLight = Hex(0x9d80d0);
  logo.Ellipse(32.0f, 30.0f, 28.0f, 22.0f, canopy);
  logo.Erase(0, 30, 64, 34);
  for (int i = 0; i < 4; ++i)
    logo.EraseEllipse(11.0f + 14.0f * i, 30.0f, 7.0f, 4.0f);
  logo.Ellipse(25.0f, 18.0f, 8.0f, 5.0f, canopyLight);
  for (int x : {18, 32, 46})
    logo.Line(32, 9, x, 27, canopyDark);
  logo.Rect(31, 5, 2, 4, Pal::kMetalLight);
  logo.Rect(31, 27, 2, 26, Pal::kMetalLight);
  logo.Rect(26, 52, 2, 4, Pal::kMetalLight);
  logo.Rect(27, 55, 5, 2, Pal::kMetalLight);
  logo.Outline(Pal::kInk);
  c.Blit(logo.Scaled(3), kW / 2 - 96, 40);
  PixelFont name(Fonts::kSansBold, 40);
  name.DrawCentred(c, kW / 2, 262, "OMBREL", Pal::kWhite, canopyDark);
  PixelFont sub(Fonts::kSansBold, 12);
  sub.DrawCentred(c, kW / 2, 295, "G  A  M  E  S", canopyLight);
  return c;
}
} // namespace

int MakeScreens(const std::string& assets)
{
  const std::string a = assets + "/";
  int failures = 0;
  failures += Save(MenuBackground(), 1, a + "main_menu.png");
  failures += Save(MainTitle(), 1, a + "mainTitle.png");
  failures += Save(OptionTitle(), 1, a + "optionTitle.png");
  failures += Save(Credits(), 1, a + "creditscreen.png");
  failures += Save(Loading(), 1, a + "loading.png");
  failures += Save(Splash(), 1, a + "Ombrel.png");
  return failures;
}
