#include "Framework/Button2D.h"

#include "Framework/Camera.h"
#include "Framework/SoundManager.h"

namespace
{
const char* const kClickSound = "Assets/Sound/MouseClick.wav";
const char* const kHoverSound = "Assets/Sound/MouseOver.wav";
const Color4 kHighlightTint = {1.8f, 1.8f, 1.0f, 1.0f};
} // namespace

Button2D::Button2D(std::string buttonName) : tooltip(new TextLabel()), caption(new TextLabel())
{
  name = buttonName;
  caption->SetText(buttonName);
}

Button2D::Button2D(std::string buttonName, std::string file)
    : tooltip(new TextLabel()), caption(new TextLabel())
{
  name = buttonName;
  AddTexture(file);
  SetTexture(file);
}

Button2D::~Button2D()
{
  delete tooltip;
  delete caption;
}

void Button2D::Update(const float&) {}

void Button2D::SetPosition(const float& x, const float& y)
{
  position = {x, y};
  PlaceLabels();
}

void Button2D::PlaceLabels()
{
  const VNVec2 at = {position.x - width / 3.0f, position.y - height * 0.25f};
  caption->position = at;
  tooltip->position = at;
}

void Button2D::SetHighlighted(bool highlighted)
{
  const Color4 shade = highlighted ? kHighlightTint : Color4{};
  tint = {shade.r, shade.g, shade.b, tint.a};
}

bool Button2D::IsClicked()
{
  if (disabled || !VNInputCheckTriggered(VN_KEY_LBUTTON) || hidden || !HitTest())
    return false;
  SoundManager::Instance()->Play(kClickSound, false);
  return true;
}

bool Button2D::IsMouseOver()
{
  if (disabled || hidden)
    return false;
  if (!HitTest())
  {
    hovered = false;
    return false;
  }
  if (!hovered)
    SoundManager::Instance()->Play(kHoverSound, false);
  hovered = true;
  return true;
}

std::string Button2D::GetTooltip() const
{
  return tooltip->text;
}

bool Button2D::HitTest() const
{
  const VNVec2 cursor = Camera::Instance()->CursorInWorld();
  return position.x - width * 0.5f <= cursor.x && cursor.x <= position.x + width * 0.5f &&
         position.y - height * 0.5f <= cursor.y && cursor.y <= position.y + height * 0.5f;
}

void ShowImage(Button2D* button, const std::string& file)
{
  if (!button)
    return;
  button->AddTexture(file);
  button->SetTexture(file);
}

void SetHidden(Button2D* button, bool hidden)
{
  if (button)
    button->hidden = hidden;
}
