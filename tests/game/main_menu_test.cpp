#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Framework/Application.h"
#include "Levels/MainMenu.h"
#include "PlayTestSupport.h"

namespace
{
const float kFrame = 1.0f / 60.0f;
const char* const kMenuMusic = "Assets/Sound/MainMenu.ogg";

const std::vector<std::string> kMainWidgets = {"mainTitle", "Play", "Option", "Credit", "Exit"};
const std::vector<std::string> kLevelWidgets = {"tutorial", "l1", "l2",          "l3",
                                                "l4",       "l5", "leveleditor", "Exit2"};
const std::vector<std::string> kOptionWidgets = {"optionTitle", "fullscreen", "minus1",  "minus2",
                                                 "plus1",       "plus2",      "s1",      "m1",
                                                 "s2",          "m2",         "option2", "Exit2"};

bool CursorShown()
{
  return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
}

class MainMenuTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    ResetGame();
    ReleaseAllKeys();
    InjectMouseMove(5, 5);
    DispatchAndSample();
    gQuitGame = false;
    Camera::Instance()->edgeScroll = false;

    for (const char* levelName :
         {"TutorialLevel", "Level1", "Level2", "Level3", "Level4", "Level5", "Level Editor"})
    {
      destinations.push_back(new MenuStub(levelName));
      LevelManager::Instance()->AddLevel(destinations.back());
    }
    menu = new MainMenu();
    LevelManager* levels = LevelManager::Instance();
    levels->AddLevel(menu);
    // Entered as the game enters it at start: directly, without a level change.
    levels->EnterDirectly("Main Menu");
  }

  void TearDown() override
  {
    DetachVirtualPad();
    VNToogleFullScreen(false);
    VNInputSetCursorVisible(1);
    ReleaseAllKeys();
    ResetGame();
    gQuitGame = false;
  }

  bool Shown(const std::string& name)
  {
    Button2D* widget = Button(name);
    return widget && !widget->hidden;
  }

  void ExpectShown(const std::vector<std::string>& names, bool shown)
  {
    for (const std::string& name : names)
      EXPECT_EQ(shown, Shown(name)) << name;
  }

  // Runs the splash out and the frame that shows the main page.
  void PassSplash()
  {
    while (menu->splashTimer > 0.0f)
      RunFrame(0.5f);
    RunFrame(kFrame);
  }

  // A click on a widget, and one more frame after the button has come up.
  void Click(const std::string& name)
  {
    ::Click(name);
    RunFrame(kFrame);
  }

  // Escape pressed in one frame and let go in the next, where the menu reacts to it.
  void TapEscape()
  {
    InjectKey(VN_KEY_ESCAPE, true);
    RunFrame(kFrame);
    InjectKey(VN_KEY_ESCAPE, false);
    RunFrame(kFrame);
  }

  // Holds a left-stick axis (0 x, 1 y; SDL's sign, positive is down) for some frames.
  void Stick(int axis, short value, int frames = 1)
  {
    SetVirtualPadStick(axis, value);
    for (int i = 0; i < frames; ++i)
      RunFrame(kFrame);
  }

  void PadA(bool down, int frames = 1)
  {
    SetVirtualPadButton(VN_PAD_A, down);
    for (int i = 0; i < frames; ++i)
      RunFrame(kFrame);
  }

  void ReturnToMenu()
  {
    LevelManager::Instance()->ChangeLevel("Main Menu");
    RunFrame(kFrame);
  }

  std::string CurrentName() const
  {
    const Level* current = LevelManager::Instance()->current;
    return current ? current->name : "(none)";
  }

  float KnobOffset(const std::string& knob)
  {
    return Button(knob)->position.x - Camera::Instance()->position.x;
  }

  MainMenu* menu = nullptr;
  std::vector<MenuStub*> destinations;
};

TEST_F(MainMenuTest, TheSplashIgnoresInputFadesItsLastSecondAsksForTheMusicAndThePadHidesTheCursor)
{
  ASSERT_GE(AttachVirtualPad(), 0) << "no virtual pad";
  VNInputSetCursorVisible(1);
  EXPECT_TRUE(Shown("Background"));
  EXPECT_TRUE(Shown("Logo"));
  ExpectShown(kMainWidgets, false);

  // A quarter of a second into the splash: the logo is opaque and no music is asked for.
  for (int i = 0; i < 4; ++i)
  {
    TapEscape();
    PadA(true);
    PadA(false);
  }
  EXPECT_FALSE(gQuitGame) << "Escape during the splash";
  EXPECT_EQ(MainMenu::kMainPage, menu->page);
  EXPECT_TRUE(CursorShown()) << "the pad does not hide the cursor during the splash";
  EXPECT_FLOAT_EQ(1.0f, Button("Logo")->tint.a);
  EXPECT_TRUE(SoundManager::Instance()->pendingMusic.empty());

  while (menu->splashTimer >= 1.0f)
    RunFrame(0.25f);
  RunFrame(0.25f);
  EXPECT_NEAR(menu->splashTimer + 0.25f, Button("Logo")->tint.a, 1e-5f)
      << "the logo fades with the time left";
  EXPECT_LT(Button("Logo")->tint.a, 1.0f);
  EXPECT_EQ(kMenuMusic, SoundManager::Instance()->pendingMusic);

  PassSplash();
  EXPECT_FALSE(Shown("Logo"));
  ExpectShown(kMainWidgets, true);
  EXPECT_FALSE(CursorShown()) << "a pad hides the cursor once the menu runs";
  EXPECT_FALSE(gQuitGame);

  // However long the pad was there, one frame without it shows the cursor and one frame
  // with it hides it again.
  for (int i = 0; i < 30; ++i)
    RunFrame(kFrame);
  DetachVirtualPad();
  RunFrame(kFrame);
  EXPECT_TRUE(CursorShown());
  for (int i = 0; i < 30; ++i)
    RunFrame(kFrame);
  ASSERT_GE(AttachVirtualPad(), 0);
  RunFrame(kFrame);
  EXPECT_FALSE(CursorShown());
}

TEST_F(MainMenuTest, EveryPageShowsItsWidgetsAndComesBack)
{
  PassSplash();
  const std::vector<std::string> creditWidgets = {"Creditscreen", "Exit2"};
  const struct
  {
    const char* button;
    int page;
    const std::vector<std::string>& widgets;
    bool title;
    bool leaveByEscape;
  } pages[] = {{"Play", MainMenu::kLevelPage, kLevelWidgets, true, false},
               {"Option", MainMenu::kOptionPage, kOptionWidgets, false, true},
               {"Credit", MainMenu::kCreditPage, creditWidgets, false, false}};
  for (const auto& page : pages)
  {
    SCOPED_TRACE(page.button);
    Click(page.button);
    EXPECT_EQ(page.page, menu->page);
    ExpectShown(page.widgets, true);
    ExpectShown({"Play", "Option", "Credit", "Exit"}, false);
    EXPECT_EQ(page.title, Shown("mainTitle"));
    if (page.leaveByEscape)
      TapEscape();
    else
      Click("Exit2");
    EXPECT_EQ(MainMenu::kMainPage, menu->page);
    ExpectShown(kMainWidgets, true);
    ExpectShown(page.widgets, false);
  }
  EXPECT_FALSE(gQuitGame);
  Click("Exit");
  EXPECT_TRUE(gQuitGame);
}

TEST_F(MainMenuTest, PicturesUnderTheMouseStayUnlitWhileButtonsLightUp)
{
  PassSplash();
  InjectMouseMove(60, 60);
  RunFrame(kFrame);
  for (const char* picture : {"Background", "mainTitle"})
  {
    EXPECT_FALSE(Button(picture)->hovered) << picture;
    EXPECT_FLOAT_EQ(1.0f, Button(picture)->tint.r) << picture;
  }

  const Button2D* play = Button("Play");
  PointAt(*play);
  RunFrame(kFrame);
  EXPECT_TRUE(play->hovered);
  EXPECT_FLOAT_EQ(1.8f, play->tint.r);
  EXPECT_FLOAT_EQ(1.0f, Button("Background")->tint.r) << "the picture under the button";

  Click("Credit");
  InjectMouseMove(60, 60);
  RunFrame(kFrame);
  EXPECT_FLOAT_EQ(1.0f, Button("Creditscreen")->tint.r);
}

TEST_F(MainMenuTest, EscapeLeavesTheLevelSelectAndASecondEscapeQuits)
{
  PassSplash();
  Click("Play");
  ASSERT_EQ(MainMenu::kLevelPage, menu->page);

  // Only the release counts: holding Escape down does nothing yet.
  InjectKey(VN_KEY_ESCAPE, true);
  RunFrame(kFrame);
  RunFrame(kFrame);
  EXPECT_EQ(MainMenu::kLevelPage, menu->page);
  InjectKey(VN_KEY_ESCAPE, false);
  RunFrame(kFrame);
  EXPECT_EQ(MainMenu::kMainPage, menu->page);
  EXPECT_FALSE(gQuitGame) << "one release takes one step back";

  TapEscape();
  EXPECT_TRUE(gQuitGame);
}

TEST_F(MainMenuTest, VolumesMoveInQuartersBetweenTheirLimits)
{
  PassSplash();
  // Lets the menu music's fade run out, so only the sliders move the volume.
  SoundManager* sound = SoundManager::Instance();
  for (int i = 0; i < 20 && (sound->fading || sound->currentMusicVolume < sound->musicVolume); ++i)
    RunFrame(0.25f);
  ASSERT_TRUE(VNAudioChannelIsPlaying(sound->musicChannel));
  Click("Option");
  ASSERT_EQ(MainMenu::kOptionPage, menu->page);
  EXPECT_FLOAT_EQ(160.0f, KnobOffset("s2"));
  EXPECT_FLOAT_EQ(160.0f, KnobOffset("m2"));

  Click("plus1");
  Click("plus2");
  EXPECT_FLOAT_EQ(1.0f, menu->effectSetting) << "plus does nothing at full volume";
  EXPECT_FLOAT_EQ(1.0f, menu->musicSetting);
  EXPECT_FLOAT_EQ(160.0f, KnobOffset("s2"));

  const float steps[] = {0.75f, 0.5f, 0.25f, 0.0f, 0.0f};
  for (float expected : steps)
  {
    Click("minus1");
    Click("minus2");
    EXPECT_FLOAT_EQ(expected, menu->effectSetting);
    EXPECT_FLOAT_EQ(expected, sound->effectVolume);
    EXPECT_FLOAT_EQ(expected, menu->musicSetting);
    EXPECT_FLOAT_EQ(expected, sound->musicVolume);
    EXPECT_NEAR(expected, VNAudioChannelGetVolume(sound->musicChannel), 0.01f);
    const float knob = 160.0f - 65.0f * (1.0f - expected) / 0.25f;
    EXPECT_FLOAT_EQ(knob, KnobOffset("s2"));
    EXPECT_FLOAT_EQ(knob, KnobOffset("m2"));
  }

  Click("plus2");
  Click("plus2");
  EXPECT_FLOAT_EQ(0.5f, menu->musicSetting);
  EXPECT_FLOAT_EQ(0.5f, sound->currentMusicVolume) << "applied at once, not faded to";
  EXPECT_FLOAT_EQ(0.0f, menu->effectSetting);

  // The settings outlive the visit and the knobs show them when the menu comes back.
  LevelManager::Instance()->ChangeLevel("Level1");
  ReturnToMenu();
  Click("Option");
  EXPECT_FLOAT_EQ(0.5f, menu->musicSetting);
  EXPECT_FLOAT_EQ(30.0f, KnobOffset("m2"));
  EXPECT_FLOAT_EQ(-100.0f, KnobOffset("s2"));
  Click("minus1");
  EXPECT_FLOAT_EQ(-100.0f, KnobOffset("s2")) << "the effect knob is already at zero";
}

TEST_F(MainMenuTest, TheFullScreenButtonSwitchesTheWindowAndItsImage)
{
  PassSplash();
  Click("Option");
  ASSERT_FALSE(Camera::Instance()->edgeScroll);
  EXPECT_EQ("Assets/fullscreen.png", Button("fullscreen")->textureName);

  Click("fullscreen");
  EXPECT_TRUE(Camera::Instance()->edgeScroll);
  EXPECT_EQ("Assets/Windowed.png", Button("fullscreen")->textureName);
  SDL_DisplayMode screen;
  ASSERT_EQ(0, SDL_GetDesktopDisplayMode(0, &screen));
  EXPECT_FLOAT_EQ(screen.w / 1280.0f, gVNScreenScaleX);
  EXPECT_FLOAT_EQ(screen.h / 720.0f, gVNScreenScaleY);

  // A later visit shows the image of the state the game is in.
  LevelManager::Instance()->ChangeLevel("Level1");
  ReturnToMenu();
  EXPECT_EQ("Assets/Windowed.png", Button("fullscreen")->textureName);

  Click("Option");
  Click("fullscreen");
  EXPECT_FALSE(Camera::Instance()->edgeScroll);
  EXPECT_EQ("Assets/fullscreen.png", Button("fullscreen")->textureName);
  EXPECT_FLOAT_EQ(1.0f, gVNScreenScaleX);
  EXPECT_FLOAT_EQ(1.0f, gVNScreenScaleY);
}

TEST_F(MainMenuTest, ThePadStepsOncePerPushAndAMustBePressedAfreshForTheTutorial)
{
  ASSERT_GE(AttachVirtualPad(), 0) << "no virtual pad";
  PassSplash();
  ASSERT_EQ(0, menu->selection);

  // Held down for many frames: one step.
  Stick(1, 32767, 10);
  EXPECT_EQ(1, menu->selection);
  EXPECT_FLOAT_EQ(1.8f, Button("Option")->tint.r);
  EXPECT_FLOAT_EQ(1.0f, Button("Play")->tint.r);
  // Eased back only to 0.3: not yet centred, so no second step.
  Stick(1, 9830, 2);
  Stick(1, 32767, 2);
  EXPECT_EQ(1, menu->selection);
  Stick(1, 0, 1);
  Stick(1, 32767, 1);
  EXPECT_EQ(2, menu->selection);
  for (int push = 0; push < 3; ++push)
  {
    Stick(1, 0, 1);
    Stick(1, -32768, 1);
  }
  EXPECT_EQ(3, menu->selection) << "up from Play wraps to Exit";
  Stick(1, 0, 1);
  Stick(1, 32767, 1);
  EXPECT_EQ(0, menu->selection) << "down from Exit wraps to Play";
  Stick(1, 0, 1);

  // A on Play opens the level select; held on, it does not start the tutorial.
  PadA(true, 5);
  EXPECT_EQ(MainMenu::kLevelPage, menu->page);
  EXPECT_EQ("Main Menu", CurrentName());
  EXPECT_EQ(0, destinations[0]->loads);
  PadA(false);
  PadA(true);
  EXPECT_EQ("TutorialLevel", CurrentName());
  EXPECT_EQ(1, destinations[0]->loads);
  EXPECT_EQ("Assets/Sound/TutorialBGM.ogg", SoundManager::Instance()->pendingMusic);
  PadA(false);
}

TEST_F(MainMenuTest, ThePadWalksTheLevelGridRowByRow)
{
  ASSERT_GE(AttachVirtualPad(), 0) << "no virtual pad";
  PassSplash();
  PadA(true);
  PadA(false);
  ASSERT_EQ(MainMenu::kLevelPage, menu->page);

  const int expected[] = {1, 2, 0, 2};
  const short pushes[] = {32767, 32767, 32767, -32768};
  for (int i = 0; i < 4; ++i)
  {
    Stick(0, pushes[i], 3);
    Stick(0, 0, 1);
    EXPECT_EQ(expected[i], menu->selection) << "horizontal push " << i;
  }
  Stick(1, 32767, 3);
  Stick(1, 0, 1);
  EXPECT_EQ(5, menu->selection) << "down moves to the bottom row";
  EXPECT_FLOAT_EQ(1.8f, Button("l5")->tint.r);
  EXPECT_FLOAT_EQ(1.0f, Button("l2")->tint.r);
  Stick(0, 32767, 1);
  Stick(0, 0, 1);
  EXPECT_EQ(3, menu->selection) << "right wraps within the bottom row";

  PadA(true);
  EXPECT_EQ("Level3", CurrentName());
  EXPECT_EQ("Assets/Sound/Level3BGM.ogg", SoundManager::Instance()->pendingMusic);
  PadA(false);

  // Back on the menu the stick cursor still names a main-page entry.
  ReturnToMenu();
  EXPECT_EQ(3, menu->selection);
  LevelManager::Instance()->ChangeLevel("Level5");
  menu->selection = 5;
  ReturnToMenu();
  EXPECT_EQ(0, menu->selection) << "level 5's cursor has no entry on the main page";
}

TEST_F(MainMenuTest, EveryLevelButtonEntersItsLevelWithItsMusic)
{
  PassSplash();
  const struct
  {
    const char* button;
    const char* level;
    const char* music;
  } entries[] = {{"tutorial", "TutorialLevel", "TutorialBGM"},
                 {"l1", "Level1", "Level1BGM"},
                 {"l2", "Level2", "Level2BGM"},
                 {"l3", "Level3", "Level3BGM"},
                 {"l4", "Level4", "Level4BGM"},
                 {"l5", "Level5", "Level5BGM"}};
  for (size_t i = 0; i < 6; ++i)
  {
    SCOPED_TRACE(entries[i].level);
    Click("Play");
    Click(entries[i].button);
    EXPECT_EQ(entries[i].level, CurrentName());
    EXPECT_EQ(1, destinations[i]->loads);
    EXPECT_EQ(std::string("Assets/Sound/") + entries[i].music + ".ogg",
              SoundManager::Instance()->pendingMusic);
    EXPECT_TRUE(menu->buttons.empty()) << "the menu forgets the widgets the camera deleted";
    // The frame that returns draws the menu before updating it: the main page is up at once.
    LevelManager::Instance()->ChangeLevel("Main Menu");
    EXPECT_TRUE(Shown("Play")) << "no splash on return";
    EXPECT_FALSE(Shown("Logo")) << "no splash on return";
    EXPECT_EQ(kMenuMusic, SoundManager::Instance()->pendingMusic) << "asked again on return";
    RunFrame(kFrame);
  }

  Click("Play");
  Click("leveleditor");
  EXPECT_EQ("Level Editor", CurrentName());
  EXPECT_EQ(1, destinations[6]->loads);
  EXPECT_EQ(kMenuMusic, SoundManager::Instance()->pendingMusic) << "the editor brings no music";
}
} // namespace
