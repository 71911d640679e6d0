// The tile grid, its paths, the level file and the asset manifest: what a level designer
// saves and loads, and where the actors may walk.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CapturedOutput.h"
#include "Framework/Camera.h"
#include "Framework/TextureManager.h"
#include "ScratchFolder.h"
#include "TestWindow.h"
#include "World/AssetManifest.h"
#include "World/Grid2D.h"
#include "World/LevelFile.h"

namespace
{
namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part)
{
  return text.find(part) != std::string::npos;
}

class GridTest : public testing::Test
{
protected:
  void SetUp() override { EnsureTestWindow(); }
  ScratchFolder folder;
};

TEST_F(GridTest, WritesOutsideTheGridOrToUnknownLayersAreIgnored)
{
  Grid2D grid(3, 2);
  grid.SetTile("BACKGROUND", 4, 7);
  grid.AddLayer("OBJECTS");
  grid.AddLayer("BACKGROUND");
  EXPECT_EQ((std::vector<std::string>{"BACKGROUND", "OBJECTS"}), grid.layerNames);
  EXPECT_EQ(7, grid.layers["BACKGROUND"][4]) << "adding an existing layer keeps its cells";
  grid.SetTile("OBJECTS", 6, 1);
  grid.SetTile("OBJECTS", -1, 1);
  grid.SetTile("objects", 0, 1);
  grid.SetTileAt("OBJECTS", 3, 0, 1);
  grid.SetTileAt("OBJECTS", -1, 1, 1);
  grid.SetTileAt("OBJECTS", 0, 2, 1);
  EXPECT_EQ(std::vector<int>(6, 0), grid.layers["OBJECTS"]) << "no write outside the grid wraps";
}

TEST_F(GridTest, WalkableCellsHaveALowFloorAndNoObject)
{
  struct Case
  {
    int col, row, floor, object;
    bool walkable;
  };
  // A 3 x 3 grid whose floor limit is 2; one cell gets the floor and object given.
  const Case cases[] = {{1, 1, 1, 0, true},  {2, 2, 2, 0, true},   {1, 1, 0, 0, true},
                        {1, 1, 3, 0, false}, {1, 1, -1, 0, false}, {1, 1, 1, 4, false},
                        {1, 0, 1, 0, false}, {3, 1, 1, 0, false},  {-1, 1, 1, 0, false},
                        {1, 3, 1, 0, false}};
  for (const Case& c : cases)
  {
    Grid2D grid(3, 3);
    grid.AddLayer("OBJECTS");
    grid.walkableLimit = 2;
    for (int cell = 0; cell < 9; ++cell)
      grid.SetTile("BACKGROUND", cell, 1);
    grid.SetTileAt("BACKGROUND", c.col, c.row, c.floor);
    grid.SetTileAt("OBJECTS", c.col, c.row, c.object);
    EXPECT_EQ(c.walkable, grid.IsWalkable(c.col, c.row))
        << c.col << ", " << c.row << " floor " << c.floor << " object " << c.object;
  }

  // Cell (2, 2) of a 3 x 3 grid is centred at world (100, 50), 25 units to each side.
  Grid2D grid(3, 3);
  grid.AddLayer("OBJECTS");
  EXPECT_TRUE(grid.IsWalkableAt(124.0f, 26.0f));
  EXPECT_FALSE(grid.IsWalkableAt(126.0f, 50.0f));
  EXPECT_FALSE(grid.IsWalkableAt(1.0e30f, -1.0e30f));
  Grid2D oneLayer(3, 3);
  oneLayer.walkableLimit = 5;
  EXPECT_FALSE(oneLayer.IsWalkable(1, 1)) << "a grid of one layer has no walkable cell";
}

TEST_F(GridTest, TheCursorPicksTheCellUnderIt)
{
  // Camera position and cursor offset from the window centre (y down), then the cell
  // under the cursor of a 50 x 50 grid, -1 for none.
  struct Pick
  {
    VNVec2 camera, offset;
    int cell;
  };
  const Pick picks[] = {
      {{0, 2500}, {0, 0}, 0},    {{2450, 50}, {0, 0}, 2499}, {{0, 0}, {180, -124}, 48 * 50 + 4},
      {{0, 0}, {-26, -100}, -1}, {{0, 0}, {0, -24}, -1},     {{0, 2525}, {0, -1}, -1}};
  Grid2D grid(50, 50);
  Camera* camera = Camera::Instance();
  for (const Pick& p : picks)
  {
    camera->position = p.camera;
    camera->mouse = {640.0f + p.offset.x, 360.0f + p.offset.y};
    EXPECT_EQ(p.cell, grid.PickCell()) << p.camera.x << ", " << p.camera.y;
    EXPECT_EQ(p.cell, grid.hoveredCell);
  }
  Camera::Destroy();
}

// A path map, rows from the top: '#' an object, '~' a floor too high to walk, 'S' the
// start, 'G' the goal ('@' a goal on an object) and, in between, the steps of the
// expected path in the order of kSteps. Without 'G' the goal is the start's cell.
const std::string kSteps = "abcdefghijklmnopqrstuvwxyz0123456789";

struct PathCase
{
  const char* name;
  std::vector<std::string> map;
  bool found;
};

TEST_F(GridTest, PathsAreTheSameCellsInTheSameOrder)
{
  const PathCase cases[] = {
      {"a straight corridor", {"#######", "#SabcG#", "#######"}, true},
      {"open floor, ties broken the same way",
       {"#########", "#.......#", "#..G....#", "#.cd....#", "#ab.....#", "#S......#", "#########"},
       true},
      {"around a wall: four straight steps beat two diagonals",
       {"#####", "#abc#", "#S#G#", "#...#", "#####"},
       true},
      {"diagonal between two blocked neighbours", {"#####", "#S#.#", "##G##", "#####"}, true},
      {"a corridor walked the long way",
       {"##########", "#Sabcdefg#", "########h#", "#Gonmlkji#", "##########"},
       true},
      {"high floor and a dead end",
       {"############", "#..~~~~....#", "#S.~..#.~~.#", "#ab~..#.~~.#", "#.c~~.#....#",
        "#.defg#.##.#", "#.###h###G.#", "#....ijklm.#", "############"},
       true},
      {"two walls with gaps",
       {"################", "#......#.......#", "#.S....#.......#", "#.ab...#..klm..#",
        "#..cdefghij#no.#", "#......#...#.pq#", "#......#...#..G#", "#......#.......#",
        "################"},
       true},
      {"walls walked around from the far corner",
       {"################", "#G.............#", "#rq###.........#", "#.po.#...##....#",
        "#..nm#....#....#", "#...lkjihg#....#", "#........fe#####", "#.........dcbaS#",
        "################"},
       true},
      {"scattered desks",
       {"################", "#..#.#..#.pqrsG#", "#.##...#.no#..##", "#.......lm..##.#",
        "#.....#jk......#", "#.#efghi#.#....#", "#bcd...###.....#", "#a###.#........#",
        "#S.#..#...#....#", "################"},
       true},
      {"the same cell", {"###", "#S#", "###"}, false},
      {"a walled-in goal", {"#######", "#S.####", "#..#G##", "#..####", "#######"}, false},
      {"a goal on an object", {"#####", "#S.@#", "#####"}, false},
      {"a goal on the top row", {"..G..", ".....", "S...."}, false},
  };
  for (const PathCase& c : cases)
  {
    const int height = static_cast<int>(c.map.size());
    const int width = static_cast<int>(c.map[0].size());
    for (const std::string& row : c.map)
      ASSERT_EQ(size_t(width), row.size()) << c.name;
    Grid2D grid(width, height);
    grid.AddLayer("OBJECTS");
    grid.walkableLimit = 2;
    std::pair<int, int> start, goal{-1, -1};
    std::vector<std::pair<int, int>> expected(kSteps.size() + 2, {-1, -1});
    for (int row = 0; row < height; ++row)
      for (int col = 0; col < width; ++col)
      {
        const char cell = c.map[row][col];
        grid.SetTileAt("OBJECTS", col, row, cell == '#' || cell == '@');
        grid.SetTileAt("BACKGROUND", col, row, cell == '~' ? 3 : 1);
        if (cell == 'S')
          start = {col, row};
        else if (cell == 'G' || cell == '@')
          goal = {col, row};
        else if (kSteps.find(cell) != std::string::npos)
          expected[kSteps.find(cell) + 1] = {col, row};
      }
    if (goal.first < 0)
      goal = start;
    expected.erase(std::remove(expected.begin(), expected.end(), std::make_pair(-1, -1)),
                   expected.end());
    expected.insert(expected.begin(), start);
    expected.push_back(goal);
    if (!c.found)
      expected.clear();

    // Points off the cell centres: any point inside a cell stands for it.
    const VNVec2 from = {start.first * 50.0f + 20.0f, (height - start.second) * 50.0f - 20.0f};
    const VNVec2 to = {goal.first * 50.0f - 20.0f, (height - goal.second) * 50.0f + 20.0f};
    std::vector<std::pair<int, int>> cells;
    for (const VNVec2& point : grid.FindPath(from, to))
      cells.push_back({static_cast<int>(point.x), height - static_cast<int>(point.y)});
    EXPECT_EQ(expected, cells) << c.name;
  }
}

LevelContent Parse(const std::string& text)
{
  LevelContent level;
  EXPECT_TRUE(ParseLevelFile(text.data(), text.size(), "test.tmx", level)) << text;
  return level;
}

// Each event as "trigger x,y pattern", in tile coordinates.
std::vector<std::string> Records(const std::vector<EventRecord>& events)
{
  std::vector<std::string> records;
  for (const EventRecord& e : events)
    records.push_back(e.trigger + " " + std::to_string(int(e.x)) + "," + std::to_string(int(e.y)) +
                      " " + std::to_string(e.pattern));
  return records;
}

std::string Map(int width, int height, const std::string& inside)
{
  return "<map width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
         "\" tilewidth=\"32\" tileheight=\"32\">" + inside + "</map>";
}

TEST(LevelFileRead, LayersThenEventListsWithEventsInTileCoordinates)
{
  LevelContent level =
      Parse(Map(3, 3,
                "<eventlist><event trigger=\"SPAWN\" X=\"1\" Y=\"0\" pattern=\"9\"/>"
                "<event trigger=\"ENEMY\" X=\"0\" Y=\"1\" pattern=\"2\"/>"
                "<event trigger=\"ENEMY1\" X=\"1\" Y=\"1\" pattern=\"1\"/>"
                "<event trigger=\"KEY\" X=\"2\" Y=\"2\" pattern=\"4\"/>"
                "<event trigger=\"EXIT\" X=\"0\" Y=\"2\" pattern=\"4\"/>"
                "<event trigger=\"DOOR\" X=\"2\" Y=\"1\"/></eventlist>"
                "<layer name=\"BACKGROUND\"><data><tile gid=\"1\"/><tile/><tile gid=\"x\"/>"
                "<tile gid=\"-7\"/></data><data><tile gid=\"9\"/></data></layer>"
                "<layer name=\"OBJECTS\"><data><tile gid=\"5\"/><tile gid=\"6\"/></data></layer>"
                "<layer name=\"OBJECTS\"><data><tile gid=\"7\"/></data></layer>"
                "<layer name=\"CSV\"><data encoding=\"csv\">1,2,3,4</data></layer>"
                "<eventlist name=\"MORE\"><event trigger=\"KEY\"/></eventlist>"));
  EXPECT_EQ(50.0f, level.tileWidth) << "a read level always has 50-unit tiles";
  ASSERT_EQ((std::vector<std::string>{"BACKGROUND", "OBJECTS", "CSV", "EVENTS", "MORE"}),
            level.layerNames)
      << "an unnamed event list is EVENTS";
  EXPECT_EQ((std::vector<int>{1, -1, -1, -7, 0, 0, 0, 0, 0}), level.layers["BACKGROUND"])
      << "a tile without a number stores -1; only the first data counts";
  EXPECT_EQ((std::vector<int>{7, 6, 0, 0, 0, 0, 0, 0, 0}), level.layers["OBJECTS"]);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 0, 0, 0, 0, 0}), level.layers["CSV"])
      << "CSV data fills the cells it has";
  // Y counts rows from below; ENEMY... adds its pattern; an unknown trigger stores 0.
  EXPECT_EQ((std::vector<int>{102, 0, 50, 105, 104, 0, 0, 101, 0}), level.layers["EVENTS"]);
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0, 50, 0, 0}), level.layers["MORE"]);

  // Every event keeps its record, known or not; SPAWN and EXIT read no pattern.
  EXPECT_EQ((std::vector<std::string>{"SPAWN 1,1 0", "ENEMY 0,2 2", "ENEMY1 1,2 1", "KEY 2,3 4",
                                      "EXIT 0,3 0", "DOOR 2,2 0", "KEY 0,1 0"}),
            Records(level.events));
}

TEST(LevelFileRead, SkipsBrokenElementsWithALineEachAndKeepsTheRest)
{
  LevelContent level;
  std::string output = StdoutOf(
      [&]
      {
        level = Parse(Map(2, 2,
                          "<layer><data><tile gid=\"9\"/></data></layer>"
                          "<layer name=\"BACKGROUND\"><data><tile gid=\"1\"/><tile gid=\"2\"/>"
                          "<tile gid=\"3\"/><tile gid=\"4\"/><tile gid=\"5\"/><tile gid=\"6\"/>"
                          "</data></layer>"
                          "<eventlist>"
                          "<event X=\"1\" Y=\"1\"/>"
                          "<event trigger=\"SPAWN\" X=\"2\" Y=\"0\"/>"
                          "<event trigger=\"ENEMY\" X=\"0\" Y=\"-1\"/>"
                          "<event trigger=\"EXIT\" X=\"0\" Y=\"0\"/>"
                          "<event trigger=\"ENEMY\" X=\"1\" Y=\"0\" pattern=\"2147483600\"/>"
                          "</eventlist>"));
      });
  for (const char* message :
       {"<layer> on line 1 has no \"name\"", "6 tiles for 4 cells",
        "<event> on line 1 has no \"trigger\"", "SPAWN at X 2, Y 0 lies outside",
        "ENEMY at X 0, Y -1 lies outside", "too large"})
    EXPECT_TRUE(Contains(output, message)) << message << "\n" << output;
  ASSERT_EQ((std::vector<std::string>{"BACKGROUND", "EVENTS"}), level.layerNames);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), level.layers["BACKGROUND"]);
  EXPECT_EQ((std::vector<int>{0, 0, 102, 0}), level.layers["EVENTS"])
      << "events outside the map, or with a code beyond an int, set no cell";
  EXPECT_EQ(4u, level.events.size()) << "records outside the map stay";

  // A big map keeps only the layers the writer can write back within the reader's size cap.
  std::string layers;
  for (int i = 0; i < 9; ++i)
    layers += "<layer name=\"L" + std::to_string(i) + "\"/>";
  output = StdoutOf([&] { level = Parse(Map(1000, 1000, layers)); });
  EXPECT_EQ(4u, level.layerNames.size());
  EXPECT_TRUE(Contains(output, "too many layers")) << output;
}

TEST_F(GridTest, ARefusedFileIsNamedInOneLineAndLeavesNothingBehind)
{
  std::string deep = "<map width=\"2\" height=\"2\">";
  for (int i = 0; i < 5000; ++i)
    deep += "<layer name=\"x\">";
  // File text (absent: no file at all; kTooLarge: a map padded past any level's size),
  // then part of the line that refuses it.
  const char* const kTooLarge = "too large";
  const std::pair<const char*, std::string> refusals[] = {
      {nullptr, "cannot be read (No such file"},
      {kTooLarge, "cannot be read (larger than"},
      {"", "not a well-formed XML document"},
      {"<map width=\"2\" height=\"2\">", "not a well-formed"},
      {"<level width=\"2\" height=\"2\"/>", "no <map>"},
      {"<map height=\"2\"/>", "\"width\""},
      {"<map width=\"wide\" height=\"2\"/>", "\"width\""},
      {"<map width=\"2\"/>", "\"height\""},
      {"<map width=\"0\" height=\"2\"/>", "not positive"},
      {"<map width=\"1001\" height=\"1000\"/>", "exceeds"},
      {"<map width=\"65536\" height=\"65536\"/>", "exceeds"},
      {"<map width=\"99999999999\" height=\"1\"/>", "\"width\""},
      {deep.c_str(), "not a well-formed"}};
  const std::string file = folder.File("bad.tmx");
  for (const auto& [text, message] : refusals)
  {
    fs::remove(file);
    if (text)
      WriteText(file, text == kTooLarge ? Map(2, 2, "") : text);
    if (text == kTooLarge)
      fs::resize_file(file, static_cast<uintmax_t>(kLevelMaxFileBytes) + 1);
    LevelContent level;
    level.width = 3;
    level.layerNames = {"stale"};
    std::string output = StdoutOf([&] { EXPECT_FALSE(ReadLevelFile(file, level)); });
    EXPECT_TRUE(Contains(output, "Level file " + file + ": ")) << output;
    EXPECT_TRUE(Contains(output, message)) << (text ? text : "no file") << "\n" << output;
    EXPECT_EQ(0, level.width);
    EXPECT_EQ(0, level.height);
    EXPECT_TRUE(level.layerNames.empty() && level.layers.empty() && level.events.empty());

    testing::internal::CaptureStdout();
    Grid2D grid(file);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(0, grid.width);
    EXPECT_TRUE(grid.layerNames.empty() && grid.events.empty());
    EXPECT_TRUE(grid.FindPath({0, 0}, {100, 100}).empty());
  }

  LevelContent level;
  const std::string output = StdoutOf([&] { EXPECT_FALSE(ReadLevelFile(folder.path, level)); });
  EXPECT_TRUE(Contains(output, "not a regular file")) << output;
}

TEST_F(GridTest, ASavedGridReadsBackCellForCellWithItsEventsRebuiltFromTheCells)
{
  Grid2D grid(7, 5);
  grid.AddLayer("OBJECTS");
  grid.AddLayer("EVENTS");
  grid.ResizeTile(60.0f, 60.0f);
  for (int cell = 0; cell < 35; ++cell)
  {
    grid.SetTile("BACKGROUND", cell, cell % 9 - 1);
    grid.SetTile("OBJECTS", cell, cell * 37 % 50);
  }
  grid.SetTileAt("EVENTS", 0, 0, 50);
  grid.SetTileAt("EVENTS", 6, 4, 101);
  grid.SetTileAt("EVENTS", 3, 2, 102);
  grid.SetTileAt("EVENTS", 2, 3, 140);
  // What the events said beside the cells is not kept: the cells decide.
  grid.events.push_back(new EventRecord{"DOOR", 1.0f, 1.0f, 0});
  const std::string file = folder.File("round.tmx");
  ASSERT_TRUE(grid.SaveTMX(file));

  Grid2D read(file);
  EXPECT_EQ(7, read.width);
  EXPECT_EQ(5, read.height);
  EXPECT_FLOAT_EQ(50.0f, read.tileWidth);
  EXPECT_EQ(grid.layerNames, read.layerNames);
  EXPECT_EQ(grid.layers, read.layers);
  std::vector<EventRecord> events;
  for (const EventRecord* e : read.events)
    events.push_back(*e);
  EXPECT_EQ((std::vector<std::string>{"KEY 0,5 0", "EXIT 3,3 0", "ENEMY 2,2 37", "SPAWN 6,1 0"}),
            Records(events))
      << "events in cell order";

  const std::string again = folder.File("again.tmx");
  read.ResizeTile(60.0f, 60.0f);
  ASSERT_TRUE(read.SaveTMX(again));
  EXPECT_EQ(ReadText(file), ReadText(again)) << "a reloaded level writes the same file";
  // Readers that know only the event list still find the events.
  EXPECT_TRUE(
      Contains(ReadText(file), "<event trigger=\"ENEMY\" pattern=\"37\" X=\"2\" Y=\"1\"/>"));
}

TEST_F(GridTest, AFailedSaveKeepsThePreviousFileAndASaveItsPermissions)
{
  Grid2D grid(50, 50);
  grid.AddLayer("OBJECTS");
  const std::string file = folder.File("level.tmx");
  WriteText(file, "the previous level");

  // A file size limit makes the write fail part-way, as a full disk would.
  struct rlimit saved;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  testing::internal::CaptureStdout();
  const bool savedOk = grid.SaveTMX(file);
  std::string output = testing::internal::GetCapturedStdout();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(savedOk);
  EXPECT_TRUE(Contains(output, "Level file " + file + ": not saved: write failed")) << output;
  EXPECT_EQ("the previous level", ReadText(file));
  for (const auto& entry : fs::directory_iterator(folder.path))
    EXPECT_EQ(file, entry.path().string()) << "a temporary file was left behind";

  output = StdoutOf(
      [&]
      {
        EXPECT_FALSE(grid.SaveTMX(folder.File("missing/level.tmx")));
        EXPECT_FALSE(grid.SaveTMX(folder.path)) << "a folder is not replaced by a level";
        EXPECT_FALSE(grid.SaveTMX(""));
      });
  EXPECT_TRUE(Contains(output, "cannot create a temporary file")) << output;
  EXPECT_TRUE(Contains(output, "is not a regular file")) << output;
  EXPECT_TRUE(fs::is_directory(folder.path));

  // A save that goes through replaces the file and keeps its permissions.
  fs::permissions(file, fs::perms(0640));
  ASSERT_TRUE(grid.SaveTMX(file));
  EXPECT_EQ(0u, ReadText(file).find("<map width=\"50\" height=\"50\""));
  EXPECT_EQ(fs::perms(0640), fs::status(file).permissions() & fs::perms::mask);
}

AssetManifest ParseManifest(const std::string& text)
{
  AssetManifest manifest;
  EXPECT_TRUE(ParseAssetManifest(text.data(), text.size(), "test.tsm", manifest)) << text;
  return manifest;
}

TEST(AssetManifestRead, GivesEachEntryItsIdAndTheLastTilesetTheFloorLimit)
{
  AssetManifest manifest;
  const std::string output = StdoutOf(
      [&]
      {
        manifest = ParseManifest(
            "<events><event id=\"51\" source=\"key.png\"/><event source=\"e.png\"/></events>"
            "<events firstgid=\"0\"><event id=\"101\" source=\"spawn.png\"/></events>"
            "<items firstgid=\"8\"><item id=\"1\" source=\"desk.png\"/></items>"
            "<items><item id=\"30\" source=\"plant.png\"/></items>"
            "<tileset firstgid=\"1\" floor=\"2\"><tile id=\"0\" source=\"a.png\"/>"
            "<tile id=\"7\" source=\"b.png\"/><image source=\"ignored.png\"/></tileset>"
            "<tileset floor=\"5\"><tile id=\"0\" source=\"c.png\"/><tile source=\"e.png\"/>"
            "</tileset>\n"
            "<tileset firstgid=\"-4\"><tile id=\"3\" source=\"f.png\"/><tile id=\"1\"/>\n"
            "</tileset><Tileset firstgid=\"1\"><tile id=\"0\" source=\"case.png\"/></Tileset>"
            "<events firstgid=\"-2147483648\"><event id=\"-5\" source=\"x.png\"/></events>");
      });
  std::vector<std::pair<int, std::string>> entries;
  for (const ManifestEntry& entry : manifest.entries)
    entries.push_back({entry.id, entry.source});
  const std::vector<std::pair<int, std::string>> expected = {
      {1, "a.png"},    {8, "b.png"},      {0, "c.png"},    {-1, "e.png"}, {3, "f.png"},
      {9, "desk.png"}, {30, "plant.png"}, {50, "key.png"}, {-2, "e.png"}, {101, "spawn.png"}};
  EXPECT_EQ(expected, entries) << "tilesets, then items, then events";
  EXPECT_EQ(1, manifest.walkableLimit) << "the last tileset's floor (absent: 0) + 1 wins";
  EXPECT_TRUE(Contains(output, "Asset manifest test.tsm: <tile> on line 2 has no \"source\""))
      << output;
  EXPECT_TRUE(Contains(output, "<event> on line 3 has an id out of range")) << output;
  EXPECT_FALSE(ParseManifest("<items firstgid=\"9\"/>").hasWalkableLimit);
}

TEST(AssetManifestRead, RefusesWhatIsNotAManifestWithTheFixedMessage)
{
  ScratchFolder folder;
  const std::string file = folder.File("Assets.tsm");
  // Absent: no file; kTooLarge: a manifest padded past the size cap.
  const char* const kTooLarge = "<tileset/>";
  const char* const refusals[] = {nullptr, "", "<tileset>", "not xml at all", "<a></b>", kTooLarge};
  for (const char* text : refusals)
  {
    fs::remove(file);
    if (text)
      WriteText(file, text);
    if (text == kTooLarge)
      fs::resize_file(file, kManifestMaxFileBytes + 1);
    AssetManifest manifest;
    manifest.entries.push_back({1, "stale.png"});
    const std::string output = StdoutOf([&] { EXPECT_FALSE(ReadAssetManifest(file, manifest)); });
    EXPECT_TRUE(Contains(output, "Failed to load Tilemap" + file + "\n")) << output;
    EXPECT_TRUE(manifest.entries.empty());
  }
}

TEST_F(GridTest, ManifestImagesTakeAReferencePerEntryAndAnUnreadableManifestChangesNothing)
{
  // Image paths need not exist: the cache holds a stand-in texture for each.
  auto image = [&](const std::string& name) { return folder.File(name + ".png"); };
  auto references = [&](const std::string& name)
  {
    TextureEntry* entry = TextureManager::Instance()->Find(image(name));
    return entry ? entry->refCount : -1;
  };
  const std::string manifest = folder.File("Assets.tsm");
  WriteText(manifest, "<tileset firstgid=\"1\" floor=\"3\"><tile id=\"0\" source=\"" +
                          image("floor") + "\"/><tile id=\"0\" source=\"" + image("other") +
                          "\"/><tile id=\"1\" source=\"" + image("floor") +
                          "\"/></tileset><events><event id=\"103\" source=\"" + image("worker") +
                          "\"/></events>");
  Grid2D grid(4, 4);
  std::map<int, VNGfxTexture*> tileTextures;
  LoadAssetManifest(manifest, grid, tileTextures);
  TextureManager* cache = TextureManager::Instance();
  ASSERT_NE(nullptr, cache->Find(image("floor")));
  EXPECT_EQ(cache->Find(image("floor"))->texture, tileTextures[1]) << "an id keeps its first";
  EXPECT_EQ(cache->Find(image("floor"))->texture, tileTextures[2]);
  EXPECT_EQ(cache->Find(image("worker"))->texture, tileTextures[102]);
  EXPECT_EQ(3u, tileTextures.size());
  EXPECT_EQ(2, references("floor"));
  EXPECT_EQ(-1, references("other")) << "a repeated id takes no reference";
  EXPECT_EQ(tileTextures, grid.textures);
  EXPECT_EQ(4, grid.walkableLimit);

  const std::map<int, VNGfxTexture*> before = tileTextures;
  WriteText(manifest, "<tileset floor=\"9\">");
  StdoutOf([&] { LoadAssetManifest(manifest, grid, tileTextures); });
  EXPECT_EQ(before, tileTextures);
  EXPECT_EQ(before, grid.textures);
  EXPECT_EQ(4, grid.walkableLimit);
  EXPECT_EQ(2, references("floor"));
  TextureManager::Destroy();
}

} // namespace
