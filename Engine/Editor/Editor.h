#pragma once

#include <string>
#include <unordered_map>

#include "Framework/Level.h"

class Button2D;
class Sprite2D;
struct TextLabel;

// The tile level editor. It shows one layer of its grid at a time and paints the tile id
// chosen on the palette into cells: the left button paints, the right one erases, Shift
// with a left drag fills a rectangle. The wheel zooms, Space with a left drag scrolls,
// Tab shows or hides the palette, F8 plays the map as a gameplay level, Escape leaves.
// The grid outlives every visit: leaving and coming back shows the same map.
class Editor : public Level
{
public:
  Editor();
  ~Editor() override;

  // Builds the palette, the file buttons and the labels.
  void Load() override;
  // Forgets the palette and the file buttons; the camera deletes them.
  void Unload() override;
  void Update(const float& dt) override;
  // Grid lines, the edited layer, the cursor, the fill rectangle.
  void Draw() override;

  // The fill rectangle (started, dragged, committed) and the selected tile's image at
  // the cursor.
  void DrawCursor();

  // Writes the grid to a file chosen in the save dialog.
  void SaveLevel();
  // Replaces the grid by a file chosen in the open dialog.
  void OpenLevel();
  // Replaces the grid by the level file; a file that cannot be read leaves it as it was.
  void LoadLevel(std::string fileName);

  // The layer a palette id belongs to: floor and walls, objects, or event markers.
  static int LayerForTile(int id);

  int selectedTile = 1;
  int currentLayer = 0;
  // The size of a new map; also the bound of the rectangle fill and what the labels show.
  VNVec2 gridSize = {50.0f, 50.0f};
  // What Tab last applied to the palette buttons; they start visible whatever it says.
  bool paletteHidden = true;
  // Owned by the camera.
  TextLabel* layerLabel = nullptr;
  // Manifest entries when the editor was made; sets the palette's vertical place.
  int paletteCount = 0;
  bool shiftHeld = false;
  bool dragging = false;
  // World x of the drag start and its world y negated.
  VNVec2 dragStart = {0.0f, 0.0f};
  // Column and row of the drag start.
  VNVec2 dragStartCell = {0.0f, 0.0f};
  Sprite2D* selectionSprite = nullptr;
  VNGfxVertexList* cursorMesh = nullptr;
  // Palette buttons by tile id; the camera owns the buttons.
  std::unordered_map<int, Button2D*> palette;
  // Owned by the camera; null while the editor is not loaded.
  Button2D* saveButton = nullptr;
  Button2D* loadButton = nullptr;

private:
  void BuildPalette();
  void AddFileButtons();
  void AddLabels();
  void Zoom(const float& dt);
  // The left button paints the selected tile into the cell, the right one erases it.
  void Paint(int cell);
  void TogglePalette();
  // Saves the map as "tmp.bin" in the user's data folder and plays it as the level "tmp",
  // replacing an earlier one.
  void TestRun();
  // Fills the rectangle of cells from the drag start to the world point (wx, wy).
  void FillSelection(float wx, float wy);
};
