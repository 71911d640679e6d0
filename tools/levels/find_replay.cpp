// find_replay: searches a winning run of a shipped floor and writes it as the key script
// game_level_winnable plays back (Levels/Replays/<floor>.txt: keys held, frames).
//
//   find_replay <floor name> [output file] [minutes to search, default 4]
//
// Run it from the game folder under a display (xvfb-run) after changing a floor or the
// co-workers' rules. The co-workers walk the same way whatever the player does (only a
// disguise draws from rand() and so changes their future; the search never uses one), so
// one run without the player records where each co-worker is and looks in every frame.
// A search over (cell, frame, stealth used) then finds the earliest arrival at the real
// card and an exit, staying out of every view with a margin; stealth hides the player for
// up to five cells once. The plan is walked by the real player in the real game and the
// keys of every frame are written; the program fails when that run does not escape.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Actors/Enemy.h"
#include "Actors/Key.h"
#include "Actors/Player.h"
#include "FloorRoutes.h"
#include "PlayTestSupport.h"

namespace
{
constexpr float kFrame = 1.0f / 60.0f;
// Extra distance kept from every circle and cone: the player's step and a frame's lag.
constexpr float kMargin = 20.0f;
// Frames the plan gives a cell at walking speed (3 units a frame) and at stealth speed.
constexpr int kCellFrames = 17;
constexpr int kStealthCellFrames = 23;
// Frames of stealth the plan relies on (it lasts 120), and cells it may cover.
constexpr int kStealthFrames = 118;
constexpr int kStealthCells = 5;
// Later starts tried when a walked plan is caught: every half second up to a minute.
constexpr int kDelayStep = 30;
constexpr int kLastDelay = 3600;
const std::string kKeys = "WASDJKE";

struct Watcher
{
  float x, y;
  int direction, state;
};

// One play of a floor from its entry, frame by frame, with keys as the replay sets them.
struct Run
{
  explicit Run(const std::string& floorName)
  {
    ResetGame();
    ReleaseAllKeys();
    LevelManager::Instance()->AddLevel(new MenuStub());
    floor.emplace(NewFloor(floorName + ".tmx"));
    srand(1);
    LevelManager::Instance()->AddLevel(floor->level);
    LevelManager::Instance()->ChangeLevel(floor->level->name);
  }

  void Frame(const std::string& keys)
  {
    for (const char key : kKeys)
      if ((keys.find(key) == std::string::npos) != (held.find(key) == std::string::npos))
        InjectKey(static_cast<unsigned char>(key), keys.find(key) != std::string::npos);
    held = keys;
    RunFrame(kFrame);
    script.push_back(keys);
  }

  std::optional<FloorView> floor;
  std::string held;
  std::vector<std::string> script;
};

struct Step
{
  Cell cell;
  int arrival;
  enum Kind
  {
    kWalk,
    kStealthStart,
    kStealthWalk
  } kind;
};

class Planner
{
public:
  Planner(const Grid2D& grid, std::vector<std::vector<Watcher>> watchers)
      : width(grid.width), height(grid.height), frames(int(watchers.size())),
        watchers(std::move(watchers))
  {
    standable.resize(size_t(width * height));
    for (int r = 0; r < height; ++r)
      for (int c = 0; c < width; ++c)
        standable[size_t(r * width + c)] = grid.IsWalkable(c, r) && grid.IsWalkable(c, r + 1);
    BuildSafety();
  }

  bool Standable(Cell c) const
  {
    return c.col >= 0 && c.row >= 0 && c.col < width && c.row < height &&
           standable[size_t(c.row * width + c.col)];
  }

  // The earliest way from `from` at frame `start` to any goal; empty when none is found.
  std::vector<Step> Plan(Cell from, int start, const std::set<Cell>& goals, bool& stealthLeft)
  {
    const size_t layer = size_t(frames) * size_t(width * height);
    std::vector<int8_t> how(2 * layer, -1); // 0 wait, 1-4 a step, 9 a stealth run
    std::map<size_t, std::pair<int, Cell>> runFrom;
    const auto at = [&](int used, int t, Cell c)
    { return size_t(used) * layer + (size_t(t) * height + size_t(c.row)) * width + size_t(c.col); };
    const int startLayer = stealthLeft ? 0 : 1;
    how[at(startLayer, start, from)] = 0;
    const Cell moves[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int t = start; t + kStealthFrames + 2 < frames; ++t)
      for (int used = 0; used < 2; ++used)
        for (int r = 0; r < height; ++r)
          for (int c = 0; c < width; ++c)
          {
            const Cell here = {c, r};
            if (how[at(used, t, here)] < 0)
              continue;
            if (goals.count(here))
            {
              stealthLeft = stealthLeft && used == 0;
              return Trace(how, runFrom, at, {here, t, Step::kWalk}, used, from, start, startLayer);
            }
            if (SafeFor(t, 2 * c, 2 * r) >= 2 && how[at(used, t + 1, here)] < 0)
              how[at(used, t + 1, here)] = 0;
            for (int k = 0; k < 4; ++k)
            {
              const Cell next = {c + moves[k].col, r + moves[k].row};
              if (!Standable(next) || how[at(used, t + kCellFrames, next)] >= 0)
                continue;
              if (SafeFor(t, 2 * c, 2 * r) > kCellFrames + 1 &&
                  SafeFor(t, c + next.col, r + next.row) > kCellFrames + 1 &&
                  SafeFor(t, 2 * next.col, 2 * next.row) > kCellFrames + 1)
                how[at(used, t + kCellFrames, next)] = int8_t(k + 1);
            }
            if (used == 1 || t % 6 != 0)
              continue;
            const int end = t + kStealthFrames;
            for (const auto& [landing, cells] : Within(here))
              if (how[at(1, end, landing)] < 0 &&
                  SafeFor(end, 2 * landing.col, 2 * landing.row) >= 2)
              {
                how[at(1, end, landing)] = 9;
                runFrom[at(1, end, landing)] = {t, here};
              }
          }
    return {};
  }

  // Shortest walk between two cells, ignoring every view, start excluded.
  std::vector<Cell> Path(Cell from, Cell to) const
  {
    std::map<Cell, Cell> came = {{from, from}};
    std::deque<Cell> open = {from};
    while (!open.empty() && !came.count(to))
    {
      const Cell c = open.front();
      open.pop_front();
      for (const Cell n : {Cell{c.col + 1, c.row}, Cell{c.col - 1, c.row}, Cell{c.col, c.row + 1},
                           Cell{c.col, c.row - 1}})
        if (Standable(n) && !came.count(n))
        {
          came[n] = c;
          open.push_back(n);
        }
    }
    std::vector<Cell> path;
    for (Cell c = to; !(c == from); c = came[c])
      path.insert(path.begin(), c);
    return path;
  }

private:
  // Safety is kept on a half-cell lattice: cell centres and the midpoints between them.
  void BuildSafety()
  {
    const int latticeWidth = 2 * width;
    index.assign(size_t(latticeWidth * 2 * height), -1);
    std::vector<VNVec2> points;
    const auto add = [&](int pc, int pr)
    {
      int& i = index[size_t(pr * latticeWidth + pc)];
      if (i < 0)
      {
        i = int(points.size());
        points.push_back({pc * 25.0f, (height - pr / 2.0f) * 50.0f});
      }
    };
    for (int r = 0; r < height; ++r)
      for (int c = 0; c < width; ++c)
        if (Standable({c, r}))
        {
          add(2 * c, 2 * r);
          if (Standable({c + 1, r}))
            add(2 * c + 1, 2 * r);
          if (Standable({c, r + 1}))
            add(2 * c, 2 * r + 1);
        }
    pointCount = points.size();
    safeRun.assign(size_t(frames + 1) * pointCount, 0);
    for (int t = frames - 1; t >= 0; --t)
      for (size_t p = 0; p < pointCount; ++p)
        if (Unseen(t, points[p]))
          safeRun[size_t(t) * pointCount + p] =
              uint16_t(std::min(60000, safeRun[size_t(t + 1) * pointCount + p] + 1));
  }

  // Outside every co-worker's circle and cone in frame t, by the margin.
  bool Unseen(int t, VNVec2 p) const
  {
    static const VNVec2 looks[4] = {{0.0f, -1.0f}, {-1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}};
    for (const Watcher& w : watchers[size_t(t)])
    {
      float radius = 60.0f, range = 180.0f;
      if (w.state == Enemy::kAtDesk)
      {
        radius = 70.0f;
        range = 120.0f;
      }
      else if (w.state == Enemy::kChatting)
      {
        radius = 100.0f;
        range = 0.0f;
      }
      const float dx = p.x - w.x, dy = p.y - w.y, d = std::hypot(dx, dy);
      if (d <= radius + kMargin)
        return false;
      if (d > range + kMargin)
        continue;
      const VNVec2 look = looks[w.direction & 3];
      const float angle = std::acos(std::clamp((dx * look.x + dy * look.y) / d, -1.0f, 1.0f));
      if (angle <= (50.0f * 3.14159265f / 180.0f) + std::asin(std::min(1.0f, kMargin / d)))
        return false;
    }
    return true;
  }

  // Frames from t on that a lattice point stays unseen.
  int SafeFor(int t, int pc, int pr) const
  {
    const int i = index[size_t(pr * 2 * width + pc)];
    return i < 0 ? 0 : safeRun[size_t(t) * pointCount + size_t(i)];
  }

  // Cells a stealth run can reach from a cell.
  const std::vector<std::pair<Cell, int>>& Within(Cell from)
  {
    auto found = reach.find(from);
    if (found != reach.end())
      return found->second;
    std::map<Cell, int> depth = {{from, 0}};
    std::deque<Cell> open = {from};
    while (!open.empty())
    {
      const Cell c = open.front();
      open.pop_front();
      if (depth[c] == kStealthCells)
        continue;
      for (const Cell n : {Cell{c.col + 1, c.row}, Cell{c.col - 1, c.row}, Cell{c.col, c.row + 1},
                           Cell{c.col, c.row - 1}})
        if (Standable(n) && !depth.count(n))
        {
          depth[n] = depth[c] + 1;
          open.push_back(n);
        }
    }
    std::vector<std::pair<Cell, int>>& list = reach[from];
    for (const auto& [cell, cells] : depth)
      if (cells > 0)
        list.push_back({cell, cells});
    return list;
  }

  template <class At>
  std::vector<Step> Trace(const std::vector<int8_t>& how,
                          std::map<size_t, std::pair<int, Cell>>& runFrom, const At& at, Step end,
                          int used, Cell from, int start, int startLayer) const
  {
    const Cell moves[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    std::vector<Step> steps;
    Cell c = end.cell;
    int t = end.arrival;
    while (!(t == start && c == from && used == startLayer))
    {
      const int8_t h = how[at(used, t, c)];
      if (h == 0)
      {
        --t;
        continue;
      }
      if (h == 9)
      {
        const auto [runStart, runCell] = runFrom[at(used, t, c)];
        const std::vector<Cell> cells = Path(runCell, c);
        for (size_t i = cells.size(); i-- > 0;)
          steps.push_back(
              {cells[i], runStart + 1 + kStealthCellFrames * int(i + 1), Step::kStealthWalk});
        steps.push_back({runCell, runStart, Step::kStealthStart});
        c = runCell;
        t = runStart;
        used = 0;
        continue;
      }
      steps.push_back({c, t, Step::kWalk});
      c = {c.col - moves[h - 1].col, c.row - moves[h - 1].row};
      t -= kCellFrames;
    }
    std::reverse(steps.begin(), steps.end());
    return steps;
  }

  int width, height, frames;
  std::vector<std::vector<Watcher>> watchers;
  std::vector<bool> standable;
  std::vector<int> index;
  size_t pointCount = 0;
  std::vector<uint16_t> safeRun;
  std::map<Cell, std::vector<std::pair<Cell, int>>> reach;
};

// Walks the plan in the real game: waits for each step's departure, then holds the key
// until the player stands on the cell's centre (straight runs without a wait in one go).
bool Walk(Run& run, const std::vector<Step>& steps, int& frame)
{
  Player* player = run.floor->players.at(0);
  const int height = run.floor->level->tilemap->height;
  for (size_t i = 0; i < steps.size() && run.floor->playState == TestLevel::kPlaying; ++i)
  {
    if (steps[i].kind == Step::kStealthStart)
    {
      for (; frame < steps[i].arrival; ++frame)
        run.Frame("");
      run.Frame("K");
      ++frame;
      continue;
    }
    const int cellFrames = steps[i].kind == Step::kStealthWalk ? kStealthCellFrames : kCellFrames;
    for (; frame < steps[i].arrival - cellFrames; ++frame)
      run.Frame("");
    const auto direction = [&](size_t k)
    {
      const Cell before =
          k ? steps[k - 1].cell : CellAt(*run.floor->level->tilemap, player->position);
      return Cell{steps[k].cell.col - before.col, steps[k].cell.row - before.row};
    };
    while (i + 1 < steps.size() && steps[i + 1].kind == steps[i].kind &&
           steps[i + 1].arrival - cellFrames == steps[i].arrival &&
           direction(i + 1) == direction(i))
      ++i;
    const VNVec2 target = {steps[i].cell.col * 50.0f, (height - steps[i].cell.row) * 50.0f};
    bool stuckX = false, stuckY = false;
    for (int guard = 0; guard < 2000 && run.floor->playState == TestLevel::kPlaying; ++guard)
    {
      const float dx = target.x - player->position.x, dy = target.y - player->position.y;
      std::string key;
      if (!stuckX && std::fabs(dx) > 1.5f)
        key = dx > 0.0f ? "D" : "A";
      else if (!stuckY && std::fabs(dy) > 1.5f)
        key = dy > 0.0f ? "W" : "S";
      if (key.empty())
        break;
      const VNVec2 before = player->position;
      run.Frame(key);
      ++frame;
      // The player stops up to a step short of a centre beside a wall.
      if (std::fabs(player->position.x - before.x) + std::fabs(player->position.y - before.y) <
          0.01f)
        (key == "D" || key == "A" ? stuckX : stuckY) = true;
    }
  }
  return run.floor->playState != TestLevel::kCaught;
}
} // namespace

int main(int argc, char** argv)
{
  if (argc < 2)
  {
    std::printf("usage: find_replay <floor name> [output file] [minutes to search]\n");
    return 1;
  }
  const std::string name = argv[1];
  const std::string output = argc > 2 ? argv[2] : "Replays/" + name + ".txt";
  const int frames = int((argc > 3 ? std::atof(argv[3]) : 4.0) * 3600.0);
  EnsureTestWindow();

  // Where every co-worker is and looks, frame by frame, with nobody to see.
  Run watch(name);
  for (Enemy* enemy : watch.floor->enemies)
  {
    enemy->playerPosition = nullptr;
    enemy->playerConcealed = nullptr;
  }
  std::vector<std::vector<Watcher>> watchers;
  int firstPlay = -1;
  for (int t = 0; t < frames; ++t)
  {
    watch.Frame("");
    if (firstPlay < 0 && watch.floor->playState == TestLevel::kPlaying)
      firstPlay = t;
    std::vector<Watcher>& now = watchers.emplace_back();
    for (const Enemy* e : watch.floor->enemies)
      now.push_back({e->position.x, e->position.y, e->direction, e->state});
  }
  const Grid2D& grid = *watch.floor->level->tilemap;
  Planner planner(grid, std::move(watchers));
  Cell at = CellAt(grid, watch.floor->players.at(0)->position);
  std::set<Cell> nearCard, exits;
  for (const Key* key : watch.floor->keys)
    if (key->cardValue == Key::kAccessCard)
    {
      const Cell c = CellAt(grid, key->home);
      for (const Cell n : {c, Cell{c.col + 1, c.row}, Cell{c.col - 1, c.row},
                           Cell{c.col, c.row + 1}, Cell{c.col, c.row - 1}})
        if (planner.Standable(n))
          nearCard.insert(n);
    }
  for (const VNVec2& exit : watch.floor->exits)
    if (planner.Standable(CellAt(grid, exit)))
      exits.insert(CellAt(grid, exit));

  // The plan is walked key by key, which can stray from it (a diagonal is walked as two
  // straight runs); when that walk is caught, the plan is made again from a later start.
  std::optional<Run> play;
  for (int delay = 0; delay <= kLastDelay && !play; delay += kDelayStep)
  {
    // The card first without stealth if possible, keeping it for the way out.
    Cell from = at;
    bool stealthLeft = true;
    int start = firstPlay + 1 + delay;
    std::vector<Step> toCard;
    if (!nearCard.empty())
    {
      bool without = false;
      toCard = planner.Plan(from, start, nearCard, without);
      if (toCard.empty() && !nearCard.count(from))
        toCard = planner.Plan(from, start, nearCard, stealthLeft);
      if (toCard.empty() && !nearCard.count(from))
        continue;
      if (!toCard.empty())
      {
        from = toCard.back().cell;
        start = toCard.back().arrival + 4;
      }
    }
    const std::vector<Step> toExit = planner.Plan(from, start, exits, stealthLeft);
    if (toExit.empty())
      continue;

    play.emplace(name);
    int frame = 0;
    for (; play->floor->playState != TestLevel::kPlaying; ++frame)
      play->Frame("");
    for (int i = 0; i < delay; ++i, ++frame)
      play->Frame("");
    bool ok = Walk(*play, toCard, frame);
    if (ok && !nearCard.empty())
    {
      play->Frame("E");
      play->Frame("");
      frame += 2;
    }
    ok = ok && Walk(*play, toExit, frame);
    if (!ok || play->floor->playState != TestLevel::kEscaped)
      play.reset();
  }
  if (!play)
  {
    std::printf("find_replay: %s: no plan walked unseen to an exit\n", name.c_str());
    return 1;
  }
  std::ofstream out(output);
  for (size_t i = 0; i < play->script.size();)
  {
    size_t j = i;
    while (j < play->script.size() && play->script[j] == play->script[i])
      ++j;
    out << (play->script[i].empty() ? "-" : play->script[i]) << " " << (j - i) << "\n";
    i = j;
  }
  std::printf("%s: escaped after %.1f s, written to %s\n", name.c_str(),
              double(play->script.size()) / 60.0, output.c_str());
  ResetGame();
  return out ? 0 : 1;
}
