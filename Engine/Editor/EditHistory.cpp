/*
 * EditHistory: undo and redo for the editor. Cell steps keep each changed cell's value
 * before and after; a replaced grid is kept whole, swapped in and out as it is undone and
 * redone.
 */
#include "Editor/EditHistory.h"

#include <utility>

#include "World/Grid2D.h"

namespace
{
std::vector<int>* LayerCells(Grid2D& grid, int layer)
{
  if (layer < 0 || layer >= static_cast<int>(grid.layerNames.size()))
    return nullptr;
  auto found = grid.layers.find(grid.layerNames[layer]);
  return found == grid.layers.end() ? nullptr : &found->second;
}

size_t GridCells(const Grid2D& grid)
{
  size_t count = 0;
  for (const auto& [name, cells] : grid.layers)
    count += cells.size();
  return count;
}
} // namespace

EditHistory::~EditHistory() = default;

size_t EditHistory::Step::Size() const
{
  return cells.size() + (other ? GridCells(*other) : 0);
}

void EditHistory::SetCell(Grid2D& grid, int layer, int cell, int value)
{
  std::vector<int>* cells = LayerCells(grid, layer);
  if (!cells || cell < 0 || cell >= static_cast<int>(cells->size()) || (*cells)[cell] == value)
    return;
  pending.cells.push_back({layer, cell, (*cells)[cell], value});
  // Through the grid, so that its walkability for paths follows the edit.
  grid.SetTile(grid.layerNames[layer], cell, value);
  if (!open)
    End();
}

void EditHistory::Begin()
{
  End();
  open = true;
}

void EditHistory::End()
{
  open = false;
  if (pending.cells.empty())
    return;
  Push(std::move(pending));
  pending = Step();
}

void EditHistory::GridReplaced(Grid2D* previous)
{
  End();
  Step step;
  step.other.reset(previous);
  Push(std::move(step));
}

void EditHistory::Push(Step step)
{
  undone.clear();
  storedCells = 0;
  for (const Step& kept : done)
    storedCells += kept.Size();
  storedCells += step.Size();
  done.push_back(std::move(step));
  Trim();
}

void EditHistory::Trim()
{
  while (done.size() > kMaxSteps || (done.size() > 1 && storedCells > kMaxStoredCells))
  {
    storedCells -= done.front().Size();
    done.pop_front();
  }
}

void EditHistory::Apply(Step& step, Grid2D*& grid, bool forward)
{
  if (step.other)
  {
    Grid2D* previous = grid;
    grid = step.other.release();
    step.other.reset(previous);
    return;
  }
  // Undone in reverse order, so a cell changed twice in one stroke gets its first value.
  const size_t count = step.cells.size();
  for (size_t i = 0; i < count; ++i)
  {
    const CellChange& change = step.cells[forward ? i : count - 1 - i];
    if (LayerCells(*grid, change.layer))
      grid->SetTile(grid->layerNames[change.layer], change.cell,
                    forward ? change.after : change.before);
  }
}

bool EditHistory::Undo(Grid2D*& grid)
{
  End();
  if (done.empty() || !grid)
    return false;
  Step step = std::move(done.back());
  done.pop_back();
  Apply(step, grid, false);
  undone.push_back(std::move(step));
  return true;
}

bool EditHistory::Redo(Grid2D*& grid)
{
  End();
  if (undone.empty() || !grid)
    return false;
  Step step = std::move(undone.back());
  undone.pop_back();
  Apply(step, grid, true);
  done.push_back(std::move(step));
  return true;
}
