#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "Editor/EditHistory.h"
#include "Framework/Level.h"

class Button2D;
class Sprite2D;
struct TextLabel;

// The tile level editor. It paints the tile id chosen on the palette into the layer that
// id belongs to: the left button paints, the right one erases, Shift with a left drag
// fills a rectangle, F flood-fills the area under the cursor. Ctrl+Z undoes, Ctrl+Y and
// Ctrl+Shift+Z redo; 1, 2 and 3 show or hide the layers; the wheel zooms about the
// cursor, Space with a left drag scrolls, Tab shows or hides the palette, F1 or ? the
// help. F8 checks the map and plays it; F8 again (or MENU) comes back. Escape leaves.
// The grid and its history outlive every visit: leaving and coming back shows the same map.
class Editor : public Level
{
public:
  static constexpr int kLayerCount = 3;
  // Wheel zoom: tile size change per notch, and the sizes the zoom keeps strictly within.
  static constexpr float kZoomStep = 5.0f;
  static constexpr float kMinTileSize = 10.0f;
  static constexpr float kMaxTileSize = 100.0f;

  Editor();
  ~Editor() override;

  // Builds the palette, the file buttons and the labels.
  void Load() override;
  // Forgets the palette and the file buttons; the camera deletes them.
  void Unload() override;
  void Update(const float& dt) override;
  // The shown layers, those not being edited dimmed.
  void DrawTilemap() override;
  // Grid lines, the cursor, the fill rectangle, the panels under the help and messages.
  void Draw() override;

  // The selected tile's image at the cursor.
  void DrawCursor();

  // Writes the grid to a file chosen in the save dialog, with the tileset Tiled needs
  // beside it; a map that fails the checks is saved with a warning.
  void SaveLevel();
  // Replaces the grid by a file chosen in the open dialog.
  void OpenLevel();
  // Replaces the grid by the level file, as one step of the history; a file that cannot
  // be read leaves it as it was.
  void LoadLevel(std::string fileName);

  // The layer a palette id belongs to: floor and walls, objects, or event markers.
  static int LayerForTile(int id);
  // The palette's name of a tile: its image's file name without folder and extension,
  // underscores as spaces.
  static std::string TileName(const std::string& imagePath);

  int selectedTile = 1;
  int currentLayer = 0;
  // The open grid's size, in cells; the labels show it.
  VNVec2 gridSize = {50.0f, 50.0f};
  bool paletteHidden = false;
  bool layerShown[kLayerCount] = {true, true, true};
  bool helpShown = false;
  // The last check or file message on screen, and how long it stays.
  std::string message;
  float messageTime = 0.0f;
  EditHistory history;
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
  // EditorPalette.cpp
  void BuildPalette();
  void TogglePalette();
  void AddFileButtons();
  void AddLabels();
  void UpdateLabels();

  // EditorPaint.cpp: every change to the grid goes through the history.
  // The left button paints the selected tile into the cell, the right one erases it.
  void Paint(int cell);
  // The fill rectangle: started by a left press, dragged with Shift and the button held,
  // filled once both are up.
  void UpdateSelection();
  // Fills the rectangle of cells from the drag start to (endCol, endRow).
  void FillSelection(int endCol, int endRow);
  // Fills the 4-connected area of the cell's id on the current layer with the selected tile.
  void FloodFill(int cell);
  void Undo();
  void Redo();

  // EditorView.cpp
  // One notch of the wheel is one step of kZoomStep; the world point under the cursor stays.
  void Zoom();
  void ToggleLayer(int layer);
  // Shows a line on screen for a few seconds; Say prints it too.
  void Show(const std::string& text);
  void Say(const std::string& text);

  // Editor.cpp
  // Undo, redo, the layer keys, Tab and the help.
  void HandleKeys();
  // Checks the map and plays it as the level "tmp", replacing an earlier one; a map that
  // fails the checks or does not read back is refused with a message.
  void TestRun();

  // Owned by the camera: the grid size, the layer view, the cell under the cursor, the
  // message and the help lines.
  TextLabel* sizeLabelX = nullptr;
  TextLabel* sizeLabelY = nullptr;
  TextLabel* viewLabel = nullptr;
  TextLabel* cellLabel = nullptr;
  TextLabel* messageLabel = nullptr;
  std::vector<TextLabel*> helpLabels;
  // The light panels under the help and the message.
  VNGfxVertexList* helpPanel = nullptr;
  VNGfxVertexList* messagePanel = nullptr;
  // Where the view was when a test run started; Load goes back there after it.
  VNVec2 testRunView = {0.0f, 0.0f};
  bool returningFromTestRun = false;
};
