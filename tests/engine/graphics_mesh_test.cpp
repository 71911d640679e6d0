// Meshes under a real GL context: the buffers a closed mesh holds, staging rules, the
// staging limit, draw modes, Color against Texture drawing, the immediate line and
// packed-colour interpolation.
#include "CapturedOutput.h"
#include "graphics_pixels.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{

// Every test starts and ends with an empty staging area.
class MeshTest : public GfxTest
{
protected:
  void SetUp() override
  {
    GfxTest::SetUp();
    VNGfxReset();
  }
  void TearDown() override
  {
    VNGfxReset();
    GfxTest::TearDown();
  }
};

// The first `floats` values of a GL buffer, whose size must be exactly that.
std::vector<float> BufferContents(unsigned int buffer, size_t floats)
{
  std::vector<float> data(floats);
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glGetBufferSubData(GL_ARRAY_BUFFER, 0, floats * sizeof(float), data.data());
  GLint size = 0;
  glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  EXPECT_EQ(GLint(floats * sizeof(float)), size);
  return data;
}

TEST_F(MeshTest, ClosedQuadHoldsPositionsColoursAndCoordinatesInOrder)
{
  VNGfxMeshStart();
  VNGfxTriAdd(1, 2, 0xFF00FF00, 0.0f, 0.5f, 3, 4, 0x80FF0000, 1.0f, 0.25f, 5, 6, 0x000000FF, 0.75f,
              1.0f);
  VNGfxTriAdd(7, 8, 0xFF00FF00, 0, 0, 9, 10, 0xFF00FF00, 0, 0, 11, 12, 0xFF00FF00, 0, 0);
  VNGfxVertexList* list = VNGfxMeshEnd();
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(6u, list->vertexCount);

  // Positions x, y, 0; colours r, g, b, a from 0xAARRGGBB; texture coordinates u, v.
  std::vector<float> positions = BufferContents(list->buffers[0], 18);
  EXPECT_EQ(12.0f, positions[16]) << "the second triangle follows";
  positions.resize(9);
  EXPECT_EQ((std::vector<float>{1, 2, 0, 3, 4, 0, 5, 6, 0}), positions);
  std::vector<float> colours = BufferContents(list->buffers[1], 24);
  colours.resize(12);
  EXPECT_EQ((std::vector<float>{0, 1, 0, 1, 1, 0, 0, 128.0f / 255.0f, 0, 0, 1, 0}), colours);
  std::vector<float> coordinates = BufferContents(list->buffers[2], 12);
  coordinates.resize(6);
  EXPECT_EQ((std::vector<float>{0.0f, 0.5f, 1.0f, 0.25f, 0.75f, 1.0f}), coordinates);
  VNGfxMeshFree(list);
}

TEST_F(MeshTest, StagingSurvivesMeshStartButNotResetOrMeshEnd)
{
  VNGfxVertexAdd(0, 0, 0xFFFFFFFF, 0, 0);
  VNGfxVertexAdd(1, 0, 0xFFFFFFFF, 0, 0);
  VNGfxMeshStart();
  VNGfxVertexAdd(2, 0, 0xFFFFFFFF, 0, 0);
  VNGfxVertexList* first = VNGfxMeshEnd();
  EXPECT_EQ(3u, first->vertexCount);

  VNGfxVertexList* empty = VNGfxMeshEnd();
  EXPECT_EQ(0u, empty->vertexCount);

  VNGfxVertexAdd(0, 0, 0xFFFFFFFF, 0, 0);
  VNGfxReset();
  VNGfxMeshStart();
  VNGfxVertexAdd(5, 5, 0xFFFFFFFF, 0, 0);
  VNGfxVertexList* second = VNGfxMeshEnd();
  EXPECT_EQ(1u, second->vertexCount);
  EXPECT_FLOAT_EQ(5.0f, BufferContents(second->buffers[0], 3)[0]);

  // An empty mesh draws nothing and leaves no error.
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxMeshDraw(empty, VN_GFX_MESH_TRIANGLES);
  EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
  EXPECT_EQ(kWhite, ReadPixel(640, 360));

  VNGfxMeshFree(first);
  VNGfxMeshFree(empty);
  VNGfxMeshFree(second);
  VNGfxMeshFree(nullptr);
}

TEST_F(MeshTest, StagingAreaRefusesVerticesPastItsSizeWithOneLine)
{
  for (int i = 0; i < VN_GFX_MESH_MAX_VERTICES - 2; ++i)
    VNGfxVertexAdd((float)i, 0, 0xFF000000, 0, 0);

  // Two places left: a triangle does not fit and is refused whole; -3 and -4 are refused.
  const std::string out = StdoutOf(
      []
      {
        VNGfxTriAdd(0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0);
        for (int i = 1; i <= 4; ++i)
          VNGfxVertexAdd(float(-i), 0, 0xFF000000, 0, 0);
      });
  EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n')) << out;
  EXPECT_NE(std::string::npos, out.find("24576")) << out;

  VNGfxVertexList* full = VNGfxMeshEnd();
  ASSERT_EQ(uint32_t(VN_GFX_MESH_MAX_VERTICES), full->vertexCount);
  std::vector<float> positions = BufferContents(full->buffers[0], 3 * VN_GFX_MESH_MAX_VERTICES);
  EXPECT_FLOAT_EQ(-2.0f, positions[3 * (VN_GFX_MESH_MAX_VERTICES - 1)]);
  VNGfxMeshFree(full);

  // The area is usable again once the mesh is closed.
  VNGfxVertexAdd(1, 1, 0, 0, 0);
  VNGfxVertexList* next = VNGfxMeshEnd();
  EXPECT_EQ(1u, next->vertexCount);
  VNGfxMeshFree(next);
}

TEST_F(MeshTest, InvalidDrawModeIsReportedAndDrawsNothing)
{
  VNGfxVertexList* quad = MakeQuad(-50, -50, 50, 50, 0xFF000000);
  BeginFrame(VN_GFX_RENDER_COLOR);
  EXPECT_EQ("Mesh Draw Mode 4 is invalid!\nMesh Draw Mode 4294967295 is invalid!\n",
            StdoutOf(
                [&]
                {
                  VNGfxMeshDraw(quad, 4);
                  VNGfxMeshDraw(quad, -1);
                }));
  EXPECT_EQ(kWhite, ReadPixel(640, 360));

  // In render mode None there is no program: nothing drawn, no error left behind.
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
  VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
  EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
  EXPECT_EQ(kWhite, ReadPixel(640, 360));
  VNGfxMeshFree(quad);
}

TEST_F(MeshTest, SameMeshShowsVertexColoursOrTheBoundTexture)
{
  // Red left, green right in vertex colours; the texture is a single blue texel.
  VNGfxMeshStart();
  VNGfxTriAdd(-100, -50, 0xFFFF0000, 0, 1, 100, -50, 0xFF00FF00, 1, 1, 100, 50, 0xFF00FF00, 1, 0);
  VNGfxTriAdd(-100, -50, 0xFFFF0000, 0, 1, 100, 50, 0xFF00FF00, 1, 0, -100, 50, 0xFFFF0000, 0, 0);
  VNGfxVertexList* quad = VNGfxMeshEnd();
  const unsigned char blue[] = {0, 0, 255, 255};
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(blue, 1, 1);

  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
  Rgba left = ReadPixel(545, 360);
  Rgba right = ReadPixel(735, 360);
  EXPECT_GT(left.r, 230);
  EXPECT_LT(left.g, 25);
  EXPECT_GT(right.g, 230);
  EXPECT_LT(right.r, 25);

  BeginFrame(VN_GFX_RENDER_TEXTURE);
  VNGfxTextureSet(texture, 0, 0);
  VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
  EXPECT_EQ(kBlue, ReadPixel(545, 360));
  EXPECT_EQ(kBlue, ReadPixel(735, 360));

  VNGfxTextureSet(nullptr, 0, 0);
  VNGfxTextureUnload(texture);
  VNGfxMeshFree(quad);
}

TEST_F(MeshTest, PointAndLineModesDrawTheirPrimitives)
{
  VNGfxMeshStart();
  VNGfxVertexAdd(-200.5f, 0.5f, 0xFF000000, 0, 0);
  VNGfxVertexAdd(-100.5f, 0.5f, 0xFF000000, 0, 0);
  VNGfxVertexAdd(-100.5f, 100.5f, 0xFF000000, 0, 0);
  VNGfxVertexList* path = VNGfxMeshEnd();

  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxMeshDraw(path, VN_GFX_MESH_POINTS);
  EXPECT_EQ(kBlack, ReadPixel(PixelX(-200.5f), PixelY(0.5f)));
  EXPECT_EQ(kWhite, ReadPixel(PixelX(-150.5f), PixelY(0.5f)));

  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxMeshDraw(path, VN_GFX_MESH_LINES);
  EXPECT_EQ(kBlack, ReadPixel(PixelX(-150.5f), PixelY(0.5f)));
  EXPECT_EQ(kWhite, ReadPixel(PixelX(-100.5f), PixelY(50.5f)));

  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxMeshDraw(path, VN_GFX_MESH_LINE_STRIP);
  EXPECT_EQ(kBlack, ReadPixel(PixelX(-150.5f), PixelY(0.5f)));
  EXPECT_EQ(kBlack, ReadPixel(PixelX(-100.5f), PixelY(50.5f)));
  VNGfxMeshFree(path);
}

TEST_F(MeshTest, ImmediateLineDrawsOnlyInColourMode)
{
  BeginFrame(VN_GFX_RENDER_COLOR);
  VNGfxLine(-300.5f, -20.5f, 0, 1, 0, 0, 1, 300.5f, -20.5f, 0, 1, 0, 0, 1);
  EXPECT_EQ(kRed, ReadPixel(PixelX(0.5f), PixelY(-20.5f)));
  EXPECT_EQ(kWhite, ReadPixel(PixelX(0.5f), PixelY(-25.5f)));

  BeginFrame(VN_GFX_RENDER_TEXTURE);
  VNGfxLine(-300.5f, -20.5f, 0, 1, 0, 0, 1, 300.5f, -20.5f, 0, 1, 0, 0, 1);
  EXPECT_EQ(kWhite, ReadPixel(PixelX(0.5f), PixelY(-20.5f)));
}

TEST(ColInterp, TruncatesEachChannelAndClampsT)
{
  EXPECT_EQ(0xFF7F7F7Fu, VNGfxColInterp(0xFF000000, 0xFFFFFFFF, 0.5f));
  EXPECT_EQ(0xFF808080u, VNGfxColInterp(0xFFFFFFFF, 0xFF000000, 0.5f));
  EXPECT_EQ(0x12345678u, VNGfxColInterp(0x12345678, 0x9ABCDEF0, -1.0f));
  EXPECT_EQ(0x9ABCDEF0u, VNGfxColInterp(0x12345678, 0x9ABCDEF0, 2.0f));
  // Channels move independently: alpha up, red down, green and blue still.
  EXPECT_EQ(0x7FC01020u, VNGfxColInterp(0x00FF1020, 0xFF801020, 0.5f));
}

} // namespace
