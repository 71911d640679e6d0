// Input for tests: SDL events pushed onto the queue and dispatched by the real
// VNSysUpdate, and an SDL virtual joystick standing in for a game controller.
#pragma once

// A key or mouse button, by virtual-key code, going down or up.
void InjectKey(unsigned char vk, bool down);
// A key by SDL keycode, so a test can check which virtual key the engine makes of it.
void InjectSDLKey(int sdlKeycode, bool down);
void InjectMouseButton(unsigned char vk, bool down);
// The cursor moving to (x, y) in window client pixels.
void InjectMouseMove(int x, int y);
// The wheel turned by a number of notches (positive away from the user).
void InjectWheel(int notches);
// A window event (an SDL_WindowEventID: close, focus gained or lost ...) for the engine window.
void InjectWindowEvent(int sdlWindowEventId);
// Runs the real VNSysUpdate, then VNInputUpdate: one frame's dispatch and sample.
void DispatchAndSample();

// Attaches a virtual game controller and lets the engine see it; returns its joystick
// device index, or -1 when SDL cannot make one.
int AttachVirtualPad();
// Presses or releases the buttons of a VN_PAD_* mask on the virtual pad.
void SetVirtualPadButton(unsigned short mask, bool down);
// Sets an axis in SDL's game-controller numbering (0 left x, 1 left y, 2 right x,
// 3 right y, 4 and 5 triggers) with SDL's conventions: stick y grows downward, a trigger
// runs from -32768 (released) to 32767 (fully pressed).
void SetVirtualPadStick(int axis, short value);
// Unplugs the virtual pad.
void DetachVirtualPad();
