/*
 * Shared inside the graphics module only: the GL error and halt reports, and the few
 * renderer facts the mesh, texture and font code need (current program, its uniform
 * and attribute locations, the view upload).
 */
#pragma once

#include <GL/glew.h>

/* Takes every pending GL error and prints a report for each; halts if there was any. */
void VNGfxCheckGLError(int line, const char* func, const char* file);
/* Prints the halt report with its "Mesg: " line, waits for one key on standard input
 * (end of input counts) and exits with status 1. */
[[noreturn]] void VNGfxHalt(int line, const char* func, const char* file, const char* message);

#define CHECK_GL_ERROR() VNGfxCheckGLError(__LINE__, __func__, __FILE__)
#define HALT(message) VNGfxHalt(__LINE__, __func__, __FILE__, (message))

/* The VNGfxRenderMode in use. */
int VNGfxGetRenderMode(void);
/* The program of the current render mode; 0 in render mode None. */
GLuint VNGfxCurrentProgram(void);
/* The uniforms and attributes of the engine's programs, looked up once at link time. */
enum VNGfxUniform
{
  VN_GFX_UNIFORM_PROJECTION,
  VN_GFX_UNIFORM_VIEW,
  VN_GFX_UNIFORM_WORLD,
  VN_GFX_UNIFORM_BLEND_COLOR,
  VN_GFX_UNIFORM_TRANSPARENCY,
  VN_GFX_UNIFORM_TINT,
  VN_GFX_UNIFORM_TEXTURE,
  VN_GFX_UNIFORM_TEXTURE_OFFSET,
  VN_GFX_UNIFORM_COUNT
};
enum VNGfxAttribute
{
  VN_GFX_ATTRIBUTE_POSITION,
  VN_GFX_ATTRIBUTE_COLOR,
  VN_GFX_ATTRIBUTE_TEXTURE_COORDINATE,
  VN_GFX_ATTRIBUTE_COUNT
};
/* A uniform of the current program; -1 in render mode None or when the program has no
 * such uniform. */
GLint VNGfxUniformLocation(VNGfxUniform uniform);
/* An attribute of the current program; -1 in render mode None or when it has none. */
GLint VNGfxAttributeLocation(VNGfxAttribute attribute);
/* Uploads uVMatrix = diag(scaleX, scaleY, 1, 1) x the camera's look-at view. */
void VNGfxUploadView(float scaleX, float scaleY);
/* Waits for the preload worker and frees the images decoded but never loaded. */
void VNGfxTexturePreloadsEnd(void);
