// Tile layers drawn from their block meshes give the picture of drawing every cell on its
// own, across block edges, with a half-transparent tile, the hovered cell and cells
// changed between frames.
#include <random>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "TestWindow.h"
#include "World/Grid2D.h"

namespace
{
std::vector<unsigned char> Frame()
{
  std::vector<unsigned char> pixels(1280 * 720 * 4);
  glFinish();
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, 1280, 720, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

void StartFrame()
{
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
  VNGfxSetBackgroundColor(0.0f, 0.0f, 0.0f);
  VNGfxStart();
}

// Every cell of the layer as its own quad, as tiles were once drawn.
void DrawCellByCell(const Grid2D& grid, const std::vector<int>& cells, VNGfxVertexList* quad)
{
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
  VNGfxSetTransparency(1.0f);
  for (int cell = 0; cell < grid.width * grid.height; ++cell)
  {
    if (cells[cell] <= 0)
      continue;
    auto texture = grid.textures.find(cells[cell]);
    VNGfxTextureSet(texture == grid.textures.end() ? nullptr : texture->second, 0.0f, 0.0f);
    const int col = cell % grid.width, row = cell / grid.width;
    VNGfxSetPosition(col * grid.tileWidth, (grid.height - row) * grid.tileHeight);
    if (cell == grid.hoveredCell)
      VNGfxSetTintColor(1.0f, 0.0f, 0.0f, 1.0f);
    else
      VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
    VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
  }
}
} // namespace

TEST(TileLayerDrawTest, BlockMeshesDrawTheSamePictureAsCellByCellAfterChanges)
{
  EnsureTestWindow();
  const unsigned char green[4] = {0, 200, 0, 255}, clear[4] = {250, 250, 250, 128};
  VNGfxTexture* textures[2] = {VNGfxTextureLoadFromMemory(green, 1, 1),
                               VNGfxTextureLoadFromMemory(clear, 1, 1)};
  Grid2D grid(70, 40);
  grid.SetTextures({{1, textures[0]}, {2, textures[1]}}); // id 3 has no texture
  std::mt19937 random(7);
  for (int cell = 0; cell < 70 * 40; ++cell)
    grid.SetTile("BACKGROUND", cell, int(random() % 4));
  VNGfxVertexList* quad = BuildCentredQuad(25.0f, 25.0f);
  // Views across the block edges at column 32 and row 32, then at the grid's corner.
  const VNVec2 cameras[] = {{1600.0f, 400.0f}, {1625.0f, 380.0f}, {0.0f, 0.0f}};
  for (int round = 0; round < 6; ++round)
  {
    const VNVec2 camera = cameras[round % 3];
    VNGfxSetCamPosition(camera.x, camera.y);
    grid.hoveredCell = round == 5 ? -1 : 33 * 70 + 30 + round;
    StartFrame();
    DrawCellByCell(grid, grid.layers["BACKGROUND"], quad);
    const std::vector<unsigned char> expected = Frame();
    StartFrame();
    grid.DrawLayer(0);
    ASSERT_TRUE(expected == Frame())
        << "round " << round << ", camera " << camera.x << ", " << camera.y;
    // Changes inside and outside the view, the hovered cell among them.
    for (int change = 0; change < 40; ++change)
      grid.SetTile("BACKGROUND", int(random() % (70 * 40)), int(random() % 4));
    grid.SetTile("BACKGROUND", grid.hoveredCell, 1 + round % 3);
  }
  VNGfxMeshFree(quad);
  VNGfxTextureUnload(textures[0]);
  VNGfxTextureUnload(textures[1]);
  VNGfxSetCamPosition(0.0f, 0.0f);
}
