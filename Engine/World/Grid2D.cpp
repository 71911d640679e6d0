/*
 * Grid2D: a level's tile map. Named layers of tile ids over one rectangle of cells,
 * walkability for the actors, A* paths for the co-workers, picking and drawing for the
 * editor and the levels. Reading and writing go through the level file module.
 */
#include "World/Grid2D.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

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

// Appends node at the tail of a list given by its head.
void Append(PathNode*& head, PathNode* node)
{
  node->next = nullptr;
  node->prev = nullptr;
  if (!head)
  {
    head = node;
    return;
  }
  PathNode* tail = head;
  while (tail->next)
    tail = tail->next;
  tail->next = node;
  node->prev = tail;
}

void Unlink(PathNode*& head, PathNode* node)
{
  if (node->prev)
    node->prev->next = node->next;
  else
    head = node->next;
  if (node->next)
    node->next->prev = node->prev;
  node->next = nullptr;
  node->prev = nullptr;
}

PathNode* Find(PathNode* head, int col, int row)
{
  for (PathNode* node = head; node; node = node->next)
    if (node->col == col && node->row == row)
      return node;
  return nullptr;
}

void DeleteList(PathNode*& head)
{
  while (head)
  {
    PathNode* next = head->next;
    delete head;
    head = next;
  }
}

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
  VNGfxMeshFree(tileMesh);
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

std::list<VNVec2> Grid2D::FindPath(VNVec2 from, VNVec2 to)
{
  std::list<VNVec2> path;
  openList = nullptr;
  closedList = nullptr;

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

  PathNode* current = new PathNode();
  current->col = startCol;
  current->row = startRow;
  Append(openList, current);
  while (openList)
  {
    PathNode* next = ExpandNode(current, goalCol, goalRow);
    if (!next)
      break;
    if (next->col == goalCol && next->row == goalRow)
    {
      for (PathNode* node = next; node; node = node->parent)
      {
        VNVec2 point = {static_cast<float>(node->col), static_cast<float>(height - node->row)};
        path.push_front(point);
      }
      break;
    }
    current = next;
  }

  DeleteList(openList);
  DeleteList(closedList);
  return path;
}

PathNode* Grid2D::ExpandNode(PathNode* current, int goalCol, int goalRow)
{
  for (int dx = -1; dx <= 1; ++dx)
  {
    for (int dy = -1; dy <= 1; ++dy)
    {
      if (dx == 0 && dy == 0)
        continue;
      int col = current->col + dx;
      int row = current->row + dy;
      if (!IsWalkable(col, row) || Find(closedList, col, row))
        continue;
      int g = current->g + (dx != 0 && dy != 0 ? kDiagonalStepCost : kStraightStepCost);
      int h = abs(col - goalCol) + abs(row - goalRow);
      int f = g + h;
      PathNode* open = Find(openList, col, row);
      if (open)
      {
        if (open->f > f)
        {
          open->f = f;
          open->g = g;
          open->h = h;
          open->parent = current;
        }
        continue;
      }
      PathNode* node = new PathNode();
      node->col = col;
      node->row = row;
      node->g = g;
      node->h = h;
      node->f = f;
      node->parent = current;
      Append(openList, node);
    }
  }

  Unlink(openList, current);
  Append(closedList, current);

  PathNode* best = nullptr;
  for (PathNode* node = openList; node; node = node->next)
    if (!best || node->f < best->f)
      best = node;
  return best;
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

  // The visible world rectangle in tiles, widened by a margin so that cells cut by the
  // edges are drawn too.
  int c0 = VisibleBound(gVNWinMinX / tileWidth, -0.5f, width);
  int c1 = VisibleBound(gVNWinMaxX / tileWidth, 1.5f, width);
  int y0 = VisibleBound(gVNWinMinY / tileHeight, -0.5f, height);
  int y1 = VisibleBound(gVNWinMaxY / tileHeight, 0.5f, height);

  for (int row = height - y1; row < height - y0; ++row)
  {
    for (int col = c0; col < c1; ++col)
    {
      int cell = row * width + col;
      int id = cells[cell];
      if (id <= 0)
        continue;
      auto texture = textures.find(id);
      VNGfxTextureSet(texture == textures.end() ? nullptr : texture->second, 0.0f, 0.0f);
      VNGfxSetPosition(col * tileWidth, height * tileHeight - row * tileHeight);
      if (cell == hoveredCell)
        VNGfxSetTintColor(1.0f, 0.0f, 0.0f, 1.0f);
      else
        VNGfxSetTintColor(color[0], color[1], color[2], color[3]);
      VNGfxMeshDraw(tileMesh, VN_GFX_MESH_TRIANGLES);
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
  for (int row = 0; row < height; ++row)
  {
    for (int col = 0; col < width; ++col)
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
  layers.clear();
  layerNames.clear();
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
