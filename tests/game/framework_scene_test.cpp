// Two small levels with a button each, driven frame by frame like the main loop and
// switched by clicking through injected mouse events.
#include <gtest/gtest.h>

#include "../engine/graphics_pixels.h"
#include "FrameworkTestSupport.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/LevelManager.h"
#include "Framework/TextureManager.h"
#include "TestInput.h"
#include "TestWindow.h"

namespace
{
const float kDt = 1.0f / 60.0f;
const char* const kHallMusic = "Assets/Sound/Level2BGM.ogg";
const char* const kYardMusic = "Assets/Sound/Level1BGM.ogg";

// A room of 50-unit tiles with one button that leads to another room and asks for that
// room's music. The button sits at a fixed place on the screen.
class Room : public Level
{
public:
  Room(const std::string& roomName, VNVec2 tiles, const std::string& door, VNVec2 doorAt,
       const std::string& next, const std::string& nextMusic)
      : size(tiles), doorName(door), doorPosition(doorAt), destination(next), music(nextMusic)
  {
    name = roomName;
  }

  void Load() override
  {
    ++loads;
    CreateTilemap(size, 50.0f);
    Button2D* doorButton = new Button2D(doorName);
    doorButton->width = 200.0f;
    doorButton->height = 60.0f;
    doorButton->SetPosition(doorPosition.x, doorPosition.y);
    doorButton->tooltip->SetText("to " + destination);
    camera->AddButton(std::unique_ptr<Button2D>(doorButton));
    camera->AddText(name, -600.0f, 300.0f);
    camera->clampToBounds = true;
    if (followPlayer)
    {
      camera->followTarget = &player;
      camera->followMode = true;
    }
  }
  void Unload() override { ++unloads; }
  void Update(const float&) override
  {
    Button2D* doorButton = camera->FindButton(doorName);
    if (doorButton && doorButton->IsClicked())
    {
      LevelManager::Instance()->ChangeLevel(destination);
      SoundManager::Instance()->Play(music, true);
    }
  }
  void Draw() override {}

  VNVec2 size;
  std::string doorName;
  VNVec2 doorPosition;
  std::string destination;
  std::string music;
  bool followPlayer = false;
  VNVec2 player = {1200.0f, 900.0f};
  int loads = 0;
  int unloads = 0;
};

class FrameworkSceneTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    SoundManager::Destroy();
    Camera::Destroy();
    LevelManager::Destroy();
    manager = LevelManager::Instance();

    // The hall is larger than the screen and follows a player; the yard is smaller.
    hall = new Room("Hall", {40.0f, 30.0f}, "Yard", {400.0f, -250.0f}, "Yard", kYardMusic);
    hall->followPlayer = true;
    yard = new Room("Yard", {10.0f, 8.0f}, "Hall", {-400.0f, 250.0f}, "Hall", kHallMusic);
    manager->AddLevel(hall);
    manager->AddLevel(yard);

    manager->EnterDirectly("Hall");
    InjectMouseMove(640, 700);
  }
  void TearDown() override
  {
    InjectMouseButton(VN_KEY_LBUTTON, false);
    DispatchAndSample();
    VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
    LevelManager::Destroy();
    Camera::Destroy();
    SoundManager::Destroy();
    TextureManager::Destroy();
  }

  // One frame of the main loop: sample input, update, draw (not presented, so the test
  // can read the pixels). The matrices are uploaded after the update, as they are when a
  // level's tiles are drawn, so what is read back shows this frame's camera.
  void Frame()
  {
    DispatchAndSample();
    VNGfxSetBackgroundColor(0.5f, 0.5f, 0.5f);
    VNGfxStart();
    manager->Update(kDt);
    VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
    if (Level* level = manager->current)
    {
      level->DrawTilemap();
      level->Draw();
      Camera::Instance()->DrawOverlay();
    }
  }
  void Click(int x, int y)
  {
    InjectMouseMove(x, y);
    InjectMouseButton(VN_KEY_LBUTTON, true);
    Frame();
    InjectMouseButton(VN_KEY_LBUTTON, false);
  }

  // Whether window pixel (x, y), origin top-left, shows a white button or the grey clear.
  static ::testing::AssertionResult White(int x, int y)
  {
    return RgbNear(Rgba{255, 255, 255, 255}, ReadPixel(x, 719 - y), 15);
  }
  static ::testing::AssertionResult Background(int x, int y)
  {
    return RgbNear(Rgba{128, 128, 128, 255}, ReadPixel(x, 719 - y), 4);
  }
  // Dark pixels in a window rectangle: where black overlay text was printed.
  static int DarkPixels(int x, int y, int w, int h)
  {
    std::vector<unsigned char> block(static_cast<size_t>(w) * h * 4);
    glReadPixels(x, 720 - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, block.data());
    int dark = 0;
    for (size_t i = 0; i < block.size(); i += 4)
      dark += block[i] < 40 && block[i + 1] < 40 && block[i + 2] < 40;
    return dark;
  }

  LevelManager* manager = nullptr;
  Room* hall = nullptr;
  Room* yard = nullptr;
};
} // namespace

TEST_F(FrameworkSceneTest, ClickingButtonsWalksBetweenTwoLevels)
{
  Camera* camera = Camera::Instance();
  Button2D* toYard = camera->FindButton("Yard");
  ASSERT_NE(nullptr, toYard);

  // The hall's camera follows the player inside the hall's bounds; the button and the
  // label stay where they are on the screen.
  VNVec2 last = camera->position;
  for (int i = 0; i < 30; ++i)
    Frame();
  EXPECT_GT(camera->position.x, last.x);
  EXPECT_GE(camera->position.x, -25.0f + 640.0f);
  EXPECT_GE(camera->position.y, 25.0f + 360.0f);
  EXPECT_NEAR(400.0f, toYard->position.x - camera->position.x, 1e-3f);
  EXPECT_NEAR(-250.0f, toYard->position.y - camera->position.y, 1e-3f);
  EXPECT_TRUE(White(640 + 480, 360 + 230)) << "the button's top right part";
  EXPECT_TRUE(Background(640 - 480, 360 - 230));
  EXPECT_GT(DarkPixels(40, 30, 100, 40), 10) << "the label \"Hall\" in black";

  // Over the button: highlight and one hover sound.
  InjectMouseMove(640 + 400, 360 + 250);
  Frame();
  EXPECT_TRUE(toYard->hovered);
  EXPECT_FLOAT_EQ(1.8f, toYard->tint.r);
  EXPECT_TRUE(EffectPlaying("Assets/Sound/MouseOver.wav"));

  // The click changes the level inside the hall's update; the yard is drawn this frame.
  Click(640 + 400, 360 + 250);
  ASSERT_EQ(yard, manager->current);
  EXPECT_EQ(1, hall->unloads);
  EXPECT_EQ(1, yard->loads);
  EXPECT_EQ(1u, SoundManager::Instance()->sounds.count("Assets/Sound/MouseClick.wav"));
  EXPECT_TRUE(EffectPlaying("Assets/Sound/GameIn.ogg"));
  EXPECT_EQ(kYardMusic, SoundManager::Instance()->pendingMusic);
  EXPECT_EQ(nullptr, camera->FindButton("Yard"));
  EXPECT_TRUE(Background(640 + 480, 360 + 230)) << "the hall's button is gone";
  EXPECT_TRUE(White(640 - 480, 360 - 230)) << "the yard's button is drawn";

  // The yard is smaller than the view: its camera rests at the lower limits.
  for (int i = 0; i < 70; ++i)
    Frame();
  EXPECT_FLOAT_EQ(-25.0f + 640.0f, camera->position.x);
  EXPECT_FLOAT_EQ(25.0f + 360.0f, camera->position.y);
  EXPECT_FALSE(camera->followMode);
  Button2D* toHall = camera->FindButton("Hall");
  ASSERT_NE(nullptr, toHall);
  EXPECT_NEAR(-400.0f, toHall->position.x - camera->position.x, 1e-3f);

  // The requested music has faded in over the old silence and loops.
  SoundManager* sound = SoundManager::Instance();
  EXPECT_FALSE(sound->fading);
  EXPECT_TRUE(VNAudioChannelIsLooping(sound->musicChannel));
  const VNAudioSound* track = VNAudioChannelGetSound(sound->musicChannel);
  ASSERT_NE(nullptr, track);
  EXPECT_STREQ(kYardMusic, VNAudioSoundGetFile(track));

  // Holding the button down over the other button does not click it later.
  InjectMouseMove(640 - 400, 360 - 250);
  InjectMouseButton(VN_KEY_LBUTTON, true);
  InjectMouseMove(500, 500);
  Frame();
  InjectMouseMove(640 - 400, 360 - 250);
  Frame();
  EXPECT_EQ(yard, manager->current) << "a press that started elsewhere is no click";
  InjectMouseButton(VN_KEY_LBUTTON, false);
  Frame();

  Click(640 - 400, 360 - 250);
  EXPECT_EQ(hall, manager->current);
  EXPECT_EQ(2, hall->loads);
  EXPECT_EQ(1, yard->unloads);
  EXPECT_NE(nullptr, camera->FindButton("Yard"));
  EXPECT_TRUE(camera->followMode);
}
