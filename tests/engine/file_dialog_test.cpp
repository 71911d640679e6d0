// The file dialog: the command lines handed to zenity and kdialog, falling back from one
// to the other, cancelling, and the rules applied to every answer (default extension,
// existing files, the overwrite question, the length limit).
#include <SDL.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CapturedOutput.h"
#include "DialogStandIn.h"
#include "TestInput.h"
#include "TestWindow.h"
#include "Vorn.h"

namespace
{

const char kFilters[] = "Supported Files (*.tmx)\0*.tmx\0"
                        " XML files (*.xml)\0*.xml\0"
                        " All Files\0*.*\0";

VNFileDialogRequest Request(int mode, const char* title = "Save File")
{
  VNFileDialogRequest request = {};
  request.mode = mode;
  request.title = title;
  request.filters = kFilters;
  request.defaultExtension = "txt";
  request.fileMustExist = 1;
  request.confirmOverwrite = 1;
  return request;
}

// Runs a dialog; returns the chosen name, or "<cancel>".
std::string Ask(const VNFileDialogRequest& request)
{
  char file[VN_FILE_DIALOG_BUFFER_SIZE];
  memset(file, 'x', sizeof(file));
  const int chosen = VNSysFileDialog(&request, file, sizeof(file));
  if (!chosen)
  {
    EXPECT_EQ('\0', file[0]);
    return "<cancel>";
  }
  return file;
}

class FileDialog : public testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    VNSysFileDialogClearAnswers();
    owner = EngineWindowId();
    ASSERT_FALSE(owner.empty()) << "the tests run on X11 (Xvfb)";
  }
  void TearDown() override { VNSysFileDialogClearAnswers(); }

  std::string owner;
};

} // namespace

TEST_F(FileDialog, ZenityGetsTitleModeFiltersAndOverwriteCheckEachAsOneArgument)
{
  DialogStandIns tools;
  tools.Install("zenity", "/levels/floor.tmx", 0);
  tools.Install("kdialog", "/wrong", 0);

  EXPECT_EQ("/levels/floor.tmx", Ask(Request(VN_FILE_DIALOG_SAVE)));
  const std::vector<std::string> expected = {"--file-selection",
                                             "--title=Save File",
                                             "--modal",
                                             "--attach=" + owner,
                                             "--save",
                                             "--confirm-overwrite",
                                             "--file-filter=Supported Files (*.tmx) | *.tmx",
                                             "--file-filter=XML files (*.xml) | *.xml",
                                             "--file-filter=All Files | *"};
  EXPECT_EQ(expected, tools.Arguments("zenity"));
  EXPECT_FALSE(tools.Ran("kdialog"));

  // Opening asks for neither saving nor overwriting. Text that a shell would act on
  // reaches the tool unchanged and does nothing.
  const std::string marker = tools.folder.File("ran");
  const std::string title = "Open $(touch " + marker + ") `touch " + marker + "`; 'x\" *";
  const std::string existing = tools.folder.File("floor.tmx");
  WriteText(existing, "old");
  tools.Install("zenity", existing, 0);
  EXPECT_EQ(existing, Ask(Request(VN_FILE_DIALOG_OPEN, title.c_str())));
  const std::vector<std::string> args = tools.Arguments("zenity");
  ASSERT_EQ(7u, args.size());
  EXPECT_EQ("--title=" + title, args[1]);
  EXPECT_EQ("--file-filter=Supported Files (*.tmx) | *.tmx", args[4]);
  EXPECT_FALSE(std::filesystem::exists(marker));
  EXPECT_EQ(title, VNSysFileDialogGetLastTitle());
}

TEST_F(FileDialog, ZenityCancelIsFinalAndAFailingZenityFallsBackToKdialog)
{
  DialogStandIns tools;
  tools.Install("zenity", "", 1);
  tools.Install("kdialog", "/levels/k.tmx", 0);
  EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_SAVE)));
  EXPECT_FALSE(tools.Ran("kdialog"));

  tools.Install("zenity", "", 255);
  EXPECT_EQ("/levels/k.tmx", Ask(Request(VN_FILE_DIALOG_SAVE)));
  const std::vector<std::string> expected = {
      "--title",
      "Save File",
      "--attach",
      owner,
      "--getsavefilename",
      ".",
      "*.tmx|Supported Files (*.tmx)\n*.xml|XML files (*.xml)\n*|All Files"};
  EXPECT_EQ(expected, tools.Arguments("kdialog"));

  // Only the first line of the answer counts; an empty answer is no choice.
  tools.Install("zenity", "", 0);
  EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_SAVE)));
}

TEST_F(FileDialog, AGameWindowKeptOnTopIsOnTopAgainAfterTheDialog)
{
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  SDL_SetWindowAlwaysOnTop(window, SDL_TRUE);
  ASSERT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_ALWAYS_ON_TOP);
  DialogStandIns tools;
  tools.Install("zenity", "", 1);
  Ask(Request(VN_FILE_DIALOG_SAVE));
  EXPECT_TRUE(tools.Ran("zenity"));
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_ALWAYS_ON_TOP);
  SDL_SetWindowAlwaysOnTop(window, SDL_FALSE);
}

TEST_F(FileDialog, WithNoToolOnPathTheDialogIsACancelWithALine)
{
  DialogStandIns tools; // an empty folder is the whole PATH
  const int before = VNSysFileDialogGetCount();
  const std::string output =
      StdoutOf([] { EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_OPEN, "Open File"))); });
  EXPECT_EQ(before + 1, VNSysFileDialogGetCount());
  EXPECT_NE(std::string::npos, output.find("neither zenity nor kdialog")) << output;
}

TEST_F(FileDialog, DefaultExtensionIsAddedOnlyToNamesWithoutOne)
{
  const ScratchFolder folder;
  const struct
  {
    const char* answer;
    std::string chosen;
  } cases[] = {
      {"level", "level.txt"},
      {"/a.dir/level", "/a.dir/level.txt"},
      {"level.tmx", "level.tmx"},
      {"/a/.hidden", "/a/.hidden.txt"},
  };
  for (const auto& item : cases)
  {
    VNSysFileDialogQueueAnswer(item.answer);
    EXPECT_EQ(item.chosen, Ask(Request(VN_FILE_DIALOG_SAVE))) << item.answer;
  }

  // Opening keeps a name that exists as it is and completes one that only exists with
  // the extension.
  WriteText(folder.File("plain"), "old");
  WriteText(folder.File("map.txt"), "old");
  VNSysFileDialogQueueAnswer(folder.File("plain").c_str());
  EXPECT_EQ(folder.File("plain"), Ask(Request(VN_FILE_DIALOG_OPEN)));
  VNSysFileDialogQueueAnswer(folder.File("map").c_str());
  EXPECT_EQ(folder.File("map.txt"), Ask(Request(VN_FILE_DIALOG_OPEN)));
}

TEST_F(FileDialog, OpeningRefusesMissingFilesAndNamesLongerThan259Characters)
{
  const std::string missing = ScratchFolder().File("missing.tmx");
  VNSysFileDialogQueueAnswer(missing.c_str());
  std::string output = StdoutOf([] { EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_OPEN))); });
  EXPECT_NE(std::string::npos, output.find("missing.tmx does not exist")) << output;

  // Without the rule a missing name is handed back for the caller to deal with.
  VNFileDialogRequest lenient = Request(VN_FILE_DIALOG_OPEN);
  lenient.fileMustExist = 0;
  VNSysFileDialogQueueAnswer(missing.c_str());
  EXPECT_EQ(missing, Ask(lenient));

  const std::string longest = "/" + std::string(254, 'n') + ".tmx";
  ASSERT_EQ(259u, longest.size());
  VNSysFileDialogQueueAnswer(longest.c_str());
  EXPECT_EQ(longest, Ask(Request(VN_FILE_DIALOG_SAVE)));
  // One character more is too long, and so is a name the extension makes too long.
  output = StdoutOf(
      [&]
      {
        for (const std::string& name : {"/n" + longest, "/" + std::string(255, 'n')})
        {
          VNSysFileDialogQueueAnswer(name.c_str());
          EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_SAVE))) << name.size();
        }
      });
  EXPECT_NE(std::string::npos, output.find("longer than 259 characters")) << output;

  // A buffer too small for the name is refused rather than cut short.
  VNSysFileDialogQueueAnswer("level.tmx");
  const VNFileDialogRequest request = Request(VN_FILE_DIALOG_SAVE);
  char small[6] = "xxxxx";
  StdoutOf([&] { EXPECT_EQ(0, VNSysFileDialog(&request, small, sizeof(small))); });
  EXPECT_EQ('\0', small[0]);

  VNSysFileDialogQueueAnswer(nullptr);
  EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_OPEN)));
}

TEST_F(FileDialog, AnExistingFileReachedThroughTheDefaultExtensionIsReplacedOnlyWhenConfirmed)
{
  const ScratchFolder folder;
  const std::string keep = folder.File("keep");
  WriteText(keep + ".txt", "old");

  VNSysFileDialogQueueAnswer(keep.c_str());
  VNSysFileDialogQueueAnswer(nullptr); // "Replace?" answered no
  const int before = VNSysFileDialogGetCount();
  EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_SAVE)));
  EXPECT_EQ(before + 2, VNSysFileDialogGetCount());

  VNSysFileDialogQueueAnswer(keep.c_str());
  VNSysFileDialogQueueAnswer("yes");
  EXPECT_EQ(keep + ".txt", Ask(Request(VN_FILE_DIALOG_SAVE)));

  // The real question goes to the tool as a question about that file.
  DialogStandIns tools;
  tools.Install("zenity", "", 1);
  VNSysFileDialogQueueAnswer(keep.c_str());
  EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_SAVE)));
  const std::vector<std::string> args = tools.Arguments("zenity");
  ASSERT_EQ(5u, args.size());
  EXPECT_EQ("--question", args[0]);
  EXPECT_EQ("--attach=" + owner, args[3]);
  EXPECT_EQ("--text=" + keep + ".txt already exists.\nDo you want to replace it?", args[4]);

  // A name the chooser returned itself was already confirmed there.
  VNSysFileDialogQueueAnswer((keep + ".txt").c_str());
  EXPECT_EQ(keep + ".txt", Ask(Request(VN_FILE_DIALOG_SAVE)));
}

TEST_F(FileDialog, KeysAndButtonsHeldWhenTheDialogOpenedReadAsReleasedAfterIt)
{
  InjectKey(VN_KEY_SPACE, true);
  InjectMouseButton(VN_KEY_LBUTTON, true);
  DispatchAndSample();
  ASSERT_TRUE(VNInputCheckCurr(VN_KEY_LBUTTON));

  VNSysFileDialogQueueAnswer(nullptr);
  Ask(Request(VN_FILE_DIALOG_OPEN));
  DispatchAndSample();
  EXPECT_FALSE(VNInputCheckCurr(VN_KEY_LBUTTON));
  EXPECT_FALSE(VNInputCheckCurr(VN_KEY_SPACE));
  EXPECT_TRUE(VNInputCheckReleased(VN_KEY_LBUTTON));
}

TEST_F(FileDialog, TheWindowMovesToTheTopLeftCornerKeepingItsSize)
{
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  ASSERT_NE(nullptr, window);
  auto placement = [window]
  {
    std::vector<int> at(4, -1);
    SDL_GetWindowPosition(window, &at[0], &at[1]);
    SDL_GetWindowSize(window, &at[2], &at[3]);
    return at;
  };
  SDL_SetWindowPosition(window, 120, 80);
  SettleWindowEvents();
  std::vector<int> before = placement();
  ASSERT_EQ(120, before[0]);
  ASSERT_EQ(80, before[1]);

  VNSysMoveWindowToTopLeft();
  SettleWindowEvents();
  before[0] = before[1] = 0;
  EXPECT_EQ(before, placement());
}
