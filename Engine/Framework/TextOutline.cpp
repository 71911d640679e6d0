#include "Framework/TextOutline.h"

#include "Vorn.h"

void PrintTextOutline(unsigned font, const char* text, int x, int y)
{
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxSetTintColor(0.0f, 0.0f, 0.0f, 1.0f);
  for (int dx = -kTextOutline; dx <= kTextOutline; dx += kTextOutline)
    for (int dy = -kTextOutline; dy <= kTextOutline; dy += kTextOutline)
      if (dx != 0 || dy != 0)
        VNGfxPrint(font, text, x + dx, y + dy, 0.0f, 0.0f, 0.0f);
}
