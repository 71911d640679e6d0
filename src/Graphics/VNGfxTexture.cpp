/*
 * VNGfxTexture: textures from image files (decoded by SDL2_image) or from RGBA memory,
 * binding with a scroll offset for the texture program, filtering, and release.
 * Textures are 2D, level 0 only, 8-bit RGBA, nearest filtering until told otherwise,
 * repeat wrapping; v = 0 is the top row of the image.
 */
#include "Graphics/VNGraphics.h"
#include "Graphics/VNGfxInternal.h"

#include <SDL.h>
#include <SDL_image.h>

#include <math.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>

static const size_t kMaxPathLength = sizeof(VNGfxTexture::path) - 1;

void VNGfxTextureInitialize(VNGfxTexture* texture)
{
  if (texture)
    texture->name = new unsigned int(0);
}

/* Uploads rows of RGBA bytes, the first row at v = 0, into a new texture of the record. */
static void Upload(VNGfxTexture* texture, const void* pixels, int width, int height, int rowLength)
{
  glGenTextures(1, texture->name);
  glBindTexture(GL_TEXTURE_2D, *texture->name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glBindTexture(GL_TEXTURE_2D, 0);
}

/* What a texture that could not be made shows: a 2 x 2 magenta and black checker, so
 * the fault is plain on screen rather than invisible. */
static void UploadPlaceholder(VNGfxTexture* texture)
{
  static const unsigned char kChecker[] = {
      255, 0, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255, 255,
  };
  Upload(texture, kChecker, 2, 2, 0);
}

/* Whether GL can hold a width x height texture; GL_MAX_TEXTURE_SIZE bounds each side. */
static bool FitsTextureSize(int width, int height)
{
  GLint most = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
  return width <= most && height <= most;
}

/* A path naming something other than a regular file (a FIFO would block the decoder's
 * open until a writer came); the reason goes to SDL_GetError. */
static bool IsSpecialFile(const char* path)
{
  struct stat info;
  if (stat(path, &info) != 0 || S_ISREG(info.st_mode))
    return false;
  SDL_SetError("not a regular file");
  return true;
}

/* An image as 8-bit RGBA rows, or why it could not be read (kept with it, since SDL keeps
 * errors per thread and the image may have been decoded on another). */
struct DecodedImage
{
  SDL_Surface* rgba = nullptr;
  std::string error;
};

/* PNGs with an alpha channel decode to RGBA already and are not copied again. */
static DecodedImage DecodeRGBA(const char* path)
{
  DecodedImage decoded;
  decoded.rgba = IsSpecialFile(path) ? nullptr : IMG_Load(path);
  if (decoded.rgba && decoded.rgba->format->format != SDL_PIXELFORMAT_RGBA32)
  {
    SDL_Surface* image = decoded.rgba;
    decoded.rgba = SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(image);
  }
  if (!decoded.rgba)
    decoded.error = SDL_GetError();
  return decoded;
}

/* Images decoded on one worker thread, in the order asked, while the caller goes on. The
 * worker ends when nothing is left to decode; the next request starts another. */
struct Preloads
{
  std::mutex lock;
  std::condition_variable finished;
  std::deque<std::string> waiting;
  std::string decoding;
  std::map<std::string, DecodedImage> decoded;
  std::thread worker;
  bool working = false;

  ~Preloads() { VNGfxTexturePreloadsEnd(); }
};
static Preloads sPreloads;

static void DecodeWaiting(void)
{
  std::unique_lock<std::mutex> hold(sPreloads.lock);
  while (!sPreloads.waiting.empty())
  {
    const std::string path = sPreloads.waiting.front();
    sPreloads.waiting.pop_front();
    sPreloads.decoding = path;
    hold.unlock();
    const DecodedImage image = DecodeRGBA(path.c_str());
    hold.lock();
    sPreloads.decoding.clear();
    sPreloads.decoded[path] = image;
    sPreloads.finished.notify_all();
  }
  sPreloads.working = false;
}

void VNGfxTexturePreload(const char* path)
{
  if (!path || strlen(path) > kMaxPathLength)
    return;
  // Started here, on the caller's thread, so that the worker's decoder never starts it.
  IMG_Init(IMG_INIT_PNG);
  std::lock_guard<std::mutex> hold(sPreloads.lock);
  // A load takes an image once: a second request for it would only be decoded for nothing.
  const bool asked = sPreloads.decoding == path || sPreloads.decoded.count(path) ||
                     std::find(sPreloads.waiting.begin(), sPreloads.waiting.end(), path) !=
                         sPreloads.waiting.end();
  if (asked)
    return;
  sPreloads.waiting.push_back(path);
  if (sPreloads.working)
    return;
  if (sPreloads.worker.joinable())
    sPreloads.worker.join();
  sPreloads.working = true;
  sPreloads.worker = std::thread(DecodeWaiting);
}

/* The image preloaded for path, waiting for the worker if it is decoding it now. False when
 * path was not preloaded (or is still waiting its turn: it is then decoded by the caller). */
static bool TakePreloaded(const std::string& path, DecodedImage* image)
{
  std::unique_lock<std::mutex> hold(sPreloads.lock);
  auto waiting = std::find(sPreloads.waiting.begin(), sPreloads.waiting.end(), path);
  if (waiting != sPreloads.waiting.end())
  {
    sPreloads.waiting.erase(waiting);
    return false;
  }
  sPreloads.finished.wait(hold, [&path] { return sPreloads.decoding != path; });
  auto found = sPreloads.decoded.find(path);
  if (found == sPreloads.decoded.end())
    return false;
  *image = found->second;
  sPreloads.decoded.erase(found);
  return true;
}

void VNGfxTexturePreloadsEnd(void)
{
  {
    std::lock_guard<std::mutex> hold(sPreloads.lock);
    sPreloads.waiting.clear();
  }
  if (sPreloads.worker.joinable())
    sPreloads.worker.join();
  for (auto& [path, image] : sPreloads.decoded)
    SDL_FreeSurface(image.rgba);
  sPreloads.decoded.clear();
}

static VNGfxTexture* NewTexture(void)
{
  VNGfxTexture* texture = new VNGfxTexture();
  VNGfxTextureInitialize(texture);
  return texture;
}

VNGfxTexture* VNGfxTextureLoad(const char* path)
{
  if (!path || strlen(path) > kMaxPathLength)
    return nullptr;

  VNGfxTexture* texture = NewTexture();
  memcpy(texture->path, path, strlen(path) + 1);

  DecodedImage image;
  if (!TakePreloaded(path, &image))
    image = DecodeRGBA(path);
  SDL_Surface* rgba = image.rgba;
  if (!rgba)
  {
    printf("VNGfxTextureLoad: cannot read image \"%s\" (%s); drawing a checker instead\n", path,
           image.error.c_str());
    UploadPlaceholder(texture);
  }
  else if (!FitsTextureSize(rgba->w, rgba->h))
  {
    printf("VNGfxTextureLoad: image \"%s\" is %d x %d, larger than this GL allows; drawing a "
           "checker instead\n",
           path, rgba->w, rgba->h);
    UploadPlaceholder(texture);
    SDL_FreeSurface(rgba);
  }
  else
  {
    Upload(texture, rgba->pixels, rgba->w, rgba->h, rgba->pitch / 4);
    SDL_FreeSurface(rgba);
  }
  return texture;
}

VNGfxTexture* VNGfxTextureLoadFromMemory(const unsigned char* pixels, int width, int height)
{
  VNGfxTexture* texture = NewTexture();
  if (!pixels || width <= 0 || height <= 0 || !FitsTextureSize(width, height))
  {
    printf("VNGfxTextureLoadFromMemory: cannot make a %d x %d texture%s; "
           "drawing a checker instead\n",
           width, height, pixels ? "" : " without pixels");
    UploadPlaceholder(texture);
    return texture;
  }
  Upload(texture, pixels, width, height, 0);
  return texture;
}

/* Brings an offset above 1 down by whole units until it is 1 or less; values of 1 or
 * less, negative ones too, stay as they are. Done in one step so that a huge offset
 * cannot spin: for offsets below 2^24 the result is the same as subtracting 1 at a
 * time, since every difference is exact. */
static float FoldOffset(float offset)
{
  if (offset > 1.0f)
    offset -= ceilf(offset - 1.0f);
  return offset;
}

void VNGfxTextureSet(VNGfxTexture* texture, float offsetU, float offsetV)
{
  if (!texture || !texture->name)
  {
    glBindTexture(GL_TEXTURE_2D, 0);
    return;
  }

  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, *texture->name);
  GLint sampler = VNGfxUniformLocation(VN_GFX_UNIFORM_TEXTURE);
  if (sampler >= 0)
    glUniform1i(sampler, 0);
  CHECK_GL_ERROR();

  GLint offset = VNGfxUniformLocation(VN_GFX_UNIFORM_TEXTURE_OFFSET);
  if (offset >= 0)
    glUniform2f(offset, FoldOffset(offsetU), FoldOffset(offsetV));
  CHECK_GL_ERROR();
}

void VNGfxTextureUnload(VNGfxTexture* texture)
{
  if (!texture)
    return;
  if (texture->name)
  {
    glDeleteTextures(1, texture->name);
    delete texture->name;
  }
  delete texture;
}

void VNGfxSetTextureMode(int mode)
{
  GLint filter = 0;
  switch (mode)
  {
  case VN_GFX_TEXTURE_NEAREST: filter = GL_NEAREST; break;
  case VN_GFX_TEXTURE_LINEAR: filter = GL_LINEAR; break;
  default: printf("Unsupported texture mode!\n"); return;
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

void VNGfxSaveTextureToFile(VNGfxTexture* texture, const char* path)
{
  if (texture && path)
    printf("VNGfxSaveTextureToFile not supported in the OpenGL version of the Vorn "
           "Engine!\n");
}
