// The cost of painting the screen once: one full-screen textured quad a frame through the
// engine, full screen at the screen's size, no frame cap. The yardstick for a level's
// frame from `kestrin --benchmark`. Run it from the build folder (it reads Assets/).
//   bench_quad [frames]
#include <stdio.h>
#include <stdlib.h>

#include "BenchClock.h"
#include "Vorn.h"

int main(int argc, char** argv)
{
  const int frames = argc > 1 ? atoi(argv[1]) : 300;
  const int width = 1280;
  const int height = 720;
  if (!VNSysInit(nullptr, 1, width, height, 0, 0, nullptr))
  {
    fprintf(stderr, "bench_quad: the engine could not start graphics\n");
    return 1;
  }
  VNToogleFullScreen(true);
  VNGfxTexture* picture = VNGfxTextureLoad("Assets/loading.png");
  const uint32_t white = 0xFFFFFFFF;
  const float w = width / 2.0f;
  const float h = height / 2.0f;
  VNGfxMeshStart();
  VNGfxTriAdd(-w, -h, white, 0.0f, 1.0f, -w, h, white, 0.0f, 0.0f, w, h, white, 1.0f, 0.0f);
  VNGfxTriAdd(w, h, white, 1.0f, 0.0f, w, -h, white, 1.0f, 1.0f, -w, -h, white, 0.0f, 1.0f);
  VNGfxVertexList* quad = VNGfxMeshEnd();

  std::vector<double> cpu;
  std::vector<double> wall;
  for (int i = 0; i < frames + 30 && VNSysDoesWindowExist(); ++i)
  {
    const double cpuStart = CpuMs();
    const double wallStart = WallMs();
    VNSysFrameStart();
    VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
    VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
    VNGfxTextureSet(picture, 0.0f, 0.0f);
    VNGfxSetPosition(0.0f, 0.0f);
    VNGfxSetTransparency(1.0f);
    VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
    VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
    VNSysFrameEnd();
    // The first frames warm the driver up.
    if (i < 30)
      continue;
    cpu.push_back(CpuMs() - cpuStart);
    wall.push_back(WallMs() - wallStart);
  }
  const int screenW = static_cast<int>(width * gVNScreenScaleX + 0.5f);
  const int screenH = static_cast<int>(height * gVNScreenScaleY + 0.5f);
  VNGfxMeshFree(quad);
  VNGfxTextureUnload(picture);
  VNSysExit();
  printf("quad: %zu frames at %dx%d, %.1f ms CPU per frame (median), %.1f ms per frame (median), "
         "worst %.1f ms\n",
         wall.size(), screenW, screenH, Median(cpu), Median(wall),
         wall.empty() ? 0.0 : *std::max_element(wall.begin(), wall.end()));
  return 0;
}
