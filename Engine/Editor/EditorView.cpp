/*
 * The editor's view: the wheel zoom about the cursor, which layers are shown, and the
 * message line.
 */
#include "Editor/Editor.h"

#include <math.h>
#include <stdio.h>

#include "Framework/Camera.h"
#include "World/Grid2D.h"

namespace
{
// The wheel reports this much per notch.
const float kWheelNotch = 120.0f;
// How long a message stays on screen, in seconds.
const float kMessageSeconds = 6.0f;
} // namespace

void Editor::Zoom()
{
  const float turned = camera->wheelDelta;
  camera->wheelDelta = 0.0f;
  const int notches = static_cast<int>(lroundf(turned / kWheelNotch));
  if (notches == 0)
    return;
  const float size = tilemap->tileWidth;
  const float target =
      fminf(fmaxf(size + kZoomStep * static_cast<float>(notches), kMinTileSize + kZoomStep),
            kMaxTileSize - kZoomStep);
  const VNVec2 anchor = camera->CursorInWorld();
  tilemap->ResizeTile(target, target);
  // World positions scale with the tile size about the origin; the view follows the
  // point under the cursor.
  const float scale = tilemap->tileWidth / size;
  if (scale != 1.0f)
    camera->Scroll(anchor.x * (scale - 1.0f), anchor.y * (scale - 1.0f));
}

void Editor::ToggleLayer(int layer)
{
  layerShown[layer] = !layerShown[layer];
}

void Editor::Show(const std::string& text)
{
  message = text;
  messageTime = kMessageSeconds;
}

void Editor::Say(const std::string& text)
{
  Show(text);
  printf("Level Editor: %s\n", text.c_str());
  fflush(stdout);
}
