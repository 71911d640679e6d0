/*
 * Editor: the level editor's screen. Painting, the palette, zoom, the rectangle fill and
 * the test run live here; saving and opening files in EditorFile.cpp.
 */
#include "Editor/Editor.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "Framework/Assert.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/LevelManager.h"
#include "Framework/Sprite2D.h"
#include "Framework/TextLabel.h"
#include "Levels/TestLevel.h"
#include "World/Grid2D.h"

namespace
{

const char* const kManifestFile = "Assets/Assets.tsm";
const char* const kTestRunFile = "tmp.bin";
const char* const kTestRunLevel = "tmp";
const char* const kMenuLevel = "Main Menu";

// Tile ids up to this paint floor and walls; below kFirstEventId, objects.
const int kLastFloorId = 8;
const int kFirstEventId = 50;

// Palette: three columns of 50-unit buttons on a 55-unit pitch, right of the map.
const int kPaletteColumns = 3;
const float kPaletteLeft = 475.0f;
const float kPalettePitch = 55.0f;
const float kPaletteButtonSize = 50.0f;
// Painting stops this far right of the screen centre, where the palette begins.
const float kPaintLimitX = 430.0f;
// Zoomed tiles stay strictly between these sizes.
const float kMinTileSize = 10.0f;
const float kMaxTileSize = 100.0f;

// A cell coordinate truncated toward zero, kept inside int for far-off points.
int CellOf(float value)
{
  return static_cast<int>(fmaxf(-1.0e9f, fminf(value, 1.0e9f)));
}

void PlaceButton(Button2D* button, float x, float y, float width, float height)
{
  // The labels are placed for the size the button has before it is resized.
  button->SetPosition(x, y);
  button->width = width;
  button->height = height;
}

} // namespace

Editor::Editor()
{
  name = "Level Editor";
  CreateTilemap(gridSize, Grid2D::kTileSize);
  tilemap->AddLayer("OBJECTS");
  tilemap->AddLayer("EVENTS");

  LoadAssets(kManifestFile);
  selectedTile = 1;
  paletteCount = static_cast<int>(tileTextures.size());

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
  paletteHidden = true;
  currentLayer = 0;

  BuildPalette();
  shiftHeld = false;
  dragging = false;
  AddFileButtons();
  AddLabels();
}

void Editor::BuildPalette()
{
  palette.clear();
  if (tileTextures.empty())
    return;

  // Rows go upwards from a base that keeps the palette roughly centred on the screen.
  const float base = -27.5f * static_cast<float>(paletteCount / kPaletteColumns - 1);
  const int lastId = tileTextures.rbegin()->first;
  int column = 0;
  int row = 1;
  for (int id = 0; id <= lastId; ++id)
  {
    auto found = tileTextures.find(id);
    if (found == tileTextures.end() || !found->second)
      continue;

    char buttonName[16];
    snprintf(buttonName, sizeof(buttonName), "%u", static_cast<unsigned>(id));
    auto button = std::make_unique<Button2D>(buttonName, found->second->path);
    button->tooltip->SetText("ID " + std::to_string(id));
    PlaceButton(button.get(), camera->position.x + kPaletteLeft + kPalettePitch * column,
                camera->position.y + base + kPalettePitch * row, kPaletteButtonSize,
                kPaletteButtonSize);
    palette[id] = camera->AddButton(std::move(button));

    if (column < kPaletteColumns - 1)
    {
      ++column;
    }
    else
    {
      column = 0;
      ++row;
    }
  }
}

void Editor::AddFileButtons()
{
  const Color4 black = {0.0f, 0.0f, 0.0f, 1.0f};
  auto save = std::make_unique<Button2D>("Savelevel");
  PlaceButton(save.get(), camera->position.x + 530.0f, camera->position.y - 250.0f, 180.0f, 50.0f);
  save->textColor = black;
  saveButton = camera->AddButton(std::move(save));

  auto load = std::make_unique<Button2D>("Loadlevel");
  PlaceButton(load.get(), camera->position.x + 530.0f, camera->position.y - 310.0f, 180.0f, 50.0f);
  load->textColor = black;
  loadButton = camera->AddButton(std::move(load));
}

void Editor::AddLabels()
{
  const float x = camera->position.x - 620.0f;
  const float y = camera->position.y;
  layerLabel = camera->AddText(tilemap->GetLayerName(currentLayer), x, y + 330.0f);
  camera->AddText("GRID SIZE", x, y + 300.0f);
  char text[32];
  snprintf(text, sizeof(text), "X : %d", static_cast<int>(gridSize.x));
  camera->AddText(text, x, y + 280.0f);
  snprintf(text, sizeof(text), "Y : %d", static_cast<int>(gridSize.y));
  camera->AddText(text, x, y + 260.0f);
}

void Editor::Unload()
{
  palette.clear();
  saveButton = nullptr;
  loadButton = nullptr;
  layerLabel = nullptr;
}

void Editor::Update(const float& dt)
{
  // Shown, not counted: a display counter raised every frame would never hide again.
  VNInputSetCursorVisible(1);
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

  Zoom(dt);

  if (VNInputCheckTriggered(VN_KEY_F8))
  {
    TestRun();
    return;
  }

  if (hovered >= 0 && fromCentre <= kPaintLimitX && !VNInputCheckCurr(VN_KEY_SPACE))
    Paint(hovered);
  shiftHeld = VNInputCheckCurr(VN_KEY_LSHIFT) || VNInputCheckCurr(VN_KEY_RSHIFT);

  if (layerLabel)
    layerLabel->SetText(tilemap->GetLayerName(currentLayer));

  if (VNInputCheckTriggered(VN_KEY_TAB))
    TogglePalette();

  if (saveButton && saveButton->IsClicked())
    SaveLevel();
  if (loadButton && loadButton->IsClicked())
    OpenLevel();

  if (VNInputCheckReleased(VN_KEY_ESCAPE))
    LevelManager::Instance()->ChangeLevel(kMenuLevel);
}

void Editor::Zoom(const float& dt)
{
  if (camera->wheelImpulse == 0.0f)
    return;
  const float change = dt * camera->wheelImpulse;
  const float size = tilemap->tileWidth + change;
  // The grid itself ignores changes under 2 units, so slow wheel motion does nothing.
  if (kMinTileSize < size && size < kMaxTileSize)
    tilemap->ResizeTile(size, tilemap->tileHeight + change);
}

void Editor::Paint(int cell)
{
  const std::string layer = tilemap->GetLayerName(currentLayer);
  if (VNInputCheckCurr(VN_KEY_LBUTTON))
    tilemap->SetTile(layer, cell, selectedTile);
  else if (VNInputCheckCurr(VN_KEY_RBUTTON))
    tilemap->SetTile(layer, cell, 0);
}

void Editor::TogglePalette()
{
  paletteHidden = !paletteHidden;
  for (auto& [id, button] : palette)
    button->hidden = paletteHidden;
}

void Editor::TestRun()
{
  LevelManager* manager = LevelManager::Instance();
  auto previous = manager->levels.find(kTestRunLevel);
  if (previous != manager->levels.end())
  {
    delete previous->second;
    manager->levels.erase(previous);
  }

  // Playing an older tmp.bin would show a map other than the one being edited.
  if (!tilemap->SaveTMX(kTestRunFile))
  {
    printf("Level Editor: test run cancelled, the map could not be written to %s\n", kTestRunFile);
    fflush(stdout);
    return;
  }
  manager->AddLevel(new TestLevel(kTestRunFile));
  manager->ChangeLevel(kTestRunLevel);
}

void Editor::Draw()
{
  tilemap->DrawGridLines();
  tilemap->DrawLayer(currentLayer);
  DrawCursor();
  selectionSprite->Draw(VN_GFX_MESH_LINE_STRIP);
}

void Editor::DrawCursor()
{
  if (!cursorMesh)
    return;
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);

  const VNVec2 cursor = camera->CursorInWorld();
  const float wx = cursor.x;
  const float wy = cursor.y;
  const bool leftHeld = VNInputCheckCurr(VN_KEY_LBUTTON);

  if (VNInputCheckTriggered(VN_KEY_LBUTTON))
  {
    selectionSprite->hidden = false;
    selectionSprite->position = {wx, wy};
    selectionSprite->width = 0.0f;
    selectionSprite->height = 0.0f;
    selectionSprite->meshBuilt = false;
    dragStart = {wx, -wy};
    const VNVec2 cell = tilemap->WorldToGrid(wx, wy);
    dragStartCell = {static_cast<float>(CellOf(cell.x)), static_cast<float>(CellOf(cell.y))};
  }

  if (shiftHeld && leftHeld)
  {
    // The rectangle runs from the press point to the cursor.
    selectionSprite->width = wx - dragStart.x;
    selectionSprite->height = wy + dragStart.y;
    selectionSprite->position = {wx - selectionSprite->width / 2.0f,
                                 wy - selectionSprite->height / 2.0f};
    selectionSprite->meshBuilt = false;
    dragging = true;
  }
  else if (!leftHeld && !shiftHeld && dragging && selectedTile >= 0)
  {
    FillSelection(wx, wy);
  }

  auto texture = tileTextures.find(selectedTile);
  VNGfxTextureSet(texture == tileTextures.end() ? nullptr : texture->second, 0.0f, 0.0f);
  VNGfxSetPosition(wx, wy);
  VNGfxSetTransparency(1.0f);
  VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
  VNGfxMeshDraw(cursorMesh, VN_GFX_MESH_TRIANGLES);
}

void Editor::FillSelection(float wx, float wy)
{
  selectionSprite->hidden = true;
  const VNVec2 end = tilemap->WorldToGrid(wx, wy);
  const int endCol = CellOf(end.x);
  const int endRow = CellOf(end.y);
  const int startCol = static_cast<int>(dragStartCell.x);
  const int startRow = static_cast<int>(dragStartCell.y);

  // The fill never reaches past the first gridSize columns and rows, whatever the size
  // of an opened map; the loops stop there rather than walk cells they would skip.
  const int firstCol = std::min(startCol, endCol);
  const int firstRow = std::min(startRow, endRow);
  const int lastCol = std::min(std::max(startCol, endCol), static_cast<int>(gridSize.x) - 1);
  const int lastRow = std::min(std::max(startRow, endRow), static_cast<int>(gridSize.y) - 1);
  const std::string layer = tilemap->GetLayerName(currentLayer);
  for (int col = firstCol; col <= lastCol; ++col)
  {
    for (int row = firstRow; row <= lastRow; ++row)
      tilemap->SetTileAt(layer, col, row, selectedTile);
  }
  dragging = false;
}
