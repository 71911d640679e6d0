// The main menu with stand-ins for the levels it leads to: the splash, its pages, Escape,
// the volume sliders and the pad's cursor.
#include <gtest/gtest.h>

#include "Framework/Application.h"
#include "Framework/TextureManager.h"
#include "Levels/MainMenu.h"
#include "PlayTestSupport.h"

namespace
{
const float kFrame = 1.0f / 60.0f;

class MainMenuTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    ResetGame();
    ReleaseAllKeys();
    InjectMouseMove(5, 5);
    gQuitGame = false;
    for (const char* name : {"TutorialLevel", "Level1", "Level5"})
      LevelManager::Instance()->AddLevel(new MenuStub(name));
    menu = new MainMenu();
    LevelManager::Instance()->AddLevel(menu);
    LevelManager::Instance()->EnterDirectly("Main Menu");
  }

  void TearDown() override
  {
    DetachVirtualPad();
    ReleaseAllKeys();
    ResetGame();
    gQuitGame = false;
  }

  void PassSplash()
  {
    while (menu->splashTimer > 0.0f)
      RunFrame(0.5f);
    RunFrame(kFrame);
  }

  // A click on a widget, and one more frame after the button has come up.
  void ClickAndRun(const std::string& name)
  {
    Click(name);
    RunFrame(kFrame);
  }

  void TapEscape()
  {
    InjectKey(VN_KEY_ESCAPE, true);
    RunFrame(kFrame);
    InjectKey(VN_KEY_ESCAPE, false);
    RunFrame(kFrame);
  }

  std::string Current() const
  {
    const Level* current = LevelManager::Instance()->current;
    return current ? current->name : "(none)";
  }

  MainMenu* menu = nullptr;
};

TEST_F(MainMenuTest, TheSplashIgnoresInputThenEscapeStepsBackAPageAndQuitsFromTheMain)
{
  const bool pad = AttachVirtualPad() >= 0;
  for (int i = 0; i < 4; ++i)
  {
    TapEscape();
    if (pad)
      SetVirtualPadButton(VN_PAD_A, i % 2 == 0);
    RunFrame(kFrame);
  }
  EXPECT_FALSE(gQuitGame) << "Escape during the splash";
  EXPECT_EQ(MainMenu::kMainPage, menu->page);
  EXPECT_TRUE(Button("Play")->hidden);
  EXPECT_TRUE(SoundManager::Instance()->pendingMusic.empty()) << "music only in the last second";
  EXPECT_FALSE(Button("Logo")->hidden);
  PassSplash();
  EXPECT_FALSE(Button("Play")->hidden);
  EXPECT_FALSE(Button("Background")->hidden);
  EXPECT_EQ("Assets/Sound/MainMenu.ogg", SoundManager::Instance()->pendingMusic);
  // The splash runs once a run: its picture is gone for good.
  EXPECT_EQ(nullptr, Camera::Instance()->FindButton("Logo"));
  EXPECT_EQ(nullptr, TextureManager::Instance()->Find("Assets/Ombrel.png"));

  ClickAndRun("Play");
  ASSERT_EQ(MainMenu::kLevelPage, menu->page);
  // Only the release counts.
  InjectKey(VN_KEY_ESCAPE, true);
  RunFrame(kFrame);
  RunFrame(kFrame);
  EXPECT_EQ(MainMenu::kLevelPage, menu->page);
  InjectKey(VN_KEY_ESCAPE, false);
  RunFrame(kFrame);
  EXPECT_EQ(MainMenu::kMainPage, menu->page);
  EXPECT_FALSE(gQuitGame);
  TapEscape();
  EXPECT_TRUE(gQuitGame);
}

TEST_F(MainMenuTest, EachMainButtonOpensItsPageAndTheBackButtonReturns)
{
  PassSplash();
  const std::pair<const char*, int> pages[] = {{"Play", MainMenu::kLevelPage},
                                               {"Option", MainMenu::kOptionPage},
                                               {"Credit", MainMenu::kCreditPage}};
  for (const auto& [button, page] : pages)
  {
    ClickAndRun(button);
    EXPECT_EQ(page, menu->page) << button;
    if (page == MainMenu::kCreditPage)
    {
      EXPECT_FALSE(Button("Creditscreen")->hidden);
    }
    ClickAndRun("Exit2");
    EXPECT_EQ(MainMenu::kMainPage, menu->page) << button;
  }
  LevelManager::Instance()->AddLevel(new MenuStub("Level Editor"));
  ClickAndRun("Play");
  ClickAndRun("leveleditor");
  EXPECT_EQ("Level Editor", Current());
}

TEST_F(MainMenuTest, VolumesMoveInQuartersBetweenTheirLimitsAndOutliveTheVisit)
{
  PassSplash();
  SoundManager* sound = SoundManager::Instance();
  for (int i = 0; i < 20 && (sound->fading || sound->currentMusicVolume < sound->musicVolume); ++i)
    RunFrame(0.25f);
  ClickAndRun("Option");
  ClickAndRun("plus1");
  ClickAndRun("plus2");
  EXPECT_FLOAT_EQ(1.0f, sound->effectVolume) << "plus at full volume";
  EXPECT_FLOAT_EQ(1.0f, sound->musicVolume);
  const float knob = Button("s2")->position.x;
  for (float expected : {0.75f, 0.5f, 0.25f, 0.0f, 0.0f})
  {
    ClickAndRun("minus1");
    ClickAndRun("minus2");
    EXPECT_FLOAT_EQ(expected, sound->effectVolume);
    EXPECT_FLOAT_EQ(expected, sound->musicVolume);
    EXPECT_NEAR(expected, VNAudioChannelGetVolume(sound->musicChannel), 0.01f);
    EXPECT_FLOAT_EQ(knob - 260.0f * (1.0f - expected), Button("s2")->position.x);
    EXPECT_FLOAT_EQ(Button("s2")->position.x, Button("m2")->position.x);
  }
  ClickAndRun("plus2");
  EXPECT_FLOAT_EQ(0.25f, sound->currentMusicVolume) << "applied at once, not faded to";

  LevelManager::Instance()->ChangeLevel("Level1");
  LevelManager::Instance()->ChangeLevel("Main Menu");
  RunFrame(kFrame);
  ClickAndRun("Option");
  EXPECT_FLOAT_EQ(0.25f, menu->musicSetting);
  EXPECT_FLOAT_EQ(knob - 195.0f, Button("m2")->position.x) << "the knob shows the setting";
  EXPECT_FLOAT_EQ(knob - 260.0f, Button("s2")->position.x);
}

TEST_F(MainMenuTest, ThePadStepsOncePerPushWrapsAroundAndAMustBePressedAfreshForALevel)
{
  if (AttachVirtualPad() < 0)
    GTEST_SKIP() << "no virtual game controller available";
  PassSplash();
  // Each step holds the left stick's axis (0 x, 1 y; SDL's sign, down positive) or, as
  // axis 2, the A button for some frames; then the page and cursor are checked.
  const struct
  {
    int axis, value, frames, page, selection;
  } steps[] = {
      {1, 32767, 10, MainMenu::kMainPage, 1}, // held for many frames: one step
      {1, 9830, 2, MainMenu::kMainPage, 1},   // eased back only to 0.3, not centred:
      {1, 32767, 2, MainMenu::kMainPage, 1},  // no second step
      {1, 0, 1, MainMenu::kMainPage, 1},      {1, -32768, 1, MainMenu::kMainPage, 0},
      {1, 0, 1, MainMenu::kMainPage, 0},      {1, -32768, 1, MainMenu::kMainPage, 3}, // wraps
      {1, 0, 1, MainMenu::kMainPage, 3},      {1, 32767, 1, MainMenu::kMainPage, 0},
      {1, 0, 1, MainMenu::kMainPage, 0},      {2, 1, 5, MainMenu::kLevelPage, 0}, // held on
      {2, 0, 1, MainMenu::kLevelPage, 0},     {0, -32768, 1, MainMenu::kLevelPage, 2},
      {0, 0, 1, MainMenu::kLevelPage, 2},     {0, 32767, 1, MainMenu::kLevelPage, 0},
      {0, 0, 1, MainMenu::kLevelPage, 0},     {1, 32767, 1, MainMenu::kLevelPage, 3},
      {1, 0, 1, MainMenu::kLevelPage, 3},     {0, -32768, 1, MainMenu::kLevelPage, 5},
  };
  for (const auto& step : steps)
  {
    if (step.axis == 2)
      SetVirtualPadButton(VN_PAD_A, step.value);
    else
      SetVirtualPadStick(step.axis, static_cast<short>(step.value));
    for (int i = 0; i < step.frames; ++i)
      RunFrame(kFrame);
    EXPECT_EQ("Main Menu", Current()) << "A held on from the main page starts no level";
    EXPECT_EQ(step.page, menu->page);
    EXPECT_EQ(step.selection, menu->selection) << "axis " << step.axis << " at " << step.value;
  }
  EXPECT_FLOAT_EQ(1.8f, Button("l5")->tint.r) << "the cursor's entry is lit";
  EXPECT_FLOAT_EQ(1.0f, Button("l3")->tint.r);
  SetVirtualPadButton(VN_PAD_A, true);
  RunFrame(kFrame);
  EXPECT_EQ("Level5", Current());
  EXPECT_EQ("Assets/Sound/Level5BGM.ogg", SoundManager::Instance()->pendingMusic);
}
} // namespace
