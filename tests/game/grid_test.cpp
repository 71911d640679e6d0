// The tile grid: layers and cells, coordinates and picking, walkability, and drawing
// checked on read-back pixels.
#include <string>

#include <gtest/gtest.h>

#include "../engine/graphics_pixels.h"
#include "Framework/Camera.h"
#include "TestWindow.h"
#include "World/Grid2D.h"

namespace
{

class GridTest : public testing::Test
{
protected:
  void SetUp() override { EnsureTestWindow(); }
};

// Sets every cell of a layer to value.
void Fill(Grid2D& grid, const std::string& layer, int value)
{
  for (int cell = 0; cell < grid.width * grid.height; ++cell)
    grid.SetTile(layer, cell, value);
}

} // namespace

TEST_F(GridTest, StartsWithOneBackgroundLayerAndResizesOnlyBeyondTwoUnits)
{
  testing::internal::CaptureStdout();
  {
    Grid2D grid(4, 3);
    ASSERT_EQ(std::vector<std::string>{"BACKGROUND"}, grid.layerNames);
    EXPECT_EQ(std::vector<int>(12, 0), grid.layers["BACKGROUND"]);
    ASSERT_NE(nullptr, grid.tileMesh);
    grid.ResizeTile(51.0f, 51.0f);
    EXPECT_FLOAT_EQ(50.0f, grid.tileWidth);
    EXPECT_FLOAT_EQ(50.0f, grid.tileHeight);
    grid.ResizeTile(52.0f, 50.0f);
    EXPECT_FLOAT_EQ(52.0f, grid.tileWidth);
    EXPECT_FLOAT_EQ(50.0f, grid.tileHeight);
    grid.events.push_back(new EventRecord{"SPAWN", 1.0f, 2.0f, 0});
  }
  EXPECT_EQ("Grid2D destroy\n", testing::internal::GetCapturedStdout());
}

TEST_F(GridTest, LayersAndCellsIgnoreWhatTheGridDoesNotHave)
{
  Grid2D grid(3, 2);
  grid.SetTile("BACKGROUND", 4, 7);
  grid.AddLayer("OBJECTS");
  grid.AddLayer("BACKGROUND");
  EXPECT_EQ((std::vector<std::string>{"BACKGROUND", "OBJECTS"}), grid.layerNames);
  EXPECT_EQ(7, grid.layers["BACKGROUND"][4]) << "adding an existing layer keeps its cells";
  EXPECT_EQ("OBJECTS", grid.GetLayerName(1));
  EXPECT_EQ("", grid.GetLayerName(2));
  EXPECT_EQ("", grid.GetLayerName(-1));

  grid.SetTile("OBJECTS", 6, 1);
  grid.SetTile("OBJECTS", -1, 1);
  grid.SetTile("objects", 0, 1);
  grid.SetTileAt("OBJECTS", 3, 0, 1);
  grid.SetTileAt("OBJECTS", -1, 1, 1);
  grid.SetTileAt("OBJECTS", 0, 2, 1);
  EXPECT_EQ(std::vector<int>(6, 0), grid.layers["OBJECTS"]) << "no write outside the grid wraps";
  grid.SetTileAt("OBJECTS", 2, 1, 9);
  EXPECT_EQ(9, grid.layers["OBJECTS"][5]);
}

TEST_F(GridTest, WorldToGridClampsAndGivesFractionalCells)
{
  Grid2D grid(10, 8);
  // World point, then the cell it falls in; y has no lower bound.
  const VNVec2 cases[][2] = {{{100.0f, 300.0f}, {2.5f, 2.5f}},
                             {{9999.0f, 0.0f}, {9.5f, 8.5f}},
                             {{-30.0f, 9999.0f}, {0.5f, 0.5f}},
                             {{20.0f, -100.0f}, {0.9f, 10.5f}}};
  for (const auto& [world, expected] : cases)
  {
    const VNVec2 cell = grid.WorldToGrid(world.x, world.y);
    EXPECT_FLOAT_EQ(expected.x, cell.x) << world.x << ", " << world.y;
    EXPECT_FLOAT_EQ(expected.y, cell.y) << world.x << ", " << world.y;
  }
}

TEST_F(GridTest, PickCellFindsTheCellUnderTheCursor)
{
  Grid2D grid(50, 50);
  Camera* camera = Camera::Instance();
  camera->viewSize = {1280.0f, 720.0f};
  camera->mouse = {640.0f, 360.0f};
  camera->position = {0.0f, 2500.0f};
  EXPECT_EQ(0, grid.PickCell()) << "centre of the top-left cell";
  camera->position = {2450.0f, 50.0f};
  EXPECT_EQ(2499, grid.PickCell()) << "centre of the bottom-right cell";
  EXPECT_EQ(2499, grid.hoveredCell);

  camera->position = {0.0f, 0.0f};
  camera->mouse = {640.0f + 150.0f + 24.0f, 360.0f - 100.0f - 24.0f};
  EXPECT_EQ(48 * 50 + 3, grid.PickCell());
  camera->mouse = {640.0f - 26.0f, 360.0f - 100.0f};
  EXPECT_EQ(-1, grid.PickCell()) << "left of the map";
  EXPECT_EQ(-1, grid.hoveredCell);
  camera->mouse = {640.0f, 360.0f - 24.0f};
  EXPECT_EQ(-1, grid.PickCell()) << "below the map";
  camera->position = {0.0f, 2525.0f};
  camera->mouse = {640.0f, 360.0f - 1.0f};
  EXPECT_EQ(-1, grid.PickCell()) << "above the map";
  Camera::Destroy();
}

TEST_F(GridTest, WalkableCellsHaveALowFloorAndNoObject)
{
  Grid2D grid(3, 3);
  grid.AddLayer("OBJECTS");
  Fill(grid, "BACKGROUND", 1);
  grid.walkableLimit = 2;
  EXPECT_TRUE(grid.IsWalkable(1, 1));
  EXPECT_TRUE(grid.IsWalkable(2, 2));
  EXPECT_FALSE(grid.IsWalkable(1, 0)) << "the top row is never walkable";
  EXPECT_FALSE(grid.IsWalkable(3, 1));
  EXPECT_FALSE(grid.IsWalkable(-1, 1));
  EXPECT_FALSE(grid.IsWalkable(1, 3));
  grid.SetTileAt("OBJECTS", 1, 1, 1);
  EXPECT_FALSE(grid.IsWalkable(1, 1));
  grid.SetTileAt("OBJECTS", 1, 1, 0);
  grid.SetTileAt("BACKGROUND", 1, 1, 3);
  EXPECT_FALSE(grid.IsWalkable(1, 1));
  grid.SetTileAt("BACKGROUND", 1, 1, 0);
  EXPECT_TRUE(grid.IsWalkable(1, 1)) << "an empty floor cell is walkable";
  grid.SetTileAt("BACKGROUND", 1, 1, -1);
  EXPECT_FALSE(grid.IsWalkable(1, 1));

  // Cell (2, 2) is centred at world (100, 50) and reaches 25 units to each side.
  EXPECT_TRUE(grid.IsWalkableAt(100.0f, 50.0f));
  EXPECT_TRUE(grid.IsWalkableAt(124.0f, 26.0f));
  EXPECT_FALSE(grid.IsWalkableAt(126.0f, 50.0f));
  EXPECT_FALSE(grid.IsWalkableAt(100.0f, 24.0f));
  EXPECT_FALSE(grid.IsWalkableAt(50.0f, 126.0f)) << "top row";
  EXPECT_FALSE(grid.IsWalkableAt(1.0e30f, -1.0e30f));

  Grid2D oneLayer(3, 3);
  oneLayer.walkableLimit = 5;
  EXPECT_FALSE(oneLayer.IsWalkable(1, 1)) << "a grid of one layer has no walkable cell";
  EXPECT_FALSE(oneLayer.IsWalkableAt(50.0f, 50.0f));
}

class GridDrawTest : public GridTest
{
protected:
  void SetUp() override
  {
    GridTest::SetUp();
    static const unsigned char white[4] = {255, 255, 255, 255};
    texture = VNGfxTextureLoadFromMemory(white, 1, 1);
    grid.AddLayer("OBJECTS");
    Fill(grid, "BACKGROUND", 1);
    grid.SetTextures({{1, texture}});
    VNGfxSetCamPosition(0.0f, 0.0f);
    BeginFrame(VN_GFX_RENDER_COLOR, 0.0f, 0.0f, 0.0f);
  }
  void TearDown() override { VNGfxTextureUnload(texture); }

  // Pixel of the centre of the cell at column col and tile row y (camera at the origin).
  Rgba Cell(int col, int y) { return ReadPixel(PixelX(col * 50.0f), PixelY(y * 50.0f)); }

  Grid2D grid{20, 10};
  VNGfxTexture* texture = nullptr;
  const Rgba white{255, 255, 255, 255};
  const Rgba black{0, 0, 0, 255};
};

TEST_F(GridDrawTest, DrawsTheCellsInsideTheViewWithAMarginTintedWithTheGridColour)
{
  grid.DrawLayer(-1);
  grid.DrawLayer(2);
  grid.DrawLayer(1);
  EXPECT_RGB_NEAR(black, Cell(1, 1), 2) << "bad indices and an empty layer draw nothing";

  grid.DrawLayer(0);
  EXPECT_RGB_NEAR(white, Cell(0, 1), 2);
  EXPECT_RGB_NEAR(white, Cell(12, 7), 2);
  // Column 13 and tile row 7 are only partly on screen and still drawn.
  EXPECT_RGB_NEAR(white, ReadPixel(1279, PixelY(50.0f)), 2);
  EXPECT_RGB_NEAR(white, ReadPixel(PixelX(0.0f), 719), 2);
  EXPECT_RGB_NEAR(black, ReadPixel(PixelX(-30.0f), PixelY(50.0f)), 2); // left of the map
  EXPECT_RGB_NEAR(black, ReadPixel(PixelX(0.0f), PixelY(20.0f)), 2);   // below the map

  grid.color[0] = 0.0f;
  grid.color[2] = 0.0f;
  grid.DrawLayer(0);
  EXPECT_RGB_NEAR((Rgba{0, 255, 0, 255}), Cell(1, 1), 2);
}

TEST_F(GridDrawTest, CullsToTheVisibleWorldRectangle)
{
  // A visible rectangle of 400 x 400 units around the origin: columns 0 to 4 and tile
  // rows 1 to 4 are in range, although the screen shows more.
  gVNWinMinX = -200.0f;
  gVNWinMaxX = 200.0f;
  gVNWinMinY = -200.0f;
  gVNWinMaxY = 200.0f;
  grid.SetTileAt("BACKGROUND", 2, 10 - 3, 0);
  grid.SetTileAt("BACKGROUND", 3, 10 - 3, -1);
  grid.hoveredCell = (10 - 2) * 20 + 1;
  grid.DrawLayer(0);
  VNGfxSetCamPosition(0.0f, 0.0f);

  EXPECT_RGB_NEAR(white, Cell(0, 1), 2);
  EXPECT_RGB_NEAR(white, Cell(4, 4), 2);
  EXPECT_RGB_NEAR(black, Cell(5, 1), 2);                  // column 5 lies outside the range
  EXPECT_RGB_NEAR(black, Cell(0, 5), 2);                  // tile row 5 lies outside the range
  EXPECT_RGB_NEAR((Rgba{255, 0, 0, 255}), Cell(1, 2), 2); // the hovered cell is tinted red
  EXPECT_RGB_NEAR(black, Cell(2, 3), 2);                  // id 0 is not drawn
  EXPECT_RGB_NEAR(black, Cell(3, 3), 2);                  // negative ids are not drawn
}

TEST_F(GridDrawTest, GridLinesOutlineEveryCell)
{
  grid.DrawGridLines();
  // The left edge of column 0 lies at x = -25, the bottom edge of tile row 1 at y = 25.
  auto litNear = [](int x, int y)
  {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (ReadPixel(x + dx, y + dy).r > 200)
          return true;
    return false;
  };
  EXPECT_TRUE(litNear(PixelX(-25.0f), PixelY(50.0f)));
  EXPECT_TRUE(litNear(PixelX(0.0f), PixelY(25.0f)));
  EXPECT_TRUE(litNear(PixelX(125.0f), PixelY(300.0f)));
  EXPECT_RGB_NEAR(black, Cell(1, 1), 2); // the inside of a cell stays empty
}
