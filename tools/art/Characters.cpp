// Characters: the player's sheet (eight walking directions and three disguises), the
// three co-workers, the smoke puff, the speech bubbles and the shared office objects.
// Figures are 24 × 48 pixels, drawn at twice the size.
#include "Art.h"
#include "Palette.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr int kFw = 24;
constexpr int kFh = 48;

void Head(Canvas& c, const Look& look, Facing facing)
{
  const bool back = facing == Facing::Up || facing == Facing::UpLeft;
  const bool side = facing == Facing::Left;
  int x = side ? 7 : 6, w = side ? 11 : 12;
  c.RoundRect(x, 6, w, 12, look.skin);
  Color hairHi = Shade(look.hair, 0.2f);
  if (!look.bald)
  {
    if (back)
      c.RoundRect(x, 5, w, 12, look.hair);
    else if (side)
    {
      c.RoundRect(x, 4, w, 5, look.hair);
      c.Rect(x + 5, 8, 6, 6, look.hair);
    }
    else
    {
      c.RoundRect(x, 4, w, 5, look.hair);
      c.Rect(x, 8, 2, 4, look.hair);
      c.Rect(x + w - 2, 8, 2, 4, look.hair);
      if (facing == Facing::DownLeft)
        c.Rect(x + w - 4, 8, 2, 2, look.hair);
    }
    c.Rect(x + 2, 4, w - 5, 1, hairHi);
    if (look.longHair)
    {
      if (back)
        c.Rect(x, 12, w, 10, look.hair);
      else if (side)
        c.Rect(x + 6, 12, 5, 9, look.hair);
      else
      {
        c.Rect(x - 1, 9, 3, 12, look.hair);
        c.Rect(x + w - 2, 9, 3, 12, look.hair);
      }
    }
  }
  else
  {
    c.Rect(x, 9, 2, 4, look.hair);
    c.Rect(x + w - 2, 9, 2, 4, look.hair);
    c.Rect(x + 3, 6, 4, 1, Shade(look.skin, 0.3f));
  }
  if (look.hood)
  {
    Color hood = look.top;
    if (back)
      c.RoundRect(x - 1, 3, w + 2, 14, hood);
    else if (side)
    {
      c.RoundRect(x, 3, w + 1, 6, hood);
      c.Rect(x + 5, 8, 7, 9, hood);
    }
    else
    {
      c.RoundRect(x - 1, 3, w + 2, 5, hood);
      c.Rect(x - 1, 7, 2, 10, hood);
      c.Rect(x + w - 1, 7, 2, 10, hood);
    }
    c.Rect(x + 1, 3, w - 3, 1, Shade(hood, 0.25f));
  }
  // Face.
  Color eye = Pal::kInk;
  Color cheek = Shade(look.skin, -0.12f);
  switch (facing)
  {
  case Facing::Down:
    c.Rect(x + 3, 11, 2, 2, eye);
    c.Rect(x + w - 5, 11, 2, 2, eye);
    c.Rect(x + 5, 15, 2, 1, cheek);
    break;
  case Facing::DownLeft:
    c.Rect(x + 2, 11, 2, 2, eye);
    c.Rect(x + 7, 11, 2, 2, eye);
    c.Rect(x + 3, 15, 2, 1, cheek);
    break;
  case Facing::Left:
    c.Rect(x + 1, 11, 2, 2, eye);
    c.Rect(x - 1, 13, 1, 2, look.skin);
    c.Rect(x + 1, 15, 2, 1, cheek);
    c.Rect(x + 6, 11, 2, 3, Shade(look.skin, -0.15f));
    break;
  default: break;
  }
}

void Body(Canvas& c, const Look& look, Facing facing)
{
  const bool side = facing == Facing::Left;
  const bool back = facing == Facing::Up || facing == Facing::UpLeft;
  // Legs and shoes first, the torso covers their tops.
  if (side)
  {
    c.Rect(8, 31, 4, 12, Shade(look.legs, -0.15f));
    c.Rect(12, 31, 4, 11, look.legs);
    c.Rect(12, 42, 4, 3, look.shoes);
    c.Rect(6, 42, 5, 3, look.shoes);
    c.Rect(8, 31, 3, 11, look.legs);
  }
  else
  {
    c.Rect(7, 31, 4, 12, look.legs);
    c.Rect(13, 31, 4, 12, look.legs);
    c.Rect(11, 31, 2, 4, look.legs);
    c.Rect(7, 42, 4, 3, look.shoes);
    c.Rect(13, 42, 4, 3, look.shoes);
  }
  // Torso and arms.
  if (side)
  {
    c.RoundRect(7, 18, 10, 14, look.top);
    c.Rect(7, 18, 10, 1, Shade(look.top, 0.2f));
    c.RoundRect(10, 20, 4, 11, look.topDark);
    c.Rect(10, 30, 4, 2, look.skin);
    if (!look.hood)
      c.Rect(7, 18, 3, 2, look.accent);
  }
  else
  {
    c.RoundRect(5, 18, 14, 14, look.top);
    c.Rect(6, 18, 12, 1, Shade(look.top, 0.2f));
    c.Rect(3, 19, 3, 11, look.topDark);
    c.Rect(18, 19, 3, 11, look.topDark);
    c.Rect(3, 30, 3, 2, look.skin);
    c.Rect(18, 30, 3, 2, look.skin);
    c.Rect(5, 30, 14, 2, Shade(look.top, -0.2f));
    if (!back)
    {
      int shift = facing == Facing::DownLeft ? -1 : 0;
      if (look.hood)
      {
        c.Rect(9 + shift, 24, 6, 4, look.topDark);
        c.Rect(10 + shift, 19, 1, 4, look.accent);
        c.Rect(13 + shift, 19, 1, 4, look.accent);
      }
      else
      {
        c.Rect(10 + shift, 18, 4, 2, Pal::kWhite);
        c.Rect(11 + shift, 19, 2, 9, look.accent);
        c.Rect(11 + shift, 19, 2, 1, Shade(look.accent, 0.3f));
      }
    }
    else if (look.hood)
      c.Rect(8, 18, 8, 4, Shade(look.top, -0.1f));
  }
}
} // namespace

Canvas DrawFigure(const Look& look, Facing facing)
{
  Canvas figure(kFw, kFh);
  Body(figure, look, facing);
  Head(figure, look, facing);
  figure.Outline(Pal::kInk);
  Canvas out(kFw, kFh);
  out.Ellipse(12.0f, 45.5f, 8.0f, 2.0f, Pal::kShadow);
  out.Blit(figure, 0, 0);
  return out;
}

Canvas DrawPlant(int width, int height)
{
  Canvas c(width, height);
  float cx = width / 2.0f;
  int potTop = height - 8;
  c.Rect(int(cx) - 5, potTop, 10, 7, Pal::kPot);
  c.Rect(int(cx) - 6, potTop, 12, 2, Shade(Pal::kPot, 0.2f));
  c.Rect(int(cx) - 4, potTop + 5, 8, 2, Shade(Pal::kPot, -0.2f));
  float top = potTop - 2;
  float size = std::min(float(width), float(height) * 0.7f) / 2.0f - 1.0f;
  c.Disc(cx, top - size * 0.6f, size * 0.75f, Pal::kLeafDark);
  c.Disc(cx - size * 0.45f, top - size * 0.35f, size * 0.5f, Pal::kLeaf);
  c.Disc(cx + size * 0.45f, top - size * 0.4f, size * 0.5f, Pal::kLeaf);
  c.Disc(cx, top - size * 0.95f, size * 0.4f, Pal::kLeafLight);
  c.Disc(cx + size * 0.3f, top - size * 0.6f, size * 0.2f, Pal::kLeafLight);
  return WithDropShadow(c);
}

Canvas DrawWaterCooler(int width, int height)
{
  Canvas c(width, height);
  int cx = width / 2;
  int base = height - 2;
  c.Rect(cx - 5, base - 12, 10, 12, Pal::kMetalLight);
  c.Rect(cx - 5, base - 12, 10, 1, Pal::kWhite);
  c.Rect(cx - 3, base - 9, 2, 2, Pal::kRed);
  c.Rect(cx + 1, base - 9, 2, 2, Pal::kBlue);
  c.Rect(cx - 4, base - 4, 8, 1, Pal::kMetal);
  c.RoundRect(cx - 4, base - 21, 8, 10, Pal::kWater);
  c.Rect(cx - 3, base - 20, 2, 7, Shade(Pal::kWater, 0.45f));
  c.Rect(cx - 2, base - 23, 4, 2, Shade(Pal::kWater, -0.2f));
  return WithDropShadow(c);
}

Canvas DrawBoxes(int width, int height)
{
  Canvas c(width, height);
  int base = height - 2;
  auto box = [&](int x, int y, int w, int h)
  {
    c.Rect(x, y, w, h, Pal::kCardboard);
    c.Rect(x, y, w, 2, Shade(Pal::kCardboard, 0.2f));
    c.Rect(x + w / 2 - 1, y, 2, h / 2, Pal::kCardboardDark);
    c.Rect(x + 2, y + h - 4, 4, 2, Pal::kPaper);
  };
  box(width / 2 - 11, base - 10, 12, 10);
  box(width / 2 + 1, base - 9, 10, 9);
  box(width / 2 - 6, base - 19, 11, 9);
  return WithDropShadow(c);
}

Canvas DrawKeyCard(int size)
{
  Canvas c(size, size);
  float s = size / 25.0f;
  auto px = [s](float v) { return int(v * s + 0.5f); };
  // A soft yellow glow says "pick me up" on any floor.
  c.Ellipse(size / 2.0f, size / 2.0f, size * 0.49f, size * 0.45f, WithAlpha(Pal::kYellow, 70));
  c.Rect(px(11), px(2), px(3), px(6), Pal::kRed);
  c.RoundRect(px(4), px(7), px(17), px(13), Pal::kWhite);
  c.Rect(px(4), px(7), px(17), px(3), Pal::kTeal);
  c.Rect(px(10), px(5), px(5), px(3), Pal::kMetalLight);
  c.Rect(px(6), px(11), px(5), px(6), Hex(0xc98d62));
  c.Rect(px(6), px(11), px(5), px(2), Pal::kWoodDark);
  c.Rect(px(12), px(12), px(7), px(1), Pal::kMetalDark);
  c.Rect(px(12), px(14), px(5), px(1), Pal::kMetalDark);
  c.Rect(px(15), px(16), px(4), px(3), Pal::kYellow);
  c.Outline(Pal::kInk);
  return c;
}

const Look kPlayerLook{Hex(0xf1c39b), Hex(0x5a3a2a), Hex(0x2f6f6a), Hex(0x24554f), Hex(0xd9d4c6),
                      Hex(0x3a3f55), Hex(0x23232b), false,         false,         true};
const Look kClerkLook{Hex(0xe0ac84), Hex(0x2a2222), Hex(0xe9e6de), Hex(0xc9c4b8), Hex(0x3a6fd0),
                     Hex(0x2e3244), Hex(0x1e1e24), false,         false,         false};
const Look kBossLook{Hex(0xc98d62), Hex(0x9a9aa2), Hex(0x4a4e5e), Hex(0x3a3d4b), Hex(0xc0392b),
                    Hex(0x33364a), Hex(0x141418), false,         true,          false};
const Look kAnalystLook{Hex(0xf3cfae), Hex(0xa4502e), Hex(0x5f8a3c), Hex(0x4b6e2f), Hex(0xf2c94c),
                       Hex(0x56406a), Hex(0x3a2a30), true,          false,         false};

Canvas FigureFrame(const Look& look, Facing facing, bool mirrored)
{
  Canvas f(kFw, kFh);
  f.Blit(DrawFigure(look, facing), 0, 0, mirrored);
  return f;
}

namespace
{

// A disguise: the object stands where the player's feet are, in the player's frame.
Canvas Disguise(const Canvas& object)
{
  Canvas f(25, 50);
  f.Blit(object, (25 - object.Width()) / 2, 50 - object.Height() - 2);
  return f;
}

int SaveCoworker(const Look& look, const std::string& path)
{
  // Rows: down, left, up, right.
  Canvas sheet(kFw, kFh * 4);
  sheet.Blit(FigureFrame(look, Facing::Down, false), 0, 0);
  sheet.Blit(FigureFrame(look, Facing::Left, false), 0, kFh);
  sheet.Blit(FigureFrame(look, Facing::Up, false), 0, kFh * 2);
  sheet.Blit(FigureFrame(look, Facing::Left, true), 0, kFh * 3);
  return Save(sheet, 2, path);
}

Canvas Smoke()
{
  Canvas c(35, 40);
  const Color puff = Hex(0xd9dde6), shade = Hex(0xaab0be), light = Pal::kWhite;
  struct Blob
  {
    float x, y, r;
  };
  const Blob blobs[] = {{10, 28, 8}, {24, 27, 9}, {17, 20, 10},
                        {9, 15, 6},  {26, 13, 6}, {17, 9, 6}};
  for (const Blob& b : blobs)
    c.Disc(b.x, b.y + 1.5f, b.r, shade);
  for (const Blob& b : blobs)
    c.Disc(b.x, b.y, b.r - 1, puff);
  for (const Blob& b : blobs)
    c.Disc(b.x - b.r * 0.3f, b.y - b.r * 0.35f, b.r * 0.35f, light);
  c.Disc(4, 34, 2, puff);
  c.Disc(31, 35, 2, puff);
  c.Disc(30, 5, 1.5f, puff);
  c.Outline(WithAlpha(Hex(0x6b7080), 200));
  return c;
}

// A round speech bubble 33 × 33 with its tail at the lower left, pointing down at the
// head below it; the symbol is drawn by the caller inside the upper 24 rows.
Canvas Bubble(Color fill)
{
  Canvas c(33, 33);
  c.Ellipse(16.5f, 12.5f, 15.0f, 11.5f, fill);
  c.Pattern(9, 22, {"######", ".####.", ".###..", "##....", "#....."}, "#", {fill});
  c.Ellipse(11.0f, 6.5f, 5.0f, 2.0f, Shade(fill, 0.6f));
  c.Outline(Pal::kInk);
  return c;
}

Canvas SleepBubble()
{
  Canvas c = Bubble(Hex(0xdfe8f7));
  Color z = Hex(0x3a5aa0);
  c.Pattern(7, 11, {"######", "....##", "...##.", "..##..", ".##...", "######"}, "#", {z});
  c.Pattern(15, 8, {"#####", "...##", "..##.", ".##..", "#####"}, "#", {Shade(z, 0.25f)});
  c.Pattern(22, 6, {"####", "..#.", ".#..", "####"}, "#", {Shade(z, 0.45f)});
  return c;
}

Canvas SpottedBubble()
{
  Canvas c = Bubble(Pal::kYellow);
  c.Rect(14, 4, 5, 11, Pal::kRed);
  c.Rect(15, 3, 3, 1, Pal::kRed);
  c.Rect(14, 17, 5, 4, Pal::kRed);
  c.Rect(15, 5, 1, 8, Shade(Pal::kRed, 0.4f));
  return c;
}

Canvas ChatBubble()
{
  Canvas c = Bubble(Pal::kWhite);
  for (int x : {8, 15, 22})
    c.Rect(x, 11, 4, 4, Pal::kTeal);
  return c;
}

Canvas WorkBubble()
{
  // A sheet of paper and a pencil writing on it.
  Canvas c = Bubble(Pal::kWhite);
  c.Rect(9, 5, 11, 14, Pal::kMetalDark);
  c.Rect(10, 6, 9, 12, Pal::kPaper);
  for (int y : {8, 11, 14})
    c.Rect(11, y, y == 14 ? 4 : 7, 1, Pal::kBlue);
  for (int i = 0; i < 7; ++i)
    c.Rect(17 + i, 16 - i, 2, 2, Pal::kOrange);
  c.Rect(16, 17, 2, 2, Pal::kInk);
  c.Rect(24, 9, 2, 2, Pal::kRed);
  return c;
}
} // namespace

int MakeCharacters(const std::string& assets)
{
  int failures = 0;

  // Player: rows 0-7 walk down, down-left, left, up-left, up, up-right, right,
  // down-right; rows 8-10 are the plant, water-cooler and boxes disguises.
  Canvas sheet(25, 50 * 11);
  const std::pair<Facing, bool> rows[8] = {{Facing::Down, false}, {Facing::DownLeft, false},
                                           {Facing::Left, false}, {Facing::UpLeft, false},
                                           {Facing::Up, false},   {Facing::UpLeft, true},
                                           {Facing::Left, true},  {Facing::DownLeft, true}};
  for (int i = 0; i < 8; ++i)
    sheet.Blit(FigureFrame(kPlayerLook, rows[i].first, rows[i].second), 0, 50 * i + 1);
  sheet.Blit(Disguise(DrawPlant(23, 40)), 0, 50 * 8);
  sheet.Blit(Disguise(DrawWaterCooler(19, 30)), 0, 50 * 9);
  sheet.Blit(Disguise(DrawBoxes(25, 24)), 0, 50 * 10);
  failures += Save(sheet, 2, assets + "/player.png");

  failures += SaveCoworker(kClerkLook, assets + "/enemy.png");
  failures += SaveCoworker(kBossLook, assets + "/boss.png");
  failures += SaveCoworker(kAnalystLook, assets + "/enemy2.png");

  failures += Save(Smoke(), 2, assets + "/smoke.png");
  failures += Save(SleepBubble(), 2, assets + "/b1.png");
  failures += Save(SpottedBubble(), 2, assets + "/b2.png");
  failures += Save(ChatBubble(), 2, assets + "/b3.png");
  failures += Save(WorkBubble(), 2, assets + "/b4.png");
  return failures;
}
