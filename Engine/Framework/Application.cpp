#include "Framework/Application.h"

#include "Framework/Camera.h"
#include "Framework/Gamepad.h"
#include "Framework/Level.h"
#include "Framework/LevelManager.h"
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

namespace
{

const int kWindowWidth = 1280;
const int kWindowHeight = 720;
const unsigned int kFrameRate = 60;
const float kBackgroundGrey = 0.7f;
const char* const kIconFile = "Assets/SetupIcon.ico";
const char* const kFirstLevel = "Main Menu";

} // namespace

intptr_t GameWindowProc(void* window, unsigned int message, uintptr_t wParam, intptr_t lParam)
{
  switch (message)
  {
  case VN_MSG_CREATE: return 0;
  case VN_MSG_DESTROY: gQuitGame = true; return 0;
  case VN_MSG_MOUSEWHEEL:
    gMouseWheelDelta = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
    return 0;
  default: return VNSysPlatformDefaultProc(window, message, wParam, lParam);
  }
}

bool Application::Init(void* instance, const int& showCommand, const std::string& title)
{
  if (!VNSysInit(instance, showCommand, kWindowWidth, kWindowHeight, 0, kFrameRate, GameWindowProc))
  {
    printf("Kestrin: the engine could not start graphics; quitting\n");
    gQuitGame = true;
    return false;
  }
  VNSysSetWindowTitle(title.c_str());

  fullScreen = true;
  Camera::Instance()->edgeScroll = fullScreen;
  VNToogleFullScreen(fullScreen);

  VNSysSetWindowIcon(kIconFile);
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

void Application::Run()
{
  while (!gQuitGame)
  {
    const float dt = static_cast<float>(VNFrameRateControllerGetFrameTime());
    VNSysFrameStart();
    VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
    VNGfxSetBackgroundColor(kBackgroundGrey, kBackgroundGrey, kBackgroundGrey);
    VNInputUpdate();

    Camera::Instance()->wheelImpulse += static_cast<float>(gMouseWheelDelta);
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
}

void Application::Destroy()
{
  SoundManager::Destroy();
  Camera::Destroy();
  LevelManager::Destroy();
  TextureManager::Destroy();
  printf("Kestrin Engine Destroy\n");
  // Last: the levels, the camera and the texture cache free fonts, meshes and textures,
  // which needs the GL context the engine closes here.
  VNSysExit();
}
