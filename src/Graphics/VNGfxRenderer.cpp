/*
 * VNGfxRenderer: the GL context on the engine window, the colour and texture shader
 * programs, the camera with its orthographic projection and look-at view, the per-draw
 * render state (render mode, blending, world matrix, transparency, blend and tint
 * colours), frame start and present, and the GL error and halt reports.
 */
#include "Graphics/VNGraphics.h"
#include "Graphics/VNGfxInternal.h"
#include "Math/VNMath.h"
#include "Math/VNMath4.h"
#include "System/VNSystem.h"

#include <SDL.h>
#include <SDL_image.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* ---- Shader sources (GLSL 1.10) --------------------------------------------------------- */

static const char* const kColorVertexShader =
    "uniform mat4 uPMatrix;\n"
    "uniform mat4 uVMatrix;\n"
    "uniform mat4 uWorldMatrix;\n"
    "attribute vec4 aPosition;\n"
    "attribute vec4 aColor;\n"
    "varying vec4 vColor;\n"
    "void main()\n"
    "{\n"
    "    vColor = aColor;\n"
    "    gl_Position = uPMatrix * uVMatrix * uWorldMatrix * aPosition;\n"
    "}\n";

static const char* const kColorFragmentShader =
    "uniform vec4 uBlendColor;\n"
    "uniform float uTransparencyValue;\n"
    "uniform vec4 uTintColor;\n"
    "varying vec4 vColor;\n"
    "void main()\n"
    "{\n"
    "    vec3 rgb = (vColor.rgb * (1.0 - uBlendColor.a) + uBlendColor.rgb * uBlendColor.a)\n"
    "             * uTintColor.rgb;\n"
    "    gl_FragColor = vec4(rgb, vColor.a * uTransparencyValue * uTintColor.a);\n"
    "}\n";

static const char* const kTextureVertexShader =
    "uniform mat4 uPMatrix;\n"
    "uniform mat4 uVMatrix;\n"
    "uniform mat4 uWorldMatrix;\n"
    "attribute vec4 aPosition;\n"
    "attribute vec2 aTextureCoordinate;\n"
    "varying vec2 vTextureCoordinate;\n"
    "void main()\n"
    "{\n"
    "    vTextureCoordinate = aTextureCoordinate;\n"
    "    gl_Position = uPMatrix * uVMatrix * uWorldMatrix * aPosition;\n"
    "}\n";

/* The offset wraps once, and only above 1: coordinates below 0 are left to the
 * texture's repeat wrapping. */
static const char* const kTextureFragmentShader =
    "uniform sampler2D uTexture;\n"
    "uniform vec4 uBlendColor;\n"
    "uniform vec2 uTextureOffset;\n"
    "uniform float uTransparencyValue;\n"
    "uniform vec4 uTintColor;\n"
    "varying vec2 vTextureCoordinate;\n"
    "void main()\n"
    "{\n"
    "    vec2 c = vTextureCoordinate + uTextureOffset;\n"
    "    if (c.x > 1.0) c.x -= 1.0;\n"
    "    if (c.y > 1.0) c.y -= 1.0;\n"
    "    vec4 s = texture2D(uTexture, c);\n"
    "    vec3 rgb = (s.rgb * (1.0 - uBlendColor.a) + uBlendColor.rgb * uBlendColor.a)\n"
    "             * uTintColor.rgb;\n"
    "    gl_FragColor = vec4(rgb, s.a * (uTransparencyValue * uTintColor.a));\n"
    "}\n";

/* ---- State --------------------------------------------------------------------------- */

float gVNWinMinX = 0.0f;
float gVNWinMaxX = 0.0f;
float gVNWinMinY = 0.0f;
float gVNWinMaxY = 0.0f;

struct VNGfxRendererState
{
  SDL_Window* window;
  SDL_GLContext context;
  int imageDecoderStarted;
  int width, height;
  float camX, camY;
  GLuint programs[3]; /* indexed by render mode; slot 0 (None) holds no program */
  /* Locations in each program, by render mode; all -1 for None. */
  GLint uniforms[3][VN_GFX_UNIFORM_COUNT];
  GLint attributes[3][VN_GFX_ATTRIBUTE_COUNT];
  int renderMode;
};

static VNGfxRendererState sRenderer;

/* ---- Reports ----------------------------------------------------------------------------- */

static const char* BaseName(const char* path)
{
  const char* slash = strrchr(path, '/');
  return slash ? slash + 1 : path;
}

/* A halting report waits for a key before the program ends with status 1. */
[[noreturn]] static void WaitAndQuit(void)
{
  fflush(stdout);
  getchar();
  exit(1);
}

void VNGfxCheckGLError(int line, const char* func, const char* file)
{
  int reported = 0;
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
  {
    printf("CHECK_GL_ERROR:\nLine: %d\nFunc: %s\nFile: %s\n", line, func, BaseName(file));
    printf("Code: 0x%.8x\n", (unsigned int)error);
    printf("Mesg: \n");
    reported = 1;
  }
  if (reported)
    WaitAndQuit();
}

void VNGfxHalt(int line, const char* func, const char* file, const char* message)
{
  printf("HALT:\nLine: %d\nFunc: %s\nFile: %s\n", line, func, BaseName(file));
  printf("%s\n", message);
  WaitAndQuit();
}

/* ---- Shader programs -------------------------------------------------------------------- */

static void AttachShader(GLuint program, GLenum type, const char* source)
{
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint compiled = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled)
    glAttachShader(program, shader);
  else
    glDeleteShader(shader);
}

static GLuint CreateProgram(const char* vertexSource, const char* fragmentSource)
{
  GLuint program = glCreateProgram();
  AttachShader(program, GL_VERTEX_SHADER, vertexSource);
  AttachShader(program, GL_FRAGMENT_SHADER, fragmentSource);
  /* Raster positions (engine text) feed generic attribute 0 on drivers that alias it
     * with the fixed-function vertex, so the position lives there; every other
     * attribute is placed by the linker. */
  glBindAttribLocation(program, 0, "aPosition");
  glLinkProgram(program);
  return program;
}

/* Names indexed by VNGfxUniform and VNGfxAttribute. */
static const char* const kUniformNames[VN_GFX_UNIFORM_COUNT] = {
    "uPMatrix",           "uVMatrix",   "uWorldMatrix", "uBlendColor",
    "uTransparencyValue", "uTintColor", "uTexture",     "uTextureOffset"};
static const char* const kAttributeNames[VN_GFX_ATTRIBUTE_COUNT] = {"aPosition", "aColor",
                                                                    "aTextureCoordinate"};

static void LookUpLocations(int mode)
{
  GLuint program = sRenderer.programs[mode];
  for (int i = 0; i < VN_GFX_UNIFORM_COUNT; ++i)
    sRenderer.uniforms[mode][i] = program ? glGetUniformLocation(program, kUniformNames[i]) : -1;
  for (int i = 0; i < VN_GFX_ATTRIBUTE_COUNT; ++i)
    sRenderer.attributes[mode][i] = program ? glGetAttribLocation(program, kAttributeNames[i]) : -1;
}

static void CreateShaders(void)
{
  sRenderer.programs[VN_GFX_RENDER_NONE] = 0;
  sRenderer.programs[VN_GFX_RENDER_COLOR] = CreateProgram(kColorVertexShader, kColorFragmentShader);
  sRenderer.programs[VN_GFX_RENDER_TEXTURE] =
      CreateProgram(kTextureVertexShader, kTextureFragmentShader);
  for (int mode = VN_GFX_RENDER_NONE; mode <= VN_GFX_RENDER_TEXTURE; ++mode)
    LookUpLocations(mode);
}

static void DestroyShaders(void)
{
  glUseProgram(0);
  for (GLuint& program : sRenderer.programs)
  {
    if (program == 0)
      continue;
    GLuint shaders[3];
    GLsizei count = 0;
    glGetAttachedShaders(program, 3, &count, shaders);
    for (GLsizei i = 0; i < count; ++i)
      glDeleteShader(shaders[i]);
    glDeleteProgram(program);
    program = 0;
    CHECK_GL_ERROR();
  }
  for (int mode = VN_GFX_RENDER_NONE; mode <= VN_GFX_RENDER_TEXTURE; ++mode)
    LookUpLocations(mode);
  sRenderer.renderMode = VN_GFX_RENDER_NONE;
}

/* ---- Uniforms ----------------------------------------------------------------------------- */

int VNGfxGetRenderMode(void)
{
  return sRenderer.renderMode;
}

GLuint VNGfxCurrentProgram(void)
{
  return sRenderer.programs[sRenderer.renderMode];
}

/* Without a program (render mode None, or no context at all) values are dropped. */
GLint VNGfxUniformLocation(VNGfxUniform uniform)
{
  if (VNGfxCurrentProgram() == 0)
    return -1;
  return sRenderer.uniforms[sRenderer.renderMode][uniform];
}

GLint VNGfxAttributeLocation(VNGfxAttribute attribute)
{
  if (VNGfxCurrentProgram() == 0)
    return -1;
  return sRenderer.attributes[sRenderer.renderMode][attribute];
}

/* GL takes matrices column-major: the row-major Matrix4 goes up transposed. */
static void UploadMatrix(VNGfxUniform uniform, const Matrix4& matrix)
{
  GLint location = VNGfxUniformLocation(uniform);
  if (location < 0)
    return;
  Matrix4 columnMajor = Matrix4Transpose(matrix);
  glUniformMatrix4fv(location, 1, GL_FALSE, &columnMajor.m[0][0]);
}

void VNGfxUploadView(float scaleX, float scaleY)
{
  Point4 eye(sRenderer.camX, sRenderer.camY, 60.0f, 1.0f);
  Point4 target(sRenderer.camX, sRenderer.camY, 0.0f, 1.0f);
  Vector4 up(0.0f, 1.0f, 0.0f, 0.0f);
  Matrix4 scale;
  scale.Identity();
  scale.m[0][0] = scaleX;
  scale.m[1][1] = scaleY;
  UploadMatrix(VN_GFX_UNIFORM_VIEW, scale * LookAt(eye, target, up));
}

/* ---- Context and frame ---------------------------------------------------------------- */

void VNGfxSetContextAttributes(void)
{
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  // Everything is drawn in order with blending: no depth or stencil test reads them, and
  // at 1920 x 1080 they would cost 8 MB and a clear every frame.
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

int VNGfxInit(int width, int height)
{
  sRenderer.width = width;
  sRenderer.height = height;
  printf("Graphics: OpenGL\n");

  sRenderer.window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  if (!sRenderer.window)
    return 0;

  VNGfxSetContextAttributes();
  sRenderer.context = SDL_GL_CreateContext(sRenderer.window);
  if (!sRenderer.context)
  {
    sRenderer.window = nullptr;
    return 0;
  }
  SDL_GL_MakeCurrent(sRenderer.window, sRenderer.context);

  // glewExperimental stays off: the compatibility context lists its extensions, and
  // probing the entry points of every extension GLEW knows cost about 3 ms at start.
  GLenum status = glewInit();
  /* Debian's GLEW is built for GLX; on an EGL context it reports a missing GLX display
     * although every GL entry point has been loaded. */
  if (status != GLEW_OK && status != GLEW_ERROR_NO_GLX_DISPLAY)
    HALT("Mesg: fail to initialize GLEW!!");
  if (!GLEW_VERSION_2_0)
    HALT("Mesg: OpenGL 2.0 is not supported!!");
  /* glewInit's extension probing may leave an error behind that is not ours. */
  while (glGetError() != GL_NO_ERROR)
    ;

  if (IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG)
    sRenderer.imageDecoderStarted = 1;
  else
    printf("Graphics: PNG decoder did not start: %s\n", IMG_GetError());

  VNGfxSetCamPosition(sRenderer.camX, sRenderer.camY);
  CreateShaders();
  sRenderer.renderMode = VN_GFX_RENDER_NONE;
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
  VNGfxSetTransparency(1.0f);
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  CHECK_GL_ERROR();
  return 1;
}

void VNGfxExit(void)
{
  if (sRenderer.context)
  {
    DestroyShaders();
    SDL_GL_DeleteContext(sRenderer.context);
  }
  VNGfxTexturePreloadsEnd();
  if (sRenderer.imageDecoderStarted)
    IMG_Quit();
  sRenderer = VNGfxRendererState();
}

void VNGfxStart(void)
{
  glClear(GL_COLOR_BUFFER_BIT);
  glViewport(0, 0, sRenderer.width, sRenderer.height);
}

void VNGfxEnd(void)
{
  CHECK_GL_ERROR();
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
  CHECK_GL_ERROR();
  glFinish();
  if (sRenderer.window)
    SDL_GL_SwapWindow(sRenderer.window);
}

/* ---- Window size and camera ------------------------------------------------------------ */

int VNGetWindowWidth(void)
{
  return sRenderer.width;
}

int VNGetWindowHeight(void)
{
  return sRenderer.height;
}

float VNGfxGetWinMinX(void)
{
  return gVNWinMinX;
}

float VNGfxGetWinMaxX(void)
{
  return gVNWinMaxX;
}

float VNGfxGetWinMinY(void)
{
  return gVNWinMinY;
}

float VNGfxGetWinMaxY(void)
{
  return gVNWinMaxY;
}

void VNGfxSetCamPosition(float x, float y)
{
  sRenderer.camX = x;
  sRenderer.camY = y;
  gVNWinMinX = x - sRenderer.width * 0.5f;
  gVNWinMaxX = x + sRenderer.width * 0.5f;
  gVNWinMinY = y - sRenderer.height * 0.5f;
  gVNWinMaxY = y + sRenderer.height * 0.5f;
}

void VNGfxGetCamPosition(float* x, float* y)
{
  if (x)
    *x = sRenderer.camX;
  if (y)
    *y = sRenderer.camY;
}

/* ---- Render state ---------------------------------------------------------------------- */

void SetProjectionAndViewMatrices(void)
{
  int viewWidth = (int)(sRenderer.width * gVNScreenScaleX);
  int viewHeight = (int)(sRenderer.height * gVNScreenScaleY);

  /* Orthographic, centred on the origin, near plane 1 and far plane 1000. */
  Matrix4 projection;
  projection.Identity();
  projection.m[0][0] = 2.0f / viewWidth;
  projection.m[1][1] = 2.0f / viewHeight;
  projection.m[2][2] = -2.0f / 999.0f;
  projection.m[2][3] = -1001.0f / 999.0f;
  UploadMatrix(VN_GFX_UNIFORM_PROJECTION, projection);

  glViewport(0, 0, viewWidth, viewHeight);
  CHECK_GL_ERROR();

  VNGfxUploadView(gVNScreenScaleX, gVNScreenScaleY);
  CHECK_GL_ERROR();
}

void VNGfxSetRenderMode(int mode)
{
  switch (mode)
  {
  case VN_GFX_RENDER_NONE:
    if (sRenderer.renderMode != VN_GFX_RENDER_NONE)
    {
      glUseProgram(0);
      sRenderer.renderMode = VN_GFX_RENDER_NONE;
    }
    break;
  case VN_GFX_RENDER_COLOR:
  case VN_GFX_RENDER_TEXTURE:
    if (sRenderer.renderMode != mode)
    {
      glUseProgram(sRenderer.programs[mode]);
      sRenderer.renderMode = mode;
      SetProjectionAndViewMatrices();
    }
    break;
  default: break;
  }
}

void VNGfxSetBlendMode(int mode)
{
  switch (mode)
  {
  case VN_GFX_BLEND_NONE: glDisable(GL_BLEND); break;
  case VN_GFX_BLEND_BLEND:
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    break;
  case VN_GFX_BLEND_ADD:
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    break;
  default: break;
  }
}

void VNGfxSetBackgroundColor(float r, float g, float b)
{
  glClearColor(r, g, b, 1.0f);
}

void VNGfxSetPosition(float x, float y)
{
  Matrix4 world;
  world.Identity();
  world.m[0][3] = x;
  world.m[1][3] = y;
  UploadMatrix(VN_GFX_UNIFORM_WORLD, world);
}

void VNGfxSetTransform(const VNMtx33* transform)
{
  if (!transform)
    return;
  const float(*m)[3] = transform->m;
  Matrix4 world(m[0][0], m[0][1], 0.0f, m[0][2], m[1][0], m[1][1], 0.0f, m[1][2], 0.0f, 0.0f, 1.0f,
                0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
  UploadMatrix(VN_GFX_UNIFORM_WORLD, world);
}

void VNGfxSetTransform3D(const float* matrix)
{
  if (!matrix)
    return;
  Matrix4 world(matrix[0], matrix[1], matrix[2], matrix[3], matrix[4], matrix[5], matrix[6],
                matrix[7], matrix[8], matrix[9], matrix[10], matrix[11], matrix[12], matrix[13],
                matrix[14], matrix[15]);
  UploadMatrix(VN_GFX_UNIFORM_WORLD, world);
}

void VNGfxSetTransparency(float transparency)
{
  GLint location = VNGfxUniformLocation(VN_GFX_UNIFORM_TRANSPARENCY);
  if (location >= 0)
    glUniform1f(location, transparency);
}

void VNGfxSetBlendColor(float r, float g, float b, float a)
{
  GLint location = VNGfxUniformLocation(VN_GFX_UNIFORM_BLEND_COLOR);
  if (location >= 0)
    glUniform4f(location, r, g, b, a);
  CHECK_GL_ERROR();
}

void VNGfxSetTintColor(float r, float g, float b, float a)
{
  GLint location = VNGfxUniformLocation(VN_GFX_UNIFORM_TINT);
  if (location >= 0)
    glUniform4f(location, r, g, b, a);
}
