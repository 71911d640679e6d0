// The editor's save and open: round trips through answered dialogs, cancels, failed
// writes, maps with too few layers, files the grid cannot take, and the real zenity path.
#include <SDL.h>

#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "../engine/DialogStandIn.h"
#include "EditorTestSupport.h"

namespace
{

// A map file with the given tile layers, every cell set to fill; no event list.
std::string WriteMap(const std::string& fileName, int width, int height,
                     const std::vector<std::string>& layerNames, int fill = 0)
{
  std::string tiles;
  for (int i = 0; i < width * height; ++i)
    tiles += "<tile gid=\"" + std::to_string(fill) + "\"/>";
  std::string text = "<map width=\"" + std::to_string(width) + "\" height=\"" +
                     std::to_string(height) + "\" tilewidth=\"50\" tileheight=\"50\">\n";
  for (const std::string& layer : layerNames)
    text += "<layer name=\"" + layer + "\"><data>" + tiles + "</data></layer>\n";
  WriteText(fileName, text + "</map>\n");
  return fileName;
}

void PlaceWindowAwayFromCorner()
{
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  SDL_SetWindowPosition(window, 90, 70);
  SettleWindowEvents();
}

void ExpectWindowAtCornerWithItsSize()
{
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  SettleWindowEvents();
  int x = -1, y = -1, width = 0, height = 0;
  SDL_GetWindowPosition(window, &x, &y);
  SDL_GetWindowSize(window, &width, &height);
  EXPECT_EQ(std::make_tuple(0, 0, 1280, 720), std::make_tuple(x, y, width, height))
      << "the window is back at the corner with its size";
}

} // namespace

TEST(EditorFile, SavedMapReopensWithTheSameCellsAndTheTileSizeBackAt50)
{
  Editor* editor = EnterNewEditor();
  Grid2D* grid = editor->tilemap;
  grid->SetTileAt("BACKGROUND", 0, 0, 3);
  grid->SetTileAt("BACKGROUND", 49, 49, 8);
  grid->SetTileAt("OBJECTS", 10, 20, 20);
  grid->SetTileAt("EVENTS", 5, 6, 101);
  grid->SetTileAt("EVENTS", 7, 6, 102);
  const std::map<std::string, std::vector<int>> saved = grid->layers;
  grid->ResizeTile(70.0f, 70.0f);
  std::filesystem::remove("round.tmx");

  PlaceWindowAwayFromCorner();
  VNSysFileDialogQueueAnswer("round.tmx");
  EXPECT_EQ("", StdoutOf([&] { editor->SaveLevel(); }));
  EXPECT_STREQ("Save File", VNSysFileDialogGetLastTitle());
  ExpectWindowAtCornerWithItsSize();
  ASSERT_TRUE(std::filesystem::exists("round.tmx"));

  grid->SetTileAt("BACKGROUND", 0, 0, 0);
  grid->SetTileAt("OBJECTS", 1, 1, 9);
  PlaceWindowAwayFromCorner();
  VNSysFileDialogQueueAnswer("round.tmx");
  editor->OpenLevel();
  EXPECT_STREQ("Open File", VNSysFileDialogGetLastTitle());
  ExpectWindowAtCornerWithItsSize();

  const Grid2D* reopened = editor->tilemap;
  EXPECT_EQ(saved, reopened->layers);
  EXPECT_EQ((std::vector<std::string>{"BACKGROUND", "OBJECTS", "EVENTS"}), reopened->layerNames);
  EXPECT_EQ(50.0f, reopened->tileWidth);
  EXPECT_EQ(20u, reopened->textures.size());
  ASSERT_EQ(2u, reopened->events.size());
  EXPECT_EQ("SPAWN", reopened->events[0]->trigger);

  // The saved file plays as a gameplay level of its own.
  LevelManager* manager = LevelManager::Instance();
  manager->AddLevel(new TestLevel("round.tmx"));
  manager->ChangeLevel("round");
  ASSERT_EQ("round", manager->current->name);
  EXPECT_EQ(saved, manager->current->tilemap->layers);
  EditorFrame();
  EXPECT_EQ("round", manager->current->name);
}

TEST(EditorFile, CancelledDialogsPrintTheirMessageAndLeaveGridLabelsAndWindowSize)
{
  Editor* editor = EnterNewEditor();
  Grid2D* grid = editor->tilemap;
  grid->SetTileAt("OBJECTS", 4, 4, 12);
  const int dialogs = VNSysFileDialogGetCount();

  const std::pair<void (Editor::*)(), const char*> cancels[] = {
      {&Editor::SaveLevel, "Failed to save file\n"}, {&Editor::OpenLevel, "Failed to Load file\n"}};
  for (const auto& [operation, message] : cancels)
  {
    PlaceWindowAwayFromCorner();
    VNSysFileDialogQueueAnswer(nullptr);
    EXPECT_EQ(message, StdoutOf([&, operation = operation] { (editor->*operation)(); }));
    ExpectWindowAtCornerWithItsSize();
  }

  EXPECT_EQ(dialogs + 2, VNSysFileDialogGetCount());
  EXPECT_EQ(grid, editor->tilemap);
  EXPECT_EQ(12, CellOn(grid, "OBJECTS", 4, 4));
  EXPECT_TRUE(HasLabel("X : 50"));
  EXPECT_TRUE(HasLabel("Y : 50"));

  // A name chosen for opening that does not exist is refused by the dialog.
  VNSysFileDialogQueueAnswer("no_such_level.tmx");
  const std::string output = StdoutOf([&] { editor->OpenLevel(); });
  EXPECT_NE(std::string::npos, output.find("Failed to Load file\n")) << output;
  EXPECT_EQ(grid, editor->tilemap);
}

TEST(EditorFile, SaveCompletesTheExtensionAndReportsAFailedWriteKeepingTheOldFile)
{
  Editor* editor = EnterNewEditor();
  editor->tilemap->SetTileAt("BACKGROUND", 1, 1, 2);
  std::filesystem::remove("typed.txt");

  VNSysFileDialogQueueAnswer("typed");
  EXPECT_EQ(std::string::npos, StdoutOf([&] { editor->SaveLevel(); }).find("Failed"));
  EXPECT_TRUE(std::filesystem::exists("typed.txt"));
  EXPECT_FALSE(std::filesystem::exists("typed"));

  // The folder does not exist: the write fails and says so.
  VNSysFileDialogQueueAnswer("missing_folder/level.tmx");
  std::string output = StdoutOf([&] { editor->SaveLevel(); });
  EXPECT_NE(std::string::npos, output.find("Failed to save file\n")) << output;

  // "typed" again reaches the existing typed.txt: declining the question keeps it.
  const std::string before = ReadText("typed.txt");
  editor->tilemap->SetTileAt("BACKGROUND", 1, 1, 4);
  VNSysFileDialogQueueAnswer("typed");
  VNSysFileDialogQueueAnswer(nullptr);
  output = StdoutOf([&] { editor->SaveLevel(); });
  EXPECT_EQ("Failed to save file\n", output);
  EXPECT_EQ(before, ReadText("typed.txt"));

  // A target that cannot be replaced (a folder) fails and stays as it was.
  std::filesystem::create_directories("shelf.tmx");
  WriteText("shelf.tmx/book", "kept");
  VNSysFileDialogQueueAnswer("shelf.tmx");
  output = StdoutOf([&] { editor->SaveLevel(); });
  EXPECT_NE(std::string::npos, output.find("Failed to save file\n")) << output;
  EXPECT_EQ("kept", ReadText("shelf.tmx/book"));
}

TEST(EditorFile, OneLayerMapGetsEventsSecondSoObjectsPaintItAndEventsPaintNothing)
{
  Editor* editor = EnterNewEditor();
  editor->LoadLevel(WriteMap("one_layer.tmx", 10, 10, {"FLOOR"}, 1));
  Grid2D* grid = editor->tilemap;
  ASSERT_EQ((std::vector<std::string>{"FLOOR", "EVENTS"}), grid->layerNames);
  EXPECT_EQ(10, grid->width);
  EXPECT_EQ(50.0f, grid->tileWidth);
  EXPECT_EQ(PaintedCells(grid, "FLOOR"), 100);
  // The size and its labels are the opened map's.
  EXPECT_EQ(10.0f, editor->gridSize.x);
  EXPECT_TRUE(HasLabel("X : 10"));

  PaintCell(editor, 20, 1, 3, 5, 10);
  EXPECT_EQ(20, CellOn(grid, "EVENTS", 3, 5));
  PaintCell(editor, 20, 2, 4, 5, 10);
  EXPECT_EQ(1, PaintedCells(grid, "EVENTS"));
  EXPECT_EQ(100, PaintedCells(grid, "FLOOR"));
  EXPECT_EQ(2u, grid->layers.size());

  // Three layers, none of them "EVENTS": nothing is added.
  editor->LoadLevel(WriteMap("three_layers.tmx", 4, 4, {"A", "B", "C"}));
  EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), editor->tilemap->layerNames);
}

TEST(EditorFile, FilesTheGridCannotTakeLeaveTheEditedMapAsItWas)
{
  Editor* editor = EnterNewEditor();
  Grid2D* grid = editor->tilemap;
  grid->SetTileAt("BACKGROUND", 2, 2, 5);

  WriteText("notes.tmx", "this is not a level <map");
  std::string output = StdoutOf([&] { editor->LoadLevel("notes.tmx"); });
  EXPECT_NE(std::string::npos, output.find("Failed to load Level notes.tmx\n")) << output;
  EXPECT_EQ(grid, editor->tilemap);
  EXPECT_EQ(5, CellOn(editor->tilemap, "BACKGROUND", 2, 2));

  WriteText("huge.tmx", "<map width=\"5000\" height=\"5000\"></map>");
  output = StdoutOf([&] { editor->LoadLevel("huge.tmx"); });
  EXPECT_NE(std::string::npos, output.find("Failed to load Level huge.tmx\n")) << output;
  EXPECT_EQ(grid, editor->tilemap);

  output = StdoutOf([&] { editor->LoadLevel("gone.tmx"); });
  EXPECT_NE(std::string::npos, output.find("Failed to load Level gone.tmx\n")) << output;
  EXPECT_EQ(grid, editor->tilemap);
  EXPECT_EQ(3u, grid->layerNames.size());
}

TEST(EditorFile, FillOnALargerOpenedMapReachesPastTheFirst50ColumnsAndRows)
{
  Editor* editor = EnterNewEditor();
  editor->LoadLevel(WriteMap("wide.tmx", 60, 60, {"BACKGROUND", "OBJECTS", "EVENTS"}));
  Grid2D* grid = editor->tilemap;
  CentreViewOn(editor, 2500.0f, 2800.0f);
  editor->selectedTile = 3;

  InjectKey(VN_KEY_RSHIFT, true);
  MoveToCell(48, 2, 60);
  EditorFrame();
  InjectMouseButton(VN_KEY_LBUTTON, true);
  EditorFrame();
  MoveToCell(53, 3, 60);
  EditorFrame();
  InjectMouseButton(VN_KEY_LBUTTON, false);
  InjectKey(VN_KEY_RSHIFT, false);
  EditorFrame();

  for (int col = 48; col <= 53; ++col)
    for (int row = 2; row <= 3; ++row)
      EXPECT_EQ(3, CellOn(grid, "BACKGROUND", col, row)) << col << ", " << row;
  EXPECT_EQ(12, PaintedCells(grid, "BACKGROUND"));
}

TEST(EditorFile, SaveThroughARealZenityProcessGetsTheLevelFileRequest)
{
  Editor* editor = EnterNewEditor();
  editor->tilemap->SetTileAt("OBJECTS", 3, 3, 11);
  const std::string target = std::filesystem::current_path().string() + "/through_zenity.tmx";
  std::filesystem::remove(target);

  DialogStandIns tools;
  tools.Install("zenity", target, 0);
  EXPECT_EQ(std::string::npos, StdoutOf([&] { editor->SaveLevel(); }).find("Failed"));
  const std::vector<std::string> expected = {"--file-selection",
                                             "--title=Save File",
                                             "--modal",
                                             "--attach=" + EngineWindowId(),
                                             "--save",
                                             "--confirm-overwrite",
                                             "--file-filter=Supported Files (*.tmx) | *.tmx",
                                             "--file-filter=XML files (*.xml) | *.xml",
                                             "--file-filter=All Files | *"};
  EXPECT_EQ(expected, tools.Arguments("zenity"));
  ASSERT_TRUE(std::filesystem::exists(target));

  editor->tilemap->SetTileAt("OBJECTS", 3, 3, 0);
  editor->OpenLevel();
  EXPECT_EQ("--title=Open File", tools.Arguments("zenity").at(1));
  EXPECT_EQ(11, CellOn(editor->tilemap, "OBJECTS", 3, 3));
}
