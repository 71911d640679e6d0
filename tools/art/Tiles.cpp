// Tiles: floors, walls, office objects and the editor's event markers, each 25 × 25
// pixels drawn at twice the size (one 50-unit cell). Objects are drawn on a clear
// background so the floor shows around them.
#include "Art.h"
#include "Palette.h"

#include <functional>
#include <vector>

namespace
{
constexpr int kT = 25;

Canvas Floor(Color base, Color dark, Color light, int seed)
{
  Canvas c(kT, kT);
  c.Fill(base);
  for (int y = 0; y < kT; ++y)
    for (int x = 0; x < kT; ++x)
    {
      int n = Noise(x, y, seed);
      if (n < 18)
        c.Put(x, y, dark);
      else if (n > 240)
        c.Put(x, y, light);
    }
  return c;
}

Canvas kCarpet()
{
  Canvas c = Floor(Pal::kCarpet, Pal::kCarpetDark, Pal::kCarpetLight, 1);
  // Carpet squares: a faint seam on two edges makes the grid of tiles readable.
  c.Rect(0, kT - 1, kT, 1, Pal::kCarpetDark);
  c.Rect(kT - 1, 0, 1, kT, Pal::kCarpetDark);
  return c;
}

Canvas kLino()
{
  // Large square vinyl tiles in two close tones with thin grout: clearly floor, with no
  // courses that could read as brickwork.
  Canvas c = Floor(Pal::kLino, Pal::kLinoDark, Shade(Pal::kLino, 0.15f), 2);
  const Color alternate = Shade(Pal::kLino, -0.05f);
  c.Rect(0, 0, 12, 12, alternate);
  c.Rect(12, 12, 13, 13, alternate);
  c.Rect(0, 12, kT, 1, Pal::kLinoDark);
  c.Rect(12, 0, 1, kT, Pal::kLinoDark);
  return c;
}

Canvas kHall()
{
  Canvas c = Floor(Pal::kHall, Pal::kHallDark, Shade(Pal::kHall, 0.15f), 3);
  c.Rect(0, 12, 12, 13, Shade(Pal::kHall, -0.05f));
  c.Rect(12, 0, 13, 12, Shade(Pal::kHall, -0.05f));
  c.Rect(0, kT - 1, kT, 1, Pal::kHallDark);
  c.Rect(kT - 1, 0, 1, kT, Pal::kHallDark);
  return c;
}

Canvas ExitMat()
{
  Canvas c(kT, kT);
  c.Fill(Pal::kGreen);
  // Hazard-style border so the way out reads from afar.
  for (int i = 0; i < kT; ++i)
    for (int k : {0, 1, kT - 2, kT - 1})
    {
      Color stripe = ((i / 3) % 2) ? Pal::kYellow : Pal::kInk;
      c.Put(i, k, stripe);
      c.Put(k, i, stripe);
    }
  c.Rect(3, 3, kT - 6, kT - 6, Shade(Pal::kGreen, 0.1f));
  c.Pattern(5, 6, {"..#......", ".##......", "#########", ".##......", "..#......"}, "#",
            {Pal::kWhite});
  c.Pattern(5, 13,
            {"###.#.#.#.###", "#...#.#.#..#.", "##...#..#..#.", "#...#.#.#..#.", "###.#.#.#..#."},
            "#", {Pal::kWhite});
  return c;
}

// A raised block of wall seen from above: a lit top edge, a shaded lower face and
// courses of bricks, so walls read apart from every floor at a glance.
Canvas WallBlock(Color top, Color light, Color dark)
{
  Canvas c(kT, kT);
  c.Fill(top);
  const Color mortar = Shade(top, -0.25f);
  for (int y = 5; y < kT - 3; y += 5)
    c.Rect(0, y, kT, 1, mortar);
  for (int row = 0; row * 5 < kT - 3; ++row)
    for (int x = (row % 2) ? 3 : 9; x < kT; x += 12)
      c.Rect(x, row * 5, 1, 5, mortar);
  c.Rect(0, 0, kT, 2, light);
  c.Rect(0, kT - 4, kT, 4, dark);
  c.Rect(0, kT - 1, kT, 1, Pal::kInk);
  return c;
}

Canvas kWall()
{
  return WallBlock(Pal::kWall, Pal::kWallTop, Pal::kWallDark);
}

Canvas WindowWall()
{
  Canvas c = WallBlock(Pal::kWall, Pal::kWallTop, Pal::kWallDark);
  c.Rect(3, 3, 19, 18, Pal::kWallDark);
  c.Gradient(4, 4, 17, 16, Hex(0x2c4470), Hex(0x4d7bb0));
  c.Line(6, 18, 14, 5, WithAlpha(Pal::kWhite, 120));
  c.Line(9, 18, 17, 5, WithAlpha(Pal::kWhite, 70));
  c.Rect(12, 4, 1, 16, Pal::kWallDark);
  return c;
}

Canvas NoticeWall()
{
  Canvas c = WallBlock(Pal::kWall, Pal::kWallTop, Pal::kWallDark);
  c.Rect(3, 4, 19, 15, Pal::kWoodDark);
  c.Rect(4, 5, 17, 13, Hex(0xc49a62));
  c.Rect(5, 6, 5, 6, Pal::kPaper);
  c.Rect(11, 7, 6, 4, Pal::kYellow);
  c.Rect(13, 12, 6, 5, Pal::kWhite);
  c.Rect(6, 13, 5, 4, Hex(0x9fd0f0));
  for (auto [x, y] : {std::pair{7, 6}, std::pair{14, 7}, std::pair{15, 12}, std::pair{8, 13}})
    c.Put(x, y, Pal::kRed);
  return c;
}

Canvas Pillar()
{
  return WallBlock(Pal::kWallDark, Pal::kWall, Pal::kNightDeep);
}

// An object picture: drawn by fn on a clear tile, then outlined and given a shadow.
Canvas Object(const std::function<void(Canvas&)>& fn)
{
  Canvas art(kT, kT);
  fn(art);
  return WithDropShadow(art);
}

void DeskTop(Canvas& c)
{
  c.Rect(1, 6, 23, 14, Pal::kWoodLight);
  c.Rect(1, 6, 23, 1, Shade(Pal::kWoodLight, 0.25f));
  c.Rect(1, 17, 23, 4, Pal::kWood);
  c.Rect(2, 21, 2, 2, Pal::kWoodDark);
  c.Rect(21, 21, 2, 2, Pal::kWoodDark);
}

void Monitor(Canvas& c, int x, int y)
{
  c.Rect(x, y, 12, 9, Pal::kMetalDark);
  c.Rect(x + 1, y + 1, 10, 7, Pal::kScreen);
  c.Rect(x + 2, y + 2, 5, 1, Pal::kGlow);
  c.Rect(x + 2, y + 4, 7, 1, Shade(Pal::kGlow, -0.3f));
  c.Rect(x + 4, y + 9, 4, 2, Pal::kMetalDark);
}

Canvas DeskComputer()
{
  return Object(
      [](Canvas& c)
      {
        DeskTop(c);
        Monitor(c, 6, 2);
        c.Rect(6, 14, 11, 3, Pal::kMetalLight);
        c.Rect(19, 13, 3, 4, Pal::kMetalLight);
      });
}

Canvas DeskLaptop()
{
  return Object(
      [](Canvas& c)
      {
        DeskTop(c);
        c.Rect(4, 8, 10, 7, Pal::kMetalDark);
        c.Rect(5, 9, 8, 5, Pal::kScreen);
        c.Rect(6, 10, 3, 1, Pal::kGlow);
        c.Rect(3, 15, 12, 2, Pal::kMetalLight);
        c.Rect(16, 9, 5, 6, Pal::kPaper);
        c.Rect(17, 10, 3, 1, Pal::kMetalDark);
        c.Rect(17, 12, 3, 1, Pal::kMetalDark);
        c.Disc(20.5f, 16.5f, 1.5f, Pal::kRed);
      });
}

Canvas DeskPapers()
{
  return Object(
      [](Canvas& c)
      {
        DeskTop(c);
        c.Rect(3, 7, 7, 8, Pal::kPaper);
        c.Rect(4, 5, 7, 8, Pal::kWhite);
        c.Rect(5, 7, 5, 1, Pal::kMetalDark);
        c.Rect(5, 9, 4, 1, Pal::kMetalDark);
        c.Rect(13, 9, 8, 6, Pal::kBlue);
        c.Rect(14, 8, 8, 6, Shade(Pal::kBlue, 0.2f));
        c.Rect(18, 1, 1, 8, Pal::kMetalDark);
        c.Rect(16, 1, 5, 2, Pal::kYellow);
      });
}

Canvas Chair()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(7, 3, 11, 8, Hex(0x2d3140));
        c.Rect(8, 4, 9, 6, Hex(0x3f4458));
        c.Rect(6, 11, 13, 7, Hex(0x3f4458));
        c.Rect(7, 12, 11, 5, Hex(0x535a72));
        c.Rect(12, 18, 1, 3, Pal::kMetalDark);
        c.Rect(7, 21, 11, 1, Pal::kMetalDark);
        c.Put(7, 22, Pal::kInk);
        c.Put(17, 22, Pal::kInk);
        c.Put(12, 22, Pal::kInk);
      });
}

Canvas Printer()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(2, 8, 21, 13, Pal::kMetalLight);
        c.Rect(2, 17, 21, 4, Pal::kMetal);
        c.Rect(5, 4, 15, 5, Pal::kMetal);
        c.Rect(7, 2, 11, 3, Pal::kWhite);
        c.Rect(6, 12, 13, 3, Pal::kMetalDark);
        c.Rect(7, 13, 11, 2, Pal::kWhite);
        c.Put(19, 10, Pal::kGreenLight);
        c.Put(17, 10, Pal::kOrange);
      });
}

Canvas Cabinet()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(5, 1, 15, 22, Pal::kMetal);
        c.Rect(5, 1, 15, 2, Pal::kMetalLight);
        for (int y : {4, 11, 18})
        {
          c.Rect(6, y, 13, 6, Pal::kMetalLight);
          c.Rect(10, y + 2, 5, 1, Pal::kMetalDark);
          c.Rect(7, y + 4, 3, 1, Pal::kPaper);
        }
      });
}

Canvas Bookshelf()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(2, 1, 21, 22, Pal::kWoodDark);
        Color books[] = {Pal::kRed,   Pal::kBlue, Pal::kYellow, Pal::kGreen,
                         Pal::kPaper, Pal::kTeal, Pal::kOrange};
        for (int shelf = 0; shelf < 3; ++shelf)
        {
          int y = 2 + shelf * 7;
          c.Rect(3, y, 19, 6, Shade(Pal::kWoodDark, -0.3f));
          for (int x = 4, k = shelf * 2; x < 21; x += 2 + (k % 2), ++k)
          {
            int h = 4 + (Noise(x, shelf, 5) % 2);
            c.Rect(x, y + 6 - h, 2, h, books[k % 7]);
          }
          c.Rect(3, y + 6, 19, 1, Pal::kWood);
        }
      });
}

Canvas Sofa(bool left)
{
  Canvas half = Object(
      [](Canvas& c)
      {
        c.Rect(2, 4, 23, 8, Pal::kFabric);
        c.Rect(2, 4, 23, 2, Pal::kFabricLight);
        c.Rect(2, 4, 5, 18, Pal::kFabric);
        c.Rect(3, 5, 3, 16, Pal::kFabricLight);
        c.Rect(7, 12, 18, 9, Pal::kFabricLight);
        c.Rect(7, 12, 18, 1, Shade(Pal::kFabricLight, 0.2f));
        c.Rect(7, 20, 18, 2, Pal::kFabric);
        c.Rect(15, 13, 1, 7, Pal::kFabric);
      });
  if (left)
    return half;
  Canvas mirrored(kT, kT);
  mirrored.Blit(half, 0, 0, true);
  return mirrored;
}

Canvas CoffeeMachine()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(1, 10, 23, 12, Pal::kWoodLight);
        c.Rect(1, 18, 23, 4, Pal::kWood);
        c.Rect(4, 2, 10, 14, Hex(0x33363f));
        c.Rect(5, 3, 8, 3, Hex(0x4a4e5a));
        c.Rect(6, 9, 6, 5, Pal::kMetalDark);
        c.Rect(8, 11, 3, 3, Pal::kWhite);
        c.Put(11, 4, Pal::kRed);
        for (int x : {16, 20})
        {
          c.Rect(x, 12, 3, 4, Pal::kWhite);
          c.Put(x + 1, 12, Pal::kWoodDark);
        }
      });
}

Canvas MeetingTable()
{
  return Object(
      [](Canvas& c)
      {
        c.Ellipse(12.5f, 12.5f, 11.5f, 9.5f, Pal::kWood);
        c.Ellipse(12.5f, 11.5f, 11.5f, 8.5f, Pal::kWoodLight);
        c.Ellipse(10.0f, 9.0f, 5.0f, 2.0f, Shade(Pal::kWoodLight, 0.2f));
        c.Rect(6, 12, 5, 4, Pal::kWhite);
        c.Rect(14, 10, 4, 3, Pal::kYellow);
        c.Disc(17.5f, 15.5f, 1.5f, Pal::kWhite);
      });
}

Canvas Photocopier()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(2, 3, 21, 19, Pal::kMetalLight);
        c.Rect(2, 3, 21, 7, Pal::kMetal);
        c.Rect(4, 4, 12, 5, Hex(0x2d3a48));
        c.Rect(5, 5, 4, 1, Pal::kGlow);
        c.Rect(17, 5, 4, 3, Pal::kMetalDark);
        c.Put(18, 6, Pal::kGreenLight);
        c.Rect(3, 13, 19, 1, Pal::kMetal);
        c.Rect(3, 17, 19, 1, Pal::kMetal);
        c.Rect(10, 11, 5, 1, Pal::kMetalDark);
        c.Rect(10, 15, 5, 1, Pal::kMetalDark);
        c.Rect(10, 19, 5, 1, Pal::kMetalDark);
      });
}

Canvas ServerRack()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(4, 1, 17, 22, Hex(0x25272f));
        for (int y = 3; y < 21; y += 4)
        {
          c.Rect(6, y, 13, 3, Hex(0x3a3d49));
          c.Put(8, y + 1, (y / 4) % 2 ? Pal::kGreenLight : Pal::kGlow);
          c.Put(10, y + 1, Pal::kGreenLight);
          c.Rect(13, y + 1, 4, 1, Hex(0x1b1c22));
        }
      });
}

Canvas TallPlant()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(8, 17, 9, 6, Pal::kPot);
        c.Rect(8, 17, 9, 1, Shade(Pal::kPot, 0.25f));
        c.Rect(12, 9, 1, 8, Pal::kWoodDark);
        c.Disc(12.5f, 7.0f, 6.5f, Pal::kLeafDark);
        c.Disc(8.5f, 10.0f, 4.5f, Pal::kLeaf);
        c.Disc(16.5f, 9.0f, 4.5f, Pal::kLeaf);
        c.Disc(12.5f, 4.0f, 3.5f, Pal::kLeafLight);
        c.Disc(15.0f, 7.0f, 2.0f, Pal::kLeafLight);
      });
}

Canvas TrashAndBins()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(3, 9, 8, 13, Pal::kBlue);
        c.Rect(3, 9, 8, 2, Shade(Pal::kBlue, 0.3f));
        c.Rect(5, 14, 4, 4, Pal::kWhite);
        c.Rect(13, 9, 8, 13, Pal::kGreen);
        c.Rect(13, 9, 8, 2, Shade(Pal::kGreen, 0.3f));
        c.Rect(15, 6, 3, 4, Pal::kPaper);
        c.Rect(4, 7, 3, 3, Pal::kPaper);
      });
}

Canvas EventMarker(Color ring, const std::function<void(Canvas&)>& symbol)
{
  Canvas c(kT, kT);
  c.Disc(12.5f, 12.5f, 11.5f, Pal::kInk);
  c.Disc(12.5f, 12.5f, 10.5f, ring);
  c.Disc(12.5f, 12.5f, 8.5f, Shade(ring, -0.35f));
  symbol(c);
  return c;
}

Canvas SpawnMarker()
{
  return EventMarker(Pal::kTealLight,
                     [](Canvas& c)
                     {
                       c.Disc(12.5f, 8.5f, 3.5f, Hex(0xf1c39b));
                       c.Rect(8, 12, 9, 7, Pal::kTeal);
                       c.Rect(8, 12, 9, 1, Pal::kTealLight);
                     });
}

Canvas ExitMarker()
{
  return EventMarker(
      Pal::kGreenLight,
      [](Canvas& c)
      {
        c.Pattern(6, 8, {"....#...", "....##..", "########", "########", "....##..", "....#..."},
                  "#", {Pal::kWhite});
        c.Rect(6, 15, 14, 2, Pal::kWhite);
      });
}

Canvas CoworkerMarker()
{
  return EventMarker(Pal::kRed,
                     [](Canvas& c)
                     {
                       c.Disc(12.5f, 8.5f, 3.5f, Hex(0xc98d62));
                       c.Rect(8, 12, 9, 7, Pal::kWhite);
                       c.Rect(12, 12, 1, 5, Pal::kRed);
                       c.Disc(18.5f, 6.5f, 2.5f, Pal::kYellow);
                       c.Rect(18, 5, 1, 2, Pal::kInk);
                     });
}
} // namespace

int MakeTiles(const std::string& assets)
{
  const std::string dir = assets + "/Tilemap/";
  int failures = 0;
  const std::vector<std::pair<const char*, Canvas>> tiles = {
      {"floor_carpet.png", kCarpet()},
      {"floor_lino.png", kLino()},
      {"floor_hall.png", kHall()},
      {"floor_exit.png", ExitMat()},
      {"wall.png", kWall()},
      {"wall_window.png", WindowWall()},
      {"wall_notice.png", NoticeWall()},
      {"wall_pillar.png", Pillar()},
      {"desk_computer.png", DeskComputer()},
      {"desk_laptop.png", DeskLaptop()},
      {"desk_papers.png", DeskPapers()},
      {"chair.png", Chair()},
      {"plant.png", DrawPlant(kT, kT)},
      {"plant_tall.png", TallPlant()},
      {"printer.png", Printer()},
      {"water_cooler.png", DrawWaterCooler(kT, kT)},
      {"cabinet.png", Cabinet()},
      {"bookshelf.png", Bookshelf()},
      {"sofa_left.png", Sofa(true)},
      {"sofa_right.png", Sofa(false)},
      {"boxes.png", DrawBoxes(kT, kT)},
      {"coffee.png", CoffeeMachine()},
      {"meeting_table.png", MeetingTable()},
      {"photocopier.png", Photocopier()},
      {"server_rack.png", ServerRack()},
      {"bins.png", TrashAndBins()},
      {"keycard.png", DrawKeyCard(kT)},
      {"event_spawn.png", SpawnMarker()},
      {"event_exit.png", ExitMarker()},
      {"event_coworker.png", CoworkerMarker()},
  };
  for (const auto& [name, art] : tiles)
    failures += Save(art, 2, dir + name);
  return failures;
}
