#include "Actors/Enemy.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "World/Grid2D.h"

namespace
{
const float kWalkSpeed = 125.0f;
// A waypoint closer than this (squared, 5 units) is reached.
const float kArrivalSq = 25.0f;
// Home is where a co-worker stands within this many units on both axes.
const float kHomeTolerance = 2.0f;
const float kBubbleHeight = 67.0f;
const float kFanStep = 2.0f;
// Meter rise inside the circle or cone, fall while in range but unseen, creep in the
// outer ring up to its cap.
const float kDetectRate = 5.0f;
const float kForgetRate = 2.5f;
const float kOuterRingCap = 0.4f;
const float kOuterRingReach = 500.0f;
const uint32_t kWhite = 0xFFFFFFFFu;
// Rounds of partner draws before the choice falls back on the co-worker itself. A round
// ends on it with a chance of at least one in the number of co-workers, so only runs of
// draws that would go on practically for ever reach the cap.
const int kMaxPartnerRounds = 1000;
} // namespace

int Enemy::partnerAttempts = 10;

VNGfxVertexList* BuildFan(float start, float end, float radius, float step)
{
  const float toRadians = 3.1415925f / 180.0f;
  const int maxTriangles = VN_GFX_MESH_MAX_VERTICES / 3;
  VNGfxMeshStart();
  int triangles = 0;
  for (float a = start; step > 0.0f && a < end && triangles < maxTriangles; a += step)
  {
    const float a0 = a * toRadians;
    const float a1 = (a + step) * toRadians;
    VNGfxTriAdd(0.0f, 0.0f, kWhite, 0.0f, 0.0f, radius * VNCos(a0), radius * VNSin(a0), kWhite, 0.0f,
                0.0f, radius * VNCos(a1), radius * VNSin(a1), kWhite, 0.0f, 0.0f);
    ++triangles;
  }
  return VNGfxMeshEnd();
}

Enemy::Enemy(const char* image, int index, float x, float y)
    : Sprite2D(1, 4, image, x, y), index(index),
      timer(static_cast<float>(rand() % 10 + 1)), home{x, y}
{
  width = 45.0f;
  height = 90.0f;
  offset = {0.0f, 22.5f};

  bubbleSprite = new Sprite2D(1, 1, "Assets/b1.png", x, y + kBubbleHeight);
  bubbleSprite->AddTexture("Assets/b2.png");
  bubbleSprite->AddTexture("Assets/b3.png");
  bubbleSprite->AddTexture("Assets/b4.png");
  bubbleSprite->width = 66.0f;
  bubbleSprite->height = 65.0f;

  RebuildVision();
}

Enemy::~Enemy()
{
  delete bubbleSprite;
  VNGfxMeshFree(circleMesh);
  VNGfxMeshFree(coneMesh);
}

void Enemy::Update(const float& dt)
{
  switch (state)
  {
  case kAtDesk: UpdateAtDesk(dt); break;
  case kVisiting:
    if (!UpdateVisiting(dt))
      return;
    break;
  case kChatting: UpdateChatting(dt); break;
  case kReturning: UpdateReturning(dt); break;
  default: break;
  }

  if (playerPosition)
  {
    const bool concealed = playerConcealed && *playerConcealed;
    if (concealed || bubble == kBubbleAsleep)
      detection = 0.0f;
    else
      UpdateVisionValues();
    SightTest(dt);
  }

  if (bubble != kBubbleNone)
    bubbleSprite->SetTexture("Assets/b" + std::to_string(bubble) + ".png");
  bubbleSprite->position = {position.x, position.y + kBubbleHeight};

  Sprite2D::Update(dt);
  bubbleSprite->Update(dt);
}

void Enemy::Draw()
{
  DrawFrame(direction);
  if (bubble != kBubbleNone)
    bubbleSprite->Draw();
}

void Enemy::DrawVision()
{
  // The shapes are drawn with the detection as their opacity: at 0 they show nothing.
  if (detection <= 0.0f)
    return;
  VNMtx33 translation;
  VNMtx33 rotation;
  VNMtx33 transform;
  VNMtx33Trans(&translation, position.x, position.y);
  VNMtx33RotDeg(&rotation, coneRotation);
  VNMtx33Concat(&transform, &translation, &rotation);

  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxTextureSet(nullptr, 0.0f, 0.0f);
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxSetTransform(&transform);
  VNGfxSetTransparency(detection);
  VNGfxSetTintColor(detection, 1.0f - detection, 0.0f, 1.0f);
  VNGfxMeshDraw(circleMesh, VN_GFX_MESH_TRIANGLES);
  VNGfxMeshDraw(coneMesh, VN_GFX_MESH_TRIANGLES);
  VNGfxSetTransparency(1.0f);
}

void Enemy::SetPath(const std::list<VNVec2>& path)
{
  waypoints.clear();
  if (&path != &tilePath)
    tilePath = path;
  for (const VNVec2& node : tilePath)
    waypoints.push_back({node.x * Grid2D::kTileSize, node.y * Grid2D::kTileSize});
  pathCount = static_cast<int>(waypoints.size());
  pathIndex = 0;
  pathRequested = false;
}

Enemy* Enemy::Partner() const
{
  if (!enemies || partner < 0 || partner >= static_cast<int>(enemies->size()))
    return nullptr;
  return (*enemies)[partner];
}

bool Enemy::AtHome() const
{
  return std::abs(position.x - home.x) < kHomeTolerance &&
         std::abs(position.y - home.y) < kHomeTolerance;
}

bool Enemy::IsFreePartner(const Enemy* candidate) const
{
  return candidate != this && candidate->state == kAtDesk && candidate->available &&
         !candidate->reserved && candidate->AtHome();
}

void Enemy::PickPartner()
{
  // At most ten draws per choice; when none qualifies the last one drawn stays.
  if (partnerAttempts <= 0)
    return;
  --partnerAttempts;
  partner =
      static_cast<int>(static_cast<unsigned>(rand()) % static_cast<unsigned>(enemies->size()));
  if (!IsFreePartner((*enemies)[partner]))
    PickPartner();
  partnerAttempts = 10;
}

bool Enemy::ChoosePartner()
{
  // This co-worker is never reserved while it chooses, so it always ends the draws.
  for (int round = 0; round < kMaxPartnerRounds; ++round)
  {
    PickPartner();
    if (!(*enemies)[partner]->reserved)
      return true;
  }
  const auto self = std::find(enemies->begin(), enemies->end(), this);
  if (self == enemies->end())
    return false;
  partner = static_cast<int>(self - enemies->begin());
  return true;
}

bool Enemy::FollowPath(const float& dt)
{
  // A visitor stops one waypoint short of its partner's desk; the way home goes all the way.
  const bool done = returning ? pathIndex >= pathCount : pathIndex >= pathCount - 1;
  if (done)
    return true;

  const VNVec2 target = waypoints[pathIndex];
  VNVec2 toTarget;
  VNVec2Sub(&toTarget, &target, &position);
  const float distanceSq = VNVec2SquareLength(&toTarget);

  // Standing on the waypoint gives no step (and no facing change) rather than a NaN one.
  VNVec2 step = {0.0f, 0.0f};
  if (distanceSq > 0.0f)
  {
    VNVec2Normalize(&step, &toTarget);
    VNVec2Scale(&step, &step, kWalkSpeed * dt);
  }
  if (step.x > 0.0f)
    direction = 3;
  else if (step.x < 0.0f)
    direction = 1;
  if (step.y > 0.0f)
    direction = 2;
  else if (step.y < 0.0f)
    direction = 0;

  if (distanceSq < kArrivalSq)
  {
    position = target;
    ++pathIndex;
  }
  else
  {
    VNVec2Add(&position, &position, &step);
  }
  return false;
}

void Enemy::UpdateAtDesk(const float& dt)
{
  if (available && !reserved && enemies && !enemies->empty())
  {
    if (timer > 0.0f)
    {
      timer -= dt;
    }
    else
    {
      if (!ChoosePartner())
        return;
      Enemy* visited = (*enemies)[partner];
      pathRequested = true;
      available = false;
      visited->available = false;
      visited->reserved = true;
      state = kVisiting;
      bubble = kBubbleNone;
    }
  }
  // A co-worker chosen as partner while away from its desk walks home.
  if (reserved && !AtHome())
    state = kReturning;
}

bool Enemy::UpdateVisiting(const float& dt)
{
  if (pathRequested)
    return false;

  bubble = kBubbleNone;
  returning = false;
  if (FollowPath(dt))
  {
    state = kChatting;
    bubble = kBubbleChatting;
    timer = static_cast<float>(1 + rand() % 6);
    if (Enemy* visited = Partner())
    {
      visited->bubble = kBubbleChatting;
      visited->timer = timer;
    }
  }
  return true;
}

void Enemy::UpdateChatting(const float& dt)
{
  if (timer > 0.0f)
  {
    timer -= dt;
    return;
  }

  if (Enemy* visited = Partner())
  {
    visited->timer = 0.0f;
    visited->bubble = kBubbleNone;
    visited->state = kAtDesk;
    visited->available = true;
    visited->reserved = false;
  }
  timer = 0.0f;
  bubble = kBubbleNone;
  state = kReturning;
  tilePath.reverse();
  SetPath(tilePath);
}

void Enemy::UpdateReturning(const float& dt)
{
  returning = true;
  if (Enemy* visited = Partner())
  {
    visited->bubble = kBubbleWorking;
    visited->state = kAtDesk;
  }
  if (FollowPath(dt))
  {
    available = true;
    reserved = false;
    position = home;
    state = kAtDesk;
    timer = static_cast<float>(rand() % 10);
    const int mood = rand() % 10;
    bubble = mood < 6 ? kBubbleNone : mood < 8 ? kBubbleAsleep : kBubbleWorking;
  }
}

void Enemy::UpdateVisionValues()
{
  float newRadius = 60.0f;
  float newRange = 180.0f;
  if (state == kAtDesk)
  {
    newRadius = 70.0f;
    newRange = 120.0f;
  }
  else if (state == kChatting)
  {
    newRadius = 100.0f;
    newRange = 0.0f;
  }

  const bool shrinks = newRange < sightRange - 0.1f || newRadius < closeRadius - 0.1f;
  closeRadius = newRadius;
  sightRange = newRange;
  if (shrinks)
    RebuildVision();
}

void Enemy::RebuildVision()
{
  VNGfxMeshFree(coneMesh);
  VNGfxMeshFree(circleMesh);
  coneMesh = BuildFan(-coneWidth / 2.0f, coneWidth / 2.0f, sightRange, kFanStep);
  circleMesh = BuildFan(0.0f, 360.0f, closeRadius, kFanStep);
}

void Enemy::SightTest(const float& dt)
{
  static const VNVec2 looks[4] = {{0.0f, -1.0f}, {-1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}};
  static const float rotations[4] = {270.0f, 180.0f, 90.0f, 0.0f};
  if (direction >= 0 && direction < 4)
  {
    look = looks[direction];
    coneRotation = rotations[direction];
  }

  VNVec2 toPlayer;
  VNVec2Sub(&toPlayer, playerPosition, &position);
  const float distance = VNVec2Length(&toPlayer);

  if (distance <= closeRadius)
  {
    bubble = kBubbleSpotted;
    detection += kDetectRate * dt;
  }
  else if (distance <= sightRange)
  {
    bubble = kBubbleSpotted;
    // Rounding can push the cosine just past 1 straight ahead; acos would give NaN there.
    const float cosine = VNClamp(VNVec2DotProduct(&look, &toPlayer) / distance, -1.0f, 1.0f);
    const float angle = VNRadToDeg(VNACos(cosine));
    if (angle <= coneWidth / 2.0f)
    {
      detection += kDetectRate * dt;
    }
    else
    {
      caught = false;
      if (detection > kOuterRingCap)
        detection -= kForgetRate * dt;
    }
  }
  else if (distance <= kOuterRingReach - height / 4.0f)
  {
    bubble = kBubbleNone;
    // Capped, so that one long frame (a stall, a window drag) cannot carry the meter from the
    // outer ring to a capture.
    if (detection < kOuterRingCap)
      detection = VNMin(detection + dt, kOuterRingCap);
  }
  else if (detection > 0.0f)
  {
    detection -= kForgetRate * dt;
  }

  if (detection >= 1.0f)
    caught = true;
}
