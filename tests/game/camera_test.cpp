#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "../engine/graphics_pixels.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/TextureManager.h"
#include "TestInput.h"
#include "TestWindow.h"

namespace
{
const float kDt = 1.0f / 60.0f;

// Counts its destructions so ownership can be checked.
class CountedButton : public Button2D
{
public:
  explicit CountedButton(const std::string& buttonName) : Button2D(buttonName) {}
  ~CountedButton() override { ++destroyed; }
  static int destroyed;
};
int CountedButton::destroyed = 0;

class CameraTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    Camera::Destroy();
    camera = Camera::Instance();
    camera->clampToBounds = false;
    MoveMouse(640, 360);
  }
  void TearDown() override
  {
    InjectMouseButton(VN_KEY_LBUTTON, false);
    InjectKey(VN_KEY_SPACE, false);
    DispatchAndSample();
    DispatchAndSample();
    Camera::Destroy();
    TextureManager::Destroy();
  }

  // A frame with the cursor at window pixel (x, y): dispatch, sample, camera update.
  void MoveMouse(int x, int y)
  {
    InjectMouseMove(x, y);
    DispatchAndSample();
    camera->Update(kDt);
  }
  void HoldDragKeys()
  {
    InjectMouseButton(VN_KEY_LBUTTON, true);
    InjectKey(VN_KEY_SPACE, true);
    DispatchAndSample();
    camera->Update(kDt);
  }
  void PressF1()
  {
    InjectKey(VN_KEY_F1, true);
    DispatchAndSample();
    camera->Update(kDt);
    InjectKey(VN_KEY_F1, false);
    DispatchAndSample();
  }

  Camera* camera = nullptr;
};
} // namespace

TEST_F(CameraTest, ClampKeepsTheViewInsideTheLevelShiftedByHalfATile)
{
  camera->clampToBounds = true;
  camera->tileSize = {50.0f, 50.0f};
  camera->boundsMin = {0.0f, 0.0f};
  camera->boundsMax = {2500.0f, 2000.0f};

  camera->position = {-1000.0f, -1000.0f};
  camera->Update(kDt);
  EXPECT_FLOAT_EQ(-25.0f + 640.0f, camera->position.x);
  EXPECT_FLOAT_EQ(25.0f + 360.0f, camera->position.y);

  camera->position = {9000.0f, 9000.0f};
  camera->Update(kDt);
  EXPECT_FLOAT_EQ(2500.0f - 25.0f - 640.0f, camera->position.x);
  EXPECT_FLOAT_EQ(2000.0f + 25.0f - 360.0f, camera->position.y);

  // The renderer's world window follows the camera.
  EXPECT_FLOAT_EQ(camera->position.x - 640.0f, gVNWinMinX);
  EXPECT_FLOAT_EQ(camera->position.y + 360.0f, gVNWinMaxY);

  // A level smaller than the view: the left and lower limits win, frame after frame,
  // wherever the camera started.
  camera->boundsMax = {600.0f, 400.0f};
  const VNVec2 starts[] = {{300.0f, 200.0f}, {-2000.0f, -2000.0f}, {2000.0f, 2000.0f}};
  for (const VNVec2& start : starts)
  {
    camera->position = start;
    for (int frame = 0; frame < 3; ++frame)
    {
      camera->Update(kDt);
      EXPECT_FLOAT_EQ(-25.0f + 640.0f, camera->position.x) << "frame " << frame;
      EXPECT_FLOAT_EQ(25.0f + 360.0f, camera->position.y) << "frame " << frame;
    }
  }
}

TEST_F(CameraTest, WheelImpulseDecays)
{
  // An impulse loses 15 * dt of itself each frame; at half a unit or less it stops.
  const std::pair<float, float> decays[] = {
      {100.0f, 85.0f}, {0.5f, 0.0f}, {-0.4f, 0.0f}, {-10.0f, -8.5f}};
  for (const auto& [before, after] : decays)
  {
    camera->wheelImpulse = before;
    camera->Update(0.01f);
    EXPECT_NEAR(after, camera->wheelImpulse, 1e-4f) << "from " << before;
  }
}

TEST_F(CameraTest, DragMovesTheWorldWithTheHandAndWinsOverEdgeScroll)
{
  camera->edgeScroll = true;
  MoveMouse(600, 300);
  HoldDragKeys();
  const VNVec2 start = camera->position;
  MoveMouse(650, 280);
  EXPECT_FLOAT_EQ(start.x - 50.0f, camera->position.x);
  EXPECT_FLOAT_EQ(start.y - 20.0f, camera->position.y);

  // Dragging onto the edge: the drag moves the camera, the edge does not add its step.
  MoveMouse(1279, 280);
  EXPECT_FLOAT_EQ(start.x - 50.0f - 629.0f, camera->position.x);
  const VNVec2 atEdge = camera->position;
  MoveMouse(1279, 280);
  EXPECT_FLOAT_EQ(atEdge.x, camera->position.x);
  EXPECT_FLOAT_EQ(atEdge.y, camera->position.y);

  // Letting go of Space ends the drag; the edge takes over at 20 units a frame.
  InjectKey(VN_KEY_SPACE, false);
  MoveMouse(1279, 280);
  EXPECT_FLOAT_EQ(atEdge.x + 20.0f, camera->position.x);
  MoveMouse(0, 0);
  EXPECT_FLOAT_EQ(atEdge.x, camera->position.x);
  EXPECT_FLOAT_EQ(atEdge.y + 20.0f, camera->position.y);
  MoveMouse(640, 719);
  EXPECT_FLOAT_EQ(atEdge.y, camera->position.y);
}

TEST_F(CameraTest, FollowModeBlocksDragAndEdgeScrollUntilF1)
{
  camera->edgeScroll = true;
  camera->followMode = true;
  camera->position = {10.0f, 20.0f};
  HoldDragKeys();
  MoveMouse(900, 100);
  MoveMouse(1279, 0);
  EXPECT_FLOAT_EQ(10.0f, camera->position.x) << "follow mode without a target stays put";
  EXPECT_FLOAT_EQ(20.0f, camera->position.y);

  VNVec2 target = {110.0f, -80.0f};
  camera->followTarget = &target;
  camera->Update(0.1f);
  EXPECT_NEAR(10.0f + 100.0f * 0.3f, camera->position.x, 1e-4f);
  EXPECT_NEAR(20.0f - 100.0f * 0.3f, camera->position.y, 1e-4f);

  InjectMouseButton(VN_KEY_LBUTTON, false);
  InjectKey(VN_KEY_SPACE, false);
  PressF1();
  EXPECT_FALSE(camera->followMode);
  const VNVec2 before = camera->position;
  MoveMouse(1279, 360);
  EXPECT_FLOAT_EQ(before.x + 20.0f, camera->position.x);
  PressF1();
  EXPECT_TRUE(camera->followMode);
}

TEST_F(CameraTest, OverlayKeepsItsScreenPositionWhateverMovesTheCamera)
{
  camera->edgeScroll = true;
  camera->tileSize = {50.0f, 50.0f};
  camera->boundsMax = {3000.0f, 3000.0f};
  Button2D* button = new Button2D("Menu");
  button->width = 200.0f;
  button->height = 60.0f;
  button->SetPosition(100.0f, 50.0f);
  camera->AddButton(std::unique_ptr<Button2D>(button));
  TextLabel* label = camera->AddText("Score", -300.0f, 200.0f);

  auto expectOnScreen = [&](const char* after)
  {
    EXPECT_NEAR(100.0f, button->position.x - camera->position.x, 1e-3f) << after;
    EXPECT_NEAR(50.0f, button->position.y - camera->position.y, 1e-3f) << after;
    EXPECT_NEAR(-300.0f, label->position.x - camera->position.x, 1e-3f) << after;
    EXPECT_NEAR(200.0f, label->position.y - camera->position.y, 1e-3f) << after;
    EXPECT_NEAR(button->position.x - 200.0f / 3.0f, button->caption->position.x, 1e-3f);
    EXPECT_NEAR(button->position.y - 15.0f, button->caption->position.y, 1e-3f);
    EXPECT_FLOAT_EQ(button->caption->position.x, button->tooltip->position.x);
  };

  MoveMouse(1279, 360);
  expectOnScreen("edge scroll");
  HoldDragKeys();
  MoveMouse(1000, 200);
  expectOnScreen("drag");
  InjectMouseButton(VN_KEY_LBUTTON, false);
  InjectKey(VN_KEY_SPACE, false);
  MoveMouse(640, 360);
  VNVec2 target = {1500.0f, 1200.0f};
  camera->followTarget = &target;
  camera->followMode = true;
  camera->Update(0.1f);
  expectOnScreen("follow");
  camera->clampToBounds = true;
  camera->followMode = false;
  camera->position = {-5000.0f, -5000.0f};
  button->position = {-4900.0f, -4950.0f};
  label->position = {-5300.0f, -4800.0f};
  camera->Update(kDt);
  expectOnScreen("clamp");
}

TEST_F(CameraTest, ButtonsAreOwnedAndFoundByName)
{
  CountedButton::destroyed = 0;
  CountedButton* first = new CountedButton("Play");
  camera->AddButton(std::unique_ptr<Button2D>(first));
  camera->AddButton(std::unique_ptr<Button2D>(new CountedButton("Play")));
  EXPECT_EQ(1, CountedButton::destroyed) << "the second button under a taken name is freed";
  EXPECT_EQ(first, camera->FindButton("Play"));
  EXPECT_EQ(nullptr, camera->FindButton("play"));

  camera->AddButton(std::unique_ptr<Button2D>(new CountedButton("Exit")));
  camera->AddText("Hello", 0.0f, 0.0f);
  camera->ClearOverlay();
  EXPECT_EQ(3, CountedButton::destroyed);
  EXPECT_TRUE(camera->screenButtons.empty());
  EXPECT_TRUE(camera->labels.empty());
  EXPECT_EQ(nullptr, camera->FindButton("Play"));
}

TEST_F(CameraTest, OverlayDrawsButtonsInByteOrderOfNamesSkippingHiddenOnes)
{
  // Three image-less squares over the centre: "B" (red), "a" (green), hidden "c" (blue).
  // Upper case sorts first, so "a" ends on top and the hidden one is never drawn.
  const char* names[] = {"a", "B", "c"};
  const Color4 tints[] = {{0, 1, 0, 1}, {1, 0, 0, 1}, {0, 0, 1, 1}};
  for (int i = 0; i < 3; ++i)
  {
    Button2D* button = new Button2D(names[i]);
    button->width = 200.0f;
    button->height = 200.0f;
    button->SetPosition(0.0f, 0.0f);
    button->tint = tints[i];
    camera->AddButton(std::unique_ptr<Button2D>(button));
  }
  camera->FindButton("c")->hidden = true;
  // "a" prints its caption and, under the mouse, its tooltip in magenta.
  Button2D* top = camera->FindButton("a");
  top->textColor = {1.0f, 0.0f, 1.0f, 1.0f};
  top->tooltip->SetText("Tip");
  camera->mouse = {640.0f + 20.0f, 360.0f - 60.0f};

  BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);
  VNGfxSetCamPosition(0.0f, 0.0f);
  camera->DrawOverlay();
  EXPECT_RGB_NEAR((Rgba{0, 255, 0, 255}), ReadPixel(640 + 80, 360 - 80), 10);

  // Magenta pixels in a window rectangle (origin top left).
  auto magenta = [](int x, int y, int w, int h)
  {
    std::vector<unsigned char> block(static_cast<size_t>(w) * h * 4);
    glReadPixels(x, 720 - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, block.data());
    int count = 0;
    for (size_t i = 0; i < block.size(); i += 4)
      count += block[i] > 200 && block[i + 1] < 60 && block[i + 2] > 200;
    return count;
  };
  EXPECT_GT(magenta(655, 280, 60, 25), 5) << "tooltip at the mouse";
  EXPECT_GT(magenta(560, 370, 45, 40), 5) << "caption below and left of the centre";
  EXPECT_EQ(0, magenta(700, 150, 200, 100)) << "nothing elsewhere";
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
}
