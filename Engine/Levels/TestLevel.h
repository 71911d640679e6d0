#pragma once

#include <string>
#include <vector>

#include "Framework/Level.h"

class Button2D;
class Enemy;
class Key;
class Player;
struct TextLabel;

// A playable office floor built from one level file: the player, the co-workers, the key
// cards and the exits come from the file's events. After a loading picture, play runs until
// the player reaches an exit (with the access card where the floor has cards) or a
// co-worker's meter is full; the pause, capture and escape screens follow.
class TestLevel : public Level
{
public:
  // What the screens show: the level's play state.
  static constexpr int kLoading = -1;
  static constexpr int kPlaying = 0;
  static constexpr int kEscaped = 1;
  static constexpr int kCaught = 2;
  static constexpr int kPaused = 3;
  // The game's floors in the order they are played, the tutorial first: an escape from one
  // is kept in the progress, and the escape screen offers the one after it.
  static constexpr const char* kFloorOrder[] = {"TutorialLevel", "Level1", "Level2",
                                                "Level3",        "Level4", "Level5"};

  // The level's name is fileName's last part up to its first ".".
  explicit TestLevel(std::string levelFile);
  // A level of that name played from levelFile.
  TestLevel(std::string levelFile, std::string levelName);
  ~TestLevel() override;

  void Load() override;
  void Unload() override;
  void Update(const float& dt) override;
  // Key cards, then every co-worker's vision, then the co-workers, then DrawUnderPlayers,
  // then the players.
  void Draw() override;

  // Where the MENU buttons of the pause, capture and escape screens lead.
  std::string menuLevel = "Main Menu";
  // A test run from the editor: F8 goes straight back to menuLevel.
  bool testRun = false;

protected:
  // Drawn between the co-workers and the players; nothing on an ordinary floor.
  virtual void DrawUnderPlayers() {}
  // What every Load shares: the tilemap and manifest, the camera clamp, the end-of-level
  // sound reset, the starting play state, then the spawn.
  void LoadFloor(int startState);
  // Turns the grid's event records into exits, players, co-workers and key cards, and
  // chooses the real access card.
  void Spawn();
  // What the level does for a co-worker right after its update: a capture, or the path
  // it asked for.
  void AnswerEnemy(Enemy* enemy);
  // Enters the escape screen when the player stands at an exit with what it needs.
  void CheckExits(const Player* player);
  // Keyboard or pad images on the heads-up icons and the main-menu button, and the cursor.
  void UpdatePadImages();

  // The screens: PlayScreens.cpp.
  // Adds "Pause", "Game_State", "Retry", "MainMenu" and "Next" to the camera overlay.
  void AddScreenButtons();
  // Adds the full-screen loading picture.
  void AddLoadingPicture();
  void EnterCaptureScreen();
  void EnterEscapeScreen();
  // Prints the run's time on the escape screen beside the floor's best, and keeps an
  // escape from one of the game's floors in the progress.
  void ShowRunTime();
  // Shows a short message above the player for at least that many seconds of play.
  void ShowMessage(const char* text, float seconds);
  // Runs last in every update: the pause, capture and escape screens' bindings.
  void ScreenStep();
  // The overlay button of that name, or null.
  Button2D* FindButton(const std::string& buttonName) const;

  std::vector<Player*> players;
  std::vector<Enemy*> enemies;
  std::vector<Key*> keys;
  std::vector<VNVec2> exits;
  // The message shown above the player (a locked exit, a decoy), empty while none is;
  // the camera owns it. It stays for messageTime more seconds of play.
  TextLabel* messageLabel = nullptr;
  float messageTime = 0.0f;
  // 96-glyph bitmap font for floor texts, made by a floor that prints any (the tutorial's
  // hints) when it loads; 0 before and once Unload has deleted it.
  unsigned int fontBase = 0;
  int playState = kLoading;
  float loadingTime = 0.0f;
  // Seconds played since the floor loaded, pauses and the loading picture left out.
  float runTime = 0.0f;
  bool noCardNeeded = true;
  bool endSoundPlayed = false;
  // Channel of the escape or capture jingle; the capture screen stops it when it leaves
  // for the menu.
  int endSoundChannel = -1;

private:
  // Deletes the players, co-workers and key cards and forgets the exits.
  void ClearFloor();
  void PlayingStep();
  void PausedStep();
  void EscapedStep();
  void CaughtStep();
};
