#pragma once

#include <vector>

#include "Levels/TestLevel.h"

class Enemy;

// The training floor: it plays like any office floor but prints hints on the floor
// beside what they explain, keeps six co-workers fixed at their desks to show the
// sleeping and working states, gives stealth back in every frame and starts play at once,
// without the loading picture.
class TutorialLevel : public TestLevel
{
public:
  TutorialLevel();

  void Load() override;
  void Update(const float& dt) override;

  // Co-workers whose record index lies in this range stay at their desks.
  static constexpr int kFirstPinned = 5;
  static constexpr int kLastPinned = 10;
  // The pinned co-worker that sleeps, and the one that works.
  static constexpr int kSleeper = 9;
  static constexpr int kWorker = 10;

  // A line of hint text, printed with its baseline starting at world point (x, y) in one
  // of the inks (red or green).
  struct Hint
  {
    const char* text;
    int x;
    int y;
    int ink;
  };
  // The hints drawn with the camera where it stands: every hint but those that would
  // reach into the strip along the bottom of the screen where the heads-up icons sit.
  static std::vector<const Hint*> ShownHints();

protected:
  // The hints, over the co-workers and under the players.
  void DrawUnderPlayers() override;

private:
  static void Pin(Enemy* enemy);
};
