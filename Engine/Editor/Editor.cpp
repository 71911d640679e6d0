/*
 * Editor: the level editor's screen: its life cycle, the per-frame dispatch of the mouse
 * and the keys, the test run, and drawing. The palette and labels live in
 * EditorPalette.cpp, changes to the grid in EditorPaint.cpp, zoom, layer view and messages
 * in EditorView.cpp, saving and opening files in EditorFile.cpp.
 */
#include "Editor/Editor.h"

#include <math.h>
#include <stdio.h>

#include "Framework/Assert.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/LevelManager.h"
#include "Framework/UserFiles.h"
#include "Framework/Sprite2D.h"
#include "Editor/MapCheck.h"
#include "Levels/TestLevel.h"
#include "World/Grid2D.h"
#include "World/LevelFile.h"

namespace
{

const char* const kManifestFile = "Assets/Assets.tsm";
// Written in the user's data folder: the program's own folder may be read-only.
const char* const kTestRunFile = "tmp.bin";
const char* const kTestRunLevel = "tmp";
const char* const kMenuLevel = "Main Menu";

// Tile ids up to this paint floor and walls; below kFirstEventId, objects.
const int kLastFloorId = 8;
const int kFirstEventId = 50;

// Painting stops this far right of the screen centre, where the palette begins.
const float kPaintLimitX = 430.0f;
// Layers not being edited are drawn in this tint.
const float kDimTint[4] = {0.55f, 0.55f, 0.55f, 0.6f};
// The '/' and '?' key of a US layout.
const unsigned char kQuestionKey = VN_KEY_OEM_2;

} // namespace

Editor::Editor()
{
  name = "Level Editor";
  CreateTilemap(gridSize, Grid2D::kTileSize);
  tilemap->AddLayer("OBJECTS");
  tilemap->AddLayer("EVENTS");
  selectedTile = 1;

  cursorMesh = BuildCentredQuad(5.0f, 5.0f);

  selectionSprite = new Sprite2D();
  selectionSprite->width = 0.0f;
  selectionSprite->height = 0.0f;
  selectionSprite->meshBuilt = false;
  selectionSprite->hidden = true;

  VN_ASSERT_MESG(cursorMesh, "Failed to Create Cursor");
}

Editor::~Editor()
{
  printf("Level Editor destroy\n");
  fflush(stdout);
  delete selectionSprite;
  selectionSprite = nullptr;
  VNGfxMeshFree(cursorMesh);
  cursorMesh = nullptr;
  VNGfxMeshFree(helpPanel);
  VNGfxMeshFree(messagePanel);
  palette.clear();
}

int Editor::LayerForTile(int id)
{
  if (id <= kLastFloorId)
    return 0;
  if (id < kFirstEventId)
    return 1;
  return 2;
}

void Editor::Load()
{
  camera = Camera::Instance();
  camera->clampToBounds = false;
  if (returningFromTestRun)
  {
    camera->position = testRunView;
    VNGfxSetCamPosition(testRunView.x, testRunView.y);
    returningFromTestRun = false;
  }
  paletteHidden = false;
  // The tiles are decoded on the first visit, not at start: most runs never open the editor.
  if (tileTextures.empty())
  {
    LoadAssets(kManifestFile);
    paletteCount = static_cast<int>(tileTextures.size());
  }
  // The layer always belongs to the selected tile, whatever was edited before.
  currentLayer = LayerForTile(selectedTile);

  BuildPalette();
  shiftHeld = false;
  dragging = false;
  AddFileButtons();
  AddLabels();
}

void Editor::Unload()
{
  history.End();
  palette.clear();
  saveButton = nullptr;
  loadButton = nullptr;
  layerLabel = nullptr;
  sizeLabelX = sizeLabelY = viewLabel = cellLabel = messageLabel = nullptr;
  helpLabels.clear();
}

void Editor::Update(const float& dt)
{
  // Shown, not counted: a display counter raised every frame would never hide again.
  VNInputSetCursorVisible(1);
  // F1 is the help here, not the camera's follow mode, which would stop the scrolling.
  camera->followMode = false;
  const int hovered = tilemap->PickCell();
  const float fromCentre = camera->mouse.x - camera->viewSize.x / 2.0f;

  for (auto& [id, button] : palette)
  {
    if (!button->hidden && button->IsClicked())
    {
      selectedTile = id;
      currentLayer = LayerForTile(id);
    }
  }

  Zoom();

  if (VNInputCheckTriggered(VN_KEY_F8))
  {
    TestRun();
    return;
  }

  // A stroke is one step of the history: from a button going down until both are up.
  if (VNInputCheckTriggered(VN_KEY_LBUTTON) || VNInputCheckTriggered(VN_KEY_RBUTTON))
    history.Begin();
  if (hovered >= 0 && fromCentre <= kPaintLimitX && !VNInputCheckCurr(VN_KEY_SPACE))
    Paint(hovered);
  if (!VNInputCheckCurr(VN_KEY_LBUTTON) && !VNInputCheckCurr(VN_KEY_RBUTTON))
    history.End();
  shiftHeld = VNInputCheckCurr(VN_KEY_LSHIFT) || VNInputCheckCurr(VN_KEY_RSHIFT);
  UpdateSelection();

  if (hovered >= 0 && VNInputCheckTriggered('F'))
    FloodFill(hovered);
  HandleKeys();

  if (saveButton && saveButton->IsClicked())
    SaveLevel();
  if (loadButton && loadButton->IsClicked())
    OpenLevel();

  messageTime = fmaxf(0.0f, messageTime - dt);
  UpdateLabels();

  if (VNInputCheckReleased(VN_KEY_ESCAPE))
    LevelManager::Instance()->ChangeLevel(kMenuLevel);
}

void Editor::HandleKeys()
{
  if (VNInputCheckCurr(VN_KEY_CONTROL))
  {
    if (VNInputCheckTriggered('Z'))
    {
      if (VNInputCheckCurr(VN_KEY_SHIFT))
        Redo();
      else
        Undo();
    }
    if (VNInputCheckTriggered('Y'))
      Redo();
  }
  for (int layer = 0; layer < kLayerCount; ++layer)
  {
    if (VNInputCheckTriggered(static_cast<unsigned char>('1' + layer)))
      ToggleLayer(layer);
  }
  if (VNInputCheckTriggered(VN_KEY_TAB))
    TogglePalette();
  if (VNInputCheckTriggered(VN_KEY_F1) || VNInputCheckTriggered(kQuestionKey))
    helpShown = !helpShown;
}

void Editor::TestRun()
{
  history.End();
  const std::vector<std::string> problems = FindMapProblems(*tilemap);
  if (!problems.empty())
  {
    for (size_t i = 1; i < problems.size(); ++i)
      printf("Level Editor: also %s\n", problems[i].c_str());
    Say("Cannot play: " + problems.front());
    return;
  }

  LevelManager* manager = LevelManager::Instance();
  auto previous = manager->levels.find(kTestRunLevel);
  if (previous != manager->levels.end())
  {
    delete previous->second;
    manager->levels.erase(previous);
  }

  // Playing an older tmp.bin would show a map other than the one being edited.
  const std::string testRunFile = UserDataFile(kTestRunFile);
  if (!tilemap->SaveTMX(testRunFile))
  {
    Say("test run cancelled, the map could not be written to " + testRunFile);
    return;
  }
  // A map the reader refuses would play as an empty floor.
  LevelContent written;
  if (!ReadLevelFile(testRunFile, written) || written.width != tilemap->width ||
      written.height != tilemap->height || written.layerNames.size() != tilemap->layerNames.size())
  {
    Say("test run cancelled, the map written to " + testRunFile +
        " does not read back (too large to play?)");
    return;
  }
  TestLevel* run = new TestLevel(testRunFile, kTestRunLevel);
  run->menuLevel = name;
  run->testRun = true;
  manager->AddLevel(run);
  testRunView = camera->position;
  returningFromTestRun = true;
  manager->ChangeLevel(kTestRunLevel);
}

void Editor::DrawTilemap()
{
  const float full[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  const int count = static_cast<int>(tilemap->layerNames.size());
  for (int layer = 0; layer < count; ++layer)
  {
    if (layer < kLayerCount && !layerShown[layer])
      continue;
    const float* tint = layer == currentLayer ? full : kDimTint;
    for (int i = 0; i < 4; ++i)
      tilemap->color[i] = tint[i];
    tilemap->DrawLayer(layer);
  }
  for (int i = 0; i < 4; ++i)
    tilemap->color[i] = full[i];
}

void Editor::Draw()
{
  tilemap->DrawGridLines();
  DrawCursor();
  selectionSprite->Draw(VN_GFX_MESH_LINE_STRIP);

  // Light panels under the help and the message, whose labels the overlay prints on top.
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxTextureSet(nullptr, 0.0f, 0.0f);
  VNGfxSetTransparency(1.0f);
  VNGfxSetTintColor(0.96f, 0.95f, 0.86f, 0.93f);
  if (helpShown && helpPanel)
  {
    VNGfxSetPosition(camera->position.x - 250.0f, camera->position.y - 30.0f);
    VNGfxMeshDraw(helpPanel, VN_GFX_MESH_TRIANGLES);
  }
  if (messageTime > 0.0f && messagePanel)
  {
    VNGfxSetPosition(camera->position.x - 190.0f, camera->position.y - 334.0f);
    VNGfxMeshDraw(messagePanel, VN_GFX_MESH_TRIANGLES);
  }
}

void Editor::DrawCursor()
{
  if (!cursorMesh)
    return;
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
  const VNVec2 cursor = camera->CursorInWorld();
  auto texture = tileTextures.find(selectedTile);
  VNGfxTextureSet(texture == tileTextures.end() ? nullptr : texture->second, 0.0f, 0.0f);
  VNGfxSetPosition(cursor.x, cursor.y);
  VNGfxSetTransparency(1.0f);
  VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
  VNGfxMeshDraw(cursorMesh, VN_GFX_MESH_TRIANGLES);
}
