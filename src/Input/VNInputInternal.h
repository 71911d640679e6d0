/*
 * What the system module and the test support need from the input module beyond its
 * public calls: feeding the engine-kept key array and cursor as events are dispatched,
 * and the mapping between SDL keys and virtual-key codes.
 */
#pragma once

#include <stdint.h>

// The live key state: set as key and button events are dispatched, snapshotted by
// VNInputUpdate.
void VNInputSetKeyDown(uint8_t vk, bool down);
// The live cursor in window client pixels, as of the last dispatched mouse event.
void VNInputSetCursor(int x, int y);

// Virtual-key code of an SDL keycode; 0 when the key has none.
uint8_t VNInputKeyFromSDLKey(int32_t sdlKeycode);
// SDL keycode of a virtual-key code; 0 (SDLK_UNKNOWN) when there is none.
int32_t VNInputSDLKeyFromKey(uint8_t vk);
// Virtual-key code of an SDL mouse button (SDL_BUTTON_LEFT ...); 0 for others.
uint8_t VNInputKeyFromSDLButton(uint8_t sdlButton);
// SDL mouse button of a virtual-key code; 0 when it is not a mouse button.
uint8_t VNInputSDLButtonFromKey(uint8_t vk);
