#pragma once

#include <initializer_list>
#include <map>
#include <string>

#include "Framework/Level.h"

class Button2D;
struct TextLabel;

// The level the game starts in: a splash logo for three seconds, then the title with
// Play, Option, Credit and Exit. Play opens the level select (tutorial, levels 1 to 5,
// the editor), Option the full-screen switch and the two volume sliders, Credit the
// credits picture. Floors escaped before show their best time on the level select. Every widget is an image button owned by the camera overlay, which
// draws it; the menu itself draws nothing. Mouse, Escape and the pad drive it.
class MainMenu : public Level
{
public:
  static constexpr int kMainPage = 0;
  static constexpr int kLevelPage = 1;
  static constexpr int kOptionPage = 2;
  static constexpr int kCreditPage = 3;

  // Loads every sound of the game with its kind.
  MainMenu();
  ~MainMenu() override;

  // Starts decoding the menu's pictures on the side, so that the first entry only uploads them.
  static void PreloadImages();

  // Creates the widgets on the main page; the menu music starts here once the splash is over.
  void Load() override;
  // Forgets the widgets; the level change deletes them.
  void Unload() override;
  void Update(const float& dt) override;
  void Draw() override;

  // Seconds of splash left; it runs once per program run.
  float splashTimer = 3.0f;
  // Volumes from 0 to 1 in quarters; they outlive every visit.
  float musicSetting = 1.0f;
  float effectSetting = 1.0f;
  int page = kMainPage;
  // The pad's cursor: Play, Option, Credit, Exit on the main page; the tutorial, then
  // levels 1 to 5 on the level select (0 to 2 the top row, 3 to 5 the bottom one).
  int selection = 0;
  // The left stick has come back to its centre since it last moved the cursor.
  bool stickArmed = true;
  // A has been let go since the level select opened.
  bool selectArmed = true;
  // The menu's sound effects have been decoded (in the first update, after the first frame).
  bool effectsLoaded = false;
  // The widgets by name; the camera owns them.
  std::map<std::string, Button2D*> buttons;
  // The level select's "ESCAPED time" line under each floor escaped before, by level
  // name; the camera owns them.
  std::map<std::string, TextLabel*> bestTimeLabels;

private:
  void GamepadNavigate();
  void MenuLogic();
  void MainPageLogic(bool padA, bool escape);
  void LevelPageLogic(bool padA, bool back);
  void OptionPageLogic(bool back);
  void CreditPageLogic(bool back);

  // The background, the title and the four main buttons.
  void ShowMainPage() const;
  // Moves a volume by one quarter and its knob with it; false at the end of the slider.
  bool StepSetting(float& setting, float step, const char* knob);
  // Puts a knob where its setting lies on the slider.
  void PlaceKnob(const char* knob, float setting);
  // A volume reaches the sound manager and the kept settings.
  void ApplyEffectVolume();
  void ApplyMusicVolume();
  // Shows or empties the best-time lines of the level select.
  void ShowBestTimes(bool shown);

  Button2D* FindWidget(const std::string& name) const;
  bool Clicked(const std::string& name) const;
  void SetShown(std::initializer_list<const char*> names, bool shown) const;
  // The pad cursor's highlight on one entry of names, the others untinted.
  void Highlight(std::initializer_list<const char*> names, int selected) const;
};
