/*
 * Grid2D: a level's tile map. Named layers of tile ids over one rectangle of cells,
 * walkability for the actors, A* paths for the co-workers, picking and drawing for the
 * editor and the levels. Reading and writing go through the level file module.
 */
#include "World/Grid2D.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <utility>

#include "Framework/Assert.h"
#include "Framework/Camera.h"
#include "World/LevelFile.h"

namespace
{

const int kStraightStepCost = 10;
const int kDiagonalStepCost = 25;

// Truncates a cell coordinate toward zero. Anything at or beyond -1 (and NaN) becomes
// -1 and anything huge a large column, so far-away points land outside the grid
// instead of overflowing an int.
int TruncateCell(float value)
{
  if (!(value > -1.0f))
    return -1;
  if (value > 1.0e9f)
    return 1000000000;
  return static_cast<int>(value);
}

// Parent of the cells opened from the start, which may lie outside the grid.
const int kFromStart = -2;
// Blocks of cells drawn from one mesh are this many cells on a side; a full block is
// 6144 vertices, within what one mesh may hold.
const int kChunkSize = 32;
// Built blocks kept per layer; beyond this, blocks out of view are freed after a draw.
const size_t kMaxKeptChunks = 64;

// One bound of the drawn range: 0 below the map, else value + margin, at most limit.
int VisibleBound(float value, float margin, int limit)
{
  if (value < 0.0f)
    return 0;
  return static_cast<int>(fminf(value + margin, static_cast<float>(limit)));
}

} // namespace

VNGfxVertexList* BuildCentredQuad(float halfWidth, float halfHeight)
{
  const float a = halfWidth;
  const float b = halfHeight;
  const uint32_t white = 0xFFFFFFFF;
  VNGfxMeshStart();
  VNGfxTriAdd(-a, -b, white, 0.0f, 1.0f, -a, b, white, 0.0f, 0.0f, a, b, white, 1.0f, 0.0f);
  VNGfxTriAdd(a, b, white, 1.0f, 0.0f, a, -b, white, 1.0f, 1.0f, -a, -b, white, 0.0f, 1.0f);
  return VNGfxMeshEnd();
}

Grid2D::Grid2D(const int& columns, const int& rows)
{
  ResizeTile(kTileSize, kTileSize);
  width = columns > 0 ? columns : 0;
  height = rows > 0 ? rows : 0;
  AddLayer("BACKGROUND");
}

Grid2D::Grid2D(std::string fileName)
{
  LoadTMX(std::move(fileName));
}

Grid2D::~Grid2D()
{
  printf("Grid2D destroy\n");
  fflush(stdout);
  ClearEvents();
  FreeChunks();
  VNGfxMeshFree(tileMesh);
}

void Grid2D::FreeChunks() const
{
  for (auto& [name, layerChunks] : chunks)
    for (TileChunk& chunk : layerChunks)
      VNGfxMeshFree(chunk.mesh);
  chunks.clear();
}

void Grid2D::ClearEvents()
{
  for (EventRecord* record : events)
    delete record;
  events.clear();
}

void Grid2D::ResizeTile(float newWidth, float newHeight)
{
  if (fabsf(tileWidth - newWidth) < 2.0f && fabsf(tileHeight - newHeight) < 2.0f)
    return;
  tileWidth = newWidth;
  tileHeight = newHeight;

  VNGfxMeshFree(tileMesh);
  tileMesh = BuildCentredQuad(newWidth / 2.0f, newHeight / 2.0f);
  if (!tileMesh)
    AssertReport::Fail("vertices", 485, "Grid2D::ResizeTile", "Engine\\Grid2D",
                       "Failed to Create Tile");
}

void Grid2D::AddLayer(std::string name)
{
  if (layers.count(name))
    return;
  size_t cells = width > 0 && height > 0 ? static_cast<size_t>(width) * height : 0;
  layers[name] = std::vector<int>(cells, 0);
  layerNames.push_back(std::move(name));
  walkableStale = true;
}

std::string Grid2D::GetLayerName(int index) const
{
  if (index < 0 || index >= static_cast<int>(layerNames.size()))
    return "";
  return layerNames[index];
}

void Grid2D::SetTile(std::string layer, int cell, int value)
{
  auto found = layers.find(layer);
  if (found == layers.end() || cell < 0 || cell >= static_cast<int>(found->second.size()))
    return;
  found->second[cell] = value;
  const bool walkLayer =
      layerNames.size() >= 2 && (layer == layerNames[0] || layer == layerNames[1]);
  if (walkLayer && !walkableStale && static_cast<size_t>(cell) < walkable.size())
    walkable[cell] = IsWalkable(cell % width, cell / width) ? 1 : 0;
}

void Grid2D::SetTileAt(std::string layer, int col, int row, int value)
{
  if (col < 0 || col >= width || row < 0 || row >= height)
    return;
  SetTile(std::move(layer), row * width + col, value);
}

void Grid2D::SetTextures(std::map<int, VNGfxTexture*> newTextures)
{
  textures = std::move(newTextures);
}

int Grid2D::PickCell()
{
  hoveredCell = -1;
  const Camera* camera = Camera::Instance();
  const VNVec2 cursor = camera->CursorInWorld();
  int col = TruncateCell(floorf((cursor.x + tileWidth / 2.0f) / tileWidth));
  int r = TruncateCell(floorf((cursor.y - tileHeight / 2.0f) / tileHeight));
  if (col >= 0 && col < width && r >= 0 && r < height)
    hoveredCell = (height - 1 - r) * width + col;
  return hoveredCell;
}

VNVec2 Grid2D::WorldToGrid(float x, float y) const
{
  if (x >= width * tileWidth)
    x = (width - 1) * tileWidth;
  else if (x <= 0.0f)
    x = 0.0f;
  if (y >= height * tileHeight)
    y = height * tileHeight;
  VNVec2 cell = {x / tileWidth + 0.5f, (height * tileHeight - y) / tileHeight + 0.5f};
  return cell;
}

bool Grid2D::IsWalkable(const int& col, const int& row) const
{
  // Row 0 counts as outside: the top row is never walkable.
  if (row == 0)
    return false;
  int floor = CellValue(0, col, row);
  int object = CellValue(1, col, row);
  return floor >= 0 && floor <= walkableLimit && object == 0;
}

int Grid2D::CellValue(int layerIndex, int col, int row) const
{
  if (layerIndex >= static_cast<int>(layerNames.size()) || col < 0 || col >= width || row < 0 ||
      row >= height)
    return -1;
  const std::vector<int>& cells = layers.find(layerNames[layerIndex])->second;
  size_t cell = static_cast<size_t>(row) * width + col;
  return cell < cells.size() ? cells[cell] : -1;
}

bool Grid2D::IsWalkableAt(float x, float y) const
{
  int col = TruncateCell(floorf(x / tileWidth + 0.5f));
  int row = TruncateCell((height * tileHeight - y) / tileHeight + 0.5f);
  return IsWalkable(col, row);
}

void Grid2D::RebuildWalkable()
{
  const size_t cellCount = width > 0 && height > 0 ? static_cast<size_t>(width) * height : 0;
  walkable.assign(cellCount, 0);
  if (layerNames.size() >= 2)
  {
    const std::vector<int>& floors = layers.find(layerNames[0])->second;
    const std::vector<int>& objects = layers.find(layerNames[1])->second;
    // The top row is never walkable.
    for (size_t cell = width; cell < cellCount && cell < floors.size() && cell < objects.size();
         ++cell)
      walkable[cell] = floors[cell] >= 0 && floors[cell] <= walkableLimit && objects[cell] == 0;
  }
  walkableStale = false;
  walkableLimitBuilt = walkableLimit;
  walkableWidth = width;
  walkableHeight = height;
}

bool Grid2D::OpensBefore(int a, int b) const
{
  const PathCell& x = pathCells[a];
  const PathCell& y = pathCells[b];
  return x.f < y.f || (x.f == y.f && x.order < y.order);
}

void Grid2D::SiftUp(int slot)
{
  const int cell = openHeap[slot];
  while (slot > 0)
  {
    const int parent = (slot - 1) / 2;
    if (!OpensBefore(cell, openHeap[parent]))
      break;
    openHeap[slot] = openHeap[parent];
    pathCells[openHeap[slot]].heapSlot = slot;
    slot = parent;
  }
  openHeap[slot] = cell;
  pathCells[cell].heapSlot = slot;
}

void Grid2D::SiftDown(int slot)
{
  const int count = static_cast<int>(openHeap.size());
  const int cell = openHeap[slot];
  for (;;)
  {
    int child = 2 * slot + 1;
    if (child >= count)
      break;
    if (child + 1 < count && OpensBefore(openHeap[child + 1], openHeap[child]))
      ++child;
    if (!OpensBefore(openHeap[child], cell))
      break;
    openHeap[slot] = openHeap[child];
    pathCells[openHeap[slot]].heapSlot = slot;
    slot = child;
  }
  openHeap[slot] = cell;
  pathCells[cell].heapSlot = slot;
}

// Opens or improves the eight neighbours of the cell at (col, row), reached at cost g;
// from is that cell's index (kFromStart for the start).
void Grid2D::Expand(int col, int row, int g, int from, int goalCol, int goalRow)
{
  for (int dx = -1; dx <= 1; ++dx)
  {
    for (int dy = -1; dy <= 1; ++dy)
    {
      if (dx == 0 && dy == 0)
        continue;
      const int c = col + dx;
      const int r = row + dy;
      if (c < 0 || c >= width || r < 0 || r >= height)
        continue;
      const int cell = r * width + c;
      if (!walkable[cell])
        continue;
      PathCell& node = pathCells[cell];
      const bool seen = node.stamp == searchStamp;
      if (seen && node.closed)
        continue;
      const int cost = g + (dx != 0 && dy != 0 ? kDiagonalStepCost : kStraightStepCost);
      const int f = cost + abs(c - goalCol) + abs(r - goalRow);
      if (seen)
      {
        if (node.f > f)
        {
          node.f = f;
          node.g = cost;
          node.parent = from;
          SiftUp(node.heapSlot);
        }
        continue;
      }
      node = PathCell{searchStamp, false, cost, f, from, openCount++, 0};
      openHeap.push_back(cell);
      SiftUp(static_cast<int>(openHeap.size()) - 1);
    }
  }
}

std::list<VNVec2> Grid2D::FindPath(VNVec2 from, VNVec2 to)
{
  std::list<VNVec2> path;
  VNVec2 start = WorldToGrid(from.x, from.y);
  VNVec2 goal = WorldToGrid(to.x, to.y);
  int startCol = TruncateCell(start.x);
  int startRow = TruncateCell(start.y);
  int goalCol = TruncateCell(goal.x);
  int goalRow = TruncateCell(goal.y);
  // The start is closed before the goal is looked for, so a search from a cell to itself
  // would only exhaust the region and fail.
  if (startCol == goalCol && startRow == goalRow)
    return path;

  if (walkableStale || walkableLimitBuilt != walkableLimit || walkableWidth != width ||
      walkableHeight != height)
    RebuildWalkable();
  const size_t cellCount = walkable.size();
  if (pathCells.size() != cellCount)
  {
    pathCells.assign(cellCount, PathCell{0, false, 0, 0, 0, 0, 0});
    openHeap.reserve(cellCount);
  }
  if (++searchStamp == 0)
  {
    // After 2^32 searches the stamps wrap: forget every old one.
    for (PathCell& cell : pathCells)
      cell.stamp = 0;
    searchStamp = 1;
  }
  openHeap.clear();
  openCount = 0;

  const bool startInside = startCol >= 0 && startCol < width && startRow >= 0 && startRow < height;
  if (startInside)
    pathCells[startRow * width + startCol] = PathCell{searchStamp, true, 0, 0, kFromStart, 0, 0};
  Expand(startCol, startRow, 0, kFromStart, goalCol, goalRow);

  while (!openHeap.empty())
  {
    const int cell = openHeap.front();
    openHeap.front() = openHeap.back();
    openHeap.pop_back();
    if (!openHeap.empty())
      SiftDown(0);
    PathCell& node = pathCells[cell];
    node.closed = true;
    const int col = cell % width;
    const int row = cell / width;
    if (col == goalCol && row == goalRow)
    {
      for (int at = cell; at >= 0; at = pathCells[at].parent)
        path.push_front(
            VNVec2{static_cast<float>(at % width), static_cast<float>(height - at / width)});
      path.push_front(VNVec2{static_cast<float>(startCol), static_cast<float>(height - startRow)});
      break;
    }
    Expand(col, row, node.g, cell, goalCol, goalRow);
  }
  return path;
}

// Quads are grouped by id and, within an id, kept row by row, so that the cells of a run
// in view make few stretches of consecutive vertices.
void Grid2D::BuildChunk(const std::vector<int>& cells, TileChunk& chunk, int chunkCol,
                        int chunkRow) const
{
  const int col0 = chunkCol * kChunkSize;
  const int row0 = chunkRow * kChunkSize;
  const int cols = std::min(kChunkSize, width - col0);
  const int rows = std::min(kChunkSize, height - row0);
  chunk.ids.resize(static_cast<size_t>(cols) * rows);
  chunk.quadCell.clear();
  chunk.runs.clear();
  chunk.builtTileWidth = tileWidth;
  chunk.builtTileHeight = tileHeight;

  // Cells in block order, then sorted by id (stably): one run per id.
  std::vector<int> order;
  for (int r = 0; r < rows; ++r)
  {
    for (int c = 0; c < cols; ++c)
    {
      const int local = r * cols + c;
      chunk.ids[local] = cells[static_cast<size_t>(row0 + r) * width + col0 + c];
      if (chunk.ids[local] > 0)
        order.push_back(local);
    }
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return chunk.ids[a] < chunk.ids[b]; });

  VNGfxMeshFree(chunk.mesh);
  chunk.mesh = nullptr;
  if (order.empty())
    return;
  const float a = tileWidth / 2.0f;
  const float b = tileHeight / 2.0f;
  const uint32_t white = 0xFFFFFFFF;
  VNGfxMeshStart();
  uint32_t vertex = 0;
  for (int local : order)
  {
    const int id = chunk.ids[local];
    if (chunk.runs.empty() || chunk.runs.back().id != id)
      chunk.runs.push_back(TileRun{id, vertex, 0});
    const int col = col0 + local % cols;
    const int row = row0 + local / cols;
    const float x = col * tileWidth;
    const float y = height * tileHeight - row * tileHeight;
    // The quad of BuildCentredQuad, moved to the cell.
    VNGfxTriAdd(x - a, y - b, white, 0.0f, 1.0f, x - a, y + b, white, 0.0f, 0.0f, x + a, y + b,
                white, 1.0f, 0.0f);
    VNGfxTriAdd(x + a, y + b, white, 1.0f, 0.0f, x + a, y - b, white, 1.0f, 1.0f, x - a, y - b,
                white, 0.0f, 1.0f);
    chunk.quadCell.push_back(local);
    chunk.runs.back().vertexCount += 6;
    vertex += 6;
  }
  chunk.mesh = VNGfxMeshEnd();
}

bool Grid2D::ChunkCurrent(const std::vector<int>& cells, const TileChunk& chunk, int chunkCol,
                          int chunkRow) const
{
  const int col0 = chunkCol * kChunkSize;
  const int row0 = chunkRow * kChunkSize;
  const int cols = std::min(kChunkSize, width - col0);
  const int rows = std::min(kChunkSize, height - row0);
  if (chunk.ids.size() != static_cast<size_t>(cols) * rows || chunk.builtTileWidth != tileWidth ||
      chunk.builtTileHeight != tileHeight)
    return false;
  for (int r = 0; r < rows; ++r)
  {
    const int* current = &cells[static_cast<size_t>(row0 + r) * width + col0];
    if (!std::equal(current, current + cols, chunk.ids.begin() + static_cast<size_t>(r) * cols))
      return false;
  }
  return true;
}

// Draws the block's quads of cells in view, each run in as few stretches as the view
// allows; the hovered cell on its own, in red.
void Grid2D::DrawChunk(const std::vector<int>& cells, TileChunk& chunk, int chunkCol, int chunkRow,
                       const CellRange& view) const
{
  if (!ChunkCurrent(cells, chunk, chunkCol, chunkRow))
    BuildChunk(cells, chunk, chunkCol, chunkRow);
  if (!chunk.mesh)
    return;

  const int col0 = chunkCol * kChunkSize;
  const int row0 = chunkRow * kChunkSize;
  const int cols = std::min(kChunkSize, width - col0);
  auto drawQuads = [&](uint32_t first, uint32_t last)
  {
    if (last > first)
      VNGfxMeshDrawRange(chunk.mesh, VN_GFX_MESH_TRIANGLES, first * 6, (last - first) * 6);
  };
  for (const TileRun& run : chunk.runs)
  {
    auto texture = textures.find(run.id);
    VNGfxTextureSet(texture == textures.end() ? nullptr : texture->second, 0.0f, 0.0f);
    const uint32_t end = (run.firstVertex + run.vertexCount) / 6;
    uint32_t stretch = run.firstVertex / 6;
    for (uint32_t quad = stretch; quad < end; ++quad)
    {
      const int col = col0 + chunk.quadCell[quad] % cols;
      const int row = row0 + chunk.quadCell[quad] / cols;
      const bool inView =
          col >= view.col0 && col < view.col1 && row >= view.row0 && row < view.row1;
      const bool hovered = row * width + col == hoveredCell;
      if (inView && !hovered)
        continue;
      drawQuads(stretch, quad);
      stretch = quad + 1;
      if (inView)
      {
        VNGfxSetTintColor(1.0f, 0.0f, 0.0f, 1.0f);
        drawQuads(quad, quad + 1);
        VNGfxSetTintColor(color[0], color[1], color[2], color[3]);
      }
    }
    drawQuads(stretch, end);
  }
}

// The visible world rectangle in cells, widened by a margin so that cells cut by the
// edges are drawn too.
Grid2D::CellRange Grid2D::VisibleCells() const
{
  const int y0 = VisibleBound(gVNWinMinY / tileHeight, -0.5f, height);
  const int y1 = VisibleBound(gVNWinMaxY / tileHeight, 0.5f, height);
  return CellRange{VisibleBound(gVNWinMinX / tileWidth, -0.5f, width),
                   VisibleBound(gVNWinMaxX / tileWidth, 1.5f, width), height - y1, height - y0};
}

void Grid2D::DrawLayer(int index) const
{
  if (index < 0 || index >= static_cast<int>(layerNames.size()) || !tileMesh)
    return;
  const std::vector<int>& cells = layers.find(layerNames[index])->second;
  if (cells.size() < static_cast<size_t>(width) * static_cast<size_t>(height))
    return;
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
  VNGfxSetTransparency(1.0f);

  const CellRange view = VisibleCells();
  if (view.col0 >= view.col1 || view.row0 >= view.row1)
    return;

  const int columns = (width + kChunkSize - 1) / kChunkSize;
  const int rows = (height + kChunkSize - 1) / kChunkSize;
  if (columns != chunkColumns || rows != chunkRows)
  {
    FreeChunks();
    chunkColumns = columns;
    chunkRows = rows;
  }
  std::vector<TileChunk>& layerChunks = chunks[layerNames[index]];
  layerChunks.resize(static_cast<size_t>(columns) * rows);

  // Quads are placed in world units.
  VNGfxSetPosition(0.0f, 0.0f);
  VNGfxSetTintColor(color[0], color[1], color[2], color[3]);
  const int firstChunkCol = view.col0 / kChunkSize;
  const int lastChunkCol = (view.col1 - 1) / kChunkSize;
  const int firstChunkRow = view.row0 / kChunkSize;
  const int lastChunkRow = (view.row1 - 1) / kChunkSize;
  for (int chunkRow = firstChunkRow; chunkRow <= lastChunkRow; ++chunkRow)
    for (int chunkCol = firstChunkCol; chunkCol <= lastChunkCol; ++chunkCol)
      DrawChunk(cells, layerChunks[static_cast<size_t>(chunkRow) * columns + chunkCol], chunkCol,
                chunkRow, view);

  size_t built = 0;
  for (const TileChunk& chunk : layerChunks)
    built += chunk.ids.empty() ? 0 : 1;
  if (built <= kMaxKeptChunks)
    return;
  for (int chunkRow = 0; chunkRow < rows; ++chunkRow)
  {
    for (int chunkCol = 0; chunkCol < columns; ++chunkCol)
    {
      if (chunkRow >= firstChunkRow && chunkRow <= lastChunkRow && chunkCol >= firstChunkCol &&
          chunkCol <= lastChunkCol)
        continue;
      TileChunk& chunk = layerChunks[static_cast<size_t>(chunkRow) * columns + chunkCol];
      VNGfxMeshFree(chunk.mesh);
      chunk = TileChunk();
    }
  }
}

void Grid2D::DrawGridLines() const
{
  if (!tileMesh)
    return;
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxSetTransparency(1.0f);
  VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
  const CellRange view = VisibleCells();
  for (int row = view.row0; row < view.row1; ++row)
  {
    for (int col = view.col0; col < view.col1; ++col)
    {
      VNGfxSetPosition(col * tileWidth, height * tileHeight - row * tileHeight);
      VNGfxMeshDraw(tileMesh, VN_GFX_MESH_LINE_STRIP);
    }
  }
}

void Grid2D::LoadTMX(std::string fileName)
{
  color[0] = color[1] = color[2] = color[3] = 1.0f;
  ClearEvents();
  FreeChunks();
  layers.clear();
  layerNames.clear();
  walkableStale = true;
  width = 0;
  height = 0;
  // A loaded grid always has 50-unit tiles, whatever the file says.
  ResizeTile(kTileSize, kTileSize);

  LevelContent level;
  if (!ReadLevelFile(fileName, level))
    return;
  width = level.width;
  height = level.height;
  layerNames = std::move(level.layerNames);
  layers = std::move(level.layers);
  events.reserve(level.events.size());
  for (EventRecord& record : level.events)
    events.push_back(new EventRecord(std::move(record)));
}

bool Grid2D::SaveTMX(std::string fileName) const
{
  LevelContent level;
  level.width = width;
  level.height = height;
  // The zoom is the editor's view, not the map's: the file records the game's tile size.
  level.tileWidth = kTileSize;
  level.tileHeight = kTileSize;
  level.layerNames = layerNames;
  level.layers = layers;
  return WriteLevelFile(fileName, level);
}
