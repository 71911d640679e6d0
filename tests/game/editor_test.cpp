// The level editor through injected input and the scripted file dialog: painting,
// erasing and the rectangle fill, undo and redo, flood fill, the layer view, the wheel
// zoom, the checks before play and save, test runs that come back, saving and opening,
// and level files that Tiled reads and writes.

#include <limits.h>

#include <filesystem>
#include <initializer_list>
#include <set>
#include <string>
#include <tuple>

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include "../engine/graphics_pixels.h"
#include "CapturedOutput.h"
#include "Editor/Editor.h"
#include "Editor/MapCheck.h"
#include "Framework/TextLabel.h"
#include "PlayTestSupport.h"
#include "World/AssetManifest.h"
#include "World/Grid2D.h"
#include "World/LevelFile.h"

namespace
{
// Moves the view so that world point (x, y) is at the screen centre, with the editor's
// overlay placed for it, as a fresh entry at that view would.
void CentreViewOn(Editor* editor, float x, float y)
{
  editor->Unload();
  Camera::Instance()->ClearOverlay();
  Camera::Instance()->position = {x, y};
  editor->Load();
}

// A fresh game with a menu stand-in and a new editor, entered through the level manager,
// its view on the top left of the map.
Editor* EnterNewEditor()
{
  EnsureTestWindow();
  EnterGameFolder();
  VNSysFileDialogClearAnswers();
  ResetGame();
  ReleaseAllKeys();
  LevelManager* manager = LevelManager::Instance();
  manager->AddLevel(new MenuStub());
  Editor* editor = new Editor();
  manager->AddLevel(editor);
  manager->ChangeLevel("Level Editor");
  CentreViewOn(editor, 300.0f, 2300.0f);
  return editor;
}

// Puts the cursor over a world point, for the current view.
void MoveToWorld(VNVec2 at)
{
  const Camera* camera = Camera::Instance();
  InjectMouseMove(static_cast<int>(at.x - camera->position.x + 640.0f),
                  static_cast<int>(360.0f - (at.y - camera->position.y)));
}

// Puts the cursor over the centre of cell (col, row) of a new 50 by 50 map.
void MoveToCell(int col, int row)
{
  MoveToWorld(CellCentre(col, row, 50));
}

// One frame as the main loop runs it, drawing included (the rectangle fill happens there).
void EditorFrame(float dt = 1.0f / 60.0f)
{
  RunFrame(dt);
  if (Level* level = LevelManager::Instance()->current)
  {
    level->DrawTilemap();
    level->Draw();
    Camera::Instance()->DrawOverlay();
  }
}

// A left-button stroke from one cell to another, a frame at each and one to let go.
void Stroke(int fromCol, int fromRow, int toCol, int toRow)
{
  MoveToCell(fromCol, fromRow);
  InjectMouseButton(VN_KEY_LBUTTON, true);
  EditorFrame();
  MoveToCell(toCol, toRow);
  EditorFrame();
  InjectMouseButton(VN_KEY_LBUTTON, false);
  EditorFrame();
}

// A press and release of a mouse button where the cursor is, a frame each.
void EditorClick(unsigned char vk = VN_KEY_LBUTTON)
{
  InjectMouseButton(vk, true);
  EditorFrame();
  InjectMouseButton(vk, false);
  EditorFrame();
}

// Selects an id on a layer and clicks the centre of cell (col, row).
void PaintCell(Editor* editor, int id, int layer, int col, int row,
               unsigned char vk = VN_KEY_LBUTTON)
{
  editor->selectedTile = id;
  editor->currentLayer = layer;
  MoveToCell(col, row);
  EditorClick(vk);
}

// Whether the overlay shows a label with exactly this text.
bool HasLabel(const std::string& text)
{
  for (const TextLabel* label : Camera::Instance()->labels)
    if (label->text == text)
      return true;
  return false;
}

int CellOn(const Grid2D* grid, const std::string& layer, int col, int row)
{
  return grid->layers.at(layer).at(static_cast<size_t>(row) * grid->width + col);
}

// How many cells of a layer hold a nonzero id.
int PaintedCells(const Grid2D* grid, const std::string& layer)
{
  int count = 0;
  for (int id : grid->layers.at(layer))
    count += id != 0;
  return count;
}

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

// A map as Tiled saves it: csv layers and no event list; 2147483652 is gid 4 flipped.
const char kTiledMap[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<map version="1.10" tiledversion="1.10.2" orientation="orthogonal" renderorder="right-down" width="4" height="3" tilewidth="50" tileheight="50" infinite="0" nextlayerid="4" nextobjectid="1">
 <tileset firstgid="1" source="kestrin-tiles.tsx"/>
 <layer id="1" name="BACKGROUND" width="4" height="3"><data encoding="csv">
5,5,5,5,
1,2,3,2147483652,
1,1,1,1
</data></layer>
 <layer id="3" name="EVENTS" width="4" height="3"><data encoding="csv">
0,0,0,0,
101,0,103,102,
50,0,0,0
</data></layer>
</map>)";

std::string TiledMapWith(const std::string& data)
{
  std::string map = kTiledMap;
  const size_t at = map.find("<data encoding=\"csv\">");
  return map.replace(at, map.find("</data>") - at, data);
}
} // namespace

TEST(EditorHistory, StrokesFloodFillsAndAnOpenedFileUndoAndRedoAStepAtATime)
{
  Editor* editor = EnterNewEditor();
  Grid2D* grid = editor->tilemap;

  // One stroke over two cells, then a flood fill of the empty floor around them.
  editor->selectedTile = 2;
  Stroke(2, 3, 3, 3);
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
  EXPECT_EQ(2u, manager->current->tilemap->events.size()) << "the start and the exit";
  Press(VN_KEY_F8);
  expectBackInTheEditor("F8");

  Press(VN_KEY_F8);
  ASSERT_EQ("tmp", manager->current->name);
  RunFrame(2.0f); // past the loading picture
  Press(VN_KEY_ESCAPE);
  Click("MainMenu");
  expectBackInTheEditor("the pause screen's MENU");
}

TEST(EditorPainting, PaintsThePickedTilesLayerErasesWithTheRightButtonAndSparesPaletteAndScrolling)
{
  Editor* editor = EnterNewEditor();
  Grid2D* grid = editor->tilemap;
  const int object = 9;
  MoveToWorld(editor->palette.at(object)->position);
  InjectMouseButton(VN_KEY_LBUTTON, true);
  EditorFrame();
  EXPECT_EQ(object, editor->selectedTile);
  EXPECT_EQ("OBJECTS", editor->layerLabel->text);
  InjectMouseButton(VN_KEY_LBUTTON, false);
  EditorFrame();
  EXPECT_EQ(0, PaintedCells(grid, "OBJECTS")) << "nothing is painted under the palette";

  Stroke(2, 3, 3, 3);
  EXPECT_EQ(object, CellOn(grid, "OBJECTS", 2, 3));
  EXPECT_EQ(object, CellOn(grid, "OBJECTS", 3, 3));
  EXPECT_EQ(0, PaintedCells(grid, "BACKGROUND"));
  PaintCell(editor, object, 1, 3, 3, VN_KEY_RBUTTON);
  EXPECT_EQ(0, CellOn(grid, "OBJECTS", 3, 3));
  EXPECT_EQ(1, PaintedCells(grid, "OBJECTS"));

  // 430 units right of the centre the palette's side begins.
  for (const int x : {431, 430})
  {
    InjectMouseMove(640 + x, 310);
    EditorClick();
  }
  EXPECT_EQ(2, PaintedCells(grid, "OBJECTS"));

  // Space with a left drag scrolls instead of painting: a cell to the left moves the view
  // a cell to the right.
  MoveToCell(1, 4);
  InjectKey(VN_KEY_SPACE, true);
  EditorFrame();
  Stroke(1, 4, 0, 4);
  EXPECT_EQ(2, PaintedCells(grid, "OBJECTS"));
  EXPECT_NEAR(350.0f, Camera::Instance()->position.x, 1e-3f);
}

TEST(EditorPainting, ShiftDragFillsTheRectangleOnceShiftAndTheButtonAreBothUp)
{
  Editor* editor = EnterNewEditor();
  Grid2D* grid = editor->tilemap;
  editor->selectedTile = 7;
  InjectKey(VN_KEY_LSHIFT, true);
  MoveToCell(2, 3);
  InjectMouseButton(VN_KEY_LBUTTON, true);
  EditorFrame();
  MoveToCell(4, 1);
  EditorFrame();
  EXPECT_FALSE(editor->selectionSprite->hidden);
  InjectMouseButton(VN_KEY_LBUTTON, false);
  EditorFrame();
  EditorFrame();
  EXPECT_EQ(2, PaintedCells(grid, "BACKGROUND")) << "Shift is still down: only the cells crossed";
  InjectKey(VN_KEY_LSHIFT, false);
  EditorFrame();
  EXPECT_TRUE(editor->selectionSprite->hidden);
  EXPECT_EQ(9, PaintedCells(grid, "BACKGROUND"));
  for (int col = 2; col <= 4; ++col)
    for (int row = 1; row <= 3; ++row)
      EXPECT_EQ(7, CellOn(grid, "BACKGROUND", col, row)) << col << ", " << row;
}

TEST(EditorFiles, SavedMapsReopenAsTheyWereAndNoFailedOrCancelledStepLosesAnything)
{
  Editor* editor = EnterNewEditor();
  Grid2D* grid = editor->tilemap;
  grid->SetTileAt("BACKGROUND", 0, 0, 3);
  grid->SetTileAt("OBJECTS", 10, 20, 20);
  grid->SetTileAt("EVENTS", 5, 6, 101);
  const std::map<std::string, std::vector<int>> saved = grid->layers;
  grid->ResizeTile(70.0f, 70.0f);
  std::filesystem::remove("round.txt"); // a file there would bring the overwrite question
  VNSysFileDialogQueueAnswer("round");
  EXPECT_EQ(std::string::npos, StdoutOf([&] { editor->SaveLevel(); }).find("Failed"));
  EXPECT_STREQ("Save File", VNSysFileDialogGetLastTitle());
  ASSERT_TRUE(std::filesystem::exists("round.txt")) << "a name without extension gets .txt";

  grid->SetTileAt("BACKGROUND", 0, 0, 0);
  VNSysFileDialogQueueAnswer("round.txt");
  editor->OpenLevel();
  EXPECT_STREQ("Open File", VNSysFileDialogGetLastTitle());
  Grid2D* opened = editor->tilemap;
  EXPECT_EQ(saved, opened->layers);
  EXPECT_EQ(50.0f, opened->tileWidth);

  // Cancelled dialogs, declined overwrites, failed writes and files the grid cannot take
  // say so and lose nothing: neither the edited map nor the file on disk.
  opened->SetTileAt("BACKGROUND", 1, 1, 4);
  const std::map<std::string, std::vector<int>> edited = opened->layers;
  const std::string before = ReadText("round.txt");
  WriteText("notes.tmx", "this is not a level <map");
  std::filesystem::create_directory("shelf.tmx");
  const std::function<void()> save = [&] { editor->SaveLevel(); };
  const std::function<void()> open = [&] { editor->OpenLevel(); };
  const struct
  {
    std::vector<const char*> answers;
    std::function<void()> step;
    const char* message;
  } refusals[] = {
      {{nullptr}, save, "Failed to save file\n"},
      {{"round", nullptr}, save, "Failed to save file\n"},
      {{"missing/level.tmx"}, save, "Failed to save file\n"},
      {{"shelf.tmx"}, save, "Failed to save file\n"},
      {{nullptr}, open, "Failed to Load file\n"},
      {{}, [&] { editor->LoadLevel("notes.tmx"); }, "Failed to load Level notes.tmx\n"}};
  for (const auto& refusal : refusals)
  {
    for (const char* answer : refusal.answers)
      VNSysFileDialogQueueAnswer(answer);
    const std::string output = StdoutOf(refusal.step);
    EXPECT_NE(std::string::npos, output.find(refusal.message)) << output;
  }
  EXPECT_EQ(opened, editor->tilemap);
  EXPECT_EQ(edited, opened->layers);
  EXPECT_EQ(before, ReadText("round.txt"));
  EXPECT_TRUE(std::filesystem::is_directory("shelf.tmx"));
}
TEST(TiledFile, SavedLevelsReferToATilesetOfTheManifestImagesBesideThem)
{
  Editor* editor = EnterNewEditor();
  editor->tilemap->ResizeTile(70.0f, 70.0f);
  ScratchFolder elsewhere;
  VNSysFileDialogQueueAnswer(elsewhere.File("level.tmx").c_str());
  StdoutOf([&] { editor->SaveLevel(); });

  tinyxml2::XMLDocument level;
  ASSERT_EQ(tinyxml2::XML_SUCCESS, level.LoadFile(elsewhere.File("level.tmx").c_str()));
  const tinyxml2::XMLElement* map = level.FirstChildElement("map");
  EXPECT_STREQ("orthogonal", map->Attribute("orientation"));
  EXPECT_STREQ("50", map->Attribute("tilewidth")) << "the logical size, whatever the zoom";
  EXPECT_EQ(1, map->FirstChildElement("tileset")->IntAttribute("firstgid"));
  int layers = 0;
  for (auto* layer = map->FirstChildElement("layer"); layer; layer = layer->NextSiblingElement())
    layers += layer->IntAttribute("width") == 50 && layer->IntAttribute("height") == 50;
  EXPECT_EQ(3, layers);

  const std::string tilesetFile = map->FirstChildElement("tileset")->Attribute("source");
  tinyxml2::XMLDocument tileset;
  ASSERT_EQ(tinyxml2::XML_SUCCESS, tileset.LoadFile(elsewhere.File(tilesetFile).c_str()));
  std::set<int> gids;
  for (auto* tile = tileset.FirstChildElement("tileset")->FirstChildElement("tile"); tile;
       tile = tile->NextSiblingElement("tile"))
  {
    gids.insert(tile->IntAttribute("id") + 1);
    const char* image = tile->FirstChildElement("image")->Attribute("source");
    EXPECT_TRUE(std::filesystem::exists(elsewhere.File(image))) << image;
  }
  AssetManifest manifest;
  ASSERT_TRUE(ReadAssetManifest("Assets/Assets.tsm", manifest));
  std::set<int> ids;
  for (const ManifestEntry& entry : manifest.entries)
    ids.insert(entry.id);
  EXPECT_EQ(ids, gids);
}

TEST(TiledFile, TiledCsvMapsLoadWithTheirEventsAndReadBackFromOurWriter)
{
  LevelContent tiled;
  ASSERT_TRUE(ParseLevelFile(kTiledMap, sizeof(kTiledMap) - 1, "tiled.tmx", tiled));
  EXPECT_EQ((std::vector<int>{5, 5, 5, 5, 1, 2, 3, 4, 1, 1, 1, 1}), tiled.layers["BACKGROUND"]);
  // The events of the event layer, in cell order, as the event list would give them.
  const std::vector<std::tuple<std::string, float, float>> expected = {
      {"SPAWN", 0.0f, 2.0f}, {"ENEMY", 2.0f, 2.0f}, {"EXIT", 3.0f, 2.0f}, {"KEY", 0.0f, 1.0f}};
  for (const std::string& text : {std::string(kTiledMap), FormatLevelFile(tiled)})
  {
    LevelContent level;
    ASSERT_TRUE(ParseLevelFile(text.data(), text.size(), "again.tmx", level)) << text;
    EXPECT_EQ(tiled.layers, level.layers);
    std::vector<std::tuple<std::string, float, float>> events;
    for (const EventRecord& event : level.events)
      events.emplace_back(event.trigger, event.x, event.y);
    EXPECT_EQ(expected, events) << text;
  }
}

TEST(TiledFile, EncodingsWeDoNotReadRefuseTheFileSayingWhy)
{
  const std::pair<std::string, std::string> cases[] = {
      {"<data encoding=\"base64\" compression=\"zlib\">eJxjYGBgAAAABAAB", "base64 with zlib"},
      {"<data encoding=\"base64\">AQAAAA==", "base64, which"},
      {"<data encoding=\"csv\" compression=\"gzip\">1", "csv with gzip"},
      {"<data encoding=\"csv\"><chunk x=\"0\" y=\"0\">1</chunk>", "chunks"},
      {"<data encoding=\"csv\">1,x,3", "value 2 is not a tile id"},
  };
  for (const auto& [data, why] : cases)
  {
    const std::string text = TiledMapWith(data);
    LevelContent level;
    const std::string output =
        StdoutOf([&] { EXPECT_FALSE(ParseLevelFile(text.data(), text.size(), "t.tmx", level)); });
    EXPECT_NE(std::string::npos, output.find("layer \"BACKGROUND\"")) << output;
    EXPECT_NE(std::string::npos, output.find(why)) << output;
  }

  Editor* editor = EnterNewEditor();
  const Grid2D* edited = editor->tilemap;
  WriteText("packed.tmx", TiledMapWith(cases[0].first));
  StdoutOf([&] { editor->LoadLevel("packed.tmx"); });
  EXPECT_EQ(edited, editor->tilemap);
  EXPECT_NE(std::string::npos, editor->message.find("base64 with zlib")) << editor->message;
}
