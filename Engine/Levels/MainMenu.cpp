#include "Levels/MainMenu.h"

#include <stdio.h>

#include "Framework/Application.h"
#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/Gamepad.h"
#include "Framework/LevelManager.h"
#include "Framework/SaveData.h"
#include "Framework/SoundManager.h"
#include "Framework/TextLabel.h"
#include "Framework/TextureManager.h"

namespace
{
struct WidgetSpec
{
  const char* name;
  const char* file;
  float x;
  float y;
  float width;
  float height;
  bool shown;
  // Pictures (background, titles, labels, slider parts) are disabled so that the mouse
  // resting on them neither highlights them nor plays the hover sound.
  bool clickable;
};

// Offsets from the screen centre, y up. The overlay draws them in byte order of their names.
const WidgetSpec kWidgets[] = {
    {"Background", "Assets/main_menu.png", 0.0f, 0.0f, 1280.0f, 720.0f, false, false},
    {"mainTitle", "Assets/mainTitle.png", 0.0f, 220.0f, 640.0f, 204.0f, false, false},
    {"optionTitle", "Assets/optionTitle.png", 0.0f, 240.0f, 288.0f, 86.0f, false, false},
    {"Play", "Assets/b_play.png", 0.0f, 50.0f, 262.0f, 68.0f, false, true},
    {"Option", "Assets/b_option.png", 0.0f, -50.0f, 262.0f, 68.0f, false, true},
    {"Credit", "Assets/b_credit.png", 0.0f, -150.0f, 262.0f, 68.0f, false, true},
    {"Exit", "Assets/b_exit.png", 0.0f, -250.0f, 262.0f, 68.0f, false, true},
    {"Exit2", "Assets/level_back.png", 0.0f, -250.0f, 262.0f, 56.0f, false, true},
    {"tutorial", "Assets/level_tutorial.png", -300.0f, 0.0f, 195.0f, 56.0f, false, true},
    {"l1", "Assets/level_1.png", 0.0f, 0.0f, 195.0f, 56.0f, false, true},
    {"l2", "Assets/level_2.png", 300.0f, 0.0f, 195.0f, 56.0f, false, true},
    {"l3", "Assets/level_3.png", -300.0f, -100.0f, 195.0f, 56.0f, false, true},
    {"l4", "Assets/level_4.png", 0.0f, -100.0f, 195.0f, 56.0f, false, true},
    {"l5", "Assets/level_5.png", 300.0f, -100.0f, 195.0f, 56.0f, false, true},
    {"leveleditor", "Assets/level_editor.png", 300.0f, -250.0f, 195.0f, 56.0f, false, true},
    {"fullscreen", "Assets/fullscreen.png", 30.0f, 100.0f, 350.0f, 90.0f, false, true},
    {"minus1", "Assets/minus.png", -147.0f, -20.0f, 56.0f, 56.0f, false, true},
    {"plus1", "Assets/plus.png", 203.0f, -20.0f, 56.0f, 56.0f, false, true},
    {"s1", "Assets/slider.png", 30.0f, -20.0f, 280.0f, 26.0f, false, false},
    {"s2", "Assets/slider2.png", 160.0f, -20.0f, 28.0f, 56.0f, false, false},
    {"minus2", "Assets/minus.png", -147.0f, -100.0f, 56.0f, 56.0f, false, true},
    {"plus2", "Assets/plus.png", 203.0f, -100.0f, 56.0f, 56.0f, false, true},
    {"m1", "Assets/slider.png", 30.0f, -100.0f, 280.0f, 26.0f, false, false},
    {"m2", "Assets/slider2.png", 160.0f, -100.0f, 28.0f, 56.0f, false, false},
    {"option2", "Assets/option2.png", -240.0f, -5.0f, 150.0f, 240.0f, false, false},
};

// Made only when needed: the splash logo for the one splash of a run, freed after it; the
// credits picture on the first visit to the credits.
const WidgetSpec kSplashLogo = {"Logo", "Assets/Ombrel.png", 0.0f, 0.0f, 1280.0f, 720.0f, true,
                                false};
const WidgetSpec kCreditScreen = {
    "Creditscreen", "Assets/creditscreen.png", 0.0f, 0.0f, 1280.0f, 720.0f, false, false};

Button2D* AddWidget(Camera* camera, const WidgetSpec& widget)
{
  // The camera keeps an earlier widget of the same name and drops this one.
  return camera->AddImageButton(widget.name, widget.file, widget.x, widget.y, widget.width,
                                widget.height, !widget.clickable, !widget.shown);
}

struct LevelEntry
{
  const char* button;
  const char* level;
  const char* music;
};

// In pad-cursor order.
const LevelEntry kLevels[] = {
    {"tutorial", "TutorialLevel", "Assets/Sound/TutorialBGM.ogg"},
    {"l1", "Level1", "Assets/Sound/Level1BGM.ogg"},
    {"l2", "Level2", "Assets/Sound/Level2BGM.ogg"},
    {"l3", "Level3", "Assets/Sound/Level3BGM.ogg"},
    {"l4", "Level4", "Assets/Sound/Level4BGM.ogg"},
    {"l5", "Level5", "Assets/Sound/Level5BGM.ogg"},
};
const int kLevelCount = 6;

// The widgets each page shows; the main page's four buttons in pad-cursor order.
const std::initializer_list<const char*> kMainButtons = {"Play", "Option", "Credit", "Exit"};
const std::initializer_list<const char*> kMainPageWidgets = {"mainTitle", "Play", "Option",
                                                             "Credit", "Exit"};
const std::initializer_list<const char*> kLevelPageWidgets = {
    "tutorial", "l1", "l2", "l3", "l4", "l5", "leveleditor", "Exit2"};
const std::initializer_list<const char*> kOptionPageWidgets = {
    "optionTitle", "fullscreen", "minus1", "minus2", "plus1",   "plus2",
    "s1",          "m1",         "s2",     "m2",     "option2", "Exit2"};
const int kMainEntries = 4;
const int kRowLength = 3;

const char* const kMenuMusic = "Assets/Sound/MainMenu.ogg";
const char* const kFullscreenImage = "Assets/fullscreen.png";
const char* const kWindowedImage = "Assets/Windowed.png";

const char* const kMusicFiles[] = {
    "Assets/Sound/TutorialBGM.ogg",
    "Assets/Sound/Level1BGM.ogg",
    "Assets/Sound/Level2BGM.ogg",
    "Assets/Sound/Level3BGM.ogg",
    "Assets/Sound/Level4BGM.ogg",
    "Assets/Sound/Level5BGM.ogg",
    kMenuMusic,
    "Assets/Sound/WinSound.ogg",
    "Assets/Sound/LoseSound.ogg",
};
const char* const kEffectFiles[] = {
    "Assets/Sound/GameIn.ogg",
    "Assets/Sound/MouseClick.wav",
    "Assets/Sound/MouseOver.wav",
};

const float kSplashFadeSeconds = 1.0f;
// The stick counts as centred within this much of full travel, and as pushed beyond PUSH.
const float kStickRest = 0.2f;
const float kStickPush = 0.6f;
const float kVolumeStep = 0.25f;
// A knob moves this far per volume step; at full volume it sits at kKnobFullX.
const float kKnobStep = 65.0f;
const float kKnobFullX = 160.0f;
// An escaped floor's best time sits this far under its level-select button, centred by
// the overlay font's advance.
const float kBestTimeDrop = 52.0f;
const float kOverlayGlyphWidth = 14.0f;
// The option page's label yellow, readable on the night-time office.
const Color4 kBestTimeColor = {0.95f, 0.79f, 0.30f, 1.0f};
} // namespace

MainMenu::MainMenu()
{
  name = "Main Menu";
  const Settings& settings = SaveData::Instance()->settings;
  musicSetting = settings.musicVolume;
  effectSetting = settings.effectVolume;
  SoundManager* sound = SoundManager::Instance();
  for (const char* file : kMusicFiles)
    sound->Load(file, SoundEntry::kMusic);
}

MainMenu::~MainMenu()
{
  printf("MainMenu Destroy\n");
}

void MainMenu::PreloadImages()
{
  for (const WidgetSpec& widget : kWidgets)
    VNGfxTexturePreload(widget.file);
  VNGfxTexturePreload(kSplashLogo.file);
}

void MainMenu::Load()
{
  camera = Camera::Instance();
  page = kMainPage;
  // The level select's cursor may still stand on level 4 or 5, which the main page lacks.
  if (selection < 0 || selection >= kMainEntries)
    selection = 0;

  for (const WidgetSpec& widget : kWidgets)
    buttons[widget.name] = AddWidget(camera, widget);
  if (splashTimer > 0.0f)
    buttons[kSplashLogo.name] = AddWidget(camera, kSplashLogo);

  // The knobs show the settings kept from earlier visits.
  PlaceKnob("s2", effectSetting);
  PlaceKnob("m2", musicSetting);

  if (splashTimer <= 0.0f)
  {
    // Straight to the main page: the menu is drawn in the frame that entered it, before
    // its first update, and the splash logo must not flash up there.
    ShowMainPage();
    SoundManager::Instance()->Play(kMenuMusic, true);
  }
  if (Button2D* fullscreen = FindWidget("fullscreen"))
    ShowImage(fullscreen, camera->edgeScroll ? kWindowedImage : kFullscreenImage);
}

void MainMenu::Unload()
{
  buttons.clear();
  bestTimeLabels.clear();
}

void MainMenu::Update(const float& dt)
{
  // Decoding them (GameIn.ogg alone takes about 3 ms) waits until the first frame is shown.
  if (!effectsLoaded)
  {
    for (const char* file : kEffectFiles)
      SoundManager::Instance()->Load(file, SoundEntry::kEffect);
    effectsLoaded = true;
  }
  if (page == kMainPage)
  {
    if (splashTimer > 0.0f)
    {
      if (splashTimer < kSplashFadeSeconds)
      {
        // Until now the opaque logo covered the whole screen, and drawing the background
        // under it was wasted.
        SetShown({"Background"}, true);
        if (Button2D* logo = FindWidget("Logo"))
          logo->tint.a = splashTimer;
        SoundManager::Instance()->Play(kMenuMusic, true);
      }
      splashTimer -= dt;
    }
    else
    {
      ShowMainPage();
      if (FindWidget(kSplashLogo.name))
      {
        camera->RemoveButton(kSplashLogo.name);
        buttons.erase(kSplashLogo.name);
        TextureManager::Instance()->Unload(kSplashLogo.file);
      }
    }
  }

  if (splashTimer > 0.0f)
    return;

  // Set rather than counted, so a frame-by-frame call never runs the display counter away.
  const bool pad = Gamepad::IsConnected();
  VNInputSetCursorVisible(pad ? 0 : 1);
  if (pad)
    GamepadNavigate();
  MenuLogic();
}

void MainMenu::Draw() {}

void MainMenu::GamepadNavigate()
{
  const float x = Gamepad::state.thumbLX / 32768.0f;
  const float y = Gamepad::state.thumbLY / 32768.0f;
  if (!stickArmed && x >= -kStickRest && x <= kStickRest && y >= -kStickRest && y <= kStickRest)
    stickArmed = true;

  if (page == kMainPage)
  {
    if (stickArmed && y < -kStickPush)
    {
      selection = selection >= kMainEntries - 1 ? 0 : selection + 1;
      stickArmed = false;
    }
    else if (stickArmed && y > kStickPush)
    {
      selection = selection <= 0 ? kMainEntries - 1 : selection - 1;
      stickArmed = false;
    }
    Highlight(kMainButtons, selection);
  }
  else if (page == kLevelPage)
  {
    if (stickArmed)
    {
      if (y < -kStickPush || y > kStickPush)
      {
        selection = selection < kRowLength ? selection + kRowLength : selection - kRowLength;
        stickArmed = false;
      }
      const int rowStart = selection < kRowLength ? 0 : kRowLength;
      const int column = selection - rowStart;
      if (x < -kStickPush)
      {
        selection = rowStart + (column == 0 ? kRowLength - 1 : column - 1);
        stickArmed = false;
      }
      else if (x > kStickPush)
      {
        selection = rowStart + (column == kRowLength - 1 ? 0 : column + 1);
        stickArmed = false;
      }
    }
    Highlight({"tutorial", "l1", "l2", "l3", "l4", "l5"}, selection);
  }
}

void MainMenu::MenuLogic()
{
  const bool padA = Gamepad::IsHeld(Gamepad::A);
  const bool padB = Gamepad::IsHeld(Gamepad::B);
  const bool escape = VNInputCheckReleased(VN_KEY_ESCAPE);

  switch (page)
  {
  case kMainPage: MainPageLogic(padA, escape); break;
  case kLevelPage:
    if (!selectArmed && !padA)
      selectArmed = true;
    LevelPageLogic(padA, Clicked("Exit2") || escape || padB);
    break;
  case kOptionPage: OptionPageLogic(escape || padB); break;
  case kCreditPage: CreditPageLogic(escape || padB); break;
  default: break;
  }
}

void MainMenu::MainPageLogic(bool padA, bool escape)
{
  if (Clicked("Play") || (selection == 0 && padA))
  {
    SetShown(kMainButtons, false);
    SetShown(kLevelPageWidgets, true);
    ShowBestTimes(true);
    selectArmed = false;
    page = kLevelPage;
    selection = 0;
  }
  else if (Clicked("Option") || (selection == 1 && padA))
  {
    SetShown(kMainPageWidgets, false);
    SetShown(kOptionPageWidgets, true);
    page = kOptionPage;
    selection = 0;
  }
  else if (Clicked("Credit") || (selection == 2 && padA))
  {
    if (!FindWidget(kCreditScreen.name))
      buttons[kCreditScreen.name] = AddWidget(camera, kCreditScreen);
    SetShown(kMainPageWidgets, false);
    SetShown({"Creditscreen", "Exit2"}, true);
    page = kCreditPage;
  }

  if (Clicked("Exit") || escape || (selection == 3 && padA))
    gQuitGame = true;
}

void MainMenu::LevelPageLogic(bool padA, bool back)
{
  if (back)
  {
    page = kMainPage;
    SetShown(kMainButtons, true);
    SetShown(kLevelPageWidgets, false);
    ShowBestTimes(false);
    selection = 0;
  }

  for (int i = 0; i < kLevelCount; ++i)
  {
    const LevelEntry& entry = kLevels[i];
    // The A press that opened this page must not also start the tutorial under the cursor.
    const bool padChoice = selection == i && padA && (i != 0 || selectArmed);
    if (Clicked(entry.button) || padChoice)
    {
      // The change unloads this menu: nothing of it may be touched afterwards.
      LevelManager::Instance()->ChangeLevel(entry.level);
      SoundManager::Instance()->Play(entry.music, true);
      return;
    }
  }

  if (Clicked("leveleditor"))
    LevelManager::Instance()->ChangeLevel("Level Editor");
}

void MainMenu::OptionPageLogic(bool back)
{
  if (Clicked("fullscreen"))
    SetFullScreen(!camera->edgeScroll);
  // Alt+Enter switches the mode from anywhere, this page included.
  ShowImage(FindWidget("fullscreen"), camera->edgeScroll ? kWindowedImage : kFullscreenImage);
  if (Clicked("minus1") && StepSetting(effectSetting, -kVolumeStep, "s2"))
    ApplyEffectVolume();
  if (Clicked("plus1") && StepSetting(effectSetting, kVolumeStep, "s2"))
    ApplyEffectVolume();
  if (Clicked("minus2") && StepSetting(musicSetting, -kVolumeStep, "m2"))
    ApplyMusicVolume();
  if (Clicked("plus2") && StepSetting(musicSetting, kVolumeStep, "m2"))
    ApplyMusicVolume();

  if (back || Clicked("Exit2"))
  {
    page = kMainPage;
    selection = 0;
    ShowMainPage();
    SetShown(kOptionPageWidgets, false);
  }
}

void MainMenu::CreditPageLogic(bool back)
{
  if (back || Clicked("Exit2"))
  {
    page = kMainPage;
    ShowMainPage();
    SetShown({"Creditscreen", "Exit2"}, false);
  }
}

void MainMenu::ShowMainPage() const
{
  SetShown(kMainPageWidgets, true);
  SetShown({"Background"}, true);
}

bool MainMenu::StepSetting(float& setting, float step, const char* knob)
{
  const float next = setting + step;
  if (next < 0.0f || next > 1.0f)
    return false;
  setting = next;
  if (Button2D* button = FindWidget(knob))
    button->SetPosition(button->position.x + (step > 0.0f ? kKnobStep : -kKnobStep),
                        button->position.y);
  return true;
}

void MainMenu::PlaceKnob(const char* knob, float setting)
{
  if (Button2D* button = FindWidget(knob))
  {
    const float stepsDown = (1.0f - setting) / kVolumeStep;
    button->SetPosition(camera->position.x + kKnobFullX - stepsDown * kKnobStep,
                        button->position.y);
  }
}

void MainMenu::ApplyEffectVolume()
{
  SoundManager* sound = SoundManager::Instance();
  sound->effectVolume = effectSetting;
  VNAudioChannelSetVolume(sound->effectChannel, effectSetting);
  SaveData* saveData = SaveData::Instance();
  saveData->settings.effectVolume = effectSetting;
  saveData->SaveSettings();
}

void MainMenu::ApplyMusicVolume()
{
  SoundManager* sound = SoundManager::Instance();
  sound->musicVolume = musicSetting;
  sound->currentMusicVolume = musicSetting;
  VNAudioChannelSetVolume(sound->musicChannel, musicSetting);
  SaveData* saveData = SaveData::Instance();
  saveData->settings.musicVolume = musicSetting;
  saveData->SaveSettings();
}

void MainMenu::ShowBestTimes(bool shown)
{
  const Progress& progress = SaveData::Instance()->progress;
  for (const LevelEntry& entry : kLevels)
  {
    auto best = progress.bestTimes.find(entry.level);
    Button2D* button = FindWidget(entry.button);
    if (!button || best == progress.bestTimes.end())
      continue;
    TextLabel*& label = bestTimeLabels[entry.level];
    if (!label)
    {
      label = camera->AddText("", 0.0f, 0.0f);
      label->tint = kBestTimeColor;
    }
    label->SetText(shown ? "ESCAPED " + FormatRunTime(best->second) : "");
    label->position = {button->position.x - label->text.size() * kOverlayGlyphWidth * 0.5f,
                       button->position.y - kBestTimeDrop};
  }
}

Button2D* MainMenu::FindWidget(const std::string& widgetName) const
{
  auto found = buttons.find(widgetName);
  return found == buttons.end() ? nullptr : found->second;
}

bool MainMenu::Clicked(const std::string& widgetName) const
{
  Button2D* button = FindWidget(widgetName);
  return button && button->IsClicked();
}

void MainMenu::SetShown(std::initializer_list<const char*> names, bool shown) const
{
  for (const char* widgetName : names)
  {
    if (Button2D* button = FindWidget(widgetName))
      button->hidden = !shown;
  }
}

void MainMenu::Highlight(std::initializer_list<const char*> names, int selected) const
{
  int i = 0;
  for (const char* widgetName : names)
  {
    if (Button2D* button = FindWidget(widgetName))
      button->SetHighlighted(i == selected);
    ++i;
  }
}
