#include "Levels/TutorialLevel.h"

#include "Actors/Enemy.h"
#include "Actors/Player.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/SoundManager.h"
#include "Framework/TextOutline.h"

namespace
{
// The inks of the hints.
enum HintColour
{
  RED,
  GREEN,
};

// World positions chosen for the tutorial floor's layout.
const TutorialLevel::Hint kHints[] = {
    {"Movement Controls: W A S D", 100, 470, RED},
    {"Objective:", 100, 330, RED},
    {"Find the EXIT", 100, 290, RED},
    {"without being caught", 100, 250, RED},
    {"Introducing the different states of Co-workers", 75, 640, RED},
    {"Sleep", 168, 735, GREEN},
    {"State", 168, 700, GREEN},
    {"Work", 470, 735, GREEN},
    {"State", 468, 700, GREEN},
    {"HINT:", 735, 330, RED},
    {"TO TRANSFORM", 670, 290, RED},
    {"PRESS 'J'", 712, 250, RED},
    {"WALKING", 1317, 405, GREEN},
    {"STATE", 1335, 365, GREEN},
    {"WARNING: Avoid walking too close to co-workers!!!", 1050, 715, RED},
    {"When you are in a tight situation, it's best to disappear...", 1360, 890, RED},
    {"Hint: Press K to Stealth", 1760, 1090, RED},
    {"REMINDER:", 1352, 1040, RED},
    {"Limited to 1", 1350, 1000, RED},
    {"Usage per Level", 1330, 960, RED},
    {" <<< THIS WAY TO ESCAPE <<< ", 380, 1315, RED},
    {"Lastly, there are Levels", 218, 1835, RED},
    {"which require you to find", 212, 1795, RED},
    {"an access card in order", 218, 1755, RED},
    {"to escape the level", 235, 1715, RED},
    {"Press E when near", 245, 1590, RED},
    {"to pick up", 285, 1550, RED},
};

// What is seen is the print colour times the tint.
struct Ink
{
  float print[3];
  float tint[3];
};
const Ink kInks[] = {
    {{1.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}},
    {{1.0f, 1.0f, 1.0f}, {83.0f / 255.0f, 127.0f / 255.0f, 75.0f / 255.0f}},
};

const int kHintFontHeight = 24;
// Descenders reach at most a third of the font height below the baseline.
const int kHintDescent = kHintFontHeight / 3;
} // namespace

TutorialLevel::TutorialLevel() : TestLevel("TutorialLevel.tmx") {}

void TutorialLevel::Load()
{
  LoadFloor(kPlaying);

  if (fontBase)
    VNGfxDestroyFont(fontBase);
  fontBase = VNGfxCreateFont("Comic Sans MS", kHintFontHeight, 1, 0);

  AddScreenButtons();
  SetHidden(FindButton("Pause"), false);
  if (Button2D* banner = FindButton("Game_State"))
    banner->disabled = false;

  SoundManager::Instance()->Play("Assets/Sound/TutorialBGM.ogg", true);
}

void TutorialLevel::Update(const float& dt)
{
  if (playState != kPlaying)
  {
    ScreenStep();
    return;
  }

  runTime += dt;
  for (Enemy* enemy : enemies)
  {
    enemy->Update(dt);
    Pin(enemy);
    AnswerEnemy(enemy);
  }
  for (Player* player : players)
  {
    player->Update(dt);
    // Stealth may be used again and again wherever the floor can be left.
    if (!exits.empty())
      player->stealthUsed = false;
    CheckExits(player);
  }

  ScreenStep();
}

std::vector<const TutorialLevel::Hint*> TutorialLevel::ShownHints()
{
  // The strip is the room the camera leaves below the floor for the icons. A hint at the
  // bottom of the screen is far from the player; it shows again as the player comes nearer.
  const Camera* camera = Camera::Instance();
  const float stripTop = camera->position.y - camera->viewSize.y * 0.5f + camera->bottomMargin;
  std::vector<const Hint*> shown;
  for (const Hint& hint : kHints)
    if (static_cast<float>(hint.y - kHintDescent - kTextOutline) >= stripTop)
      shown.push_back(&hint);
  return shown;
}

void TutorialLevel::Pin(Enemy* enemy)
{
  if (enemy->index < kFirstPinned || enemy->index > kLastPinned)
    return;

  if (enemy->index == kSleeper)
  {
    enemy->bubble = Enemy::kBubbleAsleep;
    // A sleeper's meter restarts from zero every frame, but one very long frame could
    // still fill it; a sleeper never catches anyone.
    enemy->caught = false;
  }
  else if (enemy->index == kWorker)
  {
    enemy->bubble = Enemy::kBubbleWorking;
  }
  else
  {
    enemy->bubble = Enemy::kBubbleNone;
  }
  // Never starts a visit and is never chosen as a partner.
  enemy->state = Enemy::kAtDesk;
  enemy->available = false;
  enemy->reserved = true;
}

void TutorialLevel::DrawUnderPlayers()
{
  // Every outline first, so that no hint's outline covers a neighbouring hint's text.
  const std::vector<const Hint*> shown = ShownHints();
  for (const Hint* hint : shown)
    PrintTextOutline(fontBase, hint->text, hint->x, hint->y);

  const Ink* current = nullptr;
  for (const Hint* hint : shown)
  {
    const Ink& ink = kInks[hint->ink];
    if (&ink != current)
    {
      VNGfxSetTintColor(ink.tint[0], ink.tint[1], ink.tint[2], 1.0f);
      current = &ink;
    }
    VNGfxPrint(fontBase, hint->text, hint->x, hint->y, ink.print[0], ink.print[1], ink.print[2]);
  }
}
