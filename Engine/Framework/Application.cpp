#include "Framework/Application.h"

#include "Framework/Camera.h"
#include "Framework/Gamepad.h"
#include "Framework/Level.h"
#include "Framework/LevelManager.h"
#include "Framework/SaveData.h"
#include "Framework/SoundManager.h"
#include "Framework/TextureManager.h"
#include "Editor/Editor.h"
#include "Levels/MainMenu.h"
#include "Levels/TestLevel.h"
#include "Levels/TutorialLevel.h"
#include "Vorn.h"

#include <stdio.h>

bool gQuitGame = false;
int32_t gMouseWheelDelta = 0;
bool gFullScreenToggleRequested = false;

namespace
{

const int kWindowWidth = 1280;
const int kWindowHeight = 720;
const unsigned int kFrameRate = 60;
const float kBackgroundGrey = 0.7f;
const char* const kIconFile = "Assets/SetupIcon.ico";
const char* const kFirstLevel = "Main Menu";
const char* const kEditorLevel = "Level Editor";
// A level file given on the command line plays under this name.
const char* const kCommandLineLevel = "Level File";

// Which keys of Alt+Enter are down, as the window procedure saw them go. Enter counts once
// per press: the key's repeats while it is held do not switch again.
struct AltEnterKeys
{
  bool leftAlt = false;
  bool rightAlt = false;
  bool enter = false;
};
AltEnterKeys sAltEnter;

void WatchAltEnter(unsigned int message, uintptr_t key)
{
  if (message == VN_MSG_ACTIVATE)
  {
    // Keys let go while another window had the focus never reach this one.
    sAltEnter = AltEnterKeys();
    return;
  }
  const bool down = message == VN_MSG_KEYDOWN;
  if (key == VN_KEY_LMENU)
    sAltEnter.leftAlt = down;
  else if (key == VN_KEY_RMENU)
    sAltEnter.rightAlt = down;
  else if (key == VN_KEY_RETURN)
  {
    if (down && !sAltEnter.enter && (sAltEnter.leftAlt || sAltEnter.rightAlt))
      gFullScreenToggleRequested = true;
    sAltEnter.enter = down;
  }
}

} // namespace

intptr_t GameWindowProc(void* window, unsigned int message, uintptr_t wParam, intptr_t lParam)
{
  switch (message)
  {
  case VN_MSG_CREATE: return 0;
  case VN_MSG_DESTROY: gQuitGame = true; return 0;
  case VN_MSG_MOUSEWHEEL:
    // Every notch of the frame counts, not only the last.
    gMouseWheelDelta += static_cast<int16_t>((wParam >> 16) & 0xFFFF);
    return 0;
  case VN_MSG_KEYDOWN:
  case VN_MSG_KEYUP:
  case VN_MSG_ACTIVATE:
    WatchAltEnter(message, wParam);
    return VNSysPlatformDefaultProc(window, message, wParam, lParam);
  default: return VNSysPlatformDefaultProc(window, message, wParam, lParam);
  }
}

void SetFullScreen(bool fullScreen)
{
  Camera::Instance()->edgeScroll = fullScreen;
  VNToogleFullScreen(fullScreen);
  SaveData* saveData = SaveData::Instance();
  saveData->settings.fullScreen = fullScreen;
  saveData->SaveSettings();
}

bool Application::Init(void* instance, const int& showCommand, const std::string& title)
{
  const Settings& settings = SaveData::Instance()->settings;

  if (!VNSysInit(instance, showCommand, kWindowWidth, kWindowHeight, 0, kFrameRate, GameWindowProc))
  {
    printf("Kestrin: the engine could not start graphics; quitting\n");
    gQuitGame = true;
    return false;
  }
  // The first level is the menu: its pictures are decoded on the other core while this one
  // places the window, opens the audio and makes the levels.
  MainMenu::PreloadImages();
  VNSysSetWindowTitle(title.c_str());

  fullScreen = display == CommandLine::kDisplayFromSettings ? settings.fullScreen
                                                            : display == CommandLine::kFullScreen;
  Camera::Instance()->edgeScroll = fullScreen;
  VNToogleFullScreen(fullScreen);

  VNSysSetWindowIcon(kIconFile);
  SoundManager* sound = SoundManager::Instance();
  sound->musicVolume = settings.musicVolume;
  sound->currentMusicVolume = settings.musicVolume;
  sound->effectVolume = settings.effectVolume;
  RegisterLevels();
  return true;
}

void Application::RegisterLevels()
{
  Camera::Instance()->edgeScroll = fullScreen;
  LevelManager* levels = LevelManager::Instance();
  levels->AddLevel(new TutorialLevel());
  levels->AddLevel(new TestLevel("Level1.tmx"));
  levels->AddLevel(new TestLevel("Level2.tmx"));
  levels->AddLevel(new TestLevel("Level3.tmx"));
  levels->AddLevel(new TestLevel("Level4.tmx"));
  levels->AddLevel(new TestLevel("Level5.tmx"));
  levels->AddLevel(new Editor());
  levels->AddLevel(new MainMenu());

  levels->EnterDirectly(kFirstLevel);
}

void Application::StartWith(const CommandLine& commandLine)
{
  LevelManager* levels = LevelManager::Instance();
  const bool elsewhere = !commandLine.levelFile.empty() || !commandLine.editFile.empty();
  // Back from there, the menu shows its title without the splash.
  if (MainMenu* menu = dynamic_cast<MainMenu*>(levels->current); menu && elsewhere)
    menu->splashTimer = 0.0f;
  if (!commandLine.levelFile.empty())
  {
    levels->AddLevel(new TestLevel(commandLine.levelFile, kCommandLineLevel));
    levels->ChangeLevel(kCommandLineLevel);
  }
  else if (!commandLine.editFile.empty())
  {
    levels->ChangeLevel(kEditorLevel);
    if (Editor* editor = dynamic_cast<Editor*>(levels->current))
      editor->LoadLevel(commandLine.editFile);
  }
}

void Application::Run()
{
  while (!gQuitGame)
    Frame();
}

void Application::Frame()
{
  const float dt = VNMin(static_cast<float>(VNFrameRateControllerGetFrameTime()), kLongestTimeStep);
  VNSysFrameStart();
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxSetBackgroundColor(kBackgroundGrey, kBackgroundGrey, kBackgroundGrey);
  VNInputUpdate();

  if (gFullScreenToggleRequested)
  {
    gFullScreenToggleRequested = false;
    SetFullScreen(!Camera::Instance()->edgeScroll);
  }

  Camera::Instance()->wheelImpulse += static_cast<float>(gMouseWheelDelta);
  Camera::Instance()->wheelDelta = static_cast<float>(gMouseWheelDelta);
  gMouseWheelDelta = 0;

  Gamepad::Update();
  LevelManager::Instance()->Update(dt);
  Gamepad::EndFrame();

  // Read again: a level entered during the update is drawn in this same frame.
  if (Level* level = LevelManager::Instance()->current)
  {
    level->DrawTilemap();
    level->Draw();
    Camera::Instance()->DrawOverlay();
  }

  VNSysFrameEnd();
  if (!VNSysDoesWindowExist())
    gQuitGame = true;
}

void Application::Destroy()
{
  SoundManager::Destroy();
  Camera::Destroy();
  LevelManager::Destroy();
  TextureManager::Destroy();
  SaveData::Destroy();
  printf("Kestrin Engine Destroy\n");
  // Last: the levels, the camera and the texture cache free fonts, meshes and textures,
  // which needs the GL context the engine closes here.
  VNSysExit();
}
