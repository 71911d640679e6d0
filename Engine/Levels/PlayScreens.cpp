// The pause, capture and escape screens of a playable floor: the overlay buttons they
// share and the step that runs their mouse, keyboard and pad bindings.
#include "Levels/TestLevel.h"

#include <iterator>

#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/Gamepad.h"
#include "Framework/LevelManager.h"
#include "Framework/SaveData.h"
#include "Framework/SoundManager.h"
#include "Framework/TextLabel.h"

namespace
{
struct ScreenButton
{
  const char* name;
  const char* file;
  float x;
  float y;
  float width;
  float height;
  bool disabled;
};

// Positions are on screen, relative to the camera.
const ScreenButton kScreenButtons[] = {
    {"Pause", "Assets/pause.png", 550.0f, -320.0f, 154.0f, 74.0f, false},
    {"Game_State", "Assets/Escaped.png", 0.0f, 200.0f, 593.0f, 122.0f, true},
    {"Retry", "Assets/Retry.png", -100.0f, 0.0f, 154.0f, 74.0f, false},
    {"MainMenu", "Assets/MainMenu.png", 100.0f, 0.0f, 154.0f, 74.0f, false},
    {"Next", "Assets/Next.png", -100.0f, 0.0f, 154.0f, 74.0f, false},
};
const ScreenButton kLoadingPicture = {"Loading", "Assets/loading.png", 0.0f, 0.0f, 1280.0f, 720.0f,
                                      true};

// The run's time sits between the banner and the buttons, centred by the overlay font's
// advance.
const float kRunTimeY = 80.0f;
const float kOverlayGlyphWidth = 14.0f;
const Color4 kRunTimeColor = {0.96f, 0.95f, 0.91f, 1.0f};
// Messages sit above the player, who stands near the middle of the view.
const float kMessageY = 120.0f;

// Where a line of overlay text starts so that it is centred across the view, `above` the
// view's middle.
VNVec2 CentredOnView(const Camera& camera, const std::string& text, float above)
{
  const float width = static_cast<float>(text.size()) * kOverlayGlyphWidth;
  return {camera.position.x - width * 0.5f, camera.position.y + above};
}

bool IsFloor(const std::string& levelName)
{
  for (const char* floor : TestLevel::kFloorOrder)
  {
    if (levelName == floor)
      return true;
  }
  return false;
}

// The floor played after levelName, or "" after the last one and for any other level.
std::string NextFloor(const std::string& levelName)
{
  const auto& floors = TestLevel::kFloorOrder;
  for (size_t i = 0; i + 1 < std::size(floors); ++i)
  {
    if (levelName == floors[i])
      return floors[i + 1];
  }
  return "";
}

void AddButton(Camera* camera, const ScreenButton& screenButton, bool hidden)
{
  camera->AddImageButton(screenButton.name, screenButton.file, screenButton.x, screenButton.y,
                         screenButton.width, screenButton.height, screenButton.disabled, hidden);
}

// Puts the image on the button and shows it; a missing button is skipped.
void ShowWithImage(Button2D* button, const std::string& file)
{
  ShowImage(button, file);
  SetHidden(button, false);
}

bool Clicked(Button2D* button)
{
  return button && button->IsClicked();
}

bool PadTriggered(int button)
{
  return Gamepad::triggered[button];
}

// Esc or pad Start: pauses during play and resumes on the pause screen.
bool PauseToggled()
{
  return VNInputCheckTriggered(VN_KEY_ESCAPE) || PadTriggered(Gamepad::START);
}

bool MainMenuChosen(Button2D* mainMenu)
{
  return Clicked(mainMenu) || PadTriggered(Gamepad::B);
}

} // namespace

void TestLevel::AddScreenButtons()
{
  for (const ScreenButton& screenButton : kScreenButtons)
    AddButton(camera, screenButton, true);
  messageLabel = camera->AddText("", 0.0f, 0.0f);
  messageLabel->tint = kRunTimeColor;
  messageLabel->outlined = true;
  messageTime = 0.0f;
}

void TestLevel::AddLoadingPicture()
{
  AddButton(camera, kLoadingPicture, false);
}

Button2D* TestLevel::FindButton(const std::string& buttonName) const
{
  return camera ? camera->FindButton(buttonName) : nullptr;
}

void TestLevel::EnterCaptureScreen()
{
  playState = kCaught;
  ShowWithImage(FindButton("Game_State"), "Assets/GameOver.png");
  SetHidden(FindButton("Retry"), false);
  SetHidden(FindButton("MainMenu"), false);
}

void TestLevel::EnterEscapeScreen()
{
  playState = kEscaped;
  ShowWithImage(FindButton("Game_State"), "Assets/Escaped.png");
  SetHidden(FindButton("MainMenu"), false);
  // A capture earlier in the same frame showed Retry; the escape screen has none.
  SetHidden(FindButton("Retry"), true);
  SetHidden(FindButton("Next"), NextFloor(name).empty());
}

void TestLevel::ShowRunTime()
{
  std::string text = "TIME " + FormatRunTime(runTime);
  if (IsFloor(name))
  {
    SaveData* saveData = SaveData::Instance();
    if (RecordEscape(saveData->progress, name, runTime))
    {
      saveData->SaveProgress();
      text += "  NEW BEST";
    }
    else
      text += "  BEST " + FormatRunTime(saveData->progress.bestTimes[name]);
  }
  if (!camera)
    return;
  const VNVec2 at = CentredOnView(*camera, text, kRunTimeY);
  TextLabel* label = camera->AddText(text, at.x, at.y);
  label->tint = kRunTimeColor;
  label->outlined = true;
}

void TestLevel::ShowMessage(const char* text, float seconds)
{
  messageTime = VNMax(messageTime, seconds);
  if (!messageLabel || messageLabel->text == text)
    return;
  messageLabel->SetText(text);
  messageLabel->position = CentredOnView(*camera, messageLabel->text, kMessageY);
}

void TestLevel::ScreenStep()
{
  switch (playState)
  {
  case kPlaying: PlayingStep(); break;
  case kPaused: PausedStep(); break;
  case kEscaped: EscapedStep(); break;
  case kCaught: CaughtStep(); break;
  default: break;
  }
}

void TestLevel::PlayingStep()
{
  Button2D* pause = FindButton("Pause");
  if (!(Clicked(pause) || PauseToggled()))
    return;

  playState = kPaused;
  ShowWithImage(FindButton("Game_State"), "Assets/Paused.png");
  SetHidden(FindButton("MainMenu"), false);
  ShowWithImage(FindButton("Retry"), "Assets/Resume.png");
  SetHidden(pause, true);
}

void TestLevel::PausedStep()
{
  if (Clicked(FindButton("Retry")) || PauseToggled())
  {
    playState = kPlaying;
    SetHidden(FindButton("Game_State"), true);
    SetHidden(FindButton("MainMenu"), true);
    SetHidden(FindButton("Retry"), true);
    SetHidden(FindButton("Pause"), false);
  }
  // Leaving for the menu leaves the music to the level change.
  if (MainMenuChosen(FindButton("MainMenu")))
    LevelManager::Instance()->ChangeLevel(menuLevel);
}

void TestLevel::EscapedStep()
{
  if (!endSoundPlayed)
  {
    endSoundPlayed = true;
    VNAudioChannelStop(SoundManager::Instance()->musicChannel);
    endSoundChannel = SoundManager::Instance()->PlayEndSound("Assets/Sound/WinSound.ogg");
    ShowRunTime();
    // The floor is over: there is nothing left to pause.
    SetHidden(FindButton("Pause"), true);
  }

  const bool pad = Gamepad::IsConnected();
  Button2D* mainMenu = FindButton("MainMenu");
  ShowWithImage(mainMenu, pad ? "Assets/MainMenu2.png" : "Assets/MainMenu.png");
  const std::string next = NextFloor(name);
  Button2D* nextButton = next.empty() ? nullptr : FindButton("Next");
  ShowWithImage(nextButton, pad ? "Assets/Next2.png" : "Assets/Next.png");

  // Either change unloads this level: nothing of it may be touched afterwards.
  if (MainMenuChosen(mainMenu))
    LevelManager::Instance()->ChangeLevel(menuLevel);
  else if (nextButton &&
           (Clicked(nextButton) || VNInputCheckTriggered('N') || PadTriggered(Gamepad::A)))
    LevelManager::Instance()->ChangeLevel(next);
}

void TestLevel::CaughtStep()
{
  if (!endSoundPlayed)
  {
    endSoundPlayed = true;
    // The level's music goes on under it.
    endSoundChannel = SoundManager::Instance()->PlayEndSound("Assets/Sound/LoseSound.ogg");
    SetHidden(FindButton("Pause"), true);
  }

  Button2D* retry = FindButton("Retry");
  ShowWithImage(retry, Gamepad::IsConnected() ? "Assets/Retry2.png" : "Assets/Retry.png");
  if (Clicked(retry) || VNInputCheckTriggered('R') || PadTriggered(Gamepad::X))
  {
    SetHidden(retry, true);
    SetHidden(FindButton("MainMenu"), true);
    // Reloads this same level: everything is spawned anew, the overlay included.
    LevelManager::Instance()->ChangeLevel(name);
  }

  // Looked up again: a retry above replaced every overlay button.
  if (MainMenuChosen(FindButton("MainMenu")))
  {
    SoundManager* sound = SoundManager::Instance();
    VNAudioChannelStop(endSoundChannel);
    VNAudioChannelStop(sound->effectChannel);
    VNAudioChannelStop(sound->musicChannel);
    LevelManager::Instance()->ChangeLevel(menuLevel);
  }
}
