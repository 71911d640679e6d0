#pragma once

#include <list>
#include <vector>

#include "Framework/Sprite2D.h"

// A co-worker. It works or sleeps at its desk, walks over to another co-worker's desk
// along a grid path that the level finds for it, chats there and walks back. All the while
// a circle around it and a cone in front of it fill its detection meter while the player
// is inside them; a full meter catches the player.
class Enemy : public Sprite2D
{
public:
  // Behaviour states.
  static constexpr int kAtDesk = 1;
  static constexpr int kVisiting = 2;
  static constexpr int kChatting = 3;
  static constexpr int kReturning = 4;

  // Bubbles over the head; the image of bubble n is "Assets/b<n>.png".
  static constexpr int kBubbleNone = 0;
  static constexpr int kBubbleAsleep = 1;
  static constexpr int kBubbleSpotted = 2;
  static constexpr int kBubbleChatting = 3;
  static constexpr int kBubbleWorking = 4;

  // index: position of this co-worker's record among all event records of the level file.
  Enemy(const char* image, int index, float x, float y);
  ~Enemy() override;

  void Update(const float& dt) override;
  // The body facing its direction, then the bubble.
  void Draw() override;
  // The detection circle and cone, coloured from green to red as the meter fills and as
  // transparent as it is empty.
  void DrawVision();
  // Takes a path in tile units, from this co-worker's cell to its partner's, start first.
  void SetPath(const std::list<VNVec2>& path);

  int index;
  int state = kAtDesk;
  float timer;
  std::vector<Enemy*>* enemies = nullptr;
  Sprite2D* bubbleSprite = nullptr;
  float detection = 0.0f;
  VNVec2 look = {0.0f, -1.0f};
  bool available = true;
  bool reserved = false;
  bool returning = false;
  float coneRotation = 270.0f;
  float closeRadius = 60.0f;
  float coneWidth = 100.0f;
  float sightRange = 180.0f;
  VNGfxVertexList* circleMesh = nullptr;
  VNGfxVertexList* coneMesh = nullptr;
  int pathIndex = 0;
  int pathCount = 0;
  std::vector<VNVec2> waypoints;
  std::list<VNVec2> tilePath;
  VNVec2 home;
  // Index in enemies of the co-worker being visited.
  int partner = 0;
  // Facing: 0 down, 1 left, 2 up, 3 right; also the row of the body's sprite sheet.
  int direction = 0;
  int bubble = kBubbleWorking;
  // Null when the level has no player: no detection then.
  VNVec2* playerPosition = nullptr;
  bool* playerConcealed = nullptr;
  bool caught = false;
  // A path to the partner is wanted; the level answers it right after this update.
  bool pathRequested = false;

  // Partner draws left in the current choice, shared by every co-worker.
  static int partnerAttempts;

private:
  Enemy* Partner() const;
  bool IsFreePartner(const Enemy* candidate) const;
  bool AtHome() const;
  void PickPartner();
  // PickPartner until the partner is not reserved, the rounds bounded; false only when
  // no choice ends and this co-worker is missing from enemies.
  bool ChoosePartner();
  // Walks towards the next waypoint; true when the path is done.
  bool FollowPath(const float& dt);
  void UpdateAtDesk(const float& dt);
  // False when the update must end here (the path has not arrived yet).
  bool UpdateVisiting(const float& dt);
  void UpdateChatting(const float& dt);
  void UpdateReturning(const float& dt);
  void UpdateVisionValues();
  // (Re)makes the cone and circle meshes at the current sight range and close radius.
  void RebuildVision();
  void SightTest(const float& dt);
};

// A triangle fan around (0, 0): one white triangle per step degrees from start up to end,
// its outer points at radius. Empty when start >= end. The caller frees it.
VNGfxVertexList* BuildFan(float start, float end, float radius, float step);
