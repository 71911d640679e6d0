/*
 * The editor's changes to the grid: painting and erasing strokes, the rectangle fill, the
 * flood fill, undo and redo. Every change goes through the history, one step per stroke
 * or fill.
 */
#include "Editor/Editor.h"

#include <math.h>

#include <algorithm>

#include "Framework/Camera.h"
#include "Framework/Sprite2D.h"
#include "World/Grid2D.h"

namespace
{
// A cell coordinate truncated toward zero, kept inside int for far-off points.
int CellOf(float value)
{
  return static_cast<int>(fmaxf(-1.0e9f, fminf(value, 1.0e9f)));
}
} // namespace

void Editor::Paint(int cell)
{
  if (VNInputCheckCurr(VN_KEY_LBUTTON))
    history.SetCell(*tilemap, currentLayer, cell, selectedTile);
  else if (VNInputCheckCurr(VN_KEY_RBUTTON))
    history.SetCell(*tilemap, currentLayer, cell, 0);
}

void Editor::UpdateSelection()
{
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
    const VNVec2 end = tilemap->WorldToGrid(wx, wy);
    FillSelection(CellOf(end.x), CellOf(end.y));
  }
}

void Editor::FillSelection(int endCol, int endRow)
{
  selectionSprite->hidden = true;
  dragging = false;
  const int startCol = static_cast<int>(dragStartCell.x);
  const int startRow = static_cast<int>(dragStartCell.y);
  // The loops stop at the grid's edges rather than walk cells they would skip.
  const int firstCol = std::max(0, std::min(startCol, endCol));
  const int firstRow = std::max(0, std::min(startRow, endRow));
  const int lastCol = std::min(std::max(startCol, endCol), tilemap->width - 1);
  const int lastRow = std::min(std::max(startRow, endRow), tilemap->height - 1);
  history.Begin();
  for (int col = firstCol; col <= lastCol; ++col)
  {
    for (int row = firstRow; row <= lastRow; ++row)
      history.SetCell(*tilemap, currentLayer, row * tilemap->width + col, selectedTile);
  }
  history.End();
}

void Editor::FloodFill(int cell)
{
  const std::string layer = tilemap->GetLayerName(currentLayer);
  auto found = tilemap->layers.find(layer);
  if (found == tilemap->layers.end() || cell >= static_cast<int>(found->second.size()))
    return;
  const std::vector<int>& cells = found->second;
  const int target = cells[cell];
  if (target == selectedTile)
    return;

  const int width = tilemap->width;
  const int count = static_cast<int>(cells.size());
  // Filled cells no longer hold the target id, so none is visited twice.
  std::vector<int> pending = {cell};
  history.Begin();
  while (!pending.empty())
  {
    const int at = pending.back();
    pending.pop_back();
    if (cells[at] != target)
      continue;
    history.SetCell(*tilemap, currentLayer, at, selectedTile);
    const int col = at % width;
    if (col > 0)
      pending.push_back(at - 1);
    if (col < width - 1)
      pending.push_back(at + 1);
    if (at >= width)
      pending.push_back(at - width);
    if (at + width < count)
      pending.push_back(at + width);
  }
  history.End();
}

void Editor::Undo()
{
  if (!history.Undo(tilemap))
    Say("Nothing to undo");
  UpdateLabels();
}

void Editor::Redo()
{
  if (!history.Redo(tilemap))
    Say("Nothing to redo");
  UpdateLabels();
}
