/*
 * VNGraphics: the engine's OpenGL 2.0 renderer. It owns the GL context and the two
 * shader programs everything is drawn through (vertex colours, or a texture), the 2D
 * camera and projection, the per-draw render state, meshes built once and drawn many
 * times, textures loaded from image files or memory, and bitmap-font text.
 *
 * World units are logical window pixels, x grows to the right and y upward, and the
 * camera position is the world point shown at the centre of the window.
 */
#pragma once

#include <stdint.h>

struct VNMtx33;

extern "C"
{

  /* ---- Renderer core ------------------------------------------------------------------ */

  /* Which program draws: none (nothing is drawn, uniform setters do nothing), vertex
 * colours, or the bound texture. */
  typedef enum VNGfxRenderMode
  {
    VN_GFX_RENDER_NONE = 0,
    VN_GFX_RENDER_COLOR = 1,
    VN_GFX_RENDER_TEXTURE = 2
  } VNGfxRenderMode;

  /* Blending: off, source alpha over the frame, or source alpha added to it. */
  typedef enum VNGfxBlendMode
  {
    VN_GFX_BLEND_NONE = 0,
    VN_GFX_BLEND_BLEND = 1,
    VN_GFX_BLEND_ADD = 2
  } VNGfxBlendMode;

  /* The visible world rectangle, recomputed by VNGfxSetCamPosition. */
  extern float gVNWinMinX;
  extern float gVNWinMaxX;
  extern float gVNWinMinY;
  extern float gVNWinMaxY;

  /* Sets the GL pixel-format attributes (RGBA8, depth 24, stencil 8, double buffer,
 * OpenGL 2.0 compatibility). The window system picks the window's visual when the
 * window is created, so call this before creating it; VNGfxInit sets them again. */
  void VNGfxSetContextAttributes(void);
  /* Creates the GL context on the engine window (VNSysGetWindowHandle), loads the GL
 * entry points, builds the shader programs and enters render mode Color.
 * width and height are the logical window size. Returns 1 on success, 0 when there is
 * no window or no context can be made; halts when OpenGL 2.0 is missing. */
  int VNGfxInit(int width, int height);
  /* Deletes the programs and the context and shuts the image decoder down. */
  void VNGfxExit(void);
  /* Clears colour and depth; viewport (0, 0, width, height). */
  void VNGfxStart(void);
  /* Checks for GL errors, unbinds the program (render mode None), finishes and presents. */
  void VNGfxEnd(void);

  /* The logical window size given to VNGfxInit. */
  int VNGetWindowWidth(void);
  int VNGetWindowHeight(void);

  float VNGfxGetWinMinX(void);
  float VNGfxGetWinMaxX(void);
  float VNGfxGetWinMinY(void);
  float VNGfxGetWinMaxY(void);

  /* Moves the camera and recomputes the extents. Drawing follows from the next
 * SetProjectionAndViewMatrices, which every change of render mode performs. */
  void VNGfxSetCamPosition(float x, float y);
  void VNGfxGetCamPosition(float* x, float* y);

  /* Uploads the projection and view matrices to the current program and sets the viewport
 * to the logical size times the screen scale factors. */
  void SetProjectionAndViewMatrices(void);

  /* A VNGfxRenderMode. Changing mode binds the program and uploads the matrices; the same
 * mode again or an unknown value does nothing. */
  void VNGfxSetRenderMode(int mode);
  /* A VNGfxBlendMode; an unknown value does nothing. */
  void VNGfxSetBlendMode(int mode);
  /* Clear colour (r, g, b, 1), components 0 to 1. */
  void VNGfxSetBackgroundColor(float r, float g, float b);

  /* World matrix setters and per-program uniforms. Each goes to the current program only;
 * in render mode None the value is dropped. */
  void VNGfxSetPosition(float x, float y);
  /* From a 2D affine transform (translation in its third column). */
  void VNGfxSetTransform(const VNMtx33* transform);
  /* From sixteen floats, a row-major 4 x 4 matrix. */
  void VNGfxSetTransform3D(const float* matrix);
  /* Multiplies the drawn alpha. */
  void VNGfxSetTransparency(float transparency);
  /* Mixes the flat colour (r, g, b) over the drawn colour by a (0 none, 1 flat only). */
  void VNGfxSetBlendColor(float r, float g, float b, float a);
  /* Multiplies the drawn colour and alpha. */
  void VNGfxSetTintColor(float r, float g, float b, float a);

  /* ---- Meshes and primitives ---------------------------------------------------------- */

  /* How a vertex list is drawn. */
  typedef enum VNGfxMeshDrawMode
  {
    VN_GFX_MESH_POINTS = 0,
    VN_GFX_MESH_LINES = 1,
    VN_GFX_MESH_LINE_STRIP = 2,
    VN_GFX_MESH_TRIANGLES = 3
  } VNGfxMeshDrawMode;

  /* Vertices a mesh under construction may hold. */
  enum
  {
    VN_GFX_MESH_MAX_VERTICES = 24576
  };

  /* A closed mesh: GL buffers of positions [0], colours [1] and texture coordinates [2].
 * Owned by the caller until VNGfxMeshFree. */
  typedef struct VNGfxVertexList
  {
    unsigned int* buffers;
    uint32_t vertexCount;
  } VNGfxVertexList;

  /* Opens a mesh. It does not empty the staging area (VNGfxMeshEnd and VNGfxReset do). */
  void VNGfxMeshStart(void);
  /* Stages one triangle; colours are packed 0xAARRGGBB. */
  void VNGfxTriAdd(float x0, float y0, uint32_t c0, float u0, float v0, float x1, float y1,
                   uint32_t c1, float u1, float v1, float x2, float y2, uint32_t c2, float u2,
                   float v2);
  /* Stages one vertex. */
  void VNGfxVertexAdd(float x, float y, uint32_t color, float u, float v);
  /* Turns the staged vertices into a new vertex list and empties the staging area. */
  VNGfxVertexList* VNGfxMeshEnd(void);
  /* Draws the list with a VNGfxMeshDrawMode in the current render mode (Color or
 * Texture; nothing in None). */
  void VNGfxMeshDraw(VNGfxVertexList* list, int mode);
  /* Draws count vertices of the list from vertex first on, as VNGfxMeshDraw does; a range
 * reaching past the end is cut at the end. */
  void VNGfxMeshDrawRange(VNGfxVertexList* list, int mode, uint32_t first, uint32_t count);
  /* Deletes the list's buffers and the list; a null list is ignored. */
  void VNGfxMeshFree(VNGfxVertexList* list);
  /* Gives the list a fresh, zeroed array of three buffer names. */
  void VNGfxTriListInitialize(VNGfxVertexList* list);
  /* Empties the staging area. */
  void VNGfxReset(void);
  /* Draws one line segment now, with a colour per end, in render mode Color only. */
  void VNGfxLine(float x0, float y0, float z0, float r0, float g0, float b0, float a0, float x1,
                 float y1, float z1, float r1, float g1, float b1, float a1);
  /* Interpolates two packed colours channel by channel; t is clamped to 0..1. */
  uint32_t VNGfxColInterp(uint32_t c0, uint32_t c1, float t);

  /* ---- Textures ----------------------------------------------------------------------- */

  /* Filtering of the bound texture. */
  typedef enum VNGfxTextureMode
  {
    VN_GFX_TEXTURE_NEAREST = 0,
    VN_GFX_TEXTURE_LINEAR = 1
  } VNGfxTextureMode;

  /* An OpenGL texture and the file it came from (all zero when made from memory).
 * Owned by the caller until VNGfxTextureUnload. */
  typedef struct VNGfxTexture
  {
    unsigned int* name;
    char path[256];
  } VNGfxTexture;

  /* Loads an image file (v = 0 is its top row). Null when the path is longer than 255
 * characters. A file that cannot be read gives a magenta and black checker texture. */
  VNGfxTexture* VNGfxTextureLoad(const char* path);
  /* Starts decoding an image file on a worker thread, so that a later VNGfxTextureLoad of
 * the same path only uploads it. May be called before VNSysInit; VNGfxExit frees what
 * was never loaded. */
  void VNGfxTexturePreload(const char* path);
  /* Makes a texture from width x height pixels of four bytes each: red, green, blue,
 * alpha, first row at v = 0. */
  VNGfxTexture* VNGfxTextureLoadFromMemory(const unsigned char* pixels, int width, int height);
  /* Binds the texture to unit 0 with a scroll offset for the current program; offsets
 * above 1 are brought down by whole units. A null texture unbinds. */
  void VNGfxTextureSet(VNGfxTexture* texture, float offsetU, float offsetV);
  /* Deletes the texture and its record; null is ignored. */
  void VNGfxTextureUnload(VNGfxTexture* texture);
  /* A VNGfxTextureMode for the bound texture. */
  void VNGfxSetTextureMode(int mode);
  /* Not available in this renderer: prints so and writes nothing. */
  void VNGfxSaveTextureToFile(VNGfxTexture* texture, const char* path);
  /* Gives the record a fresh texture-name holder set to 0. */
  void VNGfxTextureInitialize(VNGfxTexture* texture);

  /* ---- Bitmap fonts and text ---------------------------------------------------------- */

  /* Rasterises characters 32 to 127 of a system typeface at a character height (em size)
 * of `height` pixels into 96 consecutive display lists. Returns the first list (the
 * font handle), or 0 when no typeface can be loaded. */
  unsigned int VNGfxCreateFont(const char* face, int height, int bold, int italic);
  /* Deletes the font's display lists; 0 is ignored. */
  void VNGfxDestroyFont(unsigned int font);
  /* Draws one line of text (at most 255 characters; "%%" prints "%") with its baseline
 * starting at world point (x, y), in the flat colour (r, g, b). Used in render mode
 * Color. A null text draws nothing. */
  void VNGfxPrint(unsigned int font, const char* text, int x, int y, float r, float g, float b);
}
