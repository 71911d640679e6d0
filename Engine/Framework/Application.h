#pragma once

#include <stdint.h>
#include <string>

// Set when the main loop should stop after the frame in progress: by the window
// procedure when the window is destroyed, or by the main menu's Exit.
extern bool gQuitGame;
// The last mouse-wheel delta the window procedure saw (120 per notch); the main loop
// hands it to the camera once per frame and clears it.
extern int32_t gMouseWheelDelta;

// The window procedure the game gives the engine.
intptr_t GameWindowProc(void* window, unsigned int message, uintptr_t wParam, intptr_t lParam);

// The game's top-level object: starts the engine and the window, registers every level,
// runs the frame loop and tears the game's services down.
class Application
{
public:
  // Opens the 1280 x 720 window at 60 frames per second, titles it, goes full screen,
  // sets the icon and registers the levels. False when the engine cannot start; the
  // game then quits without running a frame.
  bool Init(void* instance, const int& showCommand, const std::string& title);
  // Registers every level and enters "Main Menu" when it is registered.
  void RegisterLevels();
  // The frame loop, until gQuitGame is set or the window is gone.
  void Run();
  // Destroys the sound manager, camera, level manager and texture cache, in that order,
  // then closes the engine (window and GL context).
  void Destroy();

  bool fullScreen = false;
};
