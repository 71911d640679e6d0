// The editor tests' game folder, input helpers and a fresh editor in the level manager.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "Editor/Editor.h"
#include "Framework/TextLabel.h"
#include "FrameworkTestSupport.h"
#include "PlayTestSupport.h"
#include "ScratchFolder.h"
#include "World/Grid2D.h"

// The ids of the test manifest: eight floor tiles, nine objects, three event markers.
inline const std::vector<int>& ManifestIds()
{
  static const std::vector<int> ids = {1,  2,  3,  4,  5,  6,  7,  8,  9,   10,
                                       11, 12, 13, 14, 15, 16, 20, 50, 101, 102};
  return ids;
}

// Moves the test program into a game folder of its own, removed at exit: Assets/ links
// to the staged images and sounds, with a manifest of exactly ManifestIds().
inline void EnterEditorGameFolder()
{
  namespace fs = std::filesystem;
  static bool entered = false;
  if (entered)
    return;
  const fs::path staged = fs::current_path() / "Assets";
  ASSERT_TRUE(fs::exists(staged)) << "run from the build folder";
  static ScratchFolder game;
  const fs::path assets = game.File("Assets");
  fs::create_directory(assets);
  for (const fs::directory_entry& entry : fs::directory_iterator(staged))
    if (entry.path().filename() != "Assets.tsm")
      fs::create_directory_symlink(entry.path(), assets / entry.path().filename());

  // Floor tiles below 9, objects below 50, event markers from 50 on.
  std::string manifest = "<tileset firstgid=\"0\" floor=\"4\">\n";
  for (int id : ManifestIds())
  {
    if (id == 9)
      manifest += "</tileset>\n<items firstgid=\"0\">\n";
    if (id == 50)
      manifest += "</items>\n<events firstgid=\"0\">\n";
    const char* element = id < 9 ? "tile" : id < 50 ? "item" : "event";
    const char* image = id < 9 ? "floor_carpet" : id < 50 ? "desk_computer" : "event_spawn";
    manifest += std::string(" <") + element + " id=\"" + std::to_string(id) +
                "\" source=\"Assets/Tilemap/" + image + ".png\"/>\n";
  }
  WriteText(game.File("Assets/Assets.tsm"), manifest + "</events>\n");
  fs::current_path(game.path);
  entered = true;
}

// A fresh game with a menu stand-in and a new editor, entered through the level manager.
inline Editor* EnterNewEditor()
{
  EnsureTestWindow();
  EnterEditorGameFolder();
  VNSysFileDialogClearAnswers();
  ResetGame();
  for (unsigned char vk : {VN_KEY_SPACE, VN_KEY_LSHIFT, VN_KEY_RSHIFT, VN_KEY_TAB, VN_KEY_F8})
    InjectKey(vk, false);
  InjectMouseButton(VN_KEY_RBUTTON, false);
  ReleaseAllKeys();
  LevelManager* manager = LevelManager::Instance();
  manager->AddLevel(new MenuStub());
  Editor* editor = new Editor();
  manager->AddLevel(editor);
  manager->ChangeLevel("Level Editor");
  return editor;
}

// Moves the view so that world point (x, y) is at the screen centre, with the editor's
// overlay placed for it, as a fresh entry at that view would.
inline void CentreViewOn(Editor* editor, float x, float y)
{
  Camera* camera = Camera::Instance();
  editor->Unload();
  camera->ClearOverlay();
  camera->position = {x, y};
  editor->Load();
}

// The window pixel over the centre of cell (col, row) of a map `rows` rows tall with
// 50-unit tiles, for the current view.
inline void MoveToCell(int col, int row, int rows = 50)
{
  const Camera* camera = Camera::Instance();
  const VNVec2 centre = CellCentre(col, row, rows);
  InjectMouseMove(static_cast<int>(centre.x - camera->position.x + 640.0f),
                  static_cast<int>(360.0f - (centre.y - camera->position.y)));
}

// The window pixel over a world point.
inline void MoveToWorld(float x, float y)
{
  const Camera* camera = Camera::Instance();
  InjectMouseMove(static_cast<int>(x - camera->position.x + 640.0f),
                  static_cast<int>(360.0f - (y - camera->position.y)));
}

// One frame as the main loop runs it, drawing included (the rectangle fill happens there).
inline void EditorFrame(float dt = 1.0f / 60.0f)
{
  RunFrame(dt);
  if (Level* level = LevelManager::Instance()->current)
  {
    level->DrawTilemap();
    level->Draw();
    Camera::Instance()->DrawOverlay();
  }
}

// A press and release of a mouse button where the cursor is, a frame each.
inline void EditorClick(unsigned char vk = VN_KEY_LBUTTON)
{
  InjectMouseButton(vk, true);
  EditorFrame();
  InjectMouseButton(vk, false);
  EditorFrame();
}

// Selects an id on a layer and clicks the centre of cell (col, row).
inline void PaintCell(Editor* editor, int id, int layer, int col, int row, int rows = 50)
{
  editor->selectedTile = id;
  editor->currentLayer = layer;
  MoveToCell(col, row, rows);
  EditorClick();
}

// Whether the overlay shows a label with exactly this text.
inline bool HasLabel(const std::string& text)
{
  for (const TextLabel* label : Camera::Instance()->labels)
    if (label->text == text)
      return true;
  return false;
}

inline int CellOn(const Grid2D* grid, const std::string& layer, int col, int row)
{
  return grid->layers.at(layer).at(static_cast<size_t>(row) * grid->width + col);
}

// How many cells of a layer hold a nonzero id.
inline int PaintedCells(const Grid2D* grid, const std::string& layer)
{
  int count = 0;
  for (int id : grid->layers.at(layer))
    count += id != 0;
  return count;
}
