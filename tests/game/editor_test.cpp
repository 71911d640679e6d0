// The level editor driven through injected input: the palette, painting and erasing,
// where painting stops, the Tab toggle, the rectangle fill, the test run and leaving.

#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "Framework/Button2D.h"

namespace
{
const float kTolerance = 1e-3f;
}

TEST(EditorScreen, PaletteLaysOutEveryManifestIdInThreeColumnsWithFileButtonsAndLabels)
{
  Editor* editor = EnterNewEditor();
  const std::vector<int>& ids = ManifestIds();
  ASSERT_EQ(20, editor->paletteCount);
  ASSERT_EQ(ids.size(), editor->palette.size());

  // 20 entries: the first row sits at -27.5 * (20 / 3 - 1) + 55 = -82.5.
  for (size_t i = 0; i < ids.size(); ++i)
  {
    const Button2D* button = editor->palette.at(ids[i]);
    SCOPED_TRACE("id " + std::to_string(ids[i]));
    EXPECT_NEAR(475.0f + 55.0f * (i % 3), button->position.x, kTolerance);
    EXPECT_NEAR(-82.5f + 55.0f * (i / 3), button->position.y, kTolerance);
    EXPECT_EQ(std::make_pair(50.0f, 50.0f), std::make_pair(button->width, button->height));
    EXPECT_NE(std::string::npos, button->GetTooltip().find("  id " + std::to_string(ids[i])));
    EXPECT_EQ(button, Camera::Instance()->FindButton(std::to_string(ids[i])));
    EXPECT_FALSE(button->hidden);
  }

  ASSERT_NE(nullptr, editor->saveButton);
  ASSERT_NE(nullptr, editor->loadButton);
  EXPECT_EQ("Savelevel", editor->saveButton->caption->text);
  ASSERT_NE(nullptr, editor->layerLabel);
  EXPECT_EQ("BACKGROUND", editor->layerLabel->text);
  for (const char* text : {"GRID SIZE", "X : 50", "Y : 50"})
    EXPECT_TRUE(HasLabel(text)) << text;
  EXPECT_EQ((std::vector<std::string>{"BACKGROUND", "OBJECTS", "EVENTS"}),
            editor->tilemap->layerNames);
  EXPECT_EQ(50, editor->tilemap->width);
  EXPECT_EQ(50.0f, editor->tilemap->tileWidth);
}

TEST(EditorScreen, PaletteClickSelectsTheIdAndSwitchesLayerAndLabelInTheSameFrame)
{
  Editor* editor = EnterNewEditor();
  const std::tuple<int, int, const char*> picks[] = {
      {20, 1, "OBJECTS"}, {101, 2, "EVENTS"}, {5, 0, "BACKGROUND"}};
  for (const auto& [id, layer, name] : picks)
  {
    const Button2D* button = editor->palette.at(id);
    MoveToWorld(button->position.x, button->position.y);
    InjectMouseButton(VN_KEY_LBUTTON, true);
    EditorFrame();
    EXPECT_EQ(id, editor->selectedTile);
    EXPECT_EQ(layer, editor->currentLayer);
    EXPECT_EQ(name, editor->layerLabel->text);
    InjectMouseButton(VN_KEY_LBUTTON, false);
    EditorFrame();
  }
  // Clicking the palette paints nothing underneath it.
  EXPECT_EQ(0, PaintedCells(editor->tilemap, "BACKGROUND"));
  EXPECT_EQ(0, PaintedCells(editor->tilemap, "EVENTS"));
}

TEST(EditorPainting, LeftPaintsRightErasesOnTheCurrentLayerNotRightOf430NorWithSpaceHeld)
{
  Editor* editor = EnterNewEditor();
  CentreViewOn(editor, 300.0f, 2300.0f);
  Grid2D* grid = editor->tilemap;

  MoveToCell(2, 3);
  InjectMouseButton(VN_KEY_LBUTTON, true);
  EditorFrame();
  MoveToCell(3, 3);
  EditorFrame();
  InjectMouseButton(VN_KEY_LBUTTON, false);
  EditorFrame();
  EXPECT_EQ(1, CellOn(grid, "BACKGROUND", 2, 3));
  EXPECT_EQ(1, CellOn(grid, "BACKGROUND", 3, 3));
  EXPECT_EQ(2, PaintedCells(grid, "BACKGROUND"));

  PaintCell(editor, 20, 1, 3, 3);
  EXPECT_EQ(20, CellOn(grid, "OBJECTS", 3, 3));
  EXPECT_EQ(1, CellOn(grid, "BACKGROUND", 3, 3));

  EditorClick(VN_KEY_RBUTTON);
  EXPECT_EQ(0, CellOn(grid, "OBJECTS", 3, 3));
  EXPECT_EQ(1, CellOn(grid, "BACKGROUND", 3, 3));

  // 431 units right of the centre: over the map, but no painting; 430 still paints.
  const int y = 310; // row 3 on this view
  InjectMouseMove(640 + 431, y);
  EditorClick();
  EXPECT_GE(grid->hoveredCell, 0);
  EXPECT_EQ(0, PaintedCells(grid, "OBJECTS"));
  InjectMouseMove(640 + 430, y);
  EditorClick();
  EXPECT_EQ(1, PaintedCells(grid, "OBJECTS"));

  // Space with the left button drags the view instead of painting.
  InjectMouseMove(400, y);
  InjectKey(VN_KEY_SPACE, true);
  EditorFrame();
  InjectMouseButton(VN_KEY_LBUTTON, true);
  EditorFrame();
  InjectMouseMove(380, y);
  EditorFrame();
  InjectMouseButton(VN_KEY_LBUTTON, false);
  InjectKey(VN_KEY_SPACE, false);
  EditorFrame();
  EXPECT_EQ(1, PaintedCells(grid, "OBJECTS"));
  EXPECT_EQ(2, PaintedCells(grid, "BACKGROUND"));
  EXPECT_NEAR(320.0f, Camera::Instance()->position.x, kTolerance);
}

TEST(EditorScreen, FirstTabHidesThePaletteSecondShowsThirdHides)
{
  Editor* editor = EnterNewEditor();
  for (bool hidden : {true, false, true})
  {
    InjectKey(VN_KEY_TAB, true);
    EditorFrame();
    InjectKey(VN_KEY_TAB, false);
    EditorFrame();
    for (const auto& [id, button] : editor->palette)
      ASSERT_EQ(hidden, button->hidden) << "id " << id;
    EXPECT_EQ(hidden, editor->paletteHidden);
  }

  // A hidden palette button cannot be picked.
  MoveToWorld(editor->palette.at(20)->position.x, editor->palette.at(20)->position.y);
  EditorClick();
  EXPECT_EQ(1, editor->selectedTile);
}

TEST(EditorFill, ShiftDragFillsTheInclusiveRectangleOnlyOnceShiftAndButtonAreUp)
{
  Editor* editor = EnterNewEditor();
  CentreViewOn(editor, 150.0f, 2350.0f);
  Grid2D* grid = editor->tilemap;
  editor->selectedTile = 7;

  InjectKey(VN_KEY_LSHIFT, true);
  MoveToCell(2, 3);
  EditorFrame();
  InjectMouseButton(VN_KEY_LBUTTON, true);
  EditorFrame();
  EXPECT_FALSE(editor->selectionSprite->hidden);
  MoveToCell(4, 1);
  EditorFrame();
  EXPECT_TRUE(editor->dragging);
  EXPECT_NEAR(100.0f, editor->selectionSprite->width, kTolerance);
  EXPECT_NEAR(100.0f, editor->selectionSprite->height, kTolerance);

  // The button is up but Shift is not: nothing is filled yet; only the cells the cursor
  // crossed with the button down are painted.
  InjectMouseButton(VN_KEY_LBUTTON, false);
  EditorFrame();
  EditorFrame();
  EXPECT_EQ(2, PaintedCells(grid, "BACKGROUND"));
  EXPECT_TRUE(editor->dragging);

  InjectKey(VN_KEY_LSHIFT, false);
  EditorFrame();
  EXPECT_FALSE(editor->dragging);
  EXPECT_TRUE(editor->selectionSprite->hidden);
  EXPECT_EQ(9, PaintedCells(grid, "BACKGROUND"));
  for (int col = 2; col <= 4; ++col)
    for (int row = 1; row <= 3; ++row)
      EXPECT_EQ(7, CellOn(grid, "BACKGROUND", col, row)) << col << ", " << row;
  EXPECT_EQ(0, PaintedCells(grid, "OBJECTS"));
}

TEST(EditorTestRun, F8PlaysThePaintedMapAndASecondF8ReplacesTheTmpLevel)
{
  Editor* editor = EnterNewEditor();
  CentreViewOn(editor, 300.0f, 2300.0f);
  LevelManager* manager = LevelManager::Instance();
  std::filesystem::remove("tmp.bin");

  auto pressF8 = [&]()
  {
    InjectKey(VN_KEY_F8, true);
    EditorFrame();
    InjectKey(VN_KEY_F8, false);
  };

  for (int col = 2; col <= 6; ++col)
    PaintCell(editor, 1, 0, col, 4);
  PaintCell(editor, 101, 2, 2, 4);
  PaintCell(editor, 102, 2, 6, 4);
  pressF8();

  ASSERT_NE(nullptr, manager->current);
  EXPECT_EQ("tmp", manager->current->name);
  EXPECT_NE(nullptr, dynamic_cast<TestLevel*>(manager->current));
  EXPECT_TRUE(std::filesystem::exists("tmp.bin"));
  const Grid2D* played = manager->current->tilemap;
  ASSERT_NE(nullptr, played);
  EXPECT_EQ(1, CellOn(played, "BACKGROUND", 4, 4));
  ASSERT_EQ(2u, played->events.size());
  EXPECT_EQ("SPAWN", played->events[0]->trigger);
  EXPECT_EQ(2.0f, played->events[0]->x);
  EXPECT_EQ("EXIT", played->events[1]->trigger);

  // Back in the editor the map is as it was; paint more and run again.
  manager->ChangeLevel("Level Editor");
  CentreViewOn(editor, 300.0f, 2300.0f);
  EXPECT_EQ(1, CellOn(editor->tilemap, "BACKGROUND", 4, 4));
  PaintCell(editor, 9, 1, 4, 4);
  const std::string output = StdoutOf(pressF8);
  EXPECT_EQ(std::string::npos, output.find("Level Exist")) << output;
  EXPECT_EQ(1u, manager->levels.count("tmp"));
  ASSERT_EQ("tmp", manager->current->name);
  EXPECT_EQ(9, CellOn(manager->current->tilemap, "OBJECTS", 4, 4));
}

TEST(EditorScreen, EscapeReleasedReturnsToTheMenuAndTheMapSurvivesTheVisit)
{
  Editor* editor = EnterNewEditor();
  CentreViewOn(editor, 300.0f, 2300.0f);
  LevelManager* manager = LevelManager::Instance();
  MenuStub* menu = static_cast<MenuStub*>(manager->levels.at("Main Menu"));

  MoveToCell(5, 5);
  EditorClick();
  for (int i = 0; i < 4; ++i)
    EditorFrame();
  // The cursor is shown each frame without running the display counter up.
  EXPECT_EQ(-1, VNInputShowCursor(0));
  VNInputSetCursorVisible(1);

  InjectKey(VN_KEY_ESCAPE, true);
  EditorFrame();
  EXPECT_EQ(editor, manager->current);
  InjectKey(VN_KEY_ESCAPE, false);
  EditorFrame();
  EXPECT_EQ(menu, manager->current);
  EXPECT_EQ(1, menu->loads);
  EXPECT_EQ(nullptr, editor->saveButton);
  EXPECT_TRUE(editor->palette.empty());

  manager->ChangeLevel("Level Editor");
  EXPECT_EQ(1, CellOn(editor->tilemap, "BACKGROUND", 5, 5));
  EXPECT_EQ(20u, editor->palette.size());

  EXPECT_NE(std::string::npos, StdoutOf(LevelManager::Destroy).find("Level Editor destroy\n"));
}
