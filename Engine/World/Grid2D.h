#pragma once

#include <stdint.h>

#include <list>
#include <map>
#include <string>
#include <vector>

#include "Vorn.h"
#include "World/EventRecord.h"

// A level's map: width x height square cells on named layers of integer tile ids.
// Cell (col, row) is index row * width + col; row 0 is the top row. The centre of a cell
// lies at world (col * tileWidth, (height - row) * tileHeight); tile coordinates are
// (col, height - row). Layer 0 holds floor and walls, layer 1 objects, and a layer named
// "EVENTS" the event codes (50 key card, 101 start, 102 exit, 103 + pattern co-worker).
class Grid2D
{
public:
  // The cell size, in world units, of every new or loaded grid (the editor's zoom aside).
  static constexpr float kTileSize = 50.0f;

  // An empty grid of 50-unit cells with the one layer "BACKGROUND".
  Grid2D(const int& columns, const int& rows);
  // A grid read from a level file; 0 x 0 with no layers when the file is refused.
  explicit Grid2D(std::string fileName);
  ~Grid2D();

  Grid2D(const Grid2D&) = delete;
  Grid2D& operator=(const Grid2D&) = delete;

  // Rebuilds the cell mesh; changes under 2 units in both sizes are ignored.
  void ResizeTile(float width, float height);
  // Appends a zero-filled layer; an existing name keeps its cells.
  void AddLayer(std::string name);
  // The name at a position of layerNames, or "" outside it.
  std::string GetLayerName(int index) const;
  // Unknown layers and cells outside the grid are ignored. Change cells through these two
  // (not through layers directly) so that paths and drawing see the change.
  void SetTile(std::string layer, int cell, int value);
  void SetTileAt(std::string layer, int col, int row, int value);
  void SetTextures(std::map<int, VNGfxTexture*> textures);

  // The cell under the camera's cursor (also kept in hoveredCell), -1 for none.
  int PickCell();
  // Fractional (col, row) of a world point; truncate for the cell.
  VNVec2 WorldToGrid(float x, float y) const;
  // Floor of layer 0 within 0..walkableLimit and nothing on layer 1. The top row,
  // cells outside the grid and grids of fewer than two layers are never walkable.
  bool IsWalkable(const int& col, const int& row) const;
  bool IsWalkableAt(float x, float y) const;
  // A* over 8 neighbours between two world points: steps cost 10 straight and 25
  // diagonal, h counts cells to the goal along the axes, the open cell of least f goes
  // next (the earliest opened among equals), and an open cell takes a new parent only for
  // a smaller f. The path runs from the start cell to the goal cell in tile coordinates;
  // empty when both are one cell or no path exists.
  std::list<VNVec2> FindPath(VNVec2 from, VNVec2 to);

  // Draws the cells of one layer inside the visible world rectangle; the hovered cell red.
  void DrawLayer(int index) const;
  // Outlines every cell inside the visible world rectangle in white.
  void DrawGridLines() const;

  // Replaces the grid's size, layers and events with a level file's; refused files
  // leave it 0 x 0 with no layers and no events.
  void LoadTMX(std::string fileName);
  // Writes the grid as a level file with 50-unit tiles, whatever the zoom. On failure prints one line, leaves any previous
  // file untouched and returns false.
  bool SaveTMX(std::string fileName) const;

  float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  // Not owned: the level's tileTextures and the texture cache own them.
  std::map<int, VNGfxTexture*> textures;
  std::map<std::string, std::vector<int>> layers;
  // Layer order for drawing, writing and walkability.
  std::vector<std::string> layerNames;
  int width = 0;
  int height = 0;
  float tileWidth = 0.0f;
  float tileHeight = 0.0f;
  VNGfxVertexList* tileMesh = nullptr;
  int hoveredCell = -1;
  // Highest floor id actors may walk on; set from the asset manifest.
  int walkableLimit = 0;
  // Owned, in file order.
  std::vector<EventRecord*> events;

private:
  // A square block of one layer's cells drawn from one mesh, its quads grouped by tile id.
  struct TileRun
  {
    int id;
    uint32_t firstVertex;
    uint32_t vertexCount;
  };
  struct TileChunk
  {
    VNGfxVertexList* mesh = nullptr;
    // The ids and tile size the mesh was built from, to notice a change.
    std::vector<int> ids;
    float builtTileWidth = 0.0f;
    float builtTileHeight = 0.0f;
    std::vector<TileRun> runs;
    // The cell (row by row within the block) of each quad, in vertex order.
    std::vector<int32_t> quadCell;
  };
  // Cells [col0, col1) x [row0, row1) are in view.
  struct CellRange
  {
    int col0, col1, row0, row1;
  };
  // Search state of one cell, valid while its stamp is the running search's.
  struct PathCell
  {
    uint32_t stamp;
    bool closed;
    int g;
    int f;
    int parent;     // a cell index, or kFromStart
    uint32_t order; // when the cell was first opened: ties go to the earliest
    int heapSlot;
  };

  // The id of a cell on the layer at a position of layerNames; -1 outside the grid.
  int CellValue(int layerIndex, int col, int row) const;
  void ClearEvents();
  void RebuildWalkable();
  bool OpensBefore(int a, int b) const;
  void SiftUp(int slot);
  void SiftDown(int slot);
  void Expand(int col, int row, int g, int from, int goalCol, int goalRow);
  void DrawChunk(const std::vector<int>& cells, TileChunk& chunk, int chunkCol, int chunkRow,
                 const CellRange& view) const;
  CellRange VisibleCells() const;
  void BuildChunk(const std::vector<int>& cells, TileChunk& chunk, int chunkCol,
                  int chunkRow) const;
  bool ChunkCurrent(const std::vector<int>& cells, const TileChunk& chunk, int chunkCol,
                    int chunkRow) const;
  void FreeChunks() const;

  // 1 where IsWalkable holds, by cell; rebuilt when stale, kept by SetTile.
  std::vector<uint8_t> walkable;
  bool walkableStale = true;
  int walkableLimitBuilt = 0;
  int walkableWidth = 0;
  int walkableHeight = 0;
  // Per-cell search state and the open cells as a binary heap, reused from search to search.
  std::vector<PathCell> pathCells;
  std::vector<int> openHeap;
  uint32_t searchStamp = 0;
  uint32_t openCount = 0;
  // Meshes of each layer's blocks by layer name, made as they come into view.
  mutable std::map<std::string, std::vector<TileChunk>> chunks;
  mutable int chunkColumns = 0;
  mutable int chunkRows = 0;
};

// A white quad of two triangles centred on (0, 0), reaching halfWidth and halfHeight to
// each side, with its texture upright. Null when the mesh could not be made; the caller
// frees it.
VNGfxVertexList* BuildCentredQuad(float halfWidth, float halfHeight);
