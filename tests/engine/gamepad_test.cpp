#include "TestInput.h"
#include "TestWindow.h"

#include "Framework/Gamepad.h"
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

void ExpectAllZero(const VNGamepadState& s)
{
  EXPECT_TRUE(s.packetNumber == 0 && s.buttons == 0 && s.leftTrigger == 0 && s.rightTrigger == 0 &&
              s.thumbLX == 0 && s.thumbLY == 0 && s.thumbRX == 0 && s.thumbRY == 0)
      << "packet " << s.packetNumber << ", buttons " << s.buttons << ", triggers "
      << int(s.leftTrigger) << " " << int(s.rightTrigger) << ", sticks " << s.thumbLX << " "
      << s.thumbLY << " " << s.thumbRX << " " << s.thumbRY;
}

class VNGamepadTest : public ::testing::Test
{
protected:
  void SetUp() override { EnsureTestWindow(); }
  void TearDown() override { DetachVirtualPad(); }
};

// One game frame as the main loop drives the pad: messages, Update, level code, EndFrame.
void PadFrame()
{
  VNSysUpdate();
  Gamepad::Update();
  Gamepad::EndFrame();
}

TEST_F(VNGamepadTest, SticksAreSignedWithYUpAndTriggersAreBytes)
{
  ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
  SetVirtualPadStick(SDL_CONTROLLER_AXIS_LEFTX, 12000);
  SetVirtualPadStick(SDL_CONTROLLER_AXIS_LEFTY, -32768); // pushed fully up
  SetVirtualPadStick(SDL_CONTROLLER_AXIS_RIGHTX, -32768);
  SetVirtualPadStick(SDL_CONTROLLER_AXIS_RIGHTY, 32767); // pushed fully down
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

TEST_F(VNGamepadTest, PlugAndUnplugWhileRunningAndIsConnectedReadsAfresh)
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

  // The game's IsConnected reads the pad afresh; held changes only in Update.
  PadFrame();
  SetVirtualPadButton(VN_PAD_B, true);
  VNSysUpdate();
  EXPECT_FALSE(Gamepad::IsHeld(Gamepad::B)) << "not read yet";
  EXPECT_TRUE(Gamepad::IsConnected());
  EXPECT_TRUE(Gamepad::IsHeld(Gamepad::B));
  EXPECT_FALSE(Gamepad::held[Gamepad::B]);
  SetVirtualPadButton(VN_PAD_B, false);
  PadFrame();
}

TEST_F(VNGamepadTest, GamepadTriggersOncePerPress)
{
  ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
  PadFrame();

  SetVirtualPadButton(VN_PAD_A, true);
  int triggeredFrames = 0;
  for (int frame = 0; frame < 6; ++frame)
  {
    VNSysUpdate();
    Gamepad::Update();
    EXPECT_TRUE(Gamepad::held[Gamepad::A]) << "frame " << frame;
    EXPECT_TRUE(Gamepad::IsHeld(Gamepad::A)) << "frame " << frame;
    triggeredFrames += Gamepad::triggered[Gamepad::A] ? 1 : 0;
    EXPECT_EQ(frame == 0, Gamepad::triggered[Gamepad::A]) << "frame " << frame;
    Gamepad::EndFrame();
  }
  EXPECT_EQ(1, triggeredFrames);
  EXPECT_FALSE(Gamepad::triggered[Gamepad::B]);

  SetVirtualPadButton(VN_PAD_A, false);
  PadFrame();
  EXPECT_FALSE(Gamepad::held[Gamepad::A]);
  EXPECT_FALSE(Gamepad::triggered[Gamepad::A]);

  SetVirtualPadButton(VN_PAD_A, true);
  VNSysUpdate();
  Gamepad::Update();
  EXPECT_TRUE(Gamepad::triggered[Gamepad::A]) << "a second press triggers again";
  Gamepad::EndFrame();
  SetVirtualPadButton(VN_PAD_A, false);
  PadFrame();

  // Pressed and released between two frames: never seen.
  SetVirtualPadButton(VN_PAD_X, true);
  SetVirtualPadButton(VN_PAD_X, false);
  PadFrame();
  EXPECT_FALSE(Gamepad::held[Gamepad::X]);
  EXPECT_FALSE(Gamepad::triggered[Gamepad::X]);
}

TEST_F(VNGamepadTest, GamepadButtonNumbersFollowTheTable)
{
  ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
  const struct
  {
    int number;
    uint16_t mask;
  } table[] = {{0, 0x1000},  {1, 0x2000},  {2, 0x4000},  {3, 0x8000}, {4, 0x0001},
               {5, 0x0002},  {6, 0x0004},  {7, 0x0008},  {8, 0x0100}, {9, 0x0200},
               {10, 0x0040}, {11, 0x0080}, {12, 0x0010}, {13, 0x0020}};
  for (const auto& entry : table)
  {
    SetVirtualPadButton(entry.mask, true);
    PadFrame();
    for (int button = 0; button < Gamepad::BUTTON_COUNT; ++button)
      EXPECT_EQ(button == entry.number, Gamepad::held[button])
          << "pressed mask " << std::hex << entry.mask << ", button " << std::dec << button;
    SetVirtualPadButton(entry.mask, false);
    PadFrame();
  }
}

TEST_F(VNGamepadTest, WithoutAPadEverythingReadsZero)
{
  VNGamepadState other;
  EXPECT_EQ(0, VNGamepadGetState(7, &other)) << "no such pad slot";
  ExpectAllZero(other);

  Gamepad::state.buttons = VN_PAD_A;
  Gamepad::state.thumbLX = 1000;
  PadFrame();
  EXPECT_FALSE(Gamepad::IsConnected());
  ExpectAllZero(Gamepad::state);
  for (int button = 0; button < Gamepad::BUTTON_COUNT; ++button)
  {
    EXPECT_FALSE(Gamepad::held[button]) << button;
    EXPECT_FALSE(Gamepad::triggered[button]) << button;
    EXPECT_FALSE(Gamepad::IsHeld(button)) << button;
  }
}

} // namespace
