#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Vorn.h"

class Button2D;
struct TextLabel;

// Decides which part of the world is on screen and owns what stays fixed on the screen
// while the world scrolls: the current level's buttons (by name) and text labels.
class Camera
{
public:
  // The singleton, created on first use as Camera(0, 0, 1280, 720).
  static Camera* Instance();
  static void Destroy();

  Camera(float x, float y, float width, float height);
  ~Camera();

  Camera(const Camera&) = delete;
  Camera& operator=(const Camera&) = delete;

  // Follow, drag or edge scroll, clamp, publish to the renderer, carry the overlay along.
  void Update(const float& dt);
  // Buttons with their captions, tooltips under the mouse, then the labels.
  void DrawOverlay();

  // Takes ownership of button and gives the button the overlay holds under its name: this
  // one, or the first one added under a name already taken (the newcomer is then deleted).
  // Null for a null button.
  Button2D* AddButton(std::unique_ptr<Button2D> button);
  // Makes an image button width × height at (x, y) from the camera's position and adds it
  // as AddButton does.
  Button2D* AddImageButton(const std::string& name, const std::string& file, float x, float y,
                           float width, float height, bool disabled, bool hidden);
  Button2D* FindButton(const std::string& name);
  // Deletes the button held under name, if any.
  void RemoveButton(const std::string& name);
  // The cursor in world units, y up.
  VNVec2 CursorInWorld() const;
  // Adds a label the camera owns; the caller may change it later.
  TextLabel* AddText(const std::string& text, const float& x, const float& y);
  // Deletes every button and label.
  void ClearOverlay();

  // Moves the view by (dx, dy) world units at once, the overlay with it.
  void Scroll(float dx, float dy);

  bool followMode = false;
  float wheelImpulse = 0.0f;
  // The wheel turned in this frame, 120 per notch away from the user; set by the main loop.
  float wheelDelta = 0.0f;
  VNVec2* followTarget = nullptr;
  VNVec2 position = {0.0f, 0.0f};
  VNVec2 viewSize = {1280.0f, 720.0f};
  // Cursor in logical window pixels, origin top-left, y down.
  VNVec2 mouse = {0.0f, 0.0f};
  VNVec2 boundsMin = {0.0f, 0.0f};
  VNVec2 boundsMax = {0.0f, 0.0f};
  VNVec2 tileSize = {0.0f, 0.0f};
  bool clampToBounds = true;
  // Room the clamp leaves below the level's lower edge, so that what is drawn along the
  // bottom of the screen (the heads-up icons) never covers the level.
  float bottomMargin = 0.0f;
  std::vector<TextLabel*> labels;
  std::map<std::string, Button2D*> screenButtons;
  // Display-list bases of bold Courier New at 12 and 24 pixels, made at the first draw.
  unsigned smallFont = 0;
  unsigned largeFont = 0;
  // Scroll when the cursor touches a screen edge; also the game's full-screen state.
  bool edgeScroll = false;

private:
  void Move(const float& dt);
  void Clamp();
  void CarryOverlay(const VNVec2& moved);
  // Makes the overlay's fonts the first time it prints: a menu of pictures never needs them.
  void EnsureFonts();
  void DrawTooltip(float x, float y, const std::string& text);

  bool fontsCreated = false;
  static Camera* instance;
};
