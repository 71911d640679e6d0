// The level file format: what the reader makes of each element, what the writer prints,
// round trips through the grid, malformed files and failed saves.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "CapturedOutput.h"
#include "ScratchFolder.h"
#include "TestWindow.h"
#include "World/Grid2D.h"
#include "World/LevelFile.h"

namespace
{

LevelContent Parse(const std::string& text, bool expectAccepted = true)
{
  LevelContent level;
  EXPECT_EQ(expectAccepted, ParseLevelFile(text.data(), text.size(), "test.tmx", level)) << text;
  return level;
}

// Parses text that must be refused; returns what was printed.
std::string Refusal(const std::string& text)
{
  LevelContent level;
  const std::string output = StdoutOf([&] { level = Parse(text, false); });
  EXPECT_EQ(0, level.width);
  EXPECT_EQ(0, level.height);
  EXPECT_TRUE(level.layerNames.empty());
  EXPECT_TRUE(level.layers.empty());
  EXPECT_TRUE(level.events.empty());
  return output;
}

std::string Map(int width, int height, const std::string& inside)
{
  return "<map width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
         "\" tilewidth=\"32\" tileheight=\"32\">" + inside + "</map>";
}

int EventCell(const LevelContent& level, int x, int y)
{
  return level.layers.at("EVENTS").at((level.height - y - 1) * level.width + x);
}

} // namespace

TEST(LevelFileRead, TilesFillRowsFromTheTopAndMissingGidsStoreMinusOne)
{
  LevelContent level = Parse(
      "<?xml version=\"1.0\"?>" +
      Map(2, 2,
          "<tileset firstgid=\"1\"/><layer name=\"BACKGROUND\" width=\"2\"><data>"
          "<tile gid=\"1\"/><tile gid=\" 2\"/><tile gid=\"3abc\"/><tile gid=\"4\"/></data>"
          "<data><tile gid=\"9\"/></data></layer>"
          "<layer name=\"OBJECTS\"><data><tile/><tile gid=\"x\"/><tile gid=\"-7\"/></data></layer>"
          "<layer name=\"TEXT\"><data encoding=\"csv\">1,2,3,4</data></layer>"
          "<layer name=\"NODATA\"/>"));
  EXPECT_EQ(2, level.width);
  EXPECT_EQ(2, level.height);
  EXPECT_EQ(50.0f, level.tileWidth) << "a read level always has 50-unit tiles";
  ASSERT_EQ((std::vector<std::string>{"BACKGROUND", "OBJECTS", "TEXT", "NODATA"}),
            level.layerNames);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), level.layers["BACKGROUND"])
      << "only the first data counts";
  EXPECT_EQ((std::vector<int>{-1, -1, -7, 0}), level.layers["OBJECTS"]);
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), level.layers["TEXT"]);
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), level.layers["NODATA"]);
}

TEST(LevelFileRead, LayersComeBeforeEventListsAndRepeatedNamesShareCells)
{
  LevelContent level =
      Parse(Map(2, 1,
                "<eventlist><event trigger=\"EXIT\" X=\"1\" Y=\"0\"/></eventlist>"
                "<layer name=\"A\"><data><tile gid=\"5\"/><tile gid=\"6\"/></data></layer>"
                "<layer name=\"A\"><data><tile gid=\"7\"/></data></layer>"
                "<eventlist name=\"MORE\"><event trigger=\"KEY\"/></eventlist>"));
  ASSERT_EQ((std::vector<std::string>{"A", "EVENTS", "MORE"}), level.layerNames);
  EXPECT_EQ((std::vector<int>{7, 6}), level.layers["A"]);
  EXPECT_EQ((std::vector<int>{0, 102}), level.layers["EVENTS"])
      << "an unnamed event list is EVENTS";
  EXPECT_EQ((std::vector<int>{50, 0}), level.layers["MORE"]);
}

TEST(LevelFileRead, EventsSetTheirCodeAndKeepARecordInTileCoordinates)
{
  LevelContent level = Parse(Map(10, 10,
                                 "<eventlist name=\"EVENTS\">"
                                 "<event trigger=\"SPAWN\" X=\"3\" Y=\"0\" pattern=\"9\"/>"
                                 "<event trigger=\"ENEMY\" X=\"4\" Y=\"2\" pattern=\"2\"/>"
                                 "<event trigger=\"ENEMY1\" X=\"5\" Y=\"2\" pattern=\"1\"/>"
                                 "<event trigger=\"KEY\" X=\"6\" Y=\"9\" pattern=\"4\"/>"
                                 "<event trigger=\"EXIT\" X=\"9\" Y=\"9\" pattern=\"4\"/>"
                                 "<event trigger=\"DOOR\" X=\"1\" Y=\"1\"/>"
                                 "<event trigger=\"Spawn\"/>"
                                 "</eventlist>"));
  const std::vector<int>& events = level.layers.at("EVENTS");
  EXPECT_EQ(101, events[93]);
  EXPECT_EQ(105, EventCell(level, 4, 2));
  EXPECT_EQ(104, EventCell(level, 5, 2));
  EXPECT_EQ(50, EventCell(level, 6, 9));
  EXPECT_EQ(102, EventCell(level, 9, 9));
  EXPECT_EQ(0, EventCell(level, 1, 1)) << "an unknown trigger stores code 0";

  ASSERT_EQ(7u, level.events.size()) << "every event keeps its record, known or not";
  const EventRecord& spawn = level.events[0];
  EXPECT_EQ("SPAWN", spawn.trigger);
  EXPECT_FLOAT_EQ(3.0f, spawn.x);
  EXPECT_FLOAT_EQ(1.0f, spawn.y);
  EXPECT_EQ(0, spawn.pattern) << "SPAWN and EXIT do not read a pattern";
  EXPECT_EQ("ENEMY1", level.events[2].trigger);
  EXPECT_EQ(4, level.events[3].pattern) << "KEY reads its pattern";
}

TEST(LevelFileWrite, PrintsTheMapLayersAndEventsInOrder)
{
  LevelContent level;
  level.width = 2;
  level.height = 1;
  level.tileWidth = level.tileHeight = 52.5f;
  level.layerNames = {"BACKGROUND", "EVENTS"};
  level.layers["BACKGROUND"] = {1, -3};
  level.layers["EVENTS"] = {51, 101};
  EXPECT_EQ("<map width=\"2\" height=\"1\" tilewidth=\"52.5\" tileheight=\"52.5\">\n"
            "    <layer name=\"BACKGROUND\">\n"
            "        <data>\n"
            "            <tile gid=\"1\"/>\n"
            "            <tile gid=\"-3\"/>\n"
            "        </data>\n"
            "    </layer>\n"
            "    <eventlist name=\"EVENTS\">\n"
            "        <event trigger=\"ENEMY\" pattern=\"-52\" X=\"0\" Y=\"0\"/>\n"
            "        <event trigger=\"SPAWN\" X=\"1\" Y=\"0\"/>\n"
            "    </eventlist>\n"
            "</map>\n",
            FormatLevelFile(level));
}

TEST(LevelFileWrite, EventsAreRebuiltFromTheirCells)
{
  LevelContent read = Parse(Map(4, 3,
                                "<layer name=\"EVENTS\"><data><tile gid=\"50\"/></data></layer>"
                                "<eventlist>"
                                "<event trigger=\"EXIT\" X=\"3\" Y=\"0\"/>"
                                "<event trigger=\"ENEMY1\" X=\"2\" Y=\"1\" pattern=\"1\"/>"
                                "<event trigger=\"KEY\" X=\"1\" Y=\"1\" pattern=\"6\"/>"
                                "<event trigger=\"DOOR\" X=\"0\" Y=\"0\"/>"
                                "<event trigger=\"SPAWN\" X=\"3\" Y=\"0\"/>"
                                "</eventlist>"));
  std::string text = FormatLevelFile(read);
  EXPECT_EQ(std::string::npos, text.find("<layer name=\"EVENTS\"")) << text;
  EXPECT_EQ(std::string::npos, text.find("DOOR")) << text;
  EXPECT_EQ(std::string::npos, text.find("EXIT")) << "the later event in a cell wins\n" << text;

  LevelContent again = Parse(text);
  ASSERT_EQ(4u, again.events.size()) << text;
  EXPECT_EQ("KEY", again.events[0].trigger) << "events come back in cell order";
  EXPECT_FLOAT_EQ(3.0f, again.events[0].y);
  EXPECT_EQ(0, again.events[1].pattern) << "a KEY is written without its pattern";
  EXPECT_EQ("ENEMY", again.events[2].trigger);
  EXPECT_EQ(1, again.events[2].pattern);
  EXPECT_FLOAT_EQ(2.0f, again.events[2].x);
  EXPECT_EQ("SPAWN", again.events[3].trigger);
  EXPECT_EQ(read.layers.at("EVENTS"), again.layers.at("EVENTS"));
}

TEST(LevelFileRead, RefusesFilesItCannotUseWithALineNamingThem)
{
  std::string deep = "<map width=\"2\" height=\"2\">";
  for (int i = 0; i < 5000; ++i)
    deep += "<layer name=\"x\">";
  for (int i = 0; i < 5000; ++i)
    deep += "</layer>";
  // 65536 x 65536 cells overflow an int; 99999999999 does not fit one.
  const std::pair<std::string, const char*> refusals[] = {
      {"", "Level file test.tmx:"},
      {"this is not XML", "test.tmx"},
      {"<map width=\"2\" height=\"2\">", "well-formed"},
      {"<level width=\"2\" height=\"2\"/>", "no <map>"},
      {"<map height=\"2\"/>", "\"width\""},
      {"<map width=\"wide\" height=\"2\"/>", "\"width\""},
      {"<map width=\"2\"/>", "\"height\""},
      {"<map width=\"0\" height=\"2\"/>", "not positive"},
      {"<map width=\"3\" height=\"-1\"/>", "not positive"},
      {"<map width=\"1001\" height=\"1000\"/>", "exceeds"},
      {"<map width=\"65536\" height=\"65536\"/>", "exceeds"},
      {"<map width=\"99999999999\" height=\"1\"/>", "\"width\""},
      {deep + "</map>", "test.tmx"}};
  for (const auto& [text, message] : refusals)
  {
    const std::string output = Refusal(text);
    EXPECT_NE(std::string::npos, output.find(message)) << text.substr(0, 80) << "\n" << output;
  }

  LevelContent level;
  EXPECT_NE(std::string::npos,
            StdoutOf([&] { EXPECT_FALSE(ParseLevelFile(nullptr, 0, "null.tmx", level)); })
                .find("null.tmx"));
}

TEST(LevelFileRead, SkipsBrokenElementsAndKeepsTheRest)
{
  LevelContent level;
  const std::string output = StdoutOf(
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
    EXPECT_NE(std::string::npos, output.find(message)) << message << "\n" << output;

  ASSERT_EQ((std::vector<std::string>{"BACKGROUND", "EVENTS"}), level.layerNames);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), level.layers["BACKGROUND"]);
  EXPECT_EQ((std::vector<int>{0, 0, 102, 0}), level.layers["EVENTS"])
      << "events outside the map, or with a code beyond an int, set no cell";
  ASSERT_EQ(4u, level.events.size()) << "records outside the map stay";
  EXPECT_FLOAT_EQ(2.0f, level.events[0].x);
}

TEST(LevelFileRead, HoldsNoMoreCellsThanItsLimit)
{
  std::string layers;
  for (int i = 0; i < 9; ++i)
    layers += "<layer name=\"L" + std::to_string(i) + "\"/>";
  LevelContent level;
  const std::string output = StdoutOf([&] { level = Parse(Map(1000, 1000, layers)); });
  EXPECT_EQ(4u, level.layerNames.size());
  EXPECT_EQ(0u, level.layers.count("L4"));
  EXPECT_NE(std::string::npos, output.find("too many layers")) << output;
}

TEST(LevelFileRead, RefusesMissingDirectoriesAndOversizedFiles)
{
  ScratchFolder folder;
  LevelContent level;
  const std::string huge = folder.File("huge.tmx");
  WriteText(huge, Map(2, 2, ""));
  std::filesystem::resize_file(huge, static_cast<uintmax_t>(kLevelMaxFileBytes) + 1);
  const std::string output = StdoutOf(
      [&]
      {
        EXPECT_FALSE(ReadLevelFile(folder.File("absent.tmx"), level));
        EXPECT_FALSE(ReadLevelFile(folder.path, level));
        EXPECT_FALSE(ReadLevelFile(huge, level));
      });
  for (const char* message : {"absent.tmx: cannot be read (No such file", "not a regular file",
                              "huge.tmx: cannot be read (larger than"})
    EXPECT_NE(std::string::npos, output.find(message)) << output;
  EXPECT_EQ(0, level.width);
}

class LevelFileGrid : public testing::Test
{
protected:
  void SetUp() override { EnsureTestWindow(); }
  ScratchFolder folder;
};

TEST_F(LevelFileGrid, AWrittenGridReadsBackCellForCell)
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
  grid.SetTileAt("EVENTS", 1, 3, 103);
  grid.SetTileAt("EVENTS", 2, 3, 140);
  std::string file = folder.File("round.tmx");
  ASSERT_TRUE(grid.SaveTMX(file));

  Grid2D read(file);
  EXPECT_EQ(7, read.width);
  EXPECT_EQ(5, read.height);
  EXPECT_FLOAT_EQ(50.0f, read.tileWidth) << "a read grid always has 50-unit tiles";
  EXPECT_EQ(grid.layerNames, read.layerNames);
  EXPECT_EQ(grid.layers, read.layers);
  ASSERT_EQ(5u, read.events.size());
  EXPECT_EQ("EXIT", read.events[1]->trigger);
  EXPECT_EQ(37, read.events[3]->pattern);
  EXPECT_EQ("SPAWN", read.events[4]->trigger);
  EXPECT_FLOAT_EQ(6.0f, read.events[4]->x);
  EXPECT_FLOAT_EQ(1.0f, read.events[4]->y);

  std::string again = folder.File("again.tmx");
  read.ResizeTile(60.0f, 60.0f);
  ASSERT_TRUE(read.SaveTMX(again));
  EXPECT_EQ(ReadText(file), ReadText(again)) << "a reloaded level writes the same file";
}

TEST_F(LevelFileGrid, ARefusedFileLeavesAnEmptyGrid)
{
  for (const char* text :
       {"", "<map/>", "<map width=\"4\" height=\"0\"/>", "garbage <", "<a><b></a>"})
  {
    const std::string file = folder.File("bad.tmx");
    WriteText(file, text);
    testing::internal::CaptureStdout();
    Grid2D grid(file);
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStdout().find(file)) << text;
    EXPECT_EQ(0, grid.width) << text;
    EXPECT_EQ(0, grid.height) << text;
    EXPECT_TRUE(grid.layerNames.empty()) << text;
    EXPECT_TRUE(grid.events.empty()) << text;
    EXPECT_FALSE(grid.IsWalkable(0, 1));
    EXPECT_TRUE(grid.FindPath({0, 0}, {100, 100}).empty());
  }
}

TEST_F(LevelFileGrid, AFailedSaveKeepsThePreviousFileAndASaveItsPermissions)
{
  Grid2D grid(50, 50);
  grid.AddLayer("OBJECTS");
  grid.AddLayer("EVENTS");
  std::string file = folder.File("level.tmx");
  WriteText(file, "the previous level");

  // A file size limit makes the write fail part-way, as a full disk would.
  struct rlimit saved;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  testing::internal::CaptureStdout();
  bool saved_ok = grid.SaveTMX(file);
  std::string output = testing::internal::GetCapturedStdout();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, SIG_DFL);

  EXPECT_FALSE(saved_ok);
  EXPECT_NE(std::string::npos, output.find("Level file " + file + ": not saved: write failed"))
      << output;
  EXPECT_EQ("the previous level", ReadText(file));
  size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path))
  {
    ++entries;
    EXPECT_EQ(file, entry.path().string()) << "a temporary file was left behind";
  }
  EXPECT_EQ(1u, entries);

  output = StdoutOf(
      [&]
      {
        EXPECT_FALSE(grid.SaveTMX(folder.File("missing/level.tmx")));
        EXPECT_FALSE(grid.SaveTMX(folder.path)) << "a folder is not replaced by a level";
        EXPECT_FALSE(grid.SaveTMX(""));
      });
  EXPECT_NE(std::string::npos, output.find("cannot create a temporary file")) << output;
  EXPECT_NE(std::string::npos, output.find("is not a regular file")) << output;
  EXPECT_TRUE(std::filesystem::is_directory(folder.path));

  // A save that goes through replaces the file and keeps its permissions.
  std::filesystem::permissions(file, std::filesystem::perms(0640));
  ASSERT_TRUE(grid.SaveTMX(file));
  const std::string start = "<map width=\"50\" height=\"50\" tilewidth=\"50\" tileheight=\"50\">";
  EXPECT_EQ(start, ReadText(file).substr(0, start.size()));
  EXPECT_EQ(std::filesystem::perms(0640),
            std::filesystem::status(file).permissions() & std::filesystem::perms::mask);
}

TEST_F(LevelFileGrid, ShippedLevelsReloadIdentically)
{
  for (const char* name :
       {"TutorialLevel.tmx", "Level1.tmx", "Level2.tmx", "Level3.tmx", "Level4.tmx", "Level5.tmx"})
  {
    Grid2D shipped(name);
    ASSERT_FALSE(shipped.events.empty()) << name;
    std::string copy = folder.File(name);
    ASSERT_TRUE(shipped.SaveTMX(copy)) << name;
    Grid2D reloaded(copy);
    EXPECT_EQ(shipped.width, reloaded.width) << name;
    EXPECT_EQ(shipped.layerNames, reloaded.layerNames) << name;
    EXPECT_EQ(shipped.layers, reloaded.layers) << name;
    EXPECT_EQ(shipped.events.size(), reloaded.events.size()) << name;
  }
}
