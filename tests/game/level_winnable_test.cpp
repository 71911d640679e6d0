// Every shipped floor can be won by the real player: with the co-workers left out, the
// player is steered with injected keys at a fixed frame time from its start to the real
// access card (where the floor has cards) and on to an exit. The route is planned over
// the cells the player can stand in (its own cell and the one below must be free, since
// its feet reach into the next row), but the walking is the Player's own: a floor that a
// cell-by-cell search could cross and the player cannot walk fails here.
// Each floor, each page of the main menu and the level editor are also drawn as the game
// draws them and saved under screenshots/ in the game folder, to be looked at.
#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Actors/Enemy.h"
#include "Actors/Key.h"
#include "Actors/Player.h"
#include "Editor/Editor.h"
#include "Levels/MainMenu.h"
#include "Levels/TutorialLevel.h"
#include "PlayTestSupport.h"
#include "World/Grid2D.h"

namespace
{
constexpr float kFrame = 1.0f / 60.0f;

// Cells the player can stand in: its feet reach into the row below.
bool Standable(const Grid2D& grid, Cell cell)
{
  return grid.IsWalkable(cell.col, cell.row) && grid.IsWalkable(cell.col, cell.row + 1);
}

void SaveScreenshot(const std::string& name)
{
  std::vector<uint8_t> pixels(1280 * 720 * 4);
  glReadPixels(0, 0, 1280, 720, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 1280, 720, 32, SDL_PIXELFORMAT_RGBA32);
  ASSERT_NE(nullptr, surface);
  std::set<uint32_t> colours;
  for (int y = 0; y < 720; ++y)
    for (int x = 0; x < 1280; ++x)
    {
      uint8_t* to =
          static_cast<uint8_t*>(surface->pixels) + size_t(y) * surface->pitch + size_t(x) * 4;
      const uint8_t* at = &pixels[(size_t(719 - y) * 1280 + x) * 4];
      std::copy(at, at + 3, to);
      to[3] = 255;
      colours.insert(uint32_t(at[0]) << 16 | uint32_t(at[1]) << 8 | at[2]);
    }
  std::filesystem::create_directories("screenshots");
  EXPECT_EQ(0, IMG_SavePNG(surface, ("screenshots/" + name + ".png").c_str()));
  SDL_FreeSurface(surface);
  EXPECT_GT(colours.size(), 4u) << name << ": the frame looks empty";
}

// Draws the current level as the main loop does and saves the picture.
void Screenshot(const std::string& name)
{
  Level* current = LevelManager::Instance()->current;
  ASSERT_NE(nullptr, current);
  VNSysFrameStart();
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  VNGfxSetBackgroundColor(0.5f, 0.5f, 0.5f);
  current->DrawTilemap();
  current->Draw();
  Camera::Instance()->DrawOverlay();
  SaveScreenshot(name);
  VNSysFrameEnd();
}

class LevelWinnable : public FloorTest, public ::testing::WithParamInterface<const char*>
{
protected:
  bool Playing() const { return *playState == TestLevel::kPlaying; }

  // Holds one walking key until the player has covered the distance along that axis.
  // False when the player stops short (a wall it cannot pass).
  bool Hold(unsigned char vk, float VNVec2::*axis, float target)
  {
    InjectKey(vk, true);
    const float sign = target > player->position.*axis ? 1.0f : -1.0f;
    bool arrived = false;
    for (int frame = 0; frame < 1200 && !arrived && Playing(); ++frame)
    {
      const float before = player->position.*axis;
      RunFrame(kFrame);
      const float after = player->position.*axis;
      // The player moves 3 units a frame, and stops up to one step short of a cell
      // centre when the next cell is blocked (it probes one step ahead).
      arrived = (target - after) * sign <= 3.5f;
      if (!arrived && std::fabs(after - before) < 0.01f)
        break;
    }
    InjectKey(vk, false);
    RunFrame(kFrame);
    return arrived || !Playing();
  }

  // Walks the route cell centre by cell centre, holding each key along straight runs.
  void Walk(const Grid2D& grid, const std::vector<Cell>& route)
  {
    size_t i = 0;
    while (i < route.size() && Playing())
    {
      const Cell from = CellAt(grid, player->position);
      const bool horizontal = route[i].row == from.row;
      size_t end = i;
      while (end + 1 < route.size() &&
             (horizontal ? route[end + 1].row == from.row : route[end + 1].col == from.col))
        ++end;
      const VNVec2 target = CellCentre(grid, route[end]);
      const bool ok = horizontal
                          ? Hold(target.x > player->position.x ? 'D' : 'A', &VNVec2::x, target.x)
                          : Hold(target.y > player->position.y ? 'W' : 'S', &VNVec2::y, target.y);
      ASSERT_TRUE(ok) << GetParam() << ": the player stopped at (" << player->position.x << ", "
                      << player->position.y << ") on its way to (" << target.x << ", " << target.y
                      << ")";
      i = end + 1;
    }
  }

  // Enters the floor with the class the game plays it with, then walks the real player
  // to the real card (where the floor needs one) and on to an exit.
  template <class Probe> void EnterAndWin(Probe* floor)
  {
    LevelManager::Instance()->AddLevel(floor);
    LevelManager::Instance()->ChangeLevel(floor->name);
    for (int i = 0; i < 10 && floor->playState == TestLevel::kLoading; ++i)
      RunFrame(0.5f);
    playState = &floor->playState;
    const std::string music = floor->name == "TutorialLevel" ? "Tutorial" : floor->name;
    EXPECT_EQ("Assets/Sound/" + music + "BGM.ogg", SoundManager::Instance()->pendingMusic);
    ASSERT_TRUE(Playing());
    ASSERT_EQ(1u, floor->players.size());
    ASSERT_FALSE(floor->exits.empty());
    RunFrame(kFrame);
    Screenshot(floor->name);

    for (Enemy* coworker : floor->enemies)
      delete coworker;
    floor->enemies.clear();
    const Grid2D& grid = *floor->tilemap;
    player = floor->players[0];
    const auto standable = [&grid](Cell cell) { return Standable(grid, cell); };
    ASSERT_TRUE(Standable(grid, CellAt(grid, player->position)))
        << "the start is not a place to stand";

    if (!floor->noCardNeeded)
    {
      const Key* card = nullptr;
      for (const Key* key : floor->keys)
        if (key->cardValue == Key::kAccessCard)
          card = key;
      ASSERT_NE(nullptr, card);
      // The card is taken within about 54.8 units: from its cell or a neighbour.
      std::set<Cell> nearCard;
      const Cell cardCell = CellAt(grid, card->home);
      for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
        {
          const Cell c = {cardCell.col + dc, cardCell.row + dr};
          const VNVec2 at = CellCentre(grid, c);
          const float dx = at.x - card->home.x, dy = at.y - card->home.y;
          if (dx * dx + dy * dy <= 3000.0f && Standable(grid, c))
            nearCard.insert(c);
        }
      const std::vector<Cell> toCard =
          FindRoute(grid, CellAt(grid, player->position), nearCard, standable);
      ASSERT_TRUE(!toCard.empty() || nearCard.count(CellAt(grid, player->position)))
          << "no way to the card";
      ASSERT_NO_FATAL_FAILURE(Walk(grid, toCard));
      Screenshot(floor->name + "Card");
      Tap('E');
      ASSERT_EQ(Key::kAccessCard, player->heldCard) << GetParam() << ": the card was not picked up";
    }

    // An exit counts within 40 units: from its own cell.
    std::set<Cell> exitCells;
    for (const VNVec2& exit : floor->exits)
      if (Standable(grid, CellAt(grid, exit)))
        exitCells.insert(CellAt(grid, exit));
    ASSERT_FALSE(exitCells.empty()) << "no exit has room to stand";
    const std::vector<Cell> toExit =
        FindRoute(grid, CellAt(grid, player->position), exitCells, standable);
    ASSERT_FALSE(toExit.empty()) << GetParam() << ": no way from here to an exit";
    ASSERT_NO_FATAL_FAILURE(Walk(grid, toExit));
    RunFrame(kFrame);
    Screenshot(floor->name + "Escaped");
    EXPECT_EQ(TestLevel::kEscaped, floor->playState)
        << GetParam() << ": the player reached the exit but did not escape";
  }

  const int* playState = nullptr;
  Player* player = nullptr;
};

TEST_P(LevelWinnable, ThePlayerWalksPastTheCardToAnExit)
{
  const std::string file = GetParam();
  if (file == "TutorialLevel.tmx")
    EnterAndWin(new LevelProbe<TutorialLevel>());
  else
    EnterAndWin(new FloorProbe(file));
}

INSTANTIATE_TEST_SUITE_P(ShippedFloors, LevelWinnable,
                         ::testing::Values("TutorialLevel.tmx", "Level1.tmx", "Level2.tmx",
                                           "Level3.tmx", "Level4.tmx", "Level5.tmx"),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

// The menu's pages, reached with the mouse as a player would.
TEST(MenuScreenshots, EveryPageIsDrawn)
{
  EnsureTestWindow();
  ResetGame();
  ReleaseAllKeys();
  MainMenu* menu = new MainMenu();
  LevelManager::Instance()->AddLevel(menu);
  LevelManager::Instance()->ChangeLevel("Main Menu");
  RunFrame(kFrame);
  Screenshot("Splash");
  for (int i = 0; i < 10 && menu->splashTimer > 0.0f; ++i)
    RunFrame(0.5f);
  RunFrame(kFrame);
  Screenshot("MainMenu");

  // The window's own pointer events come first, the injected ones after them.
  const auto click = [](const char* name)
  {
    SettleWindowEvents();
    Click(name);
    RunFrame(kFrame);
  };
  const std::pair<const char*, int> pages[] = {{"Play", MainMenu::kLevelPage},
                                               {"Option", MainMenu::kOptionPage},
                                               {"Credit", MainMenu::kCreditPage}};
  for (const auto& [button, page] : pages)
  {
    ASSERT_NO_FATAL_FAILURE(click(button));
    ASSERT_EQ(page, menu->page) << button;
    RunFrame(kFrame);
    Screenshot(std::string("Menu") + button);
    ASSERT_NO_FATAL_FAILURE(click("Exit2"));
    ASSERT_EQ(MainMenu::kMainPage, menu->page);
  }
  // The level editor with the manifest's palette, reached from the level select.
  LevelManager::Instance()->AddLevel(new Editor());
  ASSERT_NO_FATAL_FAILURE(click("Play"));
  ASSERT_NO_FATAL_FAILURE(click("leveleditor"));
  ASSERT_EQ("Level Editor", LevelManager::Instance()->current->name);
  Screenshot("Editor");
  ReleaseAllKeys();
  ResetGame();
}

} // namespace
