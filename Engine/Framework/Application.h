#pragma once

#include <stdint.h>
#include <string>

#include "Framework/CommandLine.h"

// Set when the main loop should stop after the frame in progress: by the window
// procedure when the window is destroyed, or by the main menu's Exit.
extern bool gQuitGame;
// The last mouse-wheel delta the window procedure saw (120 per notch); the main loop
// hands it to the camera once per frame and clears it.
extern int32_t gMouseWheelDelta;

// Set by the window procedure when Alt+Enter goes down; the main loop switches the display
// mode at the start of the next frame and clears it.
extern bool gFullScreenToggleRequested;

// The longest time step a level is given. A frame held up for longer (a dialog, a busy
// machine, the window being moved) slows the game down for that frame instead of moving
// everyone that far at once: at full length a co-worker's meter would fill in one frame.
constexpr float kLongestTimeStep = 0.1f;

// The window procedure the game gives the engine.
intptr_t GameWindowProc(void* window, unsigned int message, uintptr_t wParam, intptr_t lParam);

// Switches between full screen and the window, the one way both the options page and
// Alt+Enter take: the camera's edge scroll follows, and the choice is kept in the settings.
void SetFullScreen(bool fullScreen);

// The game's top-level object: starts the engine and the window, registers every level,
// runs the frame loop and tears the game's services down.
class Application
{
public:
  // Opens the 1280 x 720 window at 60 frames per
  // second, titles it, goes full screen or stays windowed as the kept settings
  // (SaveData) or `display` say, gives the sound manager the kept volumes, sets the icon and registers the levels. False when the engine cannot start; the
  // game then quits without running a frame.
  bool Init(void* instance, const int& showCommand, const std::string& title);
  // Registers every level and enters "Main Menu" when it is registered.
  void RegisterLevels();
  // Where the command line asks the game to begin: a level file played at once as a test
  // run (the main menu follows it), or a level file open in the editor. Nothing otherwise.
  void StartWith(const CommandLine& commandLine);
  // The frame loop, until gQuitGame is set or the window is gone.
  void Run();
  // One frame: input, update, draw the current level and its overlay, present.
  void Frame();
  // Destroys the sound manager, camera, level manager and texture cache, in that order,
  // then closes the engine (window and GL context).
  void Destroy();

  // The display mode the game started in.
  bool fullScreen = false;
  // A display mode the command line forces for this run; it is not kept in the settings.
  CommandLine::Display display = CommandLine::kDisplayFromSettings;
};
