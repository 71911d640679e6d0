#include "Actors/Player.h"

#include <cmath>
#include <cstdlib>

#include "Actors/Key.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/Gamepad.h"
#include "World/Grid2D.h"

namespace
{
const float kWalkSpeed = 180.0f;
const float kStealthSpeed = 135.0f;
const float kStealthDuration = 2.0f;
const float kTransformCooldown = 3.0f;
const float kSmokeDuration = 0.5f;
// Squared reach of the pick-up, about 54.8 units.
const float kPickUpReachSq = 3000.0f;
const float kStickThreshold = 0.6f;
// The heads-up icons reach this far up from the bottom of the screen; the camera keeps
// the floor above them.
const float kHeadsUpRoom = 100.0f;
// How far a blocked straight walk looks to each side for room to pass: half a tile.
const float kCornerReach = 25.0f;

// Adds a disabled heads-up icon at screen point (x, y) to the camera overlay, or gives
// null when the overlay already holds a button of that name (the camera would delete the
// newcomer).
Button2D* AddHeadsUpIcon(const char* name, const char* file, float x, float y)
{
  Camera* camera = Camera::Instance();
  if (camera->FindButton(name))
    return nullptr;
  return camera->AddImageButton(name, file, x, y, 75.0f, 75.0f, true, true);
}

// The walk direction with its y set to sign (or its x, below), normalised with the other
// axis as it stands.
VNVec2 WithVertical(const VNVec2& v, float sign)
{
  const float n = std::sqrt(v.x * v.x + 1.0f);
  return {v.x / n, sign / n};
}

VNVec2 WithHorizontal(const VNVec2& v, float sign)
{
  const float n = std::sqrt(v.y * v.y + 1.0f);
  return {sign / n, v.y / n};
}

float StickAxis(int16_t raw)
{
  return static_cast<float>(raw) / 32768.0f;
}
} // namespace

Player::Player() : Sprite2D(1, 11, "Assets/player.png", 0.0f, 0.0f)
{
  width = 50.0f;
  height = 100.0f;

  smoke = new Sprite2D(1, 1, "Assets/smoke.png", 0.0f, 0.0f);
  smoke->width = 70.0f;
  smoke->height = 80.0f;
  smoke->hidden = true;

  iconE = new Sprite2D(1, 1, "Assets/iconE.png", 0.0f, 0.0f);
  iconE->AddTexture("Assets/iconE2.png");
  iconE->width = 32.0f;
  iconE->height = 32.0f;
  iconE->hidden = true;

  Camera::Instance()->bottomMargin = kHeadsUpRoom;
  keyIcon = AddHeadsUpIcon("keyUI", "Assets/iconKey.png", -600.0f, -300.0f);
  iconJ = AddHeadsUpIcon("iconJ", "Assets/iconJ.png", -50.0f, -300.0f);
  iconK = AddHeadsUpIcon("iconK", "Assets/iconK.png", 50.0f, -300.0f);
}

Player::~Player()
{
  delete smoke;
  delete iconE;
  // The heads-up icons belong to the camera overlay, which deletes them at the level change.
}

void Player::Update(const float& dt)
{
  UpdateHeadsUp(dt);
  UpdateDisguise(dt);

  // A disguised player neither walks, nor picks up, nor starts stealth.
  VNVec2 velocity = {0.0f, 0.0f};
  if (!transformed)
  {
    velocity = Walk(dt);
    PickUpKey();
    StartStealth();
  }

  float speed = kWalkSpeed;
  if (stealthTime > 0.0f)
  {
    stealthTime -= dt;
    speed = kStealthSpeed;
    stealthed = true;
  }
  else
  {
    stealthed = false;
    tint.a = 1.0f;
  }
  position.x += velocity.x * speed * dt;
  position.y += velocity.y * speed * dt;
  concealed = transformed || stealthed;

  Sprite2D::Update(dt);
  smoke->Update(dt);
  iconE->Update(dt);
}

void Player::Draw()
{
  DrawFrame(frame);
  smoke->Draw();
  iconE->Draw();
}

Player::WalkInput Player::ReadWalkInput()
{
  const float stickX = StickAxis(Gamepad::state.thumbLX);
  const float stickY = StickAxis(Gamepad::state.thumbLY);
  WalkInput input;
  input.up = VNInputCheckCurr('W') || stickY > kStickThreshold;
  input.down = VNInputCheckCurr('S') || stickY < -kStickThreshold;
  input.left = VNInputCheckCurr('A') || stickX < -kStickThreshold;
  input.right = VNInputCheckCurr('D') || stickX > kStickThreshold;
  return input;
}

void Player::UpdateHeadsUp(const float& dt)
{
  if (hudTime < 1.6f)
  {
    hudTime += dt;
    if (hudTime < 1.5f)
    {
      SetHidden(iconJ, false);
      // A stealth spent this early stays spent on screen too.
      SetHidden(iconK, stealthUsed);
    }
  }
  smoke->position = position;
  SetHidden(keyIcon, heldCard == 0);
}

void Player::UpdateDisguise(const float& dt)
{
  const bool disguiseHeld = VNInputCheckCurr('J') || Gamepad::IsHeld(Gamepad::X);
  if (transformCooldown <= 0.0f && disguiseHeld && !transformed)
  {
    if (smokeTime <= 0.0f)
    {
      smokeTime = kSmokeDuration;
      smoke->hidden = false;
    }
    frame = 8 + rand() % 3;
    transformed = true;
  }

  // The disguise lasts while J or pad X is held. Asked of the keys rather than of their
  // release, so that a release the player did not see (during the pause) still ends it.
  if (transformed && !disguiseHeld)
  {
    transformed = false;
    frame = 0;
    transformCooldown = kTransformCooldown;
  }

  const bool coolingDown = transformCooldown >= 0.0f && !transformed;
  if (coolingDown)
    transformCooldown -= dt;
  if (iconJ)
  {
    const float shade = coolingDown ? 0.5f : 1.0f;
    iconJ->tint.r = shade;
    iconJ->tint.g = shade;
    iconJ->tint.b = shade;
  }

  if (smokeTime >= 0.0f)
  {
    smoke->tint.a = smokeTime * 2.0f;
    smokeTime -= dt;
  }
  else
  {
    smoke->hidden = true;
  }
}

bool Player::CanStep(float x0, float y0, float x1, float y1) const
{
  return tilemap && tilemap->IsWalkableAt(x0, y0) && tilemap->IsWalkableAt(x1, y1);
}

VNVec2 Player::Walk(const float& dt)
{
  const WalkInput input = ReadWalkInput();
  // The probes look ahead by the walking speed, also while stealth slows the player.
  const float s = kWalkSpeed * dt;
  const float x = position.x;
  const float y = position.y;
  VNVec2 v = {0.0f, 0.0f};

  // Each accepted direction sets its axis and normalises with the other axis as it
  // stands, so perpendicular directions make a unit diagonal and of two opposite ones
  // the later wins.
  if (input.up)
  {
    if (CanStep(x + 10.0f, y + s + 10.0f, x - 10.0f, y + s + 10.0f))
      v = WithVertical(v, 1.0f);
    frame = input.left ? 3 : input.right ? 5 : 4;
  }
  if (input.down)
  {
    if (CanStep(x + 10.0f, y - s - 45.0f, x - 10.0f, y - s - 45.0f))
      v = WithVertical(v, -1.0f);
    frame = input.left ? 1 : input.right ? 7 : 0;
  }
  if (input.left)
  {
    if (CanStep(x - s - 25.0f, y, x - s - 25.0f, y - 35.0f))
      v = WithHorizontal(v, -1.0f);
    frame = input.up ? 3 : input.down ? 1 : 2;
  }
  if (input.right)
  {
    if (CanStep(x + s + 25.0f, y, x + s + 25.0f, y - 35.0f))
      v = WithHorizontal(v, 1.0f);
    frame = input.up ? 5 : input.down ? 7 : 6;
  }

  const bool vertical = input.up != input.down;
  const bool horizontal = input.left != input.right;
  if (v.x == 0.0f && v.y == 0.0f && vertical != horizontal)
  {
    const VNVec2 heading = {horizontal ? (input.right ? 1.0f : -1.0f) : 0.0f,
                            vertical ? (input.up ? 1.0f : -1.0f) : 0.0f};
    v = SlideAroundCorner(heading, s);
  }
  return v;
}

VNVec2 Player::SlideAroundCorner(const VNVec2& heading, float s) const
{
  const float x = position.x;
  const float y = position.y;
  // The two probes of the blocked step, as in Walk, shifted sideways by d.
  const auto stepFree = [&](float d)
  {
    if (heading.y > 0.0f)
      return CanStep(x + d + 10.0f, y + s + 10.0f, x + d - 10.0f, y + s + 10.0f);
    if (heading.y < 0.0f)
      return CanStep(x + d + 10.0f, y - s - 45.0f, x + d - 10.0f, y - s - 45.0f);
    const float ahead = heading.x < 0.0f ? x - s - 25.0f : x + s + 25.0f;
    return CanStep(ahead, y + d, ahead, y + d - 35.0f);
  };
  // The nearest sideways offset that frees the step, on either side; a flat wall has none.
  for (float d = 1.0f; d <= kCornerReach; d += 1.0f)
  {
    for (const float side : {-1.0f, 1.0f})
    {
      if (!stepFree(side * d))
        continue;
      // Sideways only as far as the offset, and only where the body itself may go.
      const float share = d < s ? d / s : 1.0f;
      if (heading.y != 0.0f)
      {
        const float edge = x + side * (s + 25.0f);
        return CanStep(edge, y, edge, y - 35.0f) ? VNVec2{side * share, 0.0f} : VNVec2{0.0f, 0.0f};
      }
      const float edge = side > 0.0f ? y + s + 10.0f : y - s - 45.0f;
      return CanStep(x + 10.0f, edge, x - 10.0f, edge) ? VNVec2{0.0f, side * share}
                                                       : VNVec2{0.0f, 0.0f};
    }
  }
  return {0.0f, 0.0f};
}

void Player::PickUpKey()
{
  iconE->hidden = true;
  // With the real card in hand E does nothing more: no prompt over the decoys left.
  if (!keys || heldCard == Key::kAccessCard)
    return;

  for (size_t i = 0; i < keys->size(); ++i)
  {
    Key* key = (*keys)[i];
    if (VNVec2SquareDistance(&position, &key->home) > kPickUpReachSq)
      continue;

    iconE->SetTexture(Gamepad::IsConnected() ? "Assets/iconE2.png" : "Assets/iconE.png");
    iconE->position = {position.x, position.y + 50.0f};
    iconE->hidden = false;

    const bool pickUp = VNInputCheckTriggered('E') || Gamepad::IsHeld(Gamepad::Y);
    if (pickUp)
    {
      // A decoy is taken too: it vanishes and leaves the player empty-handed.
      heldCard = key->cardValue;
      keys->erase(keys->begin() + static_cast<long>(i));
      delete key;
    }
    return;
  }
}

void Player::StartStealth()
{
  if (stealthUsed)
    return;

  if (VNInputCheckTriggered('K') || Gamepad::IsHeld(Gamepad::B))
  {
    if (stealthTime <= 0.0f)
    {
      stealthTime = kStealthDuration;
      tint.a = 0.5f;
    }
    stealthUsed = true;
    SetHidden(iconK, true);
  }
  else
  {
    SetHidden(iconK, false);
  }
}
