#include <gtest/gtest.h>

#include "../engine/graphics_pixels.h"
#include "FrameworkTestSupport.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/LevelManager.h"
#include "Framework/TextureManager.h"
#include "TestWindow.h"
#include "World/Grid2D.h"

namespace
{
using Log = std::vector<std::string>;

const float kDt = 1.0f / 60.0f;
const char* const kChangeSound = "Assets/Sound/GameIn.ogg";

class LevelManagerTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    SoundManager::Destroy();
    Camera::Destroy();
    LevelManager::Destroy();
    manager = LevelManager::Instance();
    a = Register("A");
    b = Register("B");
  }
  void TearDown() override
  {
    LevelManager::Destroy();
    Camera::Destroy();
    SoundManager::Destroy();
    TextureManager::Destroy();
  }

  RecordingLevel* Register(const std::string& levelName)
  {
    RecordingLevel* level = new RecordingLevel(levelName, log);
    manager->AddLevel(level);
    return level;
  }
  // How the application enters its first level: no change sound, no camera reset.
  void Enter(RecordingLevel* level)
  {
    manager->EnterDirectly(level->name);
    log.clear();
  }

  Log log;
  LevelManager* manager = nullptr;
  RecordingLevel* a = nullptr;
  RecordingLevel* b = nullptr;
};
} // namespace

TEST_F(LevelManagerTest, ChangeInsideAnUpdateTakesEffectBeforeItReturns)
{
  a->CreateTilemap({30.0f, 20.0f}, 50.0f);
  Enter(a);
  Camera* camera = Camera::Instance();
  const char* music = "Assets/Sound/Level1BGM.ogg";
  a->onUpdate = [&]
  {
    // The camera has already taken this frame's bounds from the grid and clamped to them.
    EXPECT_FLOAT_EQ(1500.0f, camera->boundsMax.x);
    EXPECT_FLOAT_EQ(1000.0f, camera->boundsMax.y);
    EXPECT_FLOAT_EQ(50.0f, camera->tileSize.x);
    EXPECT_FLOAT_EQ(-25.0f + 640.0f, camera->position.x);
    SoundManager::Instance()->Play(music, true);
    manager->ChangeLevel("B");
  };

  manager->Update(kDt);
  EXPECT_EQ((Log{"A Update", "A Unload", "B Load", "A Update done"}), log);
  ASSERT_EQ(b, manager->current);
  EXPECT_TRUE(b->active);
  EXPECT_FALSE(a->active);
  EXPECT_TRUE(EffectPlaying(kChangeSound));

  // The sound step of the same frame ran after the level's update.
  SoundManager* sound = SoundManager::Instance();
  EXPECT_TRUE(sound->fading);
  EXPECT_EQ(music, sound->pendingMusic);
  EXPECT_NEAR(1.0f - kDt, sound->currentMusicVolume, 1e-6f);

  // The main loop reads current after the update, so B is drawn in this very frame.
  manager->current->Draw();
  EXPECT_EQ("B Draw", log.back());
}

TEST_F(LevelManagerTest, UnknownNameLeavesNoLevelAndFramesDoNothing)
{
  Enter(a);
  manager->ChangeLevel("Nowhere");
  EXPECT_EQ((Log{"A Unload"}), log);
  EXPECT_EQ(nullptr, manager->current);
  EXPECT_FALSE(a->active);

  Camera* camera = Camera::Instance();
  camera->wheelImpulse = 0.25f;
  SoundManager* sound = SoundManager::Instance();
  sound->Play("Assets/Sound/Level2BGM.ogg", true);
  manager->Update(kDt);
  EXPECT_EQ(0.25f, camera->wheelImpulse) << "no camera update without a level";
  EXPECT_EQ(1.0f, sound->currentMusicVolume) << "no sound step without a level";
  EXPECT_EQ((Log{"A Unload"}), log);
}

TEST_F(LevelManagerTest, ChangeResetsTheCameraBeforeTheNewLevelLoadsEvenToItself)
{
  Enter(a);
  Camera* camera = Camera::Instance();
  VNVec2 player = {900.0f, 700.0f};
  camera->position = {300.0f, 200.0f};
  camera->followMode = true;
  camera->followTarget = &player;
  camera->AddButton(std::unique_ptr<Button2D>(new Button2D("Resume")));
  camera->AddText("Paused", 0.0f, 0.0f);

  b->onLoad = [&]
  {
    EXPECT_EQ(0.0f, camera->position.x);
    EXPECT_EQ(0.0f, camera->position.y);
    EXPECT_FALSE(camera->followMode);
    EXPECT_EQ(nullptr, camera->followTarget);
    EXPECT_TRUE(camera->screenButtons.empty());
    EXPECT_TRUE(camera->labels.empty());
    camera->AddButton(std::unique_ptr<Button2D>(new Button2D("Start")));
  };
  manager->ChangeLevel("B");
  EXPECT_EQ((Log{"A Unload", "B Load"}), log);
  EXPECT_NE(nullptr, camera->FindButton("Start")) << "what Load adds survives the change";
  EXPECT_EQ(nullptr, camera->FindButton("Resume"));

  // Changing to the current level restarts it, with the change sound.
  log.clear();
  StopEffect();
  manager->ChangeLevel("B");
  EXPECT_EQ((Log{"B Unload", "B Load"}), log);
  EXPECT_EQ(b, manager->current);
  EXPECT_TRUE(b->active);
  EXPECT_TRUE(EffectPlaying(kChangeSound));
}

TEST_F(LevelManagerTest, DuplicateNameIsRejectedAndDeleted)
{
  RecordingLevel* twin = new RecordingLevel("A", log);
  twin->active = true;
  EXPECT_EQ("Level Exist\nBaseLevel destroy\n", StdoutOf(
                                                    [&]
                                                    {
                                                      manager->AddLevel(twin);
                                                      manager->AddLevel(nullptr);
                                                    }));
  EXPECT_EQ((Log{"A destroyed"}), log);
  EXPECT_EQ(a, manager->levels["A"]);
  EXPECT_EQ(2u, manager->levels.size());
  EXPECT_FALSE(a->active);
}

TEST_F(LevelManagerTest, DestroyDeletesLevelsInNameOrderWithoutUnloading)
{
  Register("b");
  Register("C");
  Enter(a);
  TextureManager* cache = TextureManager::Instance();
  VNGfxTexture* shared = cache->Acquire("Assets/test-tile.png");
  cache->Acquire("Assets/test-tile.png");
  a->tileTextures[1] = shared;

  EXPECT_EQ("BaseLevel destroy\nBaseLevel destroy\nBaseLevel destroy\nBaseLevel destroy\n",
            StdoutOf(LevelManager::Destroy));
  EXPECT_EQ((Log{"A destroyed", "B destroyed", "C destroyed", "b destroyed"}), log);
  EXPECT_EQ(1, cache->Find("Assets/test-tile.png")->refCount)
      << "a level gives back the references of its tile textures";
}

TEST_F(LevelManagerTest, OnlyTheLayerNamedExactlyEventsIsNotDrawn)
{
  a->CreateTilemap({8.0f, 4.0f}, 50.0f);
  Grid2D* grid = a->tilemap;
  // One red tile per layer, side by side on the row whose centres lie at y = 50.
  const char* layers[] = {"BACKGROUND", "EVENTS", "events", "EVENTS2"};
  for (int i = 0; i < 4; ++i)
  {
    grid->AddLayer(layers[i]);
    grid->SetTileAt(layers[i], i + 1, 3, 1);
  }
  const unsigned char red[] = {255, 0, 0, 255};
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(red, 1, 1);
  grid->textures[1] = texture;

  BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);
  VNGfxSetCamPosition(0.0f, 0.0f);
  a->DrawTilemap();
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(i == 1 ? 0 : 255, ReadPixel(640 + (i + 1) * 50, 360 + 50).r) << "layer " << layers[i];
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
  grid->textures.clear();
  VNGfxTextureUnload(texture);
}
