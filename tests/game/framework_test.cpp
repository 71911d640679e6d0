// The game's framework: levels and their changes, the camera and its overlay, buttons,
// sprites and tile layers as drawn, the texture cache and the sound manager.
#include <SDL.h>
#include <SDL_image.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../engine/graphics_pixels.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/LevelManager.h"
#include "Framework/TextureManager.h"
#include "FrameworkTestSupport.h"
#include "ScratchFolder.h"
#include "TestInput.h"
#include "TestSound.h"
#include "World/Grid2D.h"

namespace
{
using Log = std::vector<std::string>;
const float kDt = 1.0f / 60.0f;

// A level that writes what the framework does to it into a log, and runs an optional
// step inside its Load and Update.
class RecordingLevel : public Level
{
public:
  RecordingLevel(const std::string& levelName, Log& eventLog) : log(eventLog) { name = levelName; }
  ~RecordingLevel() override { log.push_back(name + " destroyed"); }
  void Load() override
  {
    log.push_back(name + " Load");
    if (onLoad)
      onLoad();
  }
  void Unload() override { log.push_back(name + " Unload"); }
  void Update(const float&) override
  {
    log.push_back(name + " Update");
    if (onUpdate)
      onUpdate();
    log.push_back(name + " Update done");
  }
  void Draw() override { log.push_back(name + " Draw"); }

  Log& log;
  std::function<void()> onLoad;
  std::function<void()> onUpdate;
};

// The whole back buffer, for comparing two pictures.
std::vector<unsigned char> WholeFrame()
{
  std::vector<unsigned char> pixels(1280 * 720 * 4);
  glFinish();
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, 1280, 720, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

// Every cell of the layer as its own quad, as tiles were once drawn.
void DrawCellByCell(const Grid2D& grid, const std::vector<int>& cells, VNGfxVertexList* quad)
{
  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
  VNGfxSetTransparency(1.0f);
  for (int cell = 0; cell < grid.width * grid.height; ++cell)
  {
    if (cells[cell] <= 0)
      continue;
    auto texture = grid.textures.find(cells[cell]);
    VNGfxTextureSet(texture == grid.textures.end() ? nullptr : texture->second, 0.0f, 0.0f);
    const int col = cell % grid.width, row = cell / grid.width;
    VNGfxSetPosition(col * grid.tileWidth, (grid.height - row) * grid.tileHeight);
    if (cell == grid.hoveredCell)
      VNGfxSetTintColor(1.0f, 0.0f, 0.0f, 1.0f);
    else
      VNGfxSetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
    VNGfxMeshDraw(quad, VN_GFX_MESH_TRIANGLES);
  }
}

class FrameworkTest : public testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    TearDown();
    VNGfxSetCamPosition(0.0f, 0.0f);
    camera = Camera::Instance();
    manager = LevelManager::Instance();
  }
  void TearDown() override
  {
    InjectMouseButton(VN_KEY_LBUTTON, false);
    InjectKey(VN_KEY_SPACE, false);
    DispatchAndSample();
    DispatchAndSample();
    VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
    LevelManager::Destroy();
    Camera::Destroy();
    SoundManager::Destroy();
    TextureManager::Destroy();
  }

  // Registers two recording levels and enters A as the game enters its first level.
  void EnterA()
  {
    manager->AddLevel(a = new RecordingLevel("A", log));
    manager->AddLevel(b = new RecordingLevel("B", log));
    manager->EnterDirectly("A");
    log.clear();
  }
  // A frame with the cursor at window pixel (x, y): dispatch, sample, camera update.
  void MoveMouse(int x, int y)
  {
    InjectMouseMove(x, y);
    DispatchAndSample();
    camera->Update(kDt);
  }
  void LeftButton(bool down)
  {
    InjectMouseButton(VN_KEY_LBUTTON, down);
    DispatchAndSample();
  }

  Log log;
  LevelManager* manager = nullptr;
  RecordingLevel* a = nullptr;
  RecordingLevel* b = nullptr;
  Camera* camera = nullptr;
};

TEST_F(FrameworkTest, AChangeInsideAnUpdateTakesEffectBeforeItReturns)
{
  EnterA();
  a->CreateTilemap({30.0f, 20.0f}, 50.0f);
  const char* music = "Assets/Sound/Level1BGM.ogg";
  a->onUpdate = [&]
  {
    // The camera has already taken this frame's bounds from the grid and clamped to them.
    EXPECT_FLOAT_EQ(1500.0f, camera->boundsMax.x);
    EXPECT_FLOAT_EQ(-25.0f + 640.0f, camera->position.x);
    SoundManager::Instance()->Play(music, true);
    manager->ChangeLevel("B");
  };
  manager->Update(kDt);
  EXPECT_EQ((Log{"A Update", "A Unload", "B Load", "A Update done"}), log);
  ASSERT_EQ(b, manager->current);
  EXPECT_TRUE(b->active);
  EXPECT_FALSE(a->active);
  EXPECT_TRUE(EffectPlaying("Assets/Sound/GameIn.ogg"));
  // The sound step of the same frame ran after the level's update.
  EXPECT_EQ(music, SoundManager::Instance()->pendingMusic);
  EXPECT_NEAR(1.0f - kDt, SoundManager::Instance()->currentMusicVolume, 1e-6f);
}

TEST_F(FrameworkTest, AChangeResetsTheCameraBeforeTheNewLevelLoadsAndAnUnknownNameLeavesNone)
{
  EnterA();
  VNVec2 player = {900.0f, 700.0f};
  camera->position = {300.0f, 200.0f};
  camera->followMode = true;
  camera->followTarget = &player;
  camera->AddButton(std::make_unique<Button2D>("Resume"));
  camera->AddText("Paused", 0.0f, 0.0f);
  b->onLoad = [&]
  {
    EXPECT_EQ(0.0f, camera->position.x);
    EXPECT_FALSE(camera->followMode);
    EXPECT_EQ(nullptr, camera->followTarget);
    EXPECT_TRUE(camera->screenButtons.empty());
    EXPECT_TRUE(camera->labels.empty());
    camera->AddButton(std::make_unique<Button2D>("Start"));
  };
  manager->ChangeLevel("B");
  EXPECT_NE(nullptr, camera->FindButton("Start")) << "what Load adds survives the change";

  // Changing to the current level restarts it, with the change sound.
  StopEffect();
  manager->ChangeLevel("B");
  EXPECT_EQ((Log{"A Unload", "B Load", "B Unload", "B Load"}), log);
  EXPECT_TRUE(b->active);
  EXPECT_TRUE(EffectPlaying("Assets/Sound/GameIn.ogg"));

  manager->ChangeLevel("Nowhere");
  EXPECT_EQ(nullptr, manager->current);
  EXPECT_FALSE(b->active);
  camera->wheelImpulse = 0.25f;
  manager->Update(kDt);
  EXPECT_EQ(0.25f, camera->wheelImpulse) << "no camera update without a level";
  EXPECT_EQ("B Unload", log.back());
}

TEST_F(FrameworkTest, LevelsAreOwnedByNameAndGiveBackTheirTextures)
{
  EnterA();
  RecordingLevel* twin = new RecordingLevel("A", log);
  EXPECT_EQ("Level Exist\nBaseLevel destroy\n", StdoutOf([&] { manager->AddLevel(twin); }));
  EXPECT_EQ(a, manager->levels["A"]);
  manager->AddLevel(new RecordingLevel("C", log));
  TextureManager* cache = TextureManager::Instance();
  a->tileTextures[1] = cache->Acquire("Assets/test-tile.png");
  cache->Acquire("Assets/test-tile.png");

  LevelManager::Destroy();
  EXPECT_EQ((Log{"A destroyed", "A destroyed", "B destroyed", "C destroyed"}), log)
      << "deleted in name order, without an Unload";
  EXPECT_EQ(1, cache->Find("Assets/test-tile.png")->refCount);
}

TEST_F(FrameworkTest, EveryTileLayerButTheEventsIsDrawnInTheGridColour)
{
  EnterA();
  a->CreateTilemap({20.0f, 4.0f}, 50.0f);
  Grid2D* grid = a->tilemap;
  // One tile per layer, side by side on the row whose centres lie at y = 50, and one cut
  // by the window's right edge.
  const char* layers[] = {"BACKGROUND", "EVENTS", "events", "EVENTS2"};
  for (int i = 0; i < 4; ++i)
  {
    grid->AddLayer(layers[i]);
    grid->SetTileAt(layers[i], i + 1, 3, 1);
  }
  grid->SetTileAt("BACKGROUND", 13, 3, 1);
  grid->hoveredCell = 3 * 20 + 4;
  grid->color[0] = grid->color[2] = 0.0f;
  const unsigned char white[] = {255, 255, 255, 255};
  VNGfxTexture* texture = VNGfxTextureLoadFromMemory(white, 1, 1);
  grid->textures[1] = texture;
  BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);
  a->DrawTilemap();
  // Window x of each tile's centre (or edge), then its colour: the hovered cell is red.
  const std::pair<int, Rgba> drawn[] = {
      {690, kGreen}, {740, kBlack}, {790, kGreen}, {840, kRed}, {1279, kGreen}};
  for (const auto& [x, colour] : drawn)
    EXPECT_RGB_NEAR(colour, ReadPixel(x, 410), 2) << x;
  grid->textures.clear();
  VNGfxTextureUnload(texture);
}

TEST_F(FrameworkTest, TheCameraScrollsFollowsAndClampsCarryingItsOverlayAlong)
{
  camera->edgeScroll = true;
  camera->clampToBounds = false;
  auto made = std::make_unique<Button2D>("Menu");
  made->SetPosition(100.0f, 50.0f);
  Button2D* button = camera->AddButton(std::move(made));
  TextLabel* label = camera->AddText("Score", -300.0f, 200.0f);
  const float captionBelow = button->position.y - button->caption->position.y;
  auto expectOnScreen = [&]()
  {
    EXPECT_NEAR(100.0f, button->position.x - camera->position.x, 1e-3f);
    EXPECT_NEAR(50.0f, button->position.y - camera->position.y, 1e-3f);
    EXPECT_NEAR(-300.0f, label->position.x - camera->position.x, 1e-3f);
    EXPECT_NEAR(200.0f, label->position.y - camera->position.y, 1e-3f);
    EXPECT_NEAR(captionBelow, button->position.y - button->caption->position.y, 1e-3f);
  };
  // Cursor in window pixels, then how far one frame scrolls the world.
  const std::pair<VNVec2, VNVec2> edges[] = {{{1279, 360}, {20, 0}},
                                             {{0, 360}, {-20, 0}},
                                             {{640, 0}, {0, 20}},
                                             {{640, 719}, {0, -20}},
                                             {{640, 360}, {0, 0}}};
  for (const auto& [cursor, step] : edges)
  {
    const VNVec2 before = camera->position;
    MoveMouse(int(cursor.x), int(cursor.y));
    EXPECT_FLOAT_EQ(before.x + step.x, camera->position.x) << cursor.x << ", " << cursor.y;
    EXPECT_FLOAT_EQ(before.y + step.y, camera->position.y) << cursor.x << ", " << cursor.y;
    expectOnScreen();
  }

  // Following a target, 3 tenths of the way per tenth of a second, the edge does not
  // scroll; F1 frees the camera and F1 again follows.
  VNVec2 target = {camera->position.x + 100.0f, camera->position.y};
  camera->followTarget = &target;
  camera->followMode = true;
  MoveMouse(1279, 0);
  const VNVec2 before = camera->position;
  camera->Update(0.1f);
  EXPECT_NEAR(before.x + (target.x - before.x) * 0.3f, camera->position.x, 1e-3f);
  EXPECT_FLOAT_EQ(before.y, camera->position.y);
  expectOnScreen();
  for (bool follows : {false, true})
  {
    InjectKey(VN_KEY_F1, true);
    MoveMouse(640, 360);
    InjectKey(VN_KEY_F1, false);
    DispatchAndSample();
    EXPECT_EQ(follows, camera->followMode);
  }

  // The view stays inside the level, whose tiles reach half a tile beyond their centres;
  // a level smaller than the view rests at its lower limits.
  camera->followMode = false;
  camera->clampToBounds = true;
  camera->tileSize = {50.0f, 50.0f};
  struct Clamp
  {
    VNVec2 bounds, from, to;
  };
  const Clamp clamps[] = {{{2500, 2000}, {-1000, -1000}, {-25 + 640, 25 + 360}},
                          {{2500, 2000}, {9000, 9000}, {2500 - 25 - 640, 2000 + 25 - 360}},
                          {{600, 400}, {300, 200}, {-25 + 640, 25 + 360}},
                          {{600, 400}, {2000, 2000}, {-25 + 640, 25 + 360}}};
  for (const Clamp& c : clamps)
  {
    camera->boundsMax = c.bounds;
    camera->position = c.from;
    button->SetPosition(c.from.x + 100.0f, c.from.y + 50.0f);
    label->position = {c.from.x - 300.0f, c.from.y + 200.0f};
    camera->Update(kDt);
    camera->Update(kDt);
    EXPECT_FLOAT_EQ(c.to.x, camera->position.x) << c.from.x;
    EXPECT_FLOAT_EQ(c.to.y, camera->position.y) << c.from.x;
    expectOnScreen();
  }
  EXPECT_FLOAT_EQ(camera->position.x - 640.0f, gVNWinMinX) << "the renderer sees the view";
  EXPECT_FLOAT_EQ(camera->position.y + 360.0f, gVNWinMaxY);

  // A second button under a taken name is freed at once; the first stays.
  EXPECT_EQ(button, camera->AddButton(std::make_unique<Button2D>("Menu")));
  EXPECT_EQ(button, camera->FindButton("Menu"));
  EXPECT_EQ(nullptr, camera->FindButton("menu"));
  camera->ClearOverlay();
  EXPECT_TRUE(camera->screenButtons.empty() && camera->labels.empty());
}

TEST_F(FrameworkTest, AButtonClicksOncePerPressOverItsWholeAreaWithOneSound)
{
  Button2D button("Play");
  button.width = 100.0f;
  button.height = 50.0f;
  button.scale = {2.0f, 2.0f};
  button.rotation = 90.0f;
  button.SetPosition(0.0f, 0.0f);
  // Window pixel of the cursor (the button spans 590..690 x 335..385), then a click.
  const std::pair<VNVec2, bool> presses[] = {
      {{690, 335}, true}, {{590, 385}, true}, {{691, 360}, false}, {{640, 386}, false}};
  for (const auto& [cursor, clicks] : presses)
  {
    StopEffect();
    camera->mouse = cursor;
    LeftButton(true);
    EXPECT_EQ(clicks, button.IsClicked()) << cursor.x << ", " << cursor.y;
    EXPECT_EQ(clicks, EffectPlaying("Assets/Sound/MouseClick.wav"));
    DispatchAndSample();
    EXPECT_FALSE(button.IsClicked()) << "still held: no second click";
    LeftButton(false);
  }
  // In world units: a moved camera moves where the button is seen.
  camera->position = {1000.0f, 500.0f};
  camera->mouse = {640.0f, 360.0f};
  EXPECT_FALSE(button.IsMouseOver());
  button.SetPosition(1000.0f, 500.0f);
  EXPECT_TRUE(button.IsMouseOver());
}

TEST_F(FrameworkTest, AButtonSoundsOnEntryAndHiddenOrDisabledIsInertAndSilent)
{
  Button2D button("Play");
  button.width = 100.0f;
  button.height = 50.0f;
  button.SetPosition(0.0f, 0.0f);
  // Cursor x, then whether the hover sound starts: on entry only.
  const std::pair<float, bool> moves[] = {
      {100, false}, {640, true}, {660, false}, {100, false}, {640, true}};
  for (const auto& [x, sounds] : moves)
  {
    StopEffect();
    camera->mouse = {x, 360.0f};
    EXPECT_EQ(x != 100, button.IsMouseOver());
    EXPECT_EQ(x != 100, button.hovered);
    EXPECT_EQ(sounds, EffectPlaying("Assets/Sound/MouseOver.wav")) << x;
  }
  button.hovered = false;
  for (int pass = 0; pass < 2; ++pass)
  {
    StopEffect();
    button.hidden = pass == 0;
    button.disabled = pass == 1;
    LeftButton(true);
    EXPECT_FALSE(button.IsClicked());
    EXPECT_FALSE(button.IsMouseOver());
    EXPECT_FALSE(VNAudioChannelIsPlaying(SoundManager::Instance()->effectChannel));
    LeftButton(false);
  }
}

TEST_F(FrameworkTest, SpritesShowTheRowsOfTheirSheetUprightAndNothingWhenHidden)
{
  // A 2 x 2 sheet of 16-pixel frames, one colour each, row by row from the top.
  const Rgba frames[4] = {kRed, kGreen, kBlue, kYellow};
  ScratchFolder folder;
  const std::string file = folder.File("sheet.png");
  SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_RGBA32);
  for (int frame = 0; frame < 4; ++frame)
  {
    SDL_Rect area = {(frame % 2) * 16, (frame / 2) * 16, 16, 16};
    const Rgba& c = frames[frame];
    SDL_FillRect(sheet, &area, SDL_MapRGBA(sheet->format, c.r, c.g, c.b, 255));
  }
  ASSERT_EQ(0, IMG_SavePNG(sheet, file.c_str())) << IMG_GetError();
  SDL_FreeSurface(sheet);
  BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);

  // Four columns and two rows of frames on it: each frame a quarter wide, half high.
  Sprite2D animated(4, 2, file, 0.0f, 0.0f);
  Sprite2D whole(1, 1, file, 0.0f, 0.0f);
  for (Sprite2D* sprite : {&animated, &whole})
    sprite->width = sprite->height = 160.0f;
  animated.DrawFrame(1);
  EXPECT_RGB_NEAR(kBlue, ReadPixel(640, 430), 2) << "frame 1: the second row";
  animated.DrawFrame(0);
  EXPECT_RGB_NEAR(kRed, ReadPixel(640, 290), 2);
  whole.Draw();
  // Window pixels (from the bottom left) of the corners: top left, top right, bottom left.
  EXPECT_RGB_NEAR(kRed, ReadPixel(570, 430), 2);
  EXPECT_RGB_NEAR(kGreen, ReadPixel(710, 430), 2);
  EXPECT_RGB_NEAR(kBlue, ReadPixel(570, 290), 2);
  BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);
  whole.hidden = true;
  whole.Draw();
  EXPECT_RGB_NEAR(kBlack, ReadPixel(640, 360), 2) << "a hidden sprite";

  // A timed sprite (a puff of smoke) expires when its lifetime is used up.
  whole.timed = true;
  whole.lifetime = 0.5f;
  whole.Update(0.25f);
  EXPECT_FALSE(whole.expired);
  whole.Update(0.25f);
  EXPECT_TRUE(whole.expired);
}

TEST_F(FrameworkTest, TexturesLiveWhileSomethingHoldsThem)
{
  const std::string red = "Assets/test-red.png", blue = "Assets/test-blue.png";
  TextureManager* cache = TextureManager::Instance();
  auto count = [&](const std::string& file)
  { return cache->Find(file) ? cache->Find(file)->refCount : -1; };
  Sprite2D* first = new Sprite2D();
  first->AddTexture(red);
  first->AddTexture(blue);
  EXPECT_EQ(0, count(red)) << "registered, cached, not held";
  first->SetTexture(red);
  first->SetTexture(red);
  Sprite2D* second = new Sprite2D(1, 1, red, 0.0f, 0.0f);
  EXPECT_EQ(2, count(red));
  EXPECT_EQ(first->texture, second->texture);
  const GLuint name = *first->texture->name;

  first->SetTexture(blue);
  EXPECT_EQ(1, count(red)) << "a switch gives the previous reference back";
  first->SetTexture("Assets/never-added.png");
  EXPECT_EQ(blue, first->textureName) << "an unregistered file changes nothing";
  VNGfxTexture* redTexture = second->texture;
  delete second;
  EXPECT_EQ(0, count(red));
  EXPECT_TRUE(glIsTexture(name)) << "an unheld texture stays cached for the next level";
  EXPECT_EQ(redTexture, cache->Acquire(red)) << "taken again without a new decode";
  cache->Release(redTexture);
  EXPECT_FALSE(cache->Release(nullptr));

  cache->Acquire(red);
  const GLuint names[] = {*first->texture->name, *cache->Find(red)->texture->name};
  delete first;
  TextureManager::Destroy();
  for (GLuint held : names)
    EXPECT_FALSE(glIsTexture(held)) << "the cache frees everything when destroyed";
}

TEST_F(FrameworkTest, TileBlockMeshesDrawTheSamePictureAsCellByCellAfterChanges)
{
  const unsigned char green[4] = {0, 200, 0, 255}, clear[4] = {250, 250, 250, 128};
  VNGfxTexture* textures[2] = {VNGfxTextureLoadFromMemory(green, 1, 1),
                               VNGfxTextureLoadFromMemory(clear, 1, 1)};
  Grid2D grid(70, 40);
  grid.SetTextures({{1, textures[0]}, {2, textures[1]}}); // id 3 has no texture
  std::mt19937 random(7);
  for (int cell = 0; cell < 70 * 40; ++cell)
    grid.SetTile("BACKGROUND", cell, int(random() % 4));
  VNGfxVertexList* quad = BuildCentredQuad(25.0f, 25.0f);
  // Views across the block edges at column 32 and row 32, then at the grid's corner.
  const VNVec2 cameras[] = {{1600.0f, 400.0f}, {1625.0f, 380.0f}, {0.0f, 0.0f}};
  for (int round = 0; round < 6; ++round)
  {
    const VNVec2 camera = cameras[round % 3];
    VNGfxSetCamPosition(camera.x, camera.y);
    grid.hoveredCell = round == 5 ? -1 : 33 * 70 + 30 + round;
    BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);
    DrawCellByCell(grid, grid.layers["BACKGROUND"], quad);
    const std::vector<unsigned char> expected = WholeFrame();
    BeginFrame(VN_GFX_RENDER_NONE, 0.0f, 0.0f, 0.0f);
    grid.DrawLayer(0);
    ASSERT_TRUE(expected == WholeFrame())
        << "round " << round << ", camera " << camera.x << ", " << camera.y;
    // Changes inside and outside the view, the hovered cell among them.
    for (int change = 0; change < 40; ++change)
      grid.SetTile("BACKGROUND", int(random() % (70 * 40)), int(random() % 4));
    grid.SetTile("BACKGROUND", grid.hoveredCell, 1 + round % 3);
  }
  VNGfxMeshFree(quad);
  VNGfxTextureUnload(textures[0]);
  VNGfxTextureUnload(textures[1]);
}

// Sprites reaching into the view only through their scale or rotation are still drawn.
TEST_F(FrameworkTest, SpritesReachingIntoTheViewAreDrawn)
{
  struct Case
  {
    float x, y, scaleX, rotation;
    int pixelX, pixelY; // a window pixel the sprite covers
  };
  // A 100 x 10 bar; the view runs from -640 to 640 and from -360 to 360.
  const Case cases[] = {
      {-680.0f, 0.0f, 1.0f, 0.0f, 5, 360},   // its right end pokes in
      {-780.0f, 0.0f, 3.0f, 0.0f, 5, 360},   // only its scaled length reaches in
      {-780.0f, 0.0f, -3.0f, 0.0f, 5, 360},  // mirrored
      {0.0f, 400.0f, 1.0f, 90.0f, 640, 715}, // turned upright above the top edge
      {0.0f, -400.0f, 1.0f, -90.0f, 640, 5}, // and below the bottom one
  };
  for (const Case& test : cases)
  {
    BeginFrame(VN_GFX_RENDER_COLOR, 0.0f, 0.0f, 0.0f);
    Sprite2D bar;
    bar.width = 100.0f;
    bar.height = 10.0f;
    bar.position = {test.x, test.y};
    bar.scale = {test.scaleX, 1.0f};
    bar.rotation = test.rotation;
    bar.Draw();
    EXPECT_RGB_NEAR(kWhite, ReadPixel(test.pixelX, test.pixelY), 2)
        << "bar at " << test.x << ", " << test.y << " scale " << test.scaleX;
  }
}

class SoundTest : public FrameworkTest
{
protected:
  void SetUp() override
  {
    FrameworkTest::SetUp();
    sound = SoundManager::Instance();
    ASSERT_TRUE(WriteToneWav(trackA, 440.0f, 1.0f, 0.5f));
    ASSERT_TRUE(WriteToneWav(trackB, 660.0f, 1.0f, 0.5f));
    ASSERT_TRUE(WriteToneWav(click, 880.0f, 2.0f, 0.5f));
  }
  static std::string Playing(int channel)
  {
    VNAudioSound* sound = VNAudioChannelGetSound(channel);
    return sound ? VNAudioSoundGetFile(sound) : "";
  }

  ScratchFolder folder;
  const std::string trackA = folder.File("TrackA.wav");
  const std::string trackB = folder.File("TrackB.wav");
  const std::string click = folder.File("Click.wav");
  SoundManager* sound = nullptr;
};

TEST_F(SoundTest, MusicFadesOutThenTheNextTrackLoopsAndFadesIn)
{
  // The fade stands at full volume at start, so even the first track waits for it.
  sound->Play(trackA, true);
  int first = -1;
  // Volume after each quarter-second step; -1 where the next track has just started.
  const float steps[] = {0.75f, 0.5f, 0.25f, 0.0f, -1, 0.25f, 0.5f, 0.75f, 1.0f, 1.0f};
  for (const float expected : steps)
  {
    sound->Update(0.25f);
    if (expected < 0)
    {
      first = sound->musicChannel;
      EXPECT_EQ(trackA, Playing(first));
      EXPECT_TRUE(VNAudioChannelIsLooping(first));
      EXPECT_EQ(0.0f, VNAudioChannelGetVolume(first)) << "it starts silent";
      continue;
    }
    EXPECT_NEAR(expected, sound->currentMusicVolume, 1e-5f);
    EXPECT_EQ(first >= 0, VNAudioChannelIsPlaying(sound->musicChannel) != 0);
    EXPECT_NEAR(expected, first >= 0 ? VNAudioChannelGetVolume(first) : expected, 1e-5f);
  }

  // The next track: the playing one fades out, then the new one takes over.
  sound->Play(trackB, true);
  for (int i = 0; i < 5; ++i)
    sound->Update(0.25f);
  EXPECT_NE(first, sound->musicChannel);
  EXPECT_EQ(trackB, Playing(sound->musicChannel));
  sound->Play(click, false);
  EXPECT_EQ(click, Playing(sound->effectChannel));
  EXPECT_TRUE(VNAudioChannelIsPlaying(sound->musicChannel)) << "an effect does not cut music";

  // Two requests within one fade: it goes on from where it stands, and only the second
  // track starts.
  for (int i = 0; i < 4; ++i)
    sound->Update(0.25f);
  const int second = sound->musicChannel;
  sound->Play(trackA, true);
  sound->Update(0.25f);
  sound->Update(0.25f);
  sound->Play(trackB, true);
  sound->Update(0.25f);
  sound->Update(0.25f);
  EXPECT_EQ(second, sound->musicChannel);
  sound->Update(0.25f);
  EXPECT_NE(second, sound->musicChannel);
  EXPECT_EQ(trackB, Playing(sound->musicChannel));
}

TEST_F(SoundTest, EffectsPlayAtTheirVolumeAndMissingFilesAreSilent)
{
  sound->effectVolume = 0.5f;
  sound->Play(click, false);
  EXPECT_EQ(click, Playing(sound->effectChannel));
  EXPECT_FALSE(VNAudioChannelIsLooping(sound->effectChannel));
  EXPECT_NEAR(0.5f, VNAudioChannelGetVolume(sound->effectChannel), 1e-5f);
  EXPECT_FALSE(sound->fading);

  StopEffect();
  sound->Play(folder.File("Missing.wav"), false);
  EXPECT_FALSE(VNAudioChannelIsPlaying(sound->effectChannel));
  sound->currentMusicVolume = 0.0f;
  sound->Play(folder.File("Missing.ogg"), true);
  sound->Update(kDt);
  EXPECT_FALSE(sound->fading);
  EXPECT_FALSE(VNAudioChannelIsPlaying(sound->musicChannel));
  sound->Play(click, false);
  EXPECT_EQ(click, Playing(sound->effectChannel)) << "the others still play";

  SoundManager::Destroy();
  EXPECT_FALSE(VNAudioIsOpen());
  sound = SoundManager::Instance();
  EXPECT_TRUE(sound->sounds.empty());
  EXPECT_EQ(-1, sound->effectChannel);
}

} // namespace
