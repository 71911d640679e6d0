/*
 * VNGfxMesh: meshes are staged vertex by vertex in one fixed area, closed into three GL
 * vertex buffers (positions, colours, texture coordinates) and drawn through the
 * current program as points, lines, a line strip or triangles. Also an immediate line
 * draw and packed-colour interpolation.
 */
#include "Graphics/VNGraphics.h"
#include "Graphics/VNGfxInternal.h"

#include <stdio.h>

#include <vector>

/* ---- State --------------------------------------------------------------------------- */

struct VNGfxStagedVertex
{
  float x, y, z;
  uint32_t color;
  float u, v;
};

struct VNGfxMeshState
{
  VNGfxStagedVertex vertices[VN_GFX_MESH_MAX_VERTICES];
  uint32_t count;
  /* The overflow line is printed once per mesh, not once per refused vertex. */
  int overflowReported;
};

static VNGfxMeshState sMesh;

/* ---- Staging --------------------------------------------------------------------------- */

/* True when `needed` more vertices fit; otherwise reports the first refusal. */
static bool RoomFor(uint32_t needed, const char* caller)
{
  if (sMesh.count + needed <= VN_GFX_MESH_MAX_VERTICES)
    return true;
  if (!sMesh.overflowReported)
  {
    printf("%s: the mesh already holds %u of %d vertices; further vertices are dropped\n", caller,
           sMesh.count, VN_GFX_MESH_MAX_VERTICES);
    sMesh.overflowReported = 1;
  }
  return false;
}

static void Stage(float x, float y, uint32_t color, float u, float v)
{
  sMesh.vertices[sMesh.count++] = VNGfxStagedVertex{x, y, 0.0f, color, u, v};
}

void VNGfxMeshStart(void)
{
  /* Nothing to do: a new mesh continues from whatever is staged. Only VNGfxMeshEnd and
     * VNGfxReset empty the staging area. */
}

void VNGfxTriAdd(float x0, float y0, uint32_t c0, float u0, float v0, float x1, float y1,
                 uint32_t c1, float u1, float v1, float x2, float y2, uint32_t c2, float u2,
                 float v2)
{
  /* A triangle goes in whole or not at all, so the mesh stays a list of triangles. */
  if (!RoomFor(3, __func__))
    return;
  Stage(x0, y0, c0, u0, v0);
  Stage(x1, y1, c1, u1, v1);
  Stage(x2, y2, c2, u2, v2);
}

void VNGfxVertexAdd(float x, float y, uint32_t color, float u, float v)
{
  if (!RoomFor(1, __func__))
    return;
  Stage(x, y, color, u, v);
}

void VNGfxReset(void)
{
  sMesh.count = 0;
  sMesh.overflowReported = 0;
}

/* ---- Vertex lists ----------------------------------------------------------------------- */

void VNGfxTriListInitialize(VNGfxVertexList* list)
{
  if (list)
    list->buffers = new unsigned int[3]();
}

static void Upload(GLuint buffer, const std::vector<float>& data)
{
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glBufferData(GL_ARRAY_BUFFER, data.size() * sizeof(float), data.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

VNGfxVertexList* VNGfxMeshEnd(void)
{
  VNGfxVertexList* list = new VNGfxVertexList();
  list->vertexCount = sMesh.count;
  VNGfxTriListInitialize(list);
  glGenBuffers(3, list->buffers);

  std::vector<float> positions;
  std::vector<float> colors;
  std::vector<float> texCoords;
  positions.reserve(sMesh.count * 3);
  colors.reserve(sMesh.count * 4);
  texCoords.reserve(sMesh.count * 2);
  for (uint32_t i = 0; i < sMesh.count; ++i)
  {
    const VNGfxStagedVertex& vertex = sMesh.vertices[i];
    positions.insert(positions.end(), {vertex.x, vertex.y, vertex.z});
    colors.insert(colors.end(),
                  {((vertex.color >> 16) & 0xFF) / 255.0f, ((vertex.color >> 8) & 0xFF) / 255.0f,
                   (vertex.color & 0xFF) / 255.0f, ((vertex.color >> 24) & 0xFF) / 255.0f});
    texCoords.insert(texCoords.end(), {vertex.u, vertex.v});
  }
  Upload(list->buffers[0], positions);
  Upload(list->buffers[1], colors);
  Upload(list->buffers[2], texCoords);
  CHECK_GL_ERROR();

  VNGfxReset();
  return list;
}

/* Points an attribute of the current program at a buffer of `components` floats per
 * vertex and enables it. Returns the location, or -1 when the program has no such
 * attribute. */
static GLint BindAttribute(VNGfxAttribute attribute, GLuint buffer, GLint components)
{
  GLint location = VNGfxAttributeLocation(attribute);
  if (location < 0)
    return -1;
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glEnableVertexAttribArray(location);
  glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 0, nullptr);
  return location;
}

void VNGfxMeshDraw(VNGfxVertexList* list, int mode)
{
  VNGfxMeshDrawRange(list, mode, 0, list ? list->vertexCount : 0);
}

void VNGfxMeshDrawRange(VNGfxVertexList* list, int mode, uint32_t first, uint32_t count)
{
  static const GLenum kPrimitives[] = {GL_POINTS, GL_LINES, GL_LINE_STRIP, GL_TRIANGLES};
  if (mode < VN_GFX_MESH_POINTS || mode > VN_GFX_MESH_TRIANGLES)
  {
    printf("Mesh Draw Mode %u is invalid!\n", (unsigned int)mode);
    return;
  }
  /* Without a program there is nothing to draw through; touching attributes of
     * program 0 would only leave GL errors behind. */
  if (!list || !list->buffers || VNGfxCurrentProgram() == 0)
    return;
  if (first >= list->vertexCount)
    return;
  if (count > list->vertexCount - first)
    count = list->vertexCount - first;

  GLint position = BindAttribute(VN_GFX_ATTRIBUTE_POSITION, list->buffers[0], 3);
  GLint extra = -1;
  if (VNGfxGetRenderMode() == VN_GFX_RENDER_COLOR)
    extra = BindAttribute(VN_GFX_ATTRIBUTE_COLOR, list->buffers[1], 4);
  else
    extra = BindAttribute(VN_GFX_ATTRIBUTE_TEXTURE_COORDINATE, list->buffers[2], 2);

  glDrawArrays(kPrimitives[mode], (GLint)first, (GLsizei)count);

  if (extra >= 0)
    glDisableVertexAttribArray(extra);
  if (position >= 0)
    glDisableVertexAttribArray(position);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void VNGfxMeshFree(VNGfxVertexList* list)
{
  if (!list)
    return;
  if (list->buffers)
    glDeleteBuffers(3, list->buffers);
  delete[] list->buffers;
  delete list;
}

/* ---- Immediate drawing and colours ------------------------------------------------------ */

void VNGfxLine(float x0, float y0, float z0, float r0, float g0, float b0, float a0, float x1,
               float y1, float z1, float r1, float g1, float b1, float a1)
{
  if (VNGfxGetRenderMode() != VN_GFX_RENDER_COLOR)
    return;
  const float positions[] = {x0, y0, z0, x1, y1, z1};
  const float colors[] = {r0, g0, b0, a0, r1, g1, b1, a1};
  GLint position = VNGfxAttributeLocation(VN_GFX_ATTRIBUTE_POSITION);
  GLint color = VNGfxAttributeLocation(VN_GFX_ATTRIBUTE_COLOR);
  if (position < 0 || color < 0)
    return;

  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glEnableVertexAttribArray(position);
  glVertexAttribPointer(position, 3, GL_FLOAT, GL_FALSE, 0, positions);
  glEnableVertexAttribArray(color);
  glVertexAttribPointer(color, 4, GL_FLOAT, GL_FALSE, 0, colors);
  glDrawArrays(GL_LINES, 0, 2);
  glDisableVertexAttribArray(color);
  glDisableVertexAttribArray(position);
}

uint32_t VNGfxColInterp(uint32_t c0, uint32_t c1, float t)
{
  if (t < 0.0f)
    t = 0.0f;
  if (t > 1.0f)
    t = 1.0f;
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8)
  {
    int from = (int)((c0 >> shift) & 0xFF);
    int to = (int)((c1 >> shift) & 0xFF);
    int channel = from + (int)((to - from) * t);
    if (channel < 0)
      channel = 0;
    if (channel > 255)
      channel = 255;
    result |= (uint32_t)channel << shift;
  }
  return result;
}
