#include "Framework/Camera.h"

#include <math.h>

#include "Framework/Button2D.h"
#include "Framework/TextLabel.h"
#include "Framework/TextOutline.h"
#include "World/Grid2D.h"

namespace
{
const float kFollowRate = 3.0f;
const float kWheelDecayRate = 15.0f;
const float kWheelRestThreshold = 0.5f;
const float kEdgeScrollStep = 20.0f;
// The edge band is this fraction of the view, measured in from each side.
const float kEdgeBand = 1.0f - 0.998f;

int Truncate(float value)
{
  return static_cast<int>(value);
}

// Tooltips: the small font's advance per character, and the margin of the dark box under them.
const float kTooltipAdvance = 7.2f;
const float kTooltipMargin = 4.0f;
const float kTooltipHeight = 12.0f;

// Text is printed by the colour program; its colour is the tint uniform.
void PrintText(unsigned font, float x, float y, const std::string& text, const Color4& color)
{
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxSetTintColor(color.r, color.g, color.b, 1.0f);
  VNGfxPrint(font, text.c_str(), Truncate(x), Truncate(y), 1.0f, 1.0f, 1.0f);
}
} // namespace

Camera* Camera::instance = nullptr;

Camera* Camera::Instance()
{
  if (!instance)
    instance = new Camera(0.0f, 0.0f, 1280.0f, 720.0f);
  return instance;
}

void Camera::Destroy()
{
  delete instance;
  instance = nullptr;
}

Camera::Camera(float x, float y, float width, float height)
    : position{x, y}, viewSize{width, height}
{
}

// The font display lists stay: at shutdown the GL context is already gone.
Camera::~Camera()
{
  ClearOverlay();
}

void Camera::Update(const float& dt)
{
  const VNVec2 old = position;

  if (fabsf(wheelImpulse) > kWheelRestThreshold)
    wheelImpulse -= wheelImpulse * kWheelDecayRate * dt;
  else
    wheelImpulse = 0.0f;

  int cursorX = 0;
  int cursorY = 0;
  VNInputGetCursorPosition(&cursorX, &cursorY);
  mouse = {static_cast<float>(cursorX), static_cast<float>(cursorY)};

  if (VNInputCheckTriggered(VN_KEY_F1))
    followMode = !followMode;

  Move(dt);
  if (clampToBounds)
    Clamp();
  VNGfxSetCamPosition(position.x, position.y);

  CarryOverlay({position.x - old.x, position.y - old.y});
}

void Camera::Move(const float& dt)
{
  if (followMode)
  {
    if (followTarget)
    {
      position.x += (followTarget->x - position.x) * kFollowRate * dt;
      position.y += (followTarget->y - position.y) * kFollowRate * dt;
    }
    return;
  }

  if (VNInputCheckCurr(VN_KEY_LBUTTON) && VNInputCheckCurr(VN_KEY_SPACE))
  {
    // The world follows the hand; screen y grows downward, world y upward.
    int dx = 0;
    int dy = 0;
    VNInputGetCursorPositionDelta(&dx, &dy);
    position.x -= static_cast<float>(dx);
    position.y += static_cast<float>(dy);
    return;
  }

  if (!edgeScroll)
    return;
  const float marginX = viewSize.x * kEdgeBand;
  const float marginY = viewSize.y * kEdgeBand;
  if (mouse.x >= viewSize.x - marginX)
    position.x += kEdgeScrollStep;
  else if (mouse.x <= marginX)
    position.x -= kEdgeScrollStep;
  if (mouse.y >= viewSize.y - marginY)
    position.y -= kEdgeScrollStep;
  else if (mouse.y <= marginY)
    position.y += kEdgeScrollStep;
}

// Tiles are centred on their grid points, so the level's extent runs half a tile to the
// left of x = 0 and half a tile above y = 0. The upper limits are applied first so that
// the lower ones win, and stay put, for a level smaller than the view.
void Camera::Clamp()
{
  const float hw = viewSize.x * 0.5f;
  const float hh = viewSize.y * 0.5f;
  const float tw = tileSize.x * 0.5f;
  const float th = tileSize.y * 0.5f;

  if (position.x + hw > boundsMax.x - tw)
    position.x = boundsMax.x - tw - hw;
  if (boundsMin.x - tw > position.x - hw)
    position.x = boundsMin.x - tw + hw;

  if (position.y + hh > boundsMax.y + th)
    position.y = boundsMax.y + th - hh;
  if (boundsMin.y + th - bottomMargin > position.y - hh)
    position.y = boundsMin.y + th - bottomMargin + hh;
}

void Camera::Scroll(float dx, float dy)
{
  position.x += dx;
  position.y += dy;
  VNGfxSetCamPosition(position.x, position.y);
  CarryOverlay({dx, dy});
}

void Camera::CarryOverlay(const VNVec2& moved)
{
  for (auto& [buttonName, button] : screenButtons)
  {
    button->position.x += moved.x;
    button->position.y += moved.y;
    button->PlaceLabels();
    button->SetHighlighted(button->IsMouseOver());
  }
  for (TextLabel* label : labels)
  {
    label->position.x += moved.x;
    label->position.y += moved.y;
  }
}

void Camera::EnsureFonts()
{
  if (fontsCreated)
    return;
  fontsCreated = true;
  smallFont = VNGfxCreateFont("Courier New", 12, 1, 0);
  largeFont = VNGfxCreateFont("Courier New", 24, 1, 0);
}

void Camera::DrawOverlay()
{
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxTextureSet(nullptr, 0.0f, 0.0f);
  VNGfxSetTransparency(1.0f);

  // The map's byte order of names is the drawing order: later names are drawn on top.
  for (auto& [buttonName, button] : screenButtons)
  {
    if (button->hidden)
      continue;
    button->Draw();
    const TextLabel* caption = button->caption;
    if (caption->text.empty())
      continue;
    EnsureFonts();
    PrintText(largeFont, caption->position.x - caption->width / 25.0f,
              caption->position.y + caption->height / 5.0f, caption->text, button->textColor);
  }

  for (auto& [buttonName, button] : screenButtons)
  {
    if (button->hidden || !button->IsMouseOver() || button->tooltip->text.empty())
      continue;
    const VNVec2 cursor = CursorInWorld();
    DrawTooltip(cursor.x, cursor.y, button->tooltip->text);
  }

  for (const TextLabel* label : labels)
  {
    EnsureFonts();
    if (label->outlined)
      PrintTextOutline(largeFont, label->text.c_str(), Truncate(label->position.x),
                       Truncate(label->position.y));
    PrintText(largeFont, label->position.x, label->position.y, label->text, label->tint);
  }
}

void Camera::DrawTooltip(float x, float y, const std::string& text)
{
  // Light text on a dark box reads on any tile and on a highlighted button.
  const float halfWidth = kTooltipAdvance * static_cast<float>(text.size()) / 2.0f + kTooltipMargin;
  const float halfHeight = kTooltipHeight / 2.0f + kTooltipMargin;
  if (VNGfxVertexList* box = BuildCentredQuad(halfWidth, halfHeight))
  {
    VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
    VNGfxTextureSet(nullptr, 0.0f, 0.0f);
    VNGfxSetTintColor(0.1f, 0.1f, 0.12f, 0.9f);
    VNGfxSetPosition(x + halfWidth - kTooltipMargin, y + kTooltipHeight / 2.0f - 2.0f);
    VNGfxMeshDraw(box, VN_GFX_MESH_TRIANGLES);
    VNGfxMeshFree(box);
  }
  const Color4 light = {1.0f, 1.0f, 0.85f, 1.0f};
  EnsureFonts();
  PrintText(smallFont, x, y, text, light);
}

Button2D* Camera::AddButton(std::unique_ptr<Button2D> button)
{
  if (!button)
    return nullptr;
  // A name already taken keeps its first button; the newcomer is freed with the pointer.
  auto [it, added] = screenButtons.try_emplace(button->name, button.get());
  if (added)
    button.release();
  return it->second;
}

VNVec2 Camera::CursorInWorld() const
{
  return {mouse.x - viewSize.x * 0.5f + position.x, -(mouse.y - viewSize.y * 0.5f - position.y)};
}

Button2D* Camera::AddImageButton(const std::string& name, const std::string& file, float x, float y,
                                 float width, float height, bool disabled, bool hidden)
{
  auto button = std::make_unique<Button2D>(name, file);
  button->width = width;
  button->height = height;
  button->SetPosition(position.x + x, position.y + y);
  button->disabled = disabled;
  button->hidden = hidden;
  return AddButton(std::move(button));
}

Button2D* Camera::FindButton(const std::string& buttonName)
{
  auto it = screenButtons.find(buttonName);
  return it == screenButtons.end() ? nullptr : it->second;
}

void Camera::RemoveButton(const std::string& buttonName)
{
  auto it = screenButtons.find(buttonName);
  if (it == screenButtons.end())
    return;
  delete it->second;
  screenButtons.erase(it);
}

TextLabel* Camera::AddText(const std::string& text, const float& x, const float& y)
{
  TextLabel* label = new TextLabel(text, x, y);
  labels.push_back(label);
  return label;
}

void Camera::ClearOverlay()
{
  for (TextLabel* label : labels)
    delete label;
  labels.clear();
  for (auto& [buttonName, button] : screenButtons)
    delete button;
  screenButtons.clear();
}
