/*
 * VNSystem: the one application window, its message pump, full-screen switching and the
 * flags the game reads to know whether the window still exists and is active.
 * The window is an SDL window with an OpenGL context; SDL events are turned into engine
 * messages and handed to a window procedure of the engine's own type.
 */
#pragma once

#include <stdint.h>

extern "C"
{

  /* Engine messages delivered to a window procedure by VNSysUpdate. */
  enum
  {
    VN_MSG_CREATE = 0x0001,
    VN_MSG_DESTROY = 0x0002,
    VN_MSG_MOVE = 0x0003,
    VN_MSG_ACTIVATE = 0x0006,
    VN_MSG_PAINT = 0x000F,
    VN_MSG_CLOSE = 0x0010,
    VN_MSG_KEYDOWN = 0x0100,
    VN_MSG_KEYUP = 0x0101,
    VN_MSG_MOUSEMOVE = 0x0200,
    VN_MSG_BUTTONDOWN = 0x0201,
    VN_MSG_BUTTONUP = 0x0202,
    VN_MSG_MOUSEWHEEL = 0x020A
  };

  /* wParam of VN_MSG_ACTIVATE: low 16 bits are nonzero while the window is active. */
  enum
  {
    VN_WA_INACTIVE = 0,
    VN_WA_ACTIVE = 1,
    VN_WA_CLICKACTIVE = 2
  };

  /*
 * A window procedure: (window, message, wParam, lParam) -> result.
 * Key messages carry the virtual-key code in wParam; button messages the button's
 * virtual-key code; VN_MSG_MOUSEWHEEL the signed delta in the high word of wParam
 * (120 per notch); VN_MSG_MOVE and VN_MSG_MOUSEMOVE the position packed as
 * x in the low and y in the high 16 bits of lParam.
 */
  typedef intptr_t (*VNWindowProc)(void* window, unsigned int message, uintptr_t wParam,
                                   intptr_t lParam);
  /* The window system's own handling, for procedures to pass on what they do not handle:
 * a close request destroys the window (the procedure then receives VN_MSG_DESTROY);
 * anything else returns 0. */
  intptr_t VNSysPlatformDefaultProc(void* window, unsigned int message, uintptr_t wParam,
                                    intptr_t lParam);

  /* Window active flag, kept by VNSysDefaultWindowProc. */
  extern int gVNSysAppActive;
  /* Full-screen stretch: screen size / logical window size; exactly 1.0 when windowed. */
  extern float gVNScreenScaleX;
  extern float gVNScreenScaleY;

  /* Opens the window, starts graphics and the frame-rate controller. A null windowProc
 * installs VNSysDefaultWindowProc. Returns 1 on success, 0 if graphics cannot start.
 * Also ignores SIGXFSZ, so a write past the file-size limit fails instead of killing. */
  int VNSysInit(void* instance, int showCommand, int width, int height, int createConsole,
                unsigned int frameRate, VNWindowProc windowProc);
  /* Resets the frame-rate controller and the input state. */
  void VNSysReset(void);
  /* Dispatches every waiting window message to the window procedure, without waiting. */
  void VNSysUpdate(void);
  /* Ends graphics. The window itself is not destroyed. */
  void VNSysExit(void);
  /* Starts the frame timer, clears the buffers and sets the viewport. */
  void VNSysFrameStart(void);
  /* Presents the frame, waits out the minimum frame time, then dispatches messages. */
  void VNSysFrameEnd(void);

  /* The SDL_Window* of the engine window, as void* (null before VNSysInit). */
  void* VNSysGetWindowHandle(void);
  /* Replaces the caption; nonzero on success. */
  int VNSysSetWindowTitle(const char* title);
  /* 1 while the window exists, 0 once the default procedure has seen it destroyed. */
  int VNSysDoesWindowExist(void);
  /* Full screen is a borderless window over the whole screen; the display mode never changes. */
  void VNToogleFullScreen(bool fullScreen);
  /* Hands the memory the program has freed back to the system, which the allocator would
 * otherwise keep for later allocations; for after big frees such as a level switch. */
  void VNSysReturnFreedMemory(void);
  /* Makes the folder holding the running program the working folder; 0 on failure. */
  int VNSysChangeToProgramFolder(void);
  /* Loads an image file (for example a .ico) and makes it the window icon; 0 on failure. */
  int VNSysSetWindowIcon(const char* fileName);

  /* What the engine does with a message when the client leaves it alone: a close request
 * destroys the window, destroy clears the window-exists flag, activate keeps
 * gVNSysAppActive. */
  intptr_t VNSysDefaultWindowProc(void* window, unsigned int message, uintptr_t wParam,
                                  intptr_t lParam);
  /* The window system's own handling, for procedures to pass on what they do not handle:
 * a close request destroys the window (the procedure then receives VN_MSG_DESTROY);
 * anything else returns 0. */
  intptr_t VNSysPlatformDefaultProc(void* window, unsigned int message, uintptr_t wParam,
                                    intptr_t lParam);
}
