// Presses that begin and end between two samples: a touchpad tap, a quick key tap at a
// low frame rate. Each must still trigger once and release once.
#include "TestInput.h"
#include "TestWindow.h"

#include "Vorn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

class InputTapTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    SettleWindowEvents();
    VNInputReset();
  }

  static void Change(uint8_t key, bool down)
  {
    if (key <= VN_KEY_MBUTTON)
      InjectMouseButton(key, down);
    else
      InjectKey(key, down);
  }

  // Samples `frames` frames and spells what each saw of key: T triggered, H held,
  // R released, - up.
  static std::string Frames(uint8_t key, int frames)
  {
    std::string seen;
    for (int frame = 0; frame < frames; ++frame)
    {
      if (frame > 0)
        DispatchAndSample();
      seen += VNInputCheckTriggered(key)  ? 'T'
              : VNInputCheckReleased(key) ? 'R'
              : VNInputCheckCurr(key)     ? 'H'
                                          : '-';
    }
    return seen;
  }
};

TEST_F(InputTapTest, ATapBetweenTwoSamplesTriggersThenReleases)
{
  // Each row: a key (or a button), what happens to it, what the samples from then see.
  struct Case
  {
    uint8_t injected;
    uint8_t watched;
    bool heldBefore;
    std::vector<bool> changes; // down / up, all between two samples
    const char* expected;
  };
  const Case cases[] = {
      {'J', 'J', false, {true, false}, "TR--"},
      {VN_KEY_LBUTTON, VN_KEY_LBUTTON, false, {true, false}, "TR--"},
      {VN_KEY_RBUTTON, VN_KEY_RBUTTON, false, {true, false, true, false}, "TR--"},
      {VN_KEY_LSHIFT, VN_KEY_SHIFT, false, {true, false}, "TR--"},
      {'K', 'K', false, {true, false, true}, "THHH"},
      // A key held across samples behaves as it always did: released at once.
      {'W', 'W', true, {false, true, false}, "R---"},
      {'W', 'W', true, {true, true}, "HHHH"},
  };
  for (const Case& c : cases)
  {
    VNInputReset();
    if (c.heldBefore)
    {
      Change(c.injected, true);
      DispatchAndSample();
      DispatchAndSample();
    }
    for (bool down : c.changes)
      Change(c.injected, down);
    DispatchAndSample();
    EXPECT_EQ(c.expected, Frames(c.watched, 4)) << "key " << int(c.injected);
    Change(c.injected, false);
    DispatchAndSample();
  }
}

TEST_F(InputTapTest, AResetForgetsATapNotYetSampled)
{
  InjectKey('E', true);
  InjectKey('E', false);
  VNSysUpdate();
  VNInputReset();
  VNInputUpdate();
  EXPECT_FALSE(VNInputCheckTriggered('E'));
}

} // namespace
