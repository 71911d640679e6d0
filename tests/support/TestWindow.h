// The one real window and GL context a test program shares.
#pragma once

// Opens the engine window once per process through VNSysInit (1280 x 720, windowed, so
// the scale factors are 1.0, the default window procedure, 60 frames per second).
// Later calls do nothing. Fails the calling test when the engine cannot start.
void EnsureTestWindow();

// Dispatches the window system's own events (shown, exposed, focus, pointer) until
// none has arrived for a short while, so a test's injected events come last.
void SettleWindowEvents();
