// The level editor through injected input and the scripted file dialog: painting and
// erasing, the rectangle fill, the F8 test run, saving and opening.
#include <gtest/gtest.h>

#include <filesystem>

#include "CapturedOutput.h"
#include "Editor/Editor.h"
#include "Framework/TextLabel.h"
#include "PlayTestSupport.h"

namespace
{
const int kRows = 50; // of a new map

class EditorTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    EnterGameFolder();
    VNSysFileDialogClearAnswers();
    ResetGame();
    ReleaseAllKeys();
    LevelManager::Instance()->AddLevel(new MenuStub());
    editor = new Editor();
    LevelManager::Instance()->AddLevel(editor);
    LevelManager::Instance()->ChangeLevel("Level Editor");
    grid = editor->tilemap;
    // The view on the map's top left corner, with the overlay placed for it.
    editor->Unload();
    Camera::Instance()->ClearOverlay();
    Camera::Instance()->position = {300.0f, 2300.0f};
    editor->Load();
  }

  void TearDown() override
  {
    ReleaseAllKeys();
    ResetGame();
  }

  void MoveTo(VNVec2 at)
  {
    const Camera* camera = Camera::Instance();
    InjectMouseMove(static_cast<int>(at.x - camera->position.x + 640.0f),
                    static_cast<int>(360.0f - (at.y - camera->position.y)));
  }

  // One frame as the main loop runs it, drawing included (the fill is committed there).
  void Frame()
  {
    RunFrame(1.0f / 60.0f);
    if (Level* level = LevelManager::Instance()->current)
    {
      level->DrawTilemap();
      level->Draw();
      Camera::Instance()->DrawOverlay();
    }
  }

  void Mouse(unsigned char vk, bool down)
  {
    InjectMouseButton(vk, down);
    Frame();
  }

  void Paint(int id, int layer, int col, int row, unsigned char vk = VN_KEY_LBUTTON)
  {
    editor->selectedTile = id;
    editor->currentLayer = layer;
    MoveTo(CellCentre(col, row, kRows));
    Mouse(vk, true);
    Mouse(vk, false);
  }

  static int At(const Grid2D* map, const std::string& layer, int col, int row)
  {
    return map->layers.at(layer).at(static_cast<size_t>(row * map->width + col));
  }

  int Painted(const std::string& layer) const
  {
    int count = 0;
    for (int id : editor->tilemap->layers.at(layer))
      count += id != 0;
    return count;
  }

  Editor* editor = nullptr;
  Grid2D* grid = nullptr;
};

TEST_F(EditorTest, PaintsThePickedTilesLayerErasesWithTheRightButtonAndSparesPaletteAndScrolling)
{
  int object = 0;
  for (const auto& [id, button] : editor->palette)
    object = id > 8 && id < 50 ? id : object;
  ASSERT_NE(0, object) << "the manifest has no object";
  MoveTo(editor->palette.at(object)->position);
  Mouse(VN_KEY_LBUTTON, true);
  EXPECT_EQ(object, editor->selectedTile);
  EXPECT_EQ("OBJECTS", editor->layerLabel->text);
  Mouse(VN_KEY_LBUTTON, false);
  EXPECT_EQ(0, Painted("OBJECTS")) << "nothing is painted under the palette";

  MoveTo(CellCentre(2, 3, kRows));
  Mouse(VN_KEY_LBUTTON, true);
  MoveTo(CellCentre(3, 3, kRows));
  Frame();
  Mouse(VN_KEY_LBUTTON, false);
  EXPECT_EQ(object, At(grid, "OBJECTS", 2, 3));
  EXPECT_EQ(object, At(grid, "OBJECTS", 3, 3));
  EXPECT_EQ(0, Painted("BACKGROUND"));
  Paint(object, 1, 3, 3, VN_KEY_RBUTTON);
  EXPECT_EQ(0, At(grid, "OBJECTS", 3, 3));
  EXPECT_EQ(1, Painted("OBJECTS"));

  // 430 units right of the centre the palette's side begins.
  for (const int x : {431, 430})
  {
    InjectMouseMove(640 + x, 310);
    Mouse(VN_KEY_LBUTTON, true);
    Mouse(VN_KEY_LBUTTON, false);
  }
  EXPECT_EQ(2, Painted("OBJECTS"));

  // Space with a left drag scrolls instead of painting.
  InjectMouseMove(400, 310);
  InjectKey(VN_KEY_SPACE, true);
  Frame();
  Mouse(VN_KEY_LBUTTON, true);
  InjectMouseMove(380, 310);
  Frame();
  Mouse(VN_KEY_LBUTTON, false);
  EXPECT_EQ(2, Painted("OBJECTS"));
  EXPECT_NEAR(320.0f, Camera::Instance()->position.x, 1e-3f);
}

TEST_F(EditorTest, ShiftDragFillsTheRectangleOnceShiftAndTheButtonAreBothUp)
{
  editor->selectedTile = 7;
  InjectKey(VN_KEY_LSHIFT, true);
  MoveTo(CellCentre(2, 3, kRows));
  Mouse(VN_KEY_LBUTTON, true);
  MoveTo(CellCentre(4, 1, kRows));
  Frame();
  EXPECT_FALSE(editor->selectionSprite->hidden);
  Mouse(VN_KEY_LBUTTON, false);
  Frame();
  EXPECT_EQ(2, Painted("BACKGROUND")) << "Shift is still down: only the cells crossed";
  InjectKey(VN_KEY_LSHIFT, false);
  Frame();
  EXPECT_TRUE(editor->selectionSprite->hidden);
  EXPECT_EQ(9, Painted("BACKGROUND"));
  for (int col = 2; col <= 4; ++col)
    for (int row = 1; row <= 3; ++row)
      EXPECT_EQ(7, At(grid, "BACKGROUND", col, row)) << col << ", " << row;
}

TEST_F(EditorTest, F8PlaysThePaintedMap)
{
  for (int col = 2; col <= 6; ++col)
    Paint(1, 0, col, 4);
  Paint(9, 1, 4, 4);
  Paint(101, 2, 2, 4);
  Paint(102, 2, 6, 4);
  InjectKey(VN_KEY_F8, true);
  Frame();
  const TestLevel* run = dynamic_cast<TestLevel*>(LevelManager::Instance()->current);
  ASSERT_NE(nullptr, run) << "F8 starts a test run";
  EXPECT_EQ(1, At(run->tilemap, "BACKGROUND", 4, 4));
  EXPECT_EQ(9, At(run->tilemap, "OBJECTS", 4, 4));
  ASSERT_EQ(2u, run->tilemap->events.size());
  EXPECT_EQ("SPAWN", run->tilemap->events[0]->trigger);
  EXPECT_EQ("EXIT", run->tilemap->events[1]->trigger);
}

TEST_F(EditorTest, SavedMapsReopenAsTheyWereAndNoFailedOrCancelledStepLosesAnything)
{
  grid->SetTileAt("BACKGROUND", 0, 0, 3);
  grid->SetTileAt("OBJECTS", 10, 20, 20);
  grid->SetTileAt("EVENTS", 5, 6, 101);
  const std::map<std::string, std::vector<int>> saved = grid->layers;
  grid->ResizeTile(70.0f, 70.0f);
  std::filesystem::remove("round.txt"); // a file there would bring the overwrite question
  VNSysFileDialogQueueAnswer("round");
  EXPECT_EQ(std::string::npos, StdoutOf([&] { editor->SaveLevel(); }).find("Failed"));
  EXPECT_STREQ("Save File", VNSysFileDialogGetLastTitle());
  ASSERT_TRUE(std::filesystem::exists("round.txt")) << "a name without extension gets .txt";

  grid->SetTileAt("BACKGROUND", 0, 0, 0);
  VNSysFileDialogQueueAnswer("round.txt");
  editor->OpenLevel();
  EXPECT_STREQ("Open File", VNSysFileDialogGetLastTitle());
  Grid2D* opened = editor->tilemap;
  EXPECT_EQ(saved, opened->layers);
  EXPECT_EQ(50.0f, opened->tileWidth);

  // Cancelled dialogs, declined overwrites, failed writes and files the grid cannot take
  // say so and lose nothing: neither the edited map nor the file on disk.
  opened->SetTileAt("BACKGROUND", 1, 1, 4);
  const std::map<std::string, std::vector<int>> edited = opened->layers;
  const std::string before = ReadText("round.txt");
  WriteText("notes.tmx", "this is not a level <map");
  std::filesystem::create_directory("shelf.tmx");
  const std::function<void()> save = [&] { editor->SaveLevel(); };
  const std::function<void()> open = [&] { editor->OpenLevel(); };
  const struct
  {
    std::vector<const char*> answers;
    std::function<void()> step;
    const char* message;
  } refusals[] = {
      {{nullptr}, save, "Failed to save file\n"},
      {{"round", nullptr}, save, "Failed to save file\n"},
      {{"missing/level.tmx"}, save, "Failed to save file\n"},
      {{"shelf.tmx"}, save, "Failed to save file\n"},
      {{nullptr}, open, "Failed to Load file\n"},
      {{}, [&] { editor->LoadLevel("notes.tmx"); }, "Failed to load Level notes.tmx\n"}};
  for (const auto& refusal : refusals)
  {
    for (const char* answer : refusal.answers)
      VNSysFileDialogQueueAnswer(answer);
    const std::string output = StdoutOf(refusal.step);
    EXPECT_NE(std::string::npos, output.find(refusal.message)) << output;
  }
  EXPECT_EQ(opened, editor->tilemap);
  EXPECT_EQ(edited, opened->layers);
  EXPECT_EQ(before, ReadText("round.txt"));
  EXPECT_TRUE(std::filesystem::is_directory("shelf.tmx"));
}
} // namespace
