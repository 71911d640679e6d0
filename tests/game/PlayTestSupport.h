// Small floors for the play tests: level files drawn as ASCII pictures, a view into a
// gameplay level's state, and frames driven in the main loop's order.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/Gamepad.h"
#include "Framework/Level.h"
#include "Framework/LevelManager.h"
#include "Framework/SoundManager.h"
#include "Framework/TextLabel.h"
#include "Levels/TestLevel.h"
#include "ScratchFolder.h"
#include "TestInput.h"
#include "TestWindow.h"
#include "Vorn.h"
#include "World/Grid2D.h"

// A folder of its own for this test program's level files, removed at exit. A gameplay
// level's name is its file name up to the first ".", so the folder's path must hold none.
inline const std::string& FloorFolder()
{
  static const ScratchFolder folder;
  EXPECT_EQ(std::string::npos, folder.path.find('.'))
      << folder.path << ": set TMPDIR to a path without dots";
  return folder.path;
}

// Makes FloorFolder() a game folder whose Assets/ is the staged one and moves the test
// program into it, so what the game reads or writes beside itself stays there.
inline void EnterGameFolder()
{
  static bool entered = false;
  if (entered)
    return;
  const std::filesystem::path staged = std::filesystem::current_path() / "Assets";
  ASSERT_TRUE(std::filesystem::exists(staged / "Assets.tsm")) << "run from the build folder";
  std::filesystem::create_directory_symlink(staged, FloorFolder() + "/Assets");
  std::filesystem::current_path(FloorFolder());
  entered = true;
}

// Writes a level file from a picture, rows from the top: '#' a wall (an object on the
// second layer), 'P' the player's start, 'X' an exit, 'E' a co-worker, 'K' a key card,
// anything else bare floor. Events are written in reading order. Returns the file's path.
inline std::string WriteFloor(const std::string& name, const std::vector<std::string>& rows)
{
  const int height = static_cast<int>(rows.size());
  const int width = height ? static_cast<int>(rows[0].size()) : 0;
  const std::string path = FloorFolder() + "/" + name + ".tmx";
  std::ofstream file(path);
  file << "<map width=\"" << width << "\" height=\"" << height
       << "\" tilewidth=\"50\" tileheight=\"50\">\n <layer name=\"BACKGROUND\"><data>\n";
  for (int i = 0; i < width * height; ++i)
    file << "<tile gid=\"0\"/>";
  file << "\n </data></layer>\n <layer name=\"OBJECTS\"><data>\n";
  for (const std::string& row : rows)
    for (char cell : row)
      file << "<tile gid=\"" << (cell == '#' ? 9 : 0) << "\"/>";
  file << "\n </data></layer>\n <eventlist name=\"EVENTS\">\n";
  const std::string marks = "PXEK";
  const char* const triggers[] = {"SPAWN", "EXIT", "ENEMY", "KEY"};
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col)
      if (marks.find(rows[row][col]) != std::string::npos)
        file << "  <event trigger=\"" << triggers[marks.find(rows[row][col])] << "\" X=\"" << col
             << "\" Y=\"" << height - row - 1 << "\"/>\n";
  file << " </eventlist>\n</map>\n";
  return path;
}

// World centre of a cell of a picture `height` rows tall.
inline VNVec2 CellCentre(int col, int row, int height)
{
  return {col * 50.0f, (height - row) * 50.0f};
}

// A gameplay level (or a TutorialLevel) whose inner state the tests may read and set.
template <class Floor> class LevelProbe : public Floor
{
public:
  using Floor::endSoundChannel;
  using Floor::endSoundPlayed;
  using Floor::enemies;
  using Floor::exits;
  using Floor::Floor;
  using Floor::keys;
  using Floor::messageLabel;
  using Floor::noCardNeeded;
  using Floor::players;
  using Floor::playState;
};
using FloorProbe = LevelProbe<TestLevel>;

// Stands in for the main menu, or for any level a test changes to: counts its entries.
class MenuStub : public Level
{
public:
  explicit MenuStub(const std::string& levelName = "Main Menu") { name = levelName; }
  void Load() override { ++loads; }
  void Unload() override {}
  void Update(const float&) override {}
  void Draw() override {}
  int loads = 0;
};

// The update half of a main-loop frame: dispatch and sample input, read the pad, update
// the level manager (camera, level, sound), keep the pad's buttons.
inline void RunFrame(float dt)
{
  DispatchAndSample();
  Gamepad::Update();
  LevelManager::Instance()->Update(dt);
  Gamepad::EndFrame();
}

// Lets go of every key and button the play tests use and clears both input samples.
inline void ReleaseAllKeys()
{
  const unsigned char keys[] = {
      'W', 'A',           'S',          'D',           'J',           'K',        'E',
      'R', VN_KEY_ESCAPE, VN_KEY_SPACE, VN_KEY_LSHIFT, VN_KEY_RSHIFT, VN_KEY_TAB, VN_KEY_F8};
  for (unsigned char vk : keys)
    InjectKey(vk, false);
  InjectMouseButton(VN_KEY_LBUTTON, false);
  InjectMouseButton(VN_KEY_RBUTTON, false);
  DispatchAndSample();
  DispatchAndSample();
}

// Throws away every level, the camera's overlay and the sounds, so a test starts fresh.
inline void ResetGame()
{
  LevelManager::Destroy();
  Camera::Destroy();
  SoundManager::Destroy();
}

// An overlay button by name, or null.
inline Button2D* Button(const std::string& name)
{
  return Camera::Instance()->FindButton(name);
}

// Puts the cursor on an overlay button's centre, in window pixels (scaled in full screen).
inline void PointAt(const std::string& name)
{
  const Button2D* button = Button(name);
  ASSERT_NE(nullptr, button) << name;
  const Camera* camera = Camera::Instance();
  InjectMouseMove(
      static_cast<int>((640.0f + button->position.x - camera->position.x) * gVNScreenScaleX),
      static_cast<int>((360.0f - (button->position.y - camera->position.y)) * gVNScreenScaleY));
}

// Points at an overlay button, presses the left mouse button for one frame, and lets it
// go without running another.
inline void Click(const std::string& name, float dt = 1.0f / 60.0f)
{
  ASSERT_NO_FATAL_FAILURE(PointAt(name));
  DispatchAndSample();
  InjectMouseButton(VN_KEY_LBUTTON, true);
  RunFrame(dt);
  InjectMouseButton(VN_KEY_LBUTTON, false);
  DispatchAndSample();
}

// A test with a stand-in main menu and one gameplay level at a time, entered through the
// level manager as the game enters its floors.
class FloorTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    ResetGame();
    ReleaseAllKeys();
    // The cursor rests in a corner, away from every button and its hover sound.
    InjectMouseMove(5, 5);
    DispatchAndSample();
    menu = new MenuStub();
    LevelManager::Instance()->AddLevel(menu);
  }

  void TearDown() override
  {
    DetachVirtualPad();
    ReleaseAllKeys();
    ResetGame();
  }

  // Registers a level read from path and changes to it.
  FloorProbe* EnterFile(const std::string& path)
  {
    level = new FloorProbe(path);
    LevelManager::Instance()->AddLevel(level);
    LevelManager::Instance()->ChangeLevel(level->name);
    return level;
  }

  FloorProbe* Enter(const std::string& name, const std::vector<std::string>& rows)
  {
    return EnterFile(WriteFloor(name, rows));
  }

  // Runs frames until the loading picture has gone.
  void Play()
  {
    for (int i = 0; i < 10 && level->playState == TestLevel::kLoading; ++i)
      RunFrame(0.5f);
  }

  // A key going down and one frame run with it.
  void Press(unsigned char vk, float dt = 1.0f / 60.0f)
  {
    InjectKey(vk, true);
    RunFrame(dt);
  }

  void Release(unsigned char vk, float dt = 1.0f / 60.0f)
  {
    InjectKey(vk, false);
    RunFrame(dt);
  }

  // A key pressed for one frame and let go in the next.
  void Tap(unsigned char vk)
  {
    Press(vk);
    Release(vk);
  }

  MenuStub* menu = nullptr;
  FloorProbe* level = nullptr;
};
