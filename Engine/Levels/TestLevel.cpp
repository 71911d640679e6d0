#include "Levels/TestLevel.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <list>

#include "Actors/Enemy.h"
#include "Actors/Key.h"
#include "Actors/Player.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/Gamepad.h"
#include "Framework/LevelManager.h"
#include "Framework/SoundManager.h"
#include "World/Grid2D.h"
#include "World/LevelFile.h"

namespace
{
const float kLoadingSeconds = 1.5f;
// Squared reach of an exit: 40 units.
const float kExitReachSq = 1600.0f;
// Shown as play begins on a floor whose exits need the card, while the player stands on such
// an exit without it, and for a while after a decoy card is taken (it vanishes, and nothing
// else would tell).
const char* const kLockedExitText = "FIND THE ACCESS CARD TO LEAVE";
const float kLockedExitSeconds = 0.1f;
const float kCardNoticeSeconds = 3.0f;
const char* const kDecoyText = "THAT CARD WAS A DECOY";
const float kDecoySeconds = 2.5f;

const char* EnemyLook(int roll)
{
  if (roll >= 90)
    return "Assets/enemy2.png";
  if (roll >= 60)
    return "Assets/boss.png";
  return "Assets/enemy.png";
}

// Only the numbered floors have music of their own.
bool HasMusic(const std::string& levelName)
{
  const auto& floors = TestLevel::kFloorOrder;
  return levelName != floors[0] &&
         std::find(std::begin(floors), std::end(floors), levelName) != std::end(floors);
}

// A level file's name without its folder and extensions: ".../Level3.tmx" names "Level3".
std::string LevelNameOf(const std::string& levelFile)
{
  const std::string base = levelFile.substr(levelFile.find_last_of('/') + 1);
  return base.substr(0, base.find('.'));
}

template <typename T> void DeleteAll(std::vector<T*>& objects)
{
  for (T* object : objects)
    delete object;
  objects.clear();
}
} // namespace

TestLevel::TestLevel(std::string levelFile) : TestLevel(levelFile, LevelNameOf(levelFile)) {}

TestLevel::TestLevel(std::string levelFile, std::string levelName)
{
  fileName = levelFile;
  name = levelName;
}

TestLevel::~TestLevel()
{
  Unload();
}

void TestLevel::Load()
{
  LoadFloor(kLoading);
  AddScreenButtons();
  AddLoadingPicture();

  if (HasMusic(name))
    SoundManager::Instance()->Play("Assets/Sound/" + name + "BGM.ogg", true);
}

void TestLevel::LoadFloor(int startState)
{
  LoadTilemap(fileName);
  LoadAssets("Assets/Assets.tsm");
  camera->clampToBounds = true;

  endSoundPlayed = false;
  endSoundChannel = -1;
  playState = startState;
  loadingTime = 0.0f;
  runTime = 0.0f;

  Spawn();
}

void TestLevel::ClearFloor()
{
  DeleteAll(players);
  DeleteAll(enemies);
  DeleteAll(keys);
  exits.clear();
}

void TestLevel::Unload()
{
  ClearFloor();
  if (fontBase)
  {
    VNGfxDestroyFont(fontBase);
    fontBase = 0;
  }
}

void TestLevel::Update(const float& dt)
{
  if (testRun && VNInputCheckTriggered(VN_KEY_F8))
  {
    VNAudioChannelStop(endSoundChannel);
    LevelManager::Instance()->ChangeLevel(menuLevel);
    return;
  }
  if (playState == kLoading)
  {
    if (loadingTime < kLoadingSeconds)
    {
      loadingTime += dt;
    }
    else
    {
      // The picture goes fully transparent rather than hidden.
      if (Button2D* loading = FindButton("Loading"))
        loading->tint.a = 0.0f;
      SetHidden(FindButton("Pause"), false);
      playState = kPlaying;
    }
  }

  if (playState == kPlaying)
  {
    if (runTime == 0.0f && !noCardNeeded)
      ShowMessage(kLockedExitText, kCardNoticeSeconds);
    runTime += dt;
    // Both loops run even when the first ended play: a capture and an escape in the same
    // frame end escaped.
    for (Enemy* enemy : enemies)
    {
      enemy->Update(dt);
      AnswerEnemy(enemy);
    }
    messageTime -= dt;
    if (messageTime <= 0.0f)
      ShowMessage("", 0.0f);
    for (Player* player : players)
    {
      const size_t cardsLeft = keys.size();
      player->Update(dt);
      if (keys.size() < cardsLeft && player->heldCard != Key::kAccessCard)
        ShowMessage(kDecoyText, kDecoySeconds);
      CheckExits(player);
    }
  }

  UpdatePadImages();
  ScreenStep();
}

void TestLevel::Draw()
{
  for (Key* key : keys)
    key->Draw();
  // The vision shapes lie under every co-worker.
  for (Enemy* enemy : enemies)
    enemy->DrawVision();
  for (Enemy* enemy : enemies)
    enemy->Draw();
  DrawUnderPlayers();
  for (Player* player : players)
    player->Draw();
}

void TestLevel::Spawn()
{
  // A repeated Load without Unload starts from an empty floor rather than doubling it.
  ClearFloor();

  if (tilemap)
  {
    const std::vector<EventRecord*>& records = tilemap->events;
    for (size_t i = 0; i < records.size(); ++i)
    {
      const EventRecord& record = *records[i];
      // The file's reader said so already: an event off the map keeps its record only.
      if (!EventOnMap(record, tilemap->width, tilemap->height))
        continue;
      // Event positions are in tiles.
      const VNVec2 at = {record.x * Grid2D::kTileSize, record.y * Grid2D::kTileSize};
      if (record.trigger == "EXIT")
      {
        exits.push_back(at);
      }
      else if (record.trigger == "SPAWN")
      {
        Player* player = new Player();
        player->name = "Player1";
        player->position = at;
        player->tilemap = tilemap;
        player->keys = &keys;
        players.push_back(player);
      }
      else if (record.trigger == "ENEMY")
      {
        const char* look = EnemyLook(rand() % 100);
        Enemy* enemy = new Enemy(look, static_cast<int>(i), at.x, at.y);
        enemy->enemies = &enemies;
        enemies.push_back(enemy);
      }
      else if (record.trigger == "KEY")
      {
        keys.push_back(new Key(at.x, at.y));
      }
    }
  }

  noCardNeeded = keys.empty();
  if (!noCardNeeded)
  {
    const size_t real = keys.size() > 1 ? static_cast<size_t>(rand()) % keys.size() : 0;
    keys[real]->cardValue = Key::kAccessCard;
  }

  // The camera and the co-workers watch the first player only.
  Player* watched = players.empty() ? nullptr : players.front();
  if (watched)
  {
    camera->followTarget = &watched->position;
    camera->followMode = true;
  }
  for (Enemy* enemy : enemies)
  {
    enemy->playerPosition = watched ? &watched->position : nullptr;
    enemy->playerConcealed = watched ? &watched->concealed : nullptr;
  }
}

void TestLevel::AnswerEnemy(Enemy* enemy)
{
  if (enemy->caught)
    EnterCaptureScreen();
  if (!enemy->pathRequested)
    return;

  std::list<VNVec2> path;
  if (tilemap && enemy->partner >= 0 && enemy->partner < static_cast<int>(enemies.size()))
    path = tilemap->FindPath(enemy->position, enemies[enemy->partner]->home);
  enemy->SetPath(path);
}

void TestLevel::CheckExits(const Player* player)
{
  const bool mayLeave = player->heldCard == Key::kAccessCard || noCardNeeded;
  bool atExit = false;
  for (const VNVec2& exit : exits)
  {
    if (VNVec2SquareDistance(&player->position, &exit) > kExitReachSq)
      continue;
    atExit = true;
    if (mayLeave)
      EnterEscapeScreen();
  }
  if (atExit && !mayLeave)
    ShowMessage(kLockedExitText, kLockedExitSeconds);
}

void TestLevel::UpdatePadImages()
{
  const bool pad = Gamepad::IsConnected();
  VNInputSetCursorVisible(pad ? 0 : 1);
  ShowImage(FindButton("iconJ"), pad ? "Assets/iconJ2.png" : "Assets/iconJ.png");
  ShowImage(FindButton("iconK"), pad ? "Assets/iconK2.png" : "Assets/iconK.png");
  ShowImage(FindButton("MainMenu"), pad ? "Assets/MainMenu2.png" : "Assets/MainMenu.png");
}
