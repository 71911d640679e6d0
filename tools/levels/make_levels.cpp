// make_levels: turns the ASCII floor plans in a folder (one <Name>.txt per level) into the
// game's TMX level files, writes the asset manifest that gives every tile id its image,
// and checks each floor before writing it: one start, at least one exit, co-workers,
// every exit and card reachable on foot, co-workers able to visit each other, and no
// co-worker close to the start. It also notes whether the route is watched from a desk.
//
//   make_levels <plans folder> <level output folder> <Assets folder>
//
// Plan legend (one character per cell; the first row is the top of the map):
//   floors   .  carpet     ,  lino        :  hall        X  exit mat
//   walls    #  wall       W  window      N  notice board  I  pillar
//   objects  d  desk+PC    l  desk+laptop p  desk+papers c  chair   f  plant
//            F  tall plant r  printer     w  water cooler k  cabinet b  bookshelf
//            s  sofa left  S  sofa right  x  boxes       m  coffee  t  meeting table
//            y  photocopier v server rack n  recycling bins
//   events   @  start      E  exit (on an exit mat)      K  access card   e  co-worker
// Objects and events stand on the floor of the nearest floor cell to their left on the
// same row (to the right when there is none).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <queue>
#include <string>
#include <vector>

namespace
{
struct TileImage
{
  int id;
  const char* file;
};

// Background tiles 1-8 (floors 1-4 are walkable), objects from 9, events by their code.
const TileImage kFloors[] = {{1, "floor_carpet.png"}, {2, "floor_lino.png"}, {3, "floor_hall.png"},
                             {4, "floor_exit.png"},   {5, "wall.png"},       {6, "wall_window.png"},
                             {7, "wall_notice.png"},  {8, "wall_pillar.png"}};
const TileImage kObjects[] = {
    {9, "desk_computer.png"}, {10, "desk_laptop.png"},  {11, "desk_papers.png"},
    {12, "chair.png"},        {13, "plant.png"},        {14, "plant_tall.png"},
    {15, "printer.png"},      {16, "water_cooler.png"}, {17, "cabinet.png"},
    {18, "bookshelf.png"},    {19, "sofa_left.png"},    {20, "sofa_right.png"},
    {21, "boxes.png"},        {22, "coffee.png"},       {23, "meeting_table.png"},
    {24, "photocopier.png"},  {25, "server_rack.png"},  {26, "bins.png"}};
const int kLastWalkableFloor = 4;

struct Legend
{
  char ch;
  int floor;  // 0: inherited from the neighbouring floor
  int object; // 0: none
  int event;  // 0: none, else the event code
};

const Legend kLegends[] = {
    {'.', 1, 0, 0},  {',', 2, 0, 0},   {':', 3, 0, 0},   {'X', 4, 0, 0},  {'#', 5, 0, 0},
    {'W', 6, 0, 0},  {'N', 7, 0, 0},   {'I', 8, 0, 0},   {'d', 0, 9, 0},  {'l', 0, 10, 0},
    {'p', 0, 11, 0}, {'c', 0, 12, 0},  {'f', 0, 13, 0},  {'F', 0, 14, 0}, {'r', 0, 15, 0},
    {'w', 0, 16, 0}, {'k', 0, 17, 0},  {'b', 0, 18, 0},  {'s', 0, 19, 0}, {'S', 0, 20, 0},
    {'x', 0, 21, 0}, {'m', 0, 22, 0},  {'t', 0, 23, 0},  {'y', 0, 24, 0}, {'v', 0, 25, 0},
    {'n', 0, 26, 0}, {'@', 0, 0, 101}, {'E', 4, 0, 102}, {'K', 0, 0, 50}, {'e', 0, 0, 103},
};

const Legend* Find(char ch)
{
  for (const Legend& l : kLegends)
    if (l.ch == ch)
      return &l;
  return nullptr;
}

struct Plan
{
  std::string name;
  int width = 0, height = 0;
  std::vector<int> floor, object, event;

  bool Walkable(int col, int row) const
  {
    // The game treats the top row as outside the map.
    if (col < 0 || col >= width || row <= 0 || row >= height)
      return false;
    int f = floor[size_t(row * width + col)];
    return f >= 0 && f <= kLastWalkableFloor && object[size_t(row * width + col)] == 0;
  }
  // The player's feet reach into the row below its centre, so standing on a cell takes
  // that cell and the one under it.
  bool Standable(int col, int row) const { return Walkable(col, row) && Walkable(col, row + 1); }
};

// The floor a cell without one of its own stands on: the nearest plain floor (carpet,
// lino or hall, no event) on its row, looking left first; carpet when the row has none.
int NearestFloor(const std::string& line, int col)
{
  const int width = int(line.size());
  for (int d = 1; d < width; ++d)
    for (int from : {col - d, col + d})
    {
      if (from < 0 || from >= width)
        continue;
      const Legend* l = Find(line[size_t(from)]);
      if (l->floor >= 1 && l->floor <= 3 && l->event == 0)
        return l->floor;
    }
  return 1;
}

bool ReadPlan(const std::string& path, Plan& plan)
{
  std::ifstream in(path);
  if (!in)
  {
    std::printf("make_levels: cannot read %s\n", path.c_str());
    return false;
  }
  std::vector<std::string> rows;
  for (std::string line; std::getline(in, line);)
  {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
      line.pop_back();
    if (!line.empty())
      rows.push_back(line);
  }
  if (rows.empty())
  {
    std::printf("make_levels: %s is empty\n", path.c_str());
    return false;
  }
  plan.height = int(rows.size());
  plan.width = int(rows[0].size());
  size_t cells = size_t(plan.width * plan.height);
  plan.floor.assign(cells, 0);
  plan.object.assign(cells, 0);
  plan.event.assign(cells, 0);
  for (int r = 0; r < plan.height; ++r)
  {
    const std::string& line = rows[size_t(r)];
    if (int(line.size()) != plan.width)
    {
      std::printf("make_levels: %s row %d has %zu cells, the first row has %d\n", path.c_str(),
                  r + 1, line.size(), plan.width);
      return false;
    }
    for (int c = 0; c < plan.width; ++c)
    {
      const Legend* l = Find(line[size_t(c)]);
      if (!l)
      {
        std::printf("make_levels: %s row %d column %d: unknown cell '%c'\n", path.c_str(), r + 1,
                    c + 1, line[size_t(c)]);
        return false;
      }
      size_t i = size_t(r * plan.width + c);
      plan.floor[i] = l->floor;
      plan.object[i] = l->object;
      plan.event[i] = l->event;
    }
    for (int c = 0; c < plan.width; ++c)
    {
      size_t i = size_t(r * plan.width + c);
      if (plan.floor[i] == 0)
        plan.floor[i] = NearestFloor(line, c);
    }
  }
  return true;
}

// Cells the player can reach from the start on foot: moves between the centres of
// standable neighbours, four directions.
std::vector<bool> Reachable(const Plan& plan, int startCol, int startRow,
                            const std::vector<bool>& avoid = {})
{
  std::vector<bool> seen(size_t(plan.width * plan.height), false);
  auto allowed = [&](int c, int r)
  { return plan.Standable(c, r) && (avoid.empty() || !avoid[size_t(r * plan.width + c)]); };
  std::queue<std::pair<int, int>> open;
  if (allowed(startCol, startRow))
  {
    seen[size_t(startRow * plan.width + startCol)] = true;
    open.push({startCol, startRow});
  }
  const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  while (!open.empty())
  {
    auto [c, r] = open.front();
    open.pop();
    for (const auto& s : steps)
    {
      int nc = c + s[0], nr = r + s[1];
      if (allowed(nc, nr) && !seen[size_t(nr * plan.width + nc)])
      {
        seen[size_t(nr * plan.width + nc)] = true;
        open.push({nc, nr});
      }
    }
  }
  return seen;
}

// Cells a co-worker sitting at its desk sees: within its 70-unit circle, or within 120
// units and 50 degrees of straight down, the way every co-worker faces at the start.
std::vector<bool> WatchedFromDesks(const Plan& plan)
{
  std::vector<bool> watched(size_t(plan.width * plan.height), false);
  for (int er = 0; er < plan.height; ++er)
    for (int ec = 0; ec < plan.width; ++ec)
    {
      if (plan.event[size_t(er * plan.width + ec)] < 103)
        continue;
      for (int r = std::max(0, er - 3); r < std::min(plan.height, er + 4); ++r)
        for (int c = std::max(0, ec - 3); c < std::min(plan.width, ec + 4); ++c)
        {
          double dx = (c - ec) * 50.0, dy = -(r - er) * 50.0;
          double d = std::hypot(dx, dy);
          bool inCone = d <= 120.0 && d > 0 && std::acos(-dy / d) * 180.0 / 3.14159265 <= 50.0;
          if (d <= 70.0 || inCone)
            watched[size_t(r * plan.width + c)] = true;
        }
    }
  return watched;
}

// Co-workers visit each other's desks along paths of the grid's eight-way search, so
// every desk must be reachable from every other. Names each desk that is not.
bool DesksConnected(const Plan& plan)
{
  bool ok = true;
  std::vector<int> region(size_t(plan.width * plan.height), -1);
  std::vector<std::pair<int, int>> stack;
  int regions = 0, firstRegion = -1;
  for (int r = 0; r < plan.height; ++r)
    for (int c = 0; c < plan.width; ++c)
    {
      if (plan.event[size_t(r * plan.width + c)] < 103)
        continue;
      if (region[size_t(r * plan.width + c)] < 0)
      {
        stack.push_back({c, r});
        region[size_t(r * plan.width + c)] = regions;
        while (!stack.empty())
        {
          auto [sc, sr] = stack.back();
          stack.pop_back();
          for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc)
            {
              int nc = sc + dc, nr = sr + dr;
              if (plan.Walkable(nc, nr) && region[size_t(nr * plan.width + nc)] < 0)
              {
                region[size_t(nr * plan.width + nc)] = regions;
                stack.push_back({nc, nr});
              }
            }
        }
        ++regions;
      }
      int own = region[size_t(r * plan.width + c)];
      if (firstRegion < 0)
        firstRegion = own;
      else if (own != firstRegion)
      {
        std::printf(
            "make_levels: %s: the co-worker at row %d column %d cannot walk to the others\n",
            plan.name.c_str(), r + 1, c + 1);
        ok = false;
      }
    }
  return ok;
}

// A card is taken within about 55 units: from its own cell or a neighbour in reach.
bool CardTakeable(const Plan& plan, const std::vector<bool>& reach, int c, int r)
{
  for (auto [dc, dr] :
       {std::pair{0, 0}, std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, -1}, std::pair{0, 1}})
  {
    int nc = c + dc, nr = r + dr;
    if (nc >= 0 && nr >= 0 && nc < plan.width && nr < plan.height &&
        reach[size_t(nr * plan.width + nc)])
      return true;
  }
  return false;
}

bool Check(const Plan& plan)
{
  int spawns = 0, exits = 0, coworkers = 0, cards = 0;
  int spawnCol = 0, spawnRow = 0;
  for (int r = 0; r < plan.height; ++r)
    for (int c = 0; c < plan.width; ++c)
    {
      int e = plan.event[size_t(r * plan.width + c)];
      spawns += e == 101;
      exits += e == 102;
      coworkers += e >= 103;
      cards += e == 50;
      if (e == 101)
      {
        spawnCol = c;
        spawnRow = r;
      }
      if (e >= 101 && !plan.Walkable(c, r))
        std::printf("make_levels: %s: the event at row %d column %d stands on a blocked cell\n",
                    plan.name.c_str(), r + 1, c + 1);
    }
  bool ok = true;
  if (spawns != 1 || exits < 1 || coworkers < 1)
  {
    std::printf("make_levels: %s has %d starts, %d exits and %d co-workers (needs 1, at least 1, "
                "at least 1)\n",
                plan.name.c_str(), spawns, exits, coworkers);
    return false;
  }
  std::vector<bool> reach = Reachable(plan, spawnCol, spawnRow);
  auto seen = [&](int c, int r)
  {
    return c >= 0 && r >= 0 && c < plan.width && r < plan.height &&
           reach[size_t(r * plan.width + c)];
  };
  // An exit counts within 40 units: the player stands on it, or walks down onto it
  // from the cell above when the row below it is blocked.
  auto exitReached = [&](int c, int r)
  { return seen(c, r) || (seen(c, r - 1) && plan.Walkable(c, r)); };
  int reachableExits = 0;
  for (int r = 0; r < plan.height; ++r)
    for (int c = 0; c < plan.width; ++c)
    {
      int e = plan.event[size_t(r * plan.width + c)];
      if (e == 50 && !CardTakeable(plan, reach, c, r))
      {
        std::printf("make_levels: %s: the card at row %d column %d cannot be reached\n",
                    plan.name.c_str(), r + 1, c + 1);
        ok = false;
      }
      if (e == 102 && exitReached(c, r))
        ++reachableExits;
      if (e >= 103)
      {
        double d = std::hypot(double(c - spawnCol), double(r - spawnRow)) * 50.0;
        if (d < 250.0)
        {
          std::printf(
              "make_levels: %s: the co-worker at row %d column %d is %.0f units from the start\n",
              plan.name.c_str(), r + 1, c + 1, d);
          ok = false;
        }
      }
    }
  if (!DesksConnected(plan))
    ok = false;
  if (reachableExits == 0)
  {
    std::printf("make_levels: %s: no exit can be reached from the start\n", plan.name.c_str());
    ok = false;
  }
  // A note for the designer, not a fault: whether the cards and an exit can be reached
  // without walking through the view of a co-worker seated at its desk. Where they cannot,
  // the floor asks for a disguise, stealth or a wait for a visit.
  std::vector<bool> quiet = Reachable(plan, spawnCol, spawnRow, WatchedFromDesks(plan));
  bool quietCards = true, quietExit = false;
  for (int r = 0; r < plan.height; ++r)
    for (int c = 0; c < plan.width; ++c)
    {
      int e = plan.event[size_t(r * plan.width + c)];
      quietCards = quietCards && (e != 50 || CardTakeable(plan, quiet, c, r));
      quietExit = quietExit || (e == 102 && quiet[size_t(r * plan.width + c)]);
    }
  const char* route = quietExit && quietCards ? "open past the desks" : "watched from a desk";
  std::printf("%-14s %2d x %2d  %2d co-workers  %d cards  %d exits  route %s\n", plan.name.c_str(),
              plan.width, plan.height, coworkers, cards, exits, route);
  return ok;
}

// Every file this program writes carries this line. A level or manifest without it was
// saved by the editor (which writes no comments) or its maker removed the line to keep
// hand edits; such a file is never overwritten.
const char* const kMarker = "Written by tools/levels/make_levels";

bool MayReplace(const std::string& path)
{
  std::ifstream in(path);
  if (!in)
    return true;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (text.find(kMarker) != std::string::npos)
    return true;
  std::printf("make_levels: %s was saved by the editor or edited by hand; left as it is (delete it "
              "to write "
              "it again)\n",
              path.c_str());
  return false;
}

const char* Trigger(int code)
{
  switch (code)
  {
  case 50: return "KEY";
  case 101: return "SPAWN";
  case 102: return "EXIT";
  default: return "ENEMY";
  }
}

// Closes a file written with fprintf; false, and says so, when a write or the close failed.
bool CloseWritten(std::FILE* f, const std::string& path)
{
  bool ok = !std::ferror(f);
  if (std::fclose(f) != 0 || !ok)
  {
    std::printf("make_levels: writing %s failed\n", path.c_str());
    return false;
  }
  return true;
}

bool WriteTmx(const Plan& plan, const std::string& path)
{
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f)
  {
    std::printf("make_levels: cannot write %s\n", path.c_str());
    return false;
  }
  std::fprintf(f,
               "<!-- %s from tools/levels/plans/%s.txt; remove this line to keep hand edits -->\n",
               kMarker, plan.name.c_str());
  std::fprintf(f, "<map width=\"%d\" height=\"%d\" tilewidth=\"50\" tileheight=\"50\">\n",
               plan.width, plan.height);
  const std::pair<const char*, const std::vector<int>*> layers[] = {{"BACKGROUND", &plan.floor},
                                                                    {"OBJECTS", &plan.object}};
  for (const auto& [name, cells] : layers)
  {
    std::fprintf(f, "    <layer name=\"%s\">\n        <data>\n", name);
    for (int v : *cells)
      std::fprintf(f, "            <tile gid=\"%d\"/>\n", v);
    std::fprintf(f, "        </data>\n    </layer>\n");
  }
  // Events in cell order, top row first: the order the editor writes them in, so a
  // level saved again from the editor keeps every co-worker's index.
  std::fprintf(f, "    <eventlist name=\"EVENTS\">\n");
  for (int r = 0; r < plan.height; ++r)
    for (int c = 0; c < plan.width; ++c)
    {
      int e = plan.event[size_t(r * plan.width + c)];
      if (e == 0)
        continue;
      if (e >= 103)
        std::fprintf(f, "        <event trigger=\"ENEMY\" pattern=\"%d\" X=\"%d\" Y=\"%d\"/>\n",
                     e - 103, c, plan.height - r - 1);
      else
        std::fprintf(f, "        <event trigger=\"%s\" X=\"%d\" Y=\"%d\"/>\n", Trigger(e), c,
                     plan.height - r - 1);
    }
  std::fprintf(f, "    </eventlist>\n</map>\n");
  return CloseWritten(f, path);
}

bool WriteManifest(const std::string& path)
{
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f)
  {
    std::printf("make_levels: cannot write %s\n", path.c_str());
    return false;
  }
  std::fprintf(f,
               "<!-- Kestrin tiles: floors and walls (ids 1-8, floors 1-%d walkable), office "
               "objects (9-49),\n"
               "     and the editor's event markers by event code. %s. -->\n",
               kLastWalkableFloor, kMarker);
  std::fprintf(f, "<tileset firstgid=\"1\" floor=\"%d\">\n", kLastWalkableFloor - 1);
  for (const TileImage& t : kFloors)
    std::fprintf(f, "    <tile id=\"%d\" source=\"Assets/Tilemap/%s\"/>\n", t.id - 1, t.file);
  std::fprintf(f, "</tileset>\n<items firstgid=\"9\">\n");
  for (const TileImage& t : kObjects)
    std::fprintf(f, "    <item id=\"%d\" source=\"Assets/Tilemap/%s\"/>\n", t.id - 9, t.file);
  std::fprintf(f, "</items>\n<events firstgid=\"0\">\n");
  std::fprintf(f, "    <event id=\"50\" name=\"KEY\" source=\"Assets/Tilemap/keycard.png\"/>\n");
  std::fprintf(
      f, "    <event id=\"101\" name=\"SPAWN\" source=\"Assets/Tilemap/event_spawn.png\"/>\n");
  std::fprintf(f,
               "    <event id=\"102\" name=\"EXIT\" source=\"Assets/Tilemap/event_exit.png\"/>\n");
  std::fprintf(
      f, "    <event id=\"103\" name=\"ENEMY\" source=\"Assets/Tilemap/event_coworker.png\"/>\n");
  std::fprintf(f, "</events>\n");
  return CloseWritten(f, path);
}
} // namespace

int main(int argc, char** argv)
{
  if (argc != 4)
  {
    std::printf("usage: make_levels <plans folder> <level output folder> <Assets folder>\n");
    return 1;
  }
  const std::string plans = argv[1], out = argv[2], assets = argv[3];
  const char* names[] = {"TutorialLevel", "Level1", "Level2", "Level3", "Level4", "Level5"};
  bool ok = !MayReplace(assets + "/Assets.tsm") || WriteManifest(assets + "/Assets.tsm");
  for (const char* name : names)
  {
    Plan plan;
    plan.name = name;
    if (!ReadPlan(plans + "/" + name + ".txt", plan) || !Check(plan))
    {
      ok = false;
      continue;
    }
    const std::string file = out + "/" + name + ".tmx";
    if (MayReplace(file))
      ok = WriteTmx(plan, file) && ok;
  }
  return ok ? 0 : 1;
}
