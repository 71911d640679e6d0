#include "TestWindow.h"

#include "System/VNSystem.h"

#include <gtest/gtest.h>

void EnsureTestWindow()
{
    static bool open = false;
    if (open)
        return;
    ASSERT_EQ(1, VNSysInit(nullptr, 1, 1280, 720, 0, 60, nullptr))
        << "the engine window could not be opened (is an X server running?)";
    open = true;
    // Let the window's own start-up events (shown, exposed, focus) go through before a
    // test injects anything.
    VNSysUpdate();
}
