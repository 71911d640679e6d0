// Tiles: floors, walls, office objects and the editor's event markers, each 25 × 25
// pixels drawn at twice the size (one 50-unit cell). Objects are drawn on a clear
// background so the floor shows around them.
#include "Art.h"
#include "Palette.h"

#include <functional>
#include <vector>

namespace
{
constexpr int T = 25;

Canvas Floor(Color base, Color dark, Color light, int seed)
{
  Canvas c(T, T);
  c.Fill(base);
  for (int y = 0; y < T; ++y)
    for (int x = 0; x < T; ++x)
    {
      int n = Noise(x, y, seed);
      if (n < 18)
        c.Put(x, y, dark);
      else if (n > 240)
        c.Put(x, y, light);
    }
  return c;
}

Canvas Carpet()
{
  Canvas c = Floor(Pal::Carpet, Pal::CarpetDark, Pal::CarpetLight, 1);
  // Carpet squares: a faint seam on two edges makes the grid of tiles readable.
  c.Rect(0, T - 1, T, 1, Pal::CarpetDark);
  c.Rect(T - 1, 0, 1, T, Pal::CarpetDark);
  return c;
}

Canvas Lino()
{
  Canvas c = Floor(Pal::Lino, Pal::LinoDark, Shade(Pal::Lino, 0.15f), 2);
  for (int y : {0, 8, 16})
    c.Rect(0, y, T, 1, Pal::LinoDark);
  c.Rect(11, 1, 1, 7, Pal::LinoDark);
  c.Rect(4, 9, 1, 7, Pal::LinoDark);
  c.Rect(18, 9, 1, 7, Pal::LinoDark);
  c.Rect(13, 17, 1, 8, Pal::LinoDark);
  return c;
}

Canvas Hall()
{
  Canvas c = Floor(Pal::Hall, Pal::HallDark, Shade(Pal::Hall, 0.15f), 3);
  c.Rect(0, 12, 12, 13, Shade(Pal::Hall, -0.05f));
  c.Rect(12, 0, 13, 12, Shade(Pal::Hall, -0.05f));
  c.Rect(0, T - 1, T, 1, Pal::HallDark);
  c.Rect(T - 1, 0, 1, T, Pal::HallDark);
  return c;
}

Canvas ExitMat()
{
  Canvas c(T, T);
  c.Fill(Pal::Green);
  // Hazard-style border so the way out reads from afar.
  for (int i = 0; i < T; ++i)
    for (int k : {0, 1, T - 2, T - 1})
    {
      Color stripe = ((i / 3) % 2) ? Pal::Yellow : Pal::Ink;
      c.Put(i, k, stripe);
      c.Put(k, i, stripe);
    }
  c.Rect(3, 3, T - 6, T - 6, Shade(Pal::Green, 0.1f));
  c.Pattern(5, 6, {"..#......", ".##......", "#########", ".##......", "..#......"}, "#",
            {Pal::White});
  c.Pattern(5, 13,
            {"###.#.#.#.###", "#...#.#.#..#.", "##...#..#..#.", "#...#.#.#..#.", "###.#.#.#..#."},
            "#", {Pal::White});
  return c;
}

Canvas WallBlock(Color top, Color light, Color dark)
{
  Canvas c(T, T);
  c.Fill(top);
  c.Rect(0, 0, T, 2, light);
  c.Rect(0, 0, 2, T, light);
  c.Rect(0, T - 3, T, 3, dark);
  c.Rect(T - 2, 0, 2, T, dark);
  // Panel joints.
  c.Rect(2, 12, T - 4, 1, Shade(top, -0.12f));
  c.Rect(12, 2, 1, 10, Shade(top, -0.12f));
  c.Rect(6, 13, 1, 9, Shade(top, -0.12f));
  c.Rect(18, 13, 1, 9, Shade(top, -0.12f));
  return c;
}

Canvas Wall()
{
  return WallBlock(Pal::WallLight, Pal::WallTop, Pal::Wall);
}

Canvas WindowWall()
{
  Canvas c = WallBlock(Pal::WallLight, Pal::WallTop, Pal::Wall);
  c.Rect(3, 3, 19, 18, Pal::WallDark);
  c.Gradient(4, 4, 17, 16, Hex(0x2c4470), Hex(0x4d7bb0));
  c.Line(6, 18, 14, 5, WithAlpha(Pal::White, 120));
  c.Line(9, 18, 17, 5, WithAlpha(Pal::White, 70));
  c.Rect(12, 4, 1, 16, Pal::WallDark);
  return c;
}

Canvas NoticeWall()
{
  Canvas c = WallBlock(Pal::WallLight, Pal::WallTop, Pal::Wall);
  c.Rect(3, 4, 19, 15, Pal::WoodDark);
  c.Rect(4, 5, 17, 13, Hex(0xc49a62));
  c.Rect(5, 6, 5, 6, Pal::Paper);
  c.Rect(11, 7, 6, 4, Pal::Yellow);
  c.Rect(13, 12, 6, 5, Pal::White);
  c.Rect(6, 13, 5, 4, Hex(0x9fd0f0));
  for (auto [x, y] : {std::pair{7, 6}, std::pair{14, 7}, std::pair{15, 12}, std::pair{8, 13}})
    c.Put(x, y, Pal::Red);
  return c;
}

Canvas Pillar()
{
  return WallBlock(Pal::Wall, Pal::WallLight, Pal::WallDark);
}

// An object picture: drawn by fn on a clear tile, then outlined and given a shadow.
Canvas Object(const std::function<void(Canvas&)>& fn)
{
  Canvas art(T, T);
  fn(art);
  return WithDropShadow(art);
}

void DeskTop(Canvas& c)
{
  c.Rect(1, 6, 23, 14, Pal::WoodLight);
  c.Rect(1, 6, 23, 1, Shade(Pal::WoodLight, 0.25f));
  c.Rect(1, 17, 23, 4, Pal::Wood);
  c.Rect(2, 21, 2, 2, Pal::WoodDark);
  c.Rect(21, 21, 2, 2, Pal::WoodDark);
}

void Monitor(Canvas& c, int x, int y)
{
  c.Rect(x, y, 12, 9, Pal::MetalDark);
  c.Rect(x + 1, y + 1, 10, 7, Pal::Screen);
  c.Rect(x + 2, y + 2, 5, 1, Pal::Glow);
  c.Rect(x + 2, y + 4, 7, 1, Shade(Pal::Glow, -0.3f));
  c.Rect(x + 4, y + 9, 4, 2, Pal::MetalDark);
}

Canvas DeskComputer()
{
  return Object(
      [](Canvas& c)
      {
        DeskTop(c);
        Monitor(c, 6, 2);
        c.Rect(6, 14, 11, 3, Pal::MetalLight);
        c.Rect(19, 13, 3, 4, Pal::MetalLight);
      });
}

Canvas DeskLaptop()
{
  return Object(
      [](Canvas& c)
      {
        DeskTop(c);
        c.Rect(4, 8, 10, 7, Pal::MetalDark);
        c.Rect(5, 9, 8, 5, Pal::Screen);
        c.Rect(6, 10, 3, 1, Pal::Glow);
        c.Rect(3, 15, 12, 2, Pal::MetalLight);
        c.Rect(16, 9, 5, 6, Pal::Paper);
        c.Rect(17, 10, 3, 1, Pal::MetalDark);
        c.Rect(17, 12, 3, 1, Pal::MetalDark);
        c.Disc(20.5f, 16.5f, 1.5f, Pal::Red);
      });
}

Canvas DeskPapers()
{
  return Object(
      [](Canvas& c)
      {
        DeskTop(c);
        c.Rect(3, 7, 7, 8, Pal::Paper);
        c.Rect(4, 5, 7, 8, Pal::White);
        c.Rect(5, 7, 5, 1, Pal::MetalDark);
        c.Rect(5, 9, 4, 1, Pal::MetalDark);
        c.Rect(13, 9, 8, 6, Pal::Blue);
        c.Rect(14, 8, 8, 6, Shade(Pal::Blue, 0.2f));
        c.Rect(18, 1, 1, 8, Pal::MetalDark);
        c.Rect(16, 1, 5, 2, Pal::Yellow);
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
        c.Rect(12, 18, 1, 3, Pal::MetalDark);
        c.Rect(7, 21, 11, 1, Pal::MetalDark);
        c.Put(7, 22, Pal::Ink);
        c.Put(17, 22, Pal::Ink);
        c.Put(12, 22, Pal::Ink);
      });
}

Canvas Printer()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(2, 8, 21, 13, Pal::MetalLight);
        c.Rect(2, 17, 21, 4, Pal::Metal);
        c.Rect(5, 4, 15, 5, Pal::Metal);
        c.Rect(7, 2, 11, 3, Pal::White);
        c.Rect(6, 12, 13, 3, Pal::MetalDark);
        c.Rect(7, 13, 11, 2, Pal::White);
        c.Put(19, 10, Pal::GreenLight);
        c.Put(17, 10, Pal::Orange);
      });
}

Canvas Cabinet()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(5, 1, 15, 22, Pal::Metal);
        c.Rect(5, 1, 15, 2, Pal::MetalLight);
        for (int y : {4, 11, 18})
        {
          c.Rect(6, y, 13, 6, Pal::MetalLight);
          c.Rect(10, y + 2, 5, 1, Pal::MetalDark);
          c.Rect(7, y + 4, 3, 1, Pal::Paper);
        }
      });
}

Canvas Bookshelf()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(2, 1, 21, 22, Pal::WoodDark);
        Color books[] = {Pal::Red,   Pal::Blue, Pal::Yellow, Pal::Green,
                         Pal::Paper, Pal::Teal, Pal::Orange};
        for (int shelf = 0; shelf < 3; ++shelf)
        {
          int y = 2 + shelf * 7;
          c.Rect(3, y, 19, 6, Shade(Pal::WoodDark, -0.3f));
          for (int x = 4, k = shelf * 2; x < 21; x += 2 + (k % 2), ++k)
          {
            int h = 4 + (Noise(x, shelf, 5) % 2);
            c.Rect(x, y + 6 - h, 2, h, books[k % 7]);
          }
          c.Rect(3, y + 6, 19, 1, Pal::Wood);
        }
      });
}

Canvas Sofa(bool left)
{
  Canvas half = Object(
      [](Canvas& c)
      {
        c.Rect(2, 4, 23, 8, Pal::Fabric);
        c.Rect(2, 4, 23, 2, Pal::FabricLight);
        c.Rect(2, 4, 5, 18, Pal::Fabric);
        c.Rect(3, 5, 3, 16, Pal::FabricLight);
        c.Rect(7, 12, 18, 9, Pal::FabricLight);
        c.Rect(7, 12, 18, 1, Shade(Pal::FabricLight, 0.2f));
        c.Rect(7, 20, 18, 2, Pal::Fabric);
        c.Rect(15, 13, 1, 7, Pal::Fabric);
      });
  if (left)
    return half;
  Canvas mirrored(T, T);
  mirrored.Blit(half, 0, 0, true);
  return mirrored;
}

Canvas CoffeeMachine()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(1, 10, 23, 12, Pal::WoodLight);
        c.Rect(1, 18, 23, 4, Pal::Wood);
        c.Rect(4, 2, 10, 14, Hex(0x33363f));
        c.Rect(5, 3, 8, 3, Hex(0x4a4e5a));
        c.Rect(6, 9, 6, 5, Pal::MetalDark);
        c.Rect(8, 11, 3, 3, Pal::White);
        c.Put(11, 4, Pal::Red);
        for (int x : {16, 20})
        {
          c.Rect(x, 12, 3, 4, Pal::White);
          c.Put(x + 1, 12, Pal::WoodDark);
        }
      });
}

Canvas MeetingTable()
{
  return Object(
      [](Canvas& c)
      {
        c.Ellipse(12.5f, 12.5f, 11.5f, 9.5f, Pal::Wood);
        c.Ellipse(12.5f, 11.5f, 11.5f, 8.5f, Pal::WoodLight);
        c.Ellipse(10.0f, 9.0f, 5.0f, 2.0f, Shade(Pal::WoodLight, 0.2f));
        c.Rect(6, 12, 5, 4, Pal::White);
        c.Rect(14, 10, 4, 3, Pal::Yellow);
        c.Disc(17.5f, 15.5f, 1.5f, Pal::White);
      });
}

Canvas Photocopier()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(2, 3, 21, 19, Pal::MetalLight);
        c.Rect(2, 3, 21, 7, Pal::Metal);
        c.Rect(4, 4, 12, 5, Hex(0x2d3a48));
        c.Rect(5, 5, 4, 1, Pal::Glow);
        c.Rect(17, 5, 4, 3, Pal::MetalDark);
        c.Put(18, 6, Pal::GreenLight);
        c.Rect(3, 13, 19, 1, Pal::Metal);
        c.Rect(3, 17, 19, 1, Pal::Metal);
        c.Rect(10, 11, 5, 1, Pal::MetalDark);
        c.Rect(10, 15, 5, 1, Pal::MetalDark);
        c.Rect(10, 19, 5, 1, Pal::MetalDark);
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
          c.Put(8, y + 1, (y / 4) % 2 ? Pal::GreenLight : Pal::Glow);
          c.Put(10, y + 1, Pal::GreenLight);
          c.Rect(13, y + 1, 4, 1, Hex(0x1b1c22));
        }
      });
}

Canvas TallPlant()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(8, 17, 9, 6, Pal::Pot);
        c.Rect(8, 17, 9, 1, Shade(Pal::Pot, 0.25f));
        c.Rect(12, 9, 1, 8, Pal::WoodDark);
        c.Disc(12.5f, 7.0f, 6.5f, Pal::LeafDark);
        c.Disc(8.5f, 10.0f, 4.5f, Pal::Leaf);
        c.Disc(16.5f, 9.0f, 4.5f, Pal::Leaf);
        c.Disc(12.5f, 4.0f, 3.5f, Pal::LeafLight);
        c.Disc(15.0f, 7.0f, 2.0f, Pal::LeafLight);
      });
}

Canvas TrashAndBins()
{
  return Object(
      [](Canvas& c)
      {
        c.Rect(3, 9, 8, 13, Pal::Blue);
        c.Rect(3, 9, 8, 2, Shade(Pal::Blue, 0.3f));
        c.Rect(5, 14, 4, 4, Pal::White);
        c.Rect(13, 9, 8, 13, Pal::Green);
        c.Rect(13, 9, 8, 2, Shade(Pal::Green, 0.3f));
        c.Rect(15, 6, 3, 4, Pal::Paper);
        c.Rect(4, 7, 3, 3, Pal::Paper);
      });
}

Canvas EventMarker(Color ring, const std::function<void(Canvas&)>& symbol)
{
  Canvas c(T, T);
  c.Disc(12.5f, 12.5f, 11.5f, Pal::Ink);
  c.Disc(12.5f, 12.5f, 10.5f, ring);
  c.Disc(12.5f, 12.5f, 8.5f, Shade(ring, -0.35f));
  symbol(c);
  return c;
}

Canvas SpawnMarker()
{
  return EventMarker(Pal::TealLight,
                     [](Canvas& c)
                     {
                       c.Disc(12.5f, 8.5f, 3.5f, Hex(0xf1c39b));
                       c.Rect(8, 12, 9, 7, Pal::Teal);
                       c.Rect(8, 12, 9, 1, Pal::TealLight);
                     });
}

Canvas ExitMarker()
{
  return EventMarker(
      Pal::GreenLight,
      [](Canvas& c)
      {
        c.Pattern(6, 8, {"....#...", "....##..", "########", "########", "....##..", "....#..."},
                  "#", {Pal::White});
        c.Rect(6, 15, 14, 2, Pal::White);
      });
}

Canvas CoworkerMarker()
{
  return EventMarker(Pal::Red,
                     [](Canvas& c)
                     {
                       c.Disc(12.5f, 8.5f, 3.5f, Hex(0xc98d62));
                       c.Rect(8, 12, 9, 7, Pal::White);
                       c.Rect(12, 12, 1, 5, Pal::Red);
                       c.Disc(18.5f, 6.5f, 2.5f, Pal::Yellow);
                       c.Rect(18, 5, 1, 2, Pal::Ink);
                     });
}
} // namespace

int MakeTiles(const std::string& assets)
{
  const std::string dir = assets + "/Tilemap/";
  int failures = 0;
  const std::vector<std::pair<const char*, Canvas>> tiles = {
      {"floor_carpet.png", Carpet()},
      {"floor_lino.png", Lino()},
      {"floor_hall.png", Hall()},
      {"floor_exit.png", ExitMat()},
      {"wall.png", Wall()},
      {"wall_window.png", WindowWall()},
      {"wall_notice.png", NoticeWall()},
      {"wall_pillar.png", Pillar()},
      {"desk_computer.png", DeskComputer()},
      {"desk_laptop.png", DeskLaptop()},
      {"desk_papers.png", DeskPapers()},
      {"chair.png", Chair()},
      {"plant.png", DrawPlant(T, T)},
      {"plant_tall.png", TallPlant()},
      {"printer.png", Printer()},
      {"water_cooler.png", DrawWaterCooler(T, T)},
      {"cabinet.png", Cabinet()},
      {"bookshelf.png", Bookshelf()},
      {"sofa_left.png", Sofa(true)},
      {"sofa_right.png", Sofa(false)},
      {"boxes.png", DrawBoxes(T, T)},
      {"coffee.png", CoffeeMachine()},
      {"meeting_table.png", MeetingTable()},
      {"photocopier.png", Photocopier()},
      {"server_rack.png", ServerRack()},
      {"bins.png", TrashAndBins()},
      {"keycard.png", DrawKeyCard(T)},
      {"event_spawn.png", SpawnMarker()},
      {"event_exit.png", ExitMarker()},
      {"event_coworker.png", CoworkerMarker()},
  };
  for (const auto& [name, art] : tiles)
    failures += Save(art, 2, dir + name);
  return failures;
}
