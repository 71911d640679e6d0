#pragma once

#include <stddef.h>

#include <deque>
#include <memory>
#include <vector>

class Grid2D;

// The editor's undo and redo. A step is either a set of cell changes (one stroke, one
// rectangle fill, one flood fill) or the replacement of the whole grid by an opened file.
// Steps are undone newest first; a new step forgets what could be redone.
class EditHistory
{
public:
  // Up to kMaxSteps steps are kept. The oldest also go when the cells all steps hold pass
  // kMaxStoredCells, so that fills of a huge map cannot exhaust memory; that many cells
  // hold thousands of fills of a 50 x 50 map.
  static constexpr size_t kMaxSteps = 400;
  static constexpr size_t kMaxStoredCells = 16u * 1000u * 1000u;

  EditHistory() = default;
  ~EditHistory();
  EditHistory(const EditHistory&) = delete;
  EditHistory& operator=(const EditHistory&) = delete;

  // Sets a cell of the layer at a position of grid.layerNames and records the change in
  // the open step (a step of its own when none is open). Unchanged cells record nothing.
  void SetCell(Grid2D& grid, int layer, int cell, int value);
  // Changes between Begin and End form one step; an empty step is dropped.
  void Begin();
  void End();
  bool Open() const { return open; }
  // Records that `grid` replaced `previous`, taking ownership of the previous grid.
  void GridReplaced(Grid2D* previous);
  // Undoes or redoes one step on the grid, which a replaced-grid step swaps; false when
  // there is nothing to undo or redo.
  bool Undo(Grid2D*& grid);
  bool Redo(Grid2D*& grid);
  size_t UndoCount() const { return done.size(); }
  size_t RedoCount() const { return undone.size(); }

private:
  struct CellChange
  {
    int layer;
    int cell;
    int before;
    int after;
  };
  struct Step
  {
    std::vector<CellChange> cells;
    // The grid on the other side of a replacement; null for a cell step.
    std::unique_ptr<Grid2D> other;
    size_t Size() const;
  };

  void Push(Step step);
  // Applies a step in one direction and moves it to the other list.
  static void Apply(Step& step, Grid2D*& grid, bool forward);
  void Trim();

  std::deque<Step> done;
  std::deque<Step> undone;
  Step pending;
  bool open = false;
  size_t storedCells = 0;
};
