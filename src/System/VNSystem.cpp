/*
 * VNSystem: the engine window on SDL2. VNSysUpdate drains SDL's event queue, keeps the
 * engine's key array and cursor up to date, and turns each event into an engine message
 * for the window procedure. Full screen is the same window made borderless and stretched
 * over the screen; the display mode never changes.
 */
#include "System/VNSystem.h"

#include "Graphics/VNGraphics.h"
#include "Input/VNGamepad.h"
#include "Input/VNInput.h"
#include "Input/VNInputInternal.h"
#include "System/VNFrameRateController.h"

#include <SDL.h>
#include <SDL_image.h>
#include <errno.h>
#include <malloc.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int gVNSysAppActive = 0;
float gVNScreenScaleX = 1.0f;
float gVNScreenScaleY = 1.0f;

namespace
{

const double kEngineVersion = 3.04;
const Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;
const int kWheelDelta = 120;
// Show commands VNSysInit accepts: 0 keeps the window hidden, 2, 6 and 7 start it minimised.
const int kShowHide = 0;
const int kShowMinimized = 2;
const int kShowMinimize = 6;
const int kShowMinNoActive = 7;

struct SystemState
{
  SDL_Window* window;
  VNWindowProc windowProc;
  int width, height;
  int windowExists;
  // Closed by the window system: hidden, and told to the procedure as destroyed.
  bool destroyed;
  bool padsAvailable;
};

SystemState sSystem;

intptr_t Send(unsigned int message, uintptr_t wParam, intptr_t lParam)
{
  if (!sSystem.windowProc)
    return 0;
  return sSystem.windowProc(sSystem.window, message, wParam, lParam);
}

intptr_t PackPoint(int x, int y)
{
  return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                               static_cast<uint32_t>(x & 0xFFFF));
}

void ReadScreenSize(int* sw, int* sh)
{
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0)
  {
    *sw = mode.w;
    *sh = mode.h;
    return;
  }
  printf("VNSystem: cannot read the screen size (%s); using the window size\n", SDL_GetError());
  *sw = sSystem.width;
  *sh = sSystem.height;
}

void PlaceWindowed(int sw, int sh)
{
  SDL_SetWindowBordered(sSystem.window, SDL_TRUE);
  SDL_SetWindowSize(sSystem.window, sSystem.width, sSystem.height);
  SDL_SetWindowPosition(sSystem.window, sw / 2 - sSystem.width / 2, sh / 2 - sSystem.height / 2);
}

void Show(int showCommand)
{
  if (showCommand == kShowHide)
    return;
  SDL_ShowWindow(sSystem.window);
  if (showCommand == kShowMinimized || showCommand == kShowMinimize ||
      showCommand == kShowMinNoActive)
    SDL_MinimizeWindow(sSystem.window);
}

void DispatchWindowEvent(const SDL_WindowEvent& event)
{
  switch (event.event)
  {
  case SDL_WINDOWEVENT_CLOSE: Send(VN_MSG_CLOSE, 0, 0); break;
  case SDL_WINDOWEVENT_MOVED: Send(VN_MSG_MOVE, 0, PackPoint(event.data1, event.data2)); break;
  case SDL_WINDOWEVENT_FOCUS_GAINED: Send(VN_MSG_ACTIVATE, VN_WA_ACTIVE, 0); break;
  case SDL_WINDOWEVENT_FOCUS_LOST: Send(VN_MSG_ACTIVATE, VN_WA_INACTIVE, 0); break;
  case SDL_WINDOWEVENT_EXPOSED: Send(VN_MSG_PAINT, 0, 0); break;
  default: break;
  }
}

void DispatchKey(const SDL_KeyboardEvent& event)
{
  const uint8_t vk = VNInputKeyFromSDLKey(event.keysym.sym);
  if (vk == 0)
    return;
  const bool down = event.type == SDL_KEYDOWN;
  VNInputSetKeyDown(vk, down);
  Send(down ? VN_MSG_KEYDOWN : VN_MSG_KEYUP, vk, 0);
}

void DispatchButton(const SDL_MouseButtonEvent& event)
{
  const uint8_t vk = VNInputKeyFromSDLButton(event.button);
  if (vk == 0)
    return;
  const bool down = event.type == SDL_MOUSEBUTTONDOWN;
  VNInputSetKeyDown(vk, down);
  Send(down ? VN_MSG_BUTTONDOWN : VN_MSG_BUTTONUP, vk, PackPoint(event.x, event.y));
}

void DispatchWheel(const SDL_MouseWheelEvent& event)
{
  int notches = event.y;
  if (event.direction == SDL_MOUSEWHEEL_FLIPPED)
    notches = -notches;
  if (notches == 0)
    return;
  const int16_t delta = static_cast<int16_t>(notches * kWheelDelta);
  const uintptr_t wParam = static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16;
  Send(VN_MSG_MOUSEWHEEL, wParam, 0);
}

void Dispatch(const SDL_Event& event)
{
  switch (event.type)
  {
  case SDL_QUIT:
    // The last window closing, or an interrupt from the terminal: both ask to close.
    if (!sSystem.destroyed)
      Send(VN_MSG_CLOSE, 0, 0);
    break;
  case SDL_WINDOWEVENT: DispatchWindowEvent(event.window); break;
  case SDL_KEYDOWN:
  case SDL_KEYUP: DispatchKey(event.key); break;
  case SDL_MOUSEMOTION:
    VNInputSetCursor(event.motion.x, event.motion.y);
    Send(VN_MSG_MOUSEMOVE, 0, PackPoint(event.motion.x, event.motion.y));
    break;
  case SDL_MOUSEBUTTONDOWN:
  case SDL_MOUSEBUTTONUP: DispatchButton(event.button); break;
  case SDL_MOUSEWHEEL: DispatchWheel(event.wheel); break;
  default: break;
  }
}

} // namespace

int VNSysInit(void* instance, int showCommand, int width, int height, int createConsole,
              unsigned int frameRate, VNWindowProc windowProc)
{
  // No window class to register with the instance, and standard output is the
  // console on this platform: there is nothing to allocate.
  (void)instance;
  (void)createConsole;
  sSystem = SystemState();
  sSystem.width = width;
  sSystem.height = height;

  printf("Vorn Engine version: %2.2f\n\n", kEngineVersion);
  fflush(stdout);

  sSystem.windowProc = windowProc ? windowProc : VNSysDefaultWindowProc;
  // Past the file-size limit a write then fails with EFBIG, which a save reports and
  // recovers from, instead of the signal ending the program in the middle of it.
  signal(SIGXFSZ, SIG_IGN);

  if (SDL_InitSubSystem(kSubsystems) != 0)
  {
    printf("VNSysInit: cannot start SDL video: %s\n", SDL_GetError());
    return 0;
  }
  // The pad is read whichever window has the keyboard focus, as a console pad would be;
  // SDL otherwise drops presses made while the window is not focused.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  sSystem.padsAvailable = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!sSystem.padsAvailable)
    printf("VNSysInit: game controllers unavailable: %s\n", SDL_GetError());

  int sw = 0, sh = 0;
  ReadScreenSize(&sw, &sh);

  VNGfxSetContextAttributes();
  sSystem.window = SDL_CreateWindow("Vorn Engine", sw / 2 - width / 2, sh / 2 - height / 2, width,
                                    height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!sSystem.window)
  {
    printf("VNSysInit: cannot create the %d x %d window: %s\n", width, height, SDL_GetError());
    return 0;
  }
  Send(VN_MSG_CREATE, 0, 0);
  PlaceWindowed(sw, sh);
  Show(showCommand);
  sSystem.windowExists = 1;

  if (!VNGfxInit(width, height))
    return 0;
  VNFrameRateControllerInit(frameRate);
  return 1;
}

void VNSysReset(void)
{
  VNFrameRateControllerReset();
  VNInputReset();
}

void VNSysUpdate(void)
{
  SDL_Event event;
  while (SDL_PollEvent(&event))
    Dispatch(event);
}

void VNSysExit(void)
{
  VNGfxExit();
  VNGamepadExit();
  if (sSystem.window)
    SDL_DestroyWindow(sSystem.window);
  sSystem.window = nullptr;
  if (sSystem.padsAvailable)
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  SDL_QuitSubSystem(kSubsystems);
  sSystem.padsAvailable = false;
}

void VNSysFrameStart(void)
{
  VNFrameRateControllerStart();
  VNGfxStart();
}

void VNSysFrameEnd(void)
{
  VNGfxEnd();
  VNFrameRateControllerEnd();
  VNSysUpdate();
}

void* VNSysGetWindowHandle(void)
{
  return sSystem.window;
}

int VNSysSetWindowTitle(const char* title)
{
  if (!sSystem.window || !title)
    return 0;
  SDL_SetWindowTitle(sSystem.window, title);
  return 1;
}

int VNSysDoesWindowExist(void)
{
  return sSystem.windowExists;
}

void VNToogleFullScreen(bool fullScreen)
{
  int sw = 0, sh = 0;
  ReadScreenSize(&sw, &sh);

  if (fullScreen)
  {
    gVNScreenScaleX = static_cast<float>(sw) / static_cast<float>(sSystem.width);
    gVNScreenScaleY = static_cast<float>(sh) / static_cast<float>(sSystem.height);
  }
  else
  {
    gVNScreenScaleX = 1.0f;
    gVNScreenScaleY = 1.0f;
  }
  if (!sSystem.window)
    return;

  if (fullScreen)
  {
    SDL_SetWindowBordered(sSystem.window, SDL_FALSE);
    SDL_SetWindowAlwaysOnTop(sSystem.window, SDL_TRUE);
    SDL_SetWindowPosition(sSystem.window, 0, 0);
    SDL_SetWindowSize(sSystem.window, sw, sh);
  }
  else
  {
    // Staying on top after leaving full screen is how the window has always behaved.
    PlaceWindowed(sw, sh);
    if (!sSystem.destroyed)
      SDL_ShowWindow(sSystem.window);
  }
}

void VNSysReturnFreedMemory(void)
{
  malloc_trim(0);
}

int VNSysChangeToProgramFolder(void)
{
  char* folder = SDL_GetBasePath();
  if (!folder)
  {
    printf("VNSysChangeToProgramFolder: cannot find the program's folder: %s\n", SDL_GetError());
    return 0;
  }
  const int changed = chdir(folder) == 0;
  if (!changed)
    printf("VNSysChangeToProgramFolder: cannot enter \"%s\": %s\n", folder, strerror(errno));
  SDL_free(folder);
  return changed;
}

int VNSysSetWindowIcon(const char* fileName)
{
  if (!sSystem.window || !fileName)
    return 0;
  SDL_Surface* icon = IMG_Load(fileName);
  if (!icon)
  {
    printf("VNSysSetWindowIcon: cannot load \"%s\": %s\n", fileName, IMG_GetError());
    return 0;
  }
  SDL_SetWindowIcon(sSystem.window, icon);
  SDL_FreeSurface(icon);
  return 1;
}

intptr_t VNSysDefaultWindowProc(void* window, unsigned int message, uintptr_t wParam,
                                intptr_t lParam)
{
  switch (message)
  {
  case VN_MSG_CREATE: return 0;
  case VN_MSG_DESTROY: sSystem.windowExists = 0; return 0;
  case VN_MSG_MOVE: return 0;
  case VN_MSG_ACTIVATE: gVNSysAppActive = (wParam & 0xFFFF) != 0 ? 1 : 0; return 0;
  case VN_MSG_PAINT: return 0;
  default: return VNSysPlatformDefaultProc(window, message, wParam, lParam);
  }
}

intptr_t VNSysPlatformDefaultProc(void* window, unsigned int message, uintptr_t wParam,
                                  intptr_t lParam)
{
  (void)window;
  (void)wParam;
  (void)lParam;
  // The window stays alive until VNSysExit so the GL context keeps a surface; destroying
  // it here means taking it off the screen and telling the procedure.
  if (message == VN_MSG_CLOSE && sSystem.window && !sSystem.destroyed)
  {
    sSystem.destroyed = true;
    SDL_HideWindow(sSystem.window);
    Send(VN_MSG_DESTROY, 0, 0);
  }
  return 0;
}
