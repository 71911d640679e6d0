// The editor's tools for designers: undo and redo, flood fill, the layer of the selected
// tile, the layer view, the wheel zoom, the checks before play and save, and test runs
// that come back to the editor.

#include <limits.h>

#include <initializer_list>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "../engine/graphics_pixels.h"
#include "Editor/MapCheck.h"
#include "EditorTestSupport.h"
#include "World/AssetManifest.h"

namespace
{

// Presses a key with the modifiers held, a frame down and a frame up.
void Press(unsigned char key, std::initializer_list<unsigned char> held = {})
{
  for (unsigned char vk : held)
    InjectKey(vk, true);
  InjectKey(key, true);
  EditorFrame();
  InjectKey(key, false);
  for (unsigned char vk : held)
    InjectKey(vk, false);
  EditorFrame();
}

const unsigned char kCtrl = VN_KEY_LCONTROL;
// Where the game's levels and assets are; the editor tests move to a folder of their own.
const std::filesystem::path kBuildFolder = std::filesystem::current_path();

} // namespace

TEST(EditorHistory, StrokesFloodFillsAndAnOpenedFileUndoAndRedoAStepAtATime)
{
  Editor* editor = EnterNewEditor();
  CentreViewOn(editor, 300.0f, 2300.0f);
  Grid2D* grid = editor->tilemap;

  // One stroke over two cells, then a flood fill of the empty floor around them.
  editor->selectedTile = 2;
  MoveToCell(2, 3);
  InjectMouseButton(VN_KEY_LBUTTON, true);
  EditorFrame();
  MoveToCell(3, 3);
  EditorFrame();
  InjectMouseButton(VN_KEY_LBUTTON, false);
  EditorFrame();
  editor->selectedTile = 4;
  MoveToCell(6, 6);
  Press('F');
  EXPECT_EQ(2500, PaintedCells(grid, "BACKGROUND"));
  EXPECT_EQ(2, CellOn(grid, "BACKGROUND", 3, 3)) << "only the area of the same id is filled";

  editor->LoadLevel(WriteFloor("opened", {"#####", "#P.X#", "#####"}));
  ASSERT_EQ(5, editor->tilemap->width);
  EXPECT_TRUE(HasLabel("X : 5"));

  Press('Z', {kCtrl});
  ASSERT_EQ(grid, editor->tilemap) << "undoing the open brings the edited grid back";
  EXPECT_TRUE(HasLabel("X : 50"));
  Press('Z', {kCtrl});
  EXPECT_EQ(2, PaintedCells(grid, "BACKGROUND"));
  Press('Y', {kCtrl});
  EXPECT_EQ(2500, PaintedCells(grid, "BACKGROUND"));
  Press('Z', {kCtrl, VN_KEY_LSHIFT});
  EXPECT_EQ(5, editor->tilemap->width) << "Ctrl+Shift+Z redoes too";

  for (int i = 0; i < 3; ++i)
    Press('Z', {kCtrl});
  EXPECT_EQ(grid, editor->tilemap);
  EXPECT_EQ(0, PaintedCells(grid, "BACKGROUND"));
  Press('Z', {kCtrl});
  EXPECT_EQ("Nothing to undo", editor->message);

  // A new change forgets what could be redone.
  PaintCell(editor, 7, 0, 1, 1);
  Press('Y', {kCtrl});
  EXPECT_EQ("Nothing to redo", editor->message);
  EXPECT_EQ(1, PaintedCells(grid, "BACKGROUND"));
}

TEST(EditorHistory, KeepsAtLeast200StepsAndUndoesACellChangedTwiceToItsFirstValue)
{
  EnsureTestWindow();
  Grid2D grid(20, 20);
  Grid2D* current = &grid;
  EditHistory history;
  for (int cell = 0; cell < 250; ++cell)
    history.SetCell(grid, 0, cell, cell + 1);
  history.Begin();
  history.SetCell(grid, 0, 300, 5);
  history.SetCell(grid, 0, 300, 6);
  history.End();
  int undone = 0;
  while (history.Undo(current))
    ++undone;
  EXPECT_EQ(251, undone);
  EXPECT_EQ(std::vector<int>(400, 0), grid.layers.at("BACKGROUND"));
  EXPECT_TRUE(history.Redo(current));
  EXPECT_EQ(1, grid.layers.at("BACKGROUND")[0]);
}

TEST(EditorScreen, ReentryPaintsTheSelectedTilesLayerAndKeys123HideAndShowLayers)
{
  Editor* editor = EnterNewEditor();
  CentreViewOn(editor, 300.0f, 2300.0f);
  editor->selectedTile = 101;
  // A manifest id at the int limit gets its button like any other.
  editor->tileTextures[INT_MAX] = editor->tileTextures.at(1);
  LevelManager::Instance()->ChangeLevel("Main Menu");
  LevelManager::Instance()->ChangeLevel("Level Editor");
  EXPECT_EQ(1u, editor->palette.count(INT_MAX));
  editor->tileTextures.erase(INT_MAX);
  CentreViewOn(editor, 300.0f, 2300.0f);
  MoveToCell(4, 4);
  EditorClick();
  EXPECT_EQ(101, CellOn(editor->tilemap, "EVENTS", 4, 4));

  // A floor cell, drawn while the event layer is edited, then hidden, then edited itself.
  editor->tilemap->SetTileAt("BACKGROUND", 6, 4, 1);
  auto brightness = [&]()
  {
    BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);
    VNGfxSetCamPosition(300.0f, 2300.0f);
    editor->DrawTilemap();
    const Rgba pixel = ReadPixel(640, 370); // cell (6, 4) lies at the view's centre
    return pixel.r + pixel.g + pixel.b;
  };
  const int dimmed = brightness();
  Press('1');
  EXPECT_TRUE(HasLabel("SHOW - 2 3"));
  EXPECT_EQ(0, brightness()) << "a hidden layer is not drawn";
  Press('1');
  editor->currentLayer = 0;
  const int full = brightness();
  EXPECT_GT(dimmed, 0);
  EXPECT_GT(full, dimmed * 3 / 2) << "layers not being edited are dimmed";
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
}

TEST(EditorZoom, EachNotchIsOneStepNotchesAddUpTheLimitsHoldAndTheCursorPointStays)
{
  Editor* editor = EnterNewEditor();
  Camera* camera = Camera::Instance();
  // Start size, wheel turn in a frame (120 a notch), size after.
  const float cases[][3] = {
      {50.0f, 120.0f, 55.0f}, {50.0f, 360.0f, 65.0f},  {50.0f, -120.0f, 45.0f},
      {95.0f, 120.0f, 95.0f}, {15.0f, -240.0f, 15.0f}, {85.0f, 600.0f, 95.0f},
  };
  for (const auto& [size, turn, expected] : cases)
  {
    editor->tilemap->ResizeTile(size, size);
    camera->position = {400.0f, 300.0f};
    InjectMouseMove(900, 200);
    EditorFrame();
    const VNVec2 before = camera->CursorInWorld();
    camera->wheelDelta = turn;
    EditorFrame();
    const VNVec2 after = camera->CursorInWorld();
    EXPECT_NEAR(expected, editor->tilemap->tileWidth, 1e-3f) << size << " by " << turn;
    EXPECT_NEAR(before.x / size, after.x / expected, 1e-3f) << size << " by " << turn;
    EXPECT_NEAR(before.y / size, after.y / expected, 1e-3f) << size << " by " << turn;
  }
}

TEST(EditorChecks, NameTheFirstProblemAndItsCellAndPassEveryShippedLevel)
{
  EnsureTestWindow();
  // Rows from the top; the top row is never walkable. "" for a playable map.
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"#####", "#P.X#", "##K##", "#####"}, ""},
      {{"#####", "#..X#", "#####"}, "no player start (id 101)"},
      {{"#####", "#P..#", "#####"}, "no exit (id 102)"},
      {{"#####", "#PPX#", "#####"}, "2 player starts, at X 1, Y 1 and X 2, Y 1"},
      {{"#####", "#P#X#", "#####"}, "exit at X 3, Y 1 cannot be reached from the start"},
      {{"#####", "#P###", "##X##", "#####"}, "exit at X 2, Y 1 cannot be reached from the start"},
      {{"######", "#PX#K#", "######"}, "access card at X 4, Y 1 cannot be reached from the start"},
      {{"#P#X#", "#...#", "#####"}, "player start at X 1, Y 2 is not on a walkable cell"},
  };
  for (const auto& [rows, problem] : cases)
  {
    Grid2D grid(WriteFloor("checked", rows));
    const std::vector<std::string> found = FindMapProblems(grid);
    EXPECT_EQ(problem, found.empty() ? "" : found.front()) << rows[1];
  }

  Grid2D crowded(WriteFloor("crowded", {"#####", "#PEX#", "#####"}));
  EXPECT_TRUE(FindMapProblems(crowded).empty());
  crowded.SetTileAt("OBJECTS", 2, 1, 9);
  EXPECT_EQ("co-worker at X 2, Y 1 is not on a walkable cell", FindMapProblems(crowded).at(0));

  AssetManifest manifest;
  ASSERT_TRUE(ReadAssetManifest((kBuildFolder / "Assets/Assets.tsm").string(), manifest));
  for (const char* name :
       {"TutorialLevel.tmx", "Level1.tmx", "Level2.tmx", "Level3.tmx", "Level4.tmx", "Level5.tmx"})
  {
    Grid2D shipped((kBuildFolder / name).string());
    shipped.walkableLimit = manifest.walkableLimit;
    EXPECT_EQ(std::vector<std::string>(), FindMapProblems(shipped)) << name;
  }
}

TEST(EditorTestRun, F8RefusesMapsThatFailTheChecksOrDoNotReadBackAndSaveWarnsButSaves)
{
  Editor* editor = EnterNewEditor();
  CentreViewOn(editor, 300.0f, 2300.0f);
  PaintCell(editor, 101, 2, 2, 4);
  StdoutOf([] { Press(VN_KEY_F8); });
  EXPECT_EQ(editor, LevelManager::Instance()->current);
  EXPECT_TRUE(HasLabel("Cannot play: no exit (id 102)"));

  ScratchFolder folder;
  VNSysFileDialogQueueAnswer(folder.File("unfinished.tmx").c_str());
  EXPECT_NE(std::string::npos, StdoutOf([&] { editor->SaveLevel(); }).find("Saved, but"));
  Grid2D saved(folder.File("unfinished.tmx"));
  EXPECT_EQ(101, CellOn(&saved, "EVENTS", 2, 4));

  // A playable map with more cells than the reader takes.
  Grid2D* huge = new Grid2D(1001, 1000);
  huge->AddLayer("OBJECTS");
  huge->AddLayer("EVENTS");
  huge->SetTileAt("EVENTS", 1, 1, 101);
  huge->SetTileAt("EVENTS", 2, 1, 102);
  delete editor->tilemap;
  editor->tilemap = huge;
  StdoutOf([] { Press(VN_KEY_F8); });
  EXPECT_EQ(0u, LevelManager::Instance()->levels.count("tmp"));
  EXPECT_NE(std::string::npos, editor->message.find("test run cancelled")) << editor->message;
}

TEST(EditorTestRun, F8AndTheMenuButtonComeBackToTheEditorWithMapZoomViewAndHistory)
{
  Editor* editor = EnterNewEditor();
  CentreViewOn(editor, 300.0f, 2300.0f);
  LevelManager* manager = LevelManager::Instance();
  for (int col = 2; col <= 6; ++col)
    PaintCell(editor, 1, 0, col, 4);
  PaintCell(editor, 101, 2, 2, 4);
  PaintCell(editor, 102, 2, 6, 4);
  editor->tilemap->ResizeTile(65.0f, 65.0f);
  Camera::Instance()->position = {320.0f, 2280.0f};
  const Grid2D* grid = editor->tilemap;
  const size_t steps = editor->history.UndoCount();

  auto expectBackInTheEditor = [&](const char* how)
  {
    ASSERT_EQ(editor, manager->current) << how;
    EXPECT_EQ(grid, editor->tilemap) << how;
    EXPECT_EQ(65.0f, editor->tilemap->tileWidth) << how;
    EXPECT_EQ(steps, editor->history.UndoCount()) << how;
    EXPECT_EQ(320.0f, Camera::Instance()->position.x) << how;
  };

  Press(VN_KEY_F8);
  ASSERT_EQ("tmp", manager->current->name);
  EXPECT_EQ(1, CellOn(manager->current->tilemap, "BACKGROUND", 4, 4));
  Press(VN_KEY_F8);
  expectBackInTheEditor("F8");

  Press(VN_KEY_F8);
  ASSERT_EQ("tmp", manager->current->name);
  RunFrame(2.0f); // past the loading picture
  Press(VN_KEY_ESCAPE);
  Click("MainMenu");
  expectBackInTheEditor("the pause screen's MENU");
}
