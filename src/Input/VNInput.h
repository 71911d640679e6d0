/*
 * VNInput: once-per-frame samples of the 256 virtual keys (keyboard and mouse buttons)
 * and the cursor, with queries on the current and previous sample. The engine keeps the
 * key array itself, fed by the key and button events VNSysUpdate dispatches.
 */
#pragma once

#include <stdint.h>

extern "C"
{

  /* Virtual-key codes. Letters and digits are their upper-case ASCII codes ('W', '1'). */
  enum
  {
    VN_KEY_LBUTTON = 0x01,
    VN_KEY_RBUTTON = 0x02,
    VN_KEY_MBUTTON = 0x04,
    VN_KEY_BACK = 0x08,
    VN_KEY_TAB = 0x09,
    VN_KEY_RETURN = 0x0D,
    VN_KEY_SHIFT = 0x10,
    VN_KEY_CONTROL = 0x11,
    VN_KEY_MENU = 0x12,
    VN_KEY_ESCAPE = 0x1B,
    VN_KEY_SPACE = 0x20,
    VN_KEY_PRIOR = 0x21,
    VN_KEY_NEXT = 0x22,
    VN_KEY_END = 0x23,
    VN_KEY_HOME = 0x24,
    VN_KEY_LEFT = 0x25,
    VN_KEY_UP = 0x26,
    VN_KEY_RIGHT = 0x27,
    VN_KEY_DOWN = 0x28,
    VN_KEY_INSERT = 0x2D,
    VN_KEY_DELETE = 0x2E,
    VN_KEY_F1 = 0x70,
    VN_KEY_F2 = 0x71,
    VN_KEY_F3 = 0x72,
    VN_KEY_F4 = 0x73,
    VN_KEY_F5 = 0x74,
    VN_KEY_F6 = 0x75,
    VN_KEY_F7 = 0x76,
    VN_KEY_F8 = 0x77,
    VN_KEY_LSHIFT = 0xA0,
    VN_KEY_RSHIFT = 0xA1,
    VN_KEY_LCONTROL = 0xA2,
    VN_KEY_RCONTROL = 0xA3,
    VN_KEY_LMENU = 0xA4,
    VN_KEY_RMENU = 0xA5,
    VN_KEY_OEM_2 = 0xBF /* the '/' and '?' key */
  };

  /* Always 1; there is nothing to start. */
  int VNInputInit(void);
  void VNInputExit(void);
  /* Zeroes both samples, the cursor position and the cursor delta. */
  void VNInputReset(void);
  /* Takes a new sample: current keys become the previous ones, then the key state as of
 * the last VNSysUpdate and the cursor are read. A key pressed and released since the last
 * sample reads as down in this one (so it triggers) and as released in the next. */
  void VNInputUpdate(void);

  /* Down in the current sample. */
  bool VNInputCheckCurr(uint8_t key);
  /* Down in the previous sample. */
  bool VNInputCheckPrev(uint8_t key);
  /* Down now and not in the previous sample: true for one frame per press. */
  bool VNInputCheckTriggered(uint8_t key);
  /* Down in the previous sample and not now: true for one frame per release. */
  bool VNInputCheckReleased(uint8_t key);

  /* Cursor in logical window pixels, origin top-left, y down (divided by the
 * full-screen scale factors). */
  void VNInputGetCursorPosition(int* x, int* y);
  /* Cursor movement since the sample before, in logical window pixels. */
  void VNInputGetCursorPositionDelta(int* dx, int* dy);

  /* Display-counter semantics: show (nonzero) adds one, hide subtracts one; the cursor is
 * visible while the counter is 0 or more. Returns the counter after the change. */
  int VNInputShowCursor(int show);
  /* Shows or hides the cursor and leaves the counter at exactly 0 or -1, so calling it
 * every frame never runs the counter away. */
  void VNInputSetCursorVisible(int visible);
}
