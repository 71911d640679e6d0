#include "TestInput.h"
#include "TestWindow.h"

#include "Input/VNGamepad.h"
#include "System/VNSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace
{

VNGamepadState Read(int* connected = nullptr)
{
    VNGamepadState state;
    const int result = VNGamepadGetState(0, &state);
    if (connected)
        *connected = result;
    return state;
}

void ExpectAllZero(const VNGamepadState& state)
{
    EXPECT_EQ(0u, state.packetNumber);
    EXPECT_EQ(0, state.buttons);
    EXPECT_EQ(0, state.leftTrigger);
    EXPECT_EQ(0, state.rightTrigger);
    EXPECT_EQ(0, state.thumbLX);
    EXPECT_EQ(0, state.thumbLY);
    EXPECT_EQ(0, state.thumbRX);
    EXPECT_EQ(0, state.thumbRY);
}

class VNGamepadTest : public ::testing::Test
{
protected:
    void SetUp() override { EnsureTestWindow(); }
    void TearDown() override { DetachVirtualPad(); }
};

TEST_F(VNGamepadTest, AbsentPadReadsAllZero)
{
    int connected = -1;
    const VNGamepadState state = Read(&connected);
    EXPECT_EQ(0, connected);
    ExpectAllZero(state);

    VNGamepadState other;
    EXPECT_EQ(0, VNGamepadGetState(7, &other));
    ExpectAllZero(other);
}

TEST_F(VNGamepadTest, EveryButtonReachesItsMask)
{
    ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
    int connected = 0;
    Read(&connected);
    ASSERT_EQ(1, connected);

    const uint16_t masks[] = {VN_PAD_A, VN_PAD_B, VN_PAD_X, VN_PAD_Y,
                              VN_PAD_DPAD_UP, VN_PAD_DPAD_DOWN, VN_PAD_DPAD_LEFT,
                              VN_PAD_DPAD_RIGHT, VN_PAD_LEFT_SHOULDER, VN_PAD_RIGHT_SHOULDER,
                              VN_PAD_LEFT_THUMB, VN_PAD_RIGHT_THUMB, VN_PAD_START, VN_PAD_BACK};
    for (uint16_t mask : masks)
    {
        SetVirtualPadButton(mask, true);
        VNSysUpdate();
        EXPECT_EQ(mask, Read().buttons) << std::hex << mask;
        SetVirtualPadButton(mask, false);
        VNSysUpdate();
        EXPECT_EQ(0, Read().buttons) << std::hex << mask;
    }
}

TEST_F(VNGamepadTest, SticksAreSignedWithYUpAndTriggersAreBytes)
{
    ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
    SetVirtualPadStick(SDL_CONTROLLER_AXIS_LEFTX, 12000);
    SetVirtualPadStick(SDL_CONTROLLER_AXIS_LEFTY, -32768);   // pushed fully up
    SetVirtualPadStick(SDL_CONTROLLER_AXIS_RIGHTX, -32768);
    SetVirtualPadStick(SDL_CONTROLLER_AXIS_RIGHTY, 32767);   // pushed fully down
    SetVirtualPadStick(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    SetVirtualPadStick(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0); // half pressed
    VNSysUpdate();

    const VNGamepadState state = Read();
    EXPECT_EQ(12000, state.thumbLX);
    EXPECT_EQ(32767, state.thumbLY);
    EXPECT_EQ(-32768, state.thumbRX);
    EXPECT_EQ(-32767, state.thumbRY);
    EXPECT_EQ(255, state.leftTrigger);
    EXPECT_EQ(127, state.rightTrigger);
}

TEST_F(VNGamepadTest, PacketNumberMovesOnlyWhenTheStateChanges)
{
    ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
    VNSysUpdate();
    const uint32_t before = Read().packetNumber;
    EXPECT_EQ(before, Read().packetNumber);

    SetVirtualPadButton(VN_PAD_Y, true);
    VNSysUpdate();
    EXPECT_NE(before, Read().packetNumber);
    SetVirtualPadButton(VN_PAD_Y, false);
}

TEST_F(VNGamepadTest, PlugAndUnplugWhileRunning)
{
    int connected = -1;
    Read(&connected);
    EXPECT_EQ(0, connected);

    ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
    SetVirtualPadButton(VN_PAD_START, true);
    VNSysUpdate();
    EXPECT_EQ(VN_PAD_START, Read(&connected).buttons);
    EXPECT_EQ(1, connected);

    DetachVirtualPad();
    const VNGamepadState state = Read(&connected);
    EXPECT_EQ(0, connected);
    ExpectAllZero(state);

    ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
    Read(&connected);
    EXPECT_EQ(1, connected);
}

} // namespace
