// What the game keeps between runs (settings, progress) and reads from its command line.
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "Actors/Player.h"
#include "CapturedOutput.h"
#include "Framework/Application.h"
#include "Framework/CommandLine.h"
#include "Framework/SaveData.h"
#include "PlayTestSupport.h"
#include "ScratchFolder.h"

namespace
{

int LineCount(const std::string& text)
{
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(SettingsFile, ReadsClampsIgnoresUnknownKeysAndRefusesMalformedText)
{
  const struct
  {
    std::string text;
    bool ok;
    Settings read;
  } cases[] = {
      {"[audio]\nmusic = 0.5\neffects=0.25\n[display]\nfullscreen = no\n",
       true,
       {0.5f, 0.25f, false}},
      {"[audio]\nmusic = 7\neffects = -3\n", true, {1.0f, 0.0f, true}},
      {"; note\n[audio]\nmusic = 0.4\nvolume = 9\n[other]\nmusic = 0\n", true, {0.5f, 1.0f, true}},
      {FormatSettings({0.25f, 0.75f, false}), true, {0.25f, 0.75f, false}},
      {"[audio]\nmusic = loud\n", false, {}},
      {"[display]\nfullscreen = maybe\n", false, {}},
      {"[audio]\nmusic = 0.5\njunk line\n", false, {}},
  };
  for (const auto& c : cases)
  {
    Settings settings;
    std::string error;
    EXPECT_EQ(c.ok, ParseSettings(c.text, settings, error)) << c.text;
    EXPECT_EQ(c.ok, error.empty()) << c.text;
    EXPECT_EQ(std::make_tuple(c.read.musicVolume, c.read.effectVolume, c.read.fullScreen),
              std::make_tuple(settings.musicVolume, settings.effectVolume, settings.fullScreen))
        << c.text;
  }
}

TEST(ProgressFile, KeepsTheBestTimeOfEachFloorThroughItsText)
{
  Progress progress;
  EXPECT_TRUE(RecordEscape(progress, "Level2", 80.0f));
  EXPECT_FALSE(RecordEscape(progress, "Level2", 95.0f)) << "a slower run keeps the record";
  EXPECT_TRUE(RecordEscape(progress, "Level2", 61.5f));
  EXPECT_TRUE(RecordEscape(progress, "TutorialLevel", -4.0f));

  Progress read;
  std::string error;
  ASSERT_TRUE(ParseProgress(FormatProgress(progress) + "[Level3]\nstars = 3\n", read, error));
  EXPECT_EQ((std::map<std::string, float>{{"Level2", 61.5f}, {"TutorialLevel", 0.0f}}),
            read.bestTimes);
  EXPECT_FALSE(ParseProgress("[Level1]\nbest_time = soon\n", read, error));
  EXPECT_EQ(2u, read.bestTimes.size()) << "a refused text leaves the progress as it was";
  EXPECT_EQ("1:01.5", FormatRunTime(61.5f));
}

class SaveDataTest : public ::testing::Test
{
protected:
  void Load()
  {
    output = StdoutOf([this] { data.Load(Settings(), Progress()); });
  }
  std::string Settings() const { return folder.File("config/settings.ini"); }
  std::string Progress() const { return folder.File("data/progress.ini"); }

  ScratchFolder folder;
  SaveData data;
  std::string output;
};

TEST_F(SaveDataTest, MissingFilesGiveDefaultsAndOnlyChangesAreWritten)
{
  Load();
  EXPECT_EQ(2, LineCount(output)) << output;
  EXPECT_FLOAT_EQ(1.0f, data.settings.musicVolume);
  EXPECT_TRUE(data.progress.bestTimes.empty());

  data.settings.musicVolume = 0.5f;
  RecordEscape(data.progress, "Level1", 42.0f);
  ASSERT_TRUE(data.SaveSettings());
  ASSERT_TRUE(data.SaveProgress());
  // Removed behind the game's back: an unchanged save must not write it again.
  std::filesystem::remove(Settings());
  EXPECT_TRUE(data.SaveSettings());
  EXPECT_FALSE(std::filesystem::exists(Settings()));

  WriteText(Settings(), FormatSettings(data.settings));
  Load();
  EXPECT_EQ("", output) << "files that read well say nothing";
  EXPECT_FLOAT_EQ(0.5f, data.settings.musicVolume);
  EXPECT_FLOAT_EQ(42.0f, data.progress.bestTimes["Level1"]);
}

TEST_F(SaveDataTest, AMalformedFileGivesDefaultsAndIsKeptAsideAtTheNextSave)
{
  std::filesystem::create_directories(folder.File("config"));
  WriteText(Settings(), "[audio]\nmusic = 0.25\nthis is not a setting\n");
  Load();
  EXPECT_EQ(2, LineCount(output)) << output;
  EXPECT_NE(std::string::npos, output.find("line 3")) << output;
  EXPECT_FLOAT_EQ(1.0f, data.settings.musicVolume);

  ASSERT_TRUE(data.SaveSettings()) << "the defaults differ from nothing but must replace it";
  EXPECT_EQ("[audio]\nmusic = 0.25\nthis is not a setting\n", ReadText(Settings() + ".bad"));
  EXPECT_EQ(FormatSettings(data.settings), ReadText(Settings()));
}

TEST_F(SaveDataTest, AFolderThatCannotBeMadeGivesDefaultsAndOneLinePerFile)
{
  // A plain file where the folder should be stops even a user whom permissions do not.
  WriteText(folder.File("config"), "");
  Load();
  data.settings.musicVolume = 0.75f;
  const std::string failures = StdoutOf(
      [this]
      {
        EXPECT_FALSE(data.SaveSettings());
        data.settings.effectVolume = 0.0f;
        EXPECT_FALSE(data.SaveSettings());
      });
  EXPECT_EQ(1, LineCount(failures)) << failures;
  EXPECT_FLOAT_EQ(0.75f, data.settings.musicVolume) << "the run goes on with the new value";
  EXPECT_TRUE(data.SaveProgress()) << "the other file is not held back";
}

TEST(CommandLineTest, OptionsAndTheirErrors)
{
  ScratchFolder folder;
  const std::string level = folder.File("my.level.tmx");
  WriteText(level, "<map/>");
  struct Case
  {
    std::vector<std::string> args;
    CommandLine::Action action;
    const char* errorPart;
  };
  const Case cases[] = {
      {{}, CommandLine::kPlay, ""},
      {{"--help", "--version"}, CommandLine::kHelp, ""},
      {{"--level", level}, CommandLine::kPlay, ""},
      {{"--edit=" + level}, CommandLine::kPlay, ""},
      {{"--benchmark", "Level1", "--frames", "300"}, CommandLine::kPlay, ""},
      {{"--fly"}, CommandLine::kError, "unknown option \"--fly\""},
      {{"--level"}, CommandLine::kError, "--level needs a value"},
      {{"--windowed=yes"}, CommandLine::kError, "takes no value"},
      {{"--level", folder.File("gone.tmx")}, CommandLine::kError, "gone.tmx"},
      {{"--edit", folder.path}, CommandLine::kError, "not a regular file"},
      {{"--level", level, "--edit", level}, CommandLine::kError, "cannot be combined"},
      {{"--benchmark", "Level1", "--frames", "0"}, CommandLine::kError, "--frames"},
      {{"--frames", "5"}, CommandLine::kError, "--benchmark"},
  };
  for (const Case& c : cases)
  {
    std::vector<const char*> argv = {"kestrin"};
    for (const std::string& arg : c.args)
      argv.push_back(arg.c_str());
    const CommandLine result = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    const std::string args = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(c.action, result.action) << args << ": " << result.error;
    EXPECT_NE(std::string::npos, result.error.find(c.errorPart)) << args << ": " << result.error;
  }
  const char* const last[] = {"kestrin", "--fullscreen", "--windowed", "--level", level.c_str()};
  const CommandLine played = ParseCommandLine(5, last);
  EXPECT_EQ(CommandLine::kWindowed, played.display);
  EXPECT_EQ(level, played.levelFile);
}

TEST(AltEnter, AsksForOneSwitchPerPressOfEnterWhileAltIsHeld)
{
  // a/A left Alt down/up, g right Alt down, d/u Enter down/up, f the focus lost.
  const std::map<char, std::pair<unsigned int, uintptr_t>> keys = {
      {'a', {VN_MSG_KEYDOWN, VN_KEY_LMENU}}, {'A', {VN_MSG_KEYUP, VN_KEY_LMENU}},
      {'g', {VN_MSG_KEYDOWN, VN_KEY_RMENU}}, {'d', {VN_MSG_KEYDOWN, VN_KEY_RETURN}},
      {'u', {VN_MSG_KEYUP, VN_KEY_RETURN}},  {'f', {VN_MSG_ACTIVATE, VN_WA_INACTIVE}}};
  // Enter repeats while held; Alt may be let go while another window has the focus.
  for (const auto& [steps, expected] :
       {std::pair{"adu", 1}, {"gdddu", 1}, {"aduduA", 2}, {"dau", 0}, {"aAdu", 0}, {"afdu", 0}})
  {
    int switches = 0;
    for (const char* step = steps; *step; ++step)
    {
      GameWindowProc(nullptr, keys.at(*step).first, keys.at(*step).second, 0);
      switches += gFullScreenToggleRequested;
      gFullScreenToggleRequested = false;
    }
    EXPECT_EQ(expected, switches) << steps;
    GameWindowProc(nullptr, VN_MSG_ACTIVATE, VN_WA_ACTIVE, 0);
  }
}

using EscapeScreenTest = FloorTest;

TEST_F(EscapeScreenTest, AnEscapeKeepsTheBestTimeAndNextLeadsToTheFollowingFloorOnly)
{
  ScratchFolder home;
  SaveData* data = SaveData::Instance();
  StdoutOf([&] { data->Load(home.File("settings.ini"), home.File("progress.ini")); });
  const std::vector<std::string> floor = {"#####", "#P.X#", "#####"};
  LevelManager::Instance()->AddLevel(new FloorProbe(WriteFloor("Level5", floor)));
  Enter("Level4", floor);
  // Play's last half-second frame already plays; two more seconds, then a step onto the exit.
  auto escape = [this]
  {
    Play();
    RunFrame(1.0f);
    RunFrame(0.5f);
    level->players[0]->position = level->exits[0];
    RunFrame(0.5f);
    ASSERT_EQ(TestLevel::kEscaped, level->playState);
    RunFrame(0.1f);
  };
  escape();
  EXPECT_NEAR(2.5f, data->progress.bestTimes["Level4"], 1e-4f) << "loading is not play";
  EXPECT_NE(std::string::npos, ReadText(home.File("progress.ini")).find("[Level4]"));
  ASSERT_TRUE(Button("Next") && !Button("Next")->hidden);

  Tap('N');
  ASSERT_NE(nullptr, LevelManager::Instance()->current);
  ASSERT_EQ("Level5", LevelManager::Instance()->current->name);
  level = static_cast<FloorProbe*>(LevelManager::Instance()->current);
  escape();
  EXPECT_TRUE(Button("Next")->hidden) << "the last floor has no next one";
  Tap('N');
  EXPECT_EQ("Level5", LevelManager::Instance()->current->name);
  SaveData::Destroy();
}

} // namespace
