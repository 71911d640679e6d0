#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "TestInput.h"
#include "TestWindow.h"

namespace
{
const char* const kClick = "Assets/Sound/MouseClick.wav";
const char* const kHover = "Assets/Sound/MouseOver.wav";

class ButtonTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    Camera::Destroy();
    camera = Camera::Instance();
    button.width = 100.0f;
    button.height = 50.0f;
    button.SetPosition(0.0f, 0.0f);
    StopEffect();
  }
  void TearDown() override
  {
    InjectMouseButton(VN_KEY_LBUTTON, false);
    DispatchAndSample();
    DispatchAndSample();
    StopEffect();
  }

  // The cursor at window pixel (x, y); the camera sits at the origin.
  void Cursor(float x, float y) { camera->mouse = {x, y}; }
  void LeftButton(bool down)
  {
    InjectMouseButton(VN_KEY_LBUTTON, down);
    DispatchAndSample();
  }

  Camera* camera = nullptr;
  Button2D button{"Play"};
};
} // namespace

TEST_F(ButtonTest, HoldingTheMouseDownClicksOnceWithOneSound)
{
  Cursor(640, 360);
  LeftButton(true);
  EXPECT_TRUE(button.IsClicked());
  EXPECT_TRUE(EffectPlaying(kClick));
  StopEffect();

  DispatchAndSample();
  EXPECT_FALSE(button.IsClicked()) << "still held: no second click";
  EXPECT_FALSE(VNAudioChannelIsPlaying(SoundManager::Instance()->effectChannel));

  LeftButton(false);
  EXPECT_FALSE(button.IsClicked());
  LeftButton(true);
  EXPECT_TRUE(button.IsClicked()) << "a new press clicks again";
}

TEST_F(ButtonTest, HitTestIncludesEdgesAndIgnoresScaleAndRotation)
{
  // The button spans x -50..50 and y -25..25 in the world; window y grows downward.
  for (const VNVec2& corner : {VNVec2{640 + 50, 360 - 25}, VNVec2{640 - 50, 360 + 25}})
  {
    Cursor(corner.x, corner.y);
    LeftButton(true);
    EXPECT_TRUE(button.IsClicked()) << "corner " << corner.x << ", " << corner.y;
    LeftButton(false);
  }

  button.scale = {2.0f, 2.0f};
  button.rotation = 90.0f;
  Cursor(640 + 51, 360);
  EXPECT_FALSE(button.IsMouseOver());
  Cursor(640, 360 + 26);
  EXPECT_FALSE(button.IsMouseOver());
  Cursor(640 + 49, 360 - 24);
  EXPECT_TRUE(button.IsMouseOver());

  // The hit test is in world units: moving the camera moves where the button is seen.
  camera->position = {1000.0f, 500.0f};
  button.SetPosition(1000.0f, 500.0f);
  EXPECT_TRUE(button.IsMouseOver());
  button.SetPosition(0.0f, 0.0f);
  EXPECT_FALSE(button.IsMouseOver());
}

TEST_F(ButtonTest, HoverSoundPlaysOncePerEntry)
{
  Cursor(100, 100);
  EXPECT_FALSE(button.IsMouseOver());
  EXPECT_FALSE(EffectPlaying(kHover));

  Cursor(640, 360);
  EXPECT_TRUE(button.IsMouseOver());
  EXPECT_TRUE(button.hovered);
  EXPECT_TRUE(EffectPlaying(kHover));
  StopEffect();
  Cursor(660, 370);
  EXPECT_TRUE(button.IsMouseOver());
  EXPECT_FALSE(VNAudioChannelIsPlaying(SoundManager::Instance()->effectChannel))
      << "staying on the button is silent";

  Cursor(100, 100);
  EXPECT_FALSE(button.IsMouseOver());
  EXPECT_FALSE(button.hovered);
  Cursor(640, 360);
  EXPECT_TRUE(button.IsMouseOver());
  EXPECT_TRUE(EffectPlaying(kHover)) << "coming back plays it again";
}

TEST_F(ButtonTest, HiddenAndDisabledButtonsAreInertAndSilent)
{
  Cursor(640, 360);
  for (int pass = 0; pass < 2; ++pass)
  {
    button.hidden = pass == 0;
    button.disabled = pass == 1;
    LeftButton(true);
    EXPECT_FALSE(button.IsClicked());
    EXPECT_FALSE(button.IsMouseOver());
    EXPECT_FALSE(button.hovered);
    EXPECT_FALSE(VNAudioChannelIsPlaying(SoundManager::Instance()->effectChannel));
    LeftButton(false);
  }

  // A button hidden while hovered keeps its hover state until it shows again.
  button.hidden = false;
  button.disabled = false;
  EXPECT_TRUE(button.IsMouseOver());
  button.hidden = true;
  Cursor(100, 100);
  EXPECT_FALSE(button.IsMouseOver());
  EXPECT_TRUE(button.hovered);
}
