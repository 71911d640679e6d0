// The file dialog: the child-process path through stand-in zenity and kdialog scripts
// (a real zenity under Xvfb without D-Bus hangs), and the rules applied to every answer.
#include "CapturedOutput.h"
#include "ScratchFolder.h"
#include "TestInput.h"
#include "TestWindow.h"
#include "Vorn.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{

// Shell scripts named zenity or kdialog, alone on PATH while the object lives. Each
// records its arguments, prints a fixed answer and exits with a fixed status.
class StandIns
{
public:
  StandIns() : savedPath(getenv("PATH")) { setenv("PATH", folder.path.c_str(), 1); }
  ~StandIns() { setenv("PATH", savedPath.c_str(), 1); }

  void Install(const std::string& tool, const std::string& answer, int status)
  {
    const std::string script = folder.File(tool);
    WriteText(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" +
                          folder.File(tool + ".args") + "'\n" +
                          (answer.empty() ? "" : "printf '%s\\n' '" + answer + "'\n") + "exit " +
                          std::to_string(status) + "\n");
    chmod(script.c_str(), 0755);
  }

  // The arguments of the tool's last run; empty if it never ran.
  std::vector<std::string> Arguments(const std::string& tool) const
  {
    std::vector<std::string> args;
    const std::string record = ReadText(folder.File(tool + ".args"));
    for (size_t start = 0, end; (end = record.find('\0', start)) != std::string::npos;
         start = end + 1)
      args.push_back(record.substr(start, end - start));
    return args;
  }

  ScratchFolder folder;

private:
  std::string savedPath;
};

VNFileDialogRequest Request(int mode, const char* title = "Save File")
{
  static const char kFilters[] = "Supported Files (*.tmx)\0*.tmx\0"
                                 " All Files\0*.*\0";
  return VNFileDialogRequest{mode, title, kFilters, "txt", 1, 1};
}

// Runs a dialog; the chosen name, or "<cancel>" (with the buffer left empty).
std::string Ask(const VNFileDialogRequest& request)
{
  char file[VN_FILE_DIALOG_BUFFER_SIZE];
  memset(file, 'x', sizeof(file));
  if (VNSysFileDialog(&request, file, sizeof(file)))
    return file;
  return file[0] == '\0' ? "<cancel>" : "<cancel, but the buffer holds text>";
}

class FileDialog : public testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    VNSysFileDialogClearAnswers();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(static_cast<SDL_Window*>(VNSysGetWindowHandle()), &info));
    ASSERT_EQ(SDL_SYSWM_X11, info.subsystem) << "the tests run on X11 (Xvfb)";
    owner = std::to_string(static_cast<unsigned long>(info.info.x11.window));
  }
  void TearDown() override { VNSysFileDialogClearAnswers(); }

  std::string owner; // the window id the tools attach to
};

TEST_F(FileDialog, ZenityGetsEachPartAsOneArgumentAndShellTextStaysText)
{
  StandIns tools;
  tools.Install("zenity", "/levels/floor.tmx", 0);
  tools.Install("kdialog", "/wrong", 0);
  EXPECT_EQ("/levels/floor.tmx", Ask(Request(VN_FILE_DIALOG_SAVE)));
  EXPECT_EQ((std::vector<std::string>{"--file-selection", "--title=Save File", "--modal",
                                      "--attach=" + owner, "--save", "--confirm-overwrite",
                                      "--file-filter=Supported Files (*.tmx) | *.tmx",
                                      "--file-filter=All Files | *"}),
            tools.Arguments("zenity"));
  EXPECT_TRUE(tools.Arguments("kdialog").empty());

  // Opening asks for neither saving nor overwriting; a title a shell would act on does
  // nothing.
  const std::string marker = tools.folder.File("ran");
  const std::string title = "Open $(touch " + marker + ") `touch " + marker + "`; 'x\" *";
  const std::string existing = tools.folder.File("floor.tmx");
  WriteText(existing, "old");
  tools.Install("zenity", existing, 0);
  EXPECT_EQ(existing, Ask(Request(VN_FILE_DIALOG_OPEN, title.c_str())));
  EXPECT_EQ(6u, tools.Arguments("zenity").size());
  EXPECT_EQ("--title=" + title, tools.Arguments("zenity")[1]);
  EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(FileDialog, ACancelIsFinalAFailingZenityFallsBackToKdialogAndNoToolIsACancel)
{
  StandIns tools;
  tools.Install("zenity", "", 1);
  tools.Install("kdialog", "/levels/k.tmx", 0);
  EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_SAVE)));
  EXPECT_TRUE(tools.Arguments("kdialog").empty());

  tools.Install("zenity", "", 255);
  EXPECT_EQ("/levels/k.tmx", Ask(Request(VN_FILE_DIALOG_SAVE)));
  EXPECT_EQ(
      (std::vector<std::string>{"--title", "Save File", "--attach", owner, "--getsavefilename", ".",
                                "*.tmx|Supported Files (*.tmx)\n*|All Files"}),
      tools.Arguments("kdialog"));

  std::filesystem::remove(tools.folder.File("zenity"));
  std::filesystem::remove(tools.folder.File("kdialog"));
  const std::string out =
      StdoutOf([] { EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_OPEN))); });
  EXPECT_NE(std::string::npos, out.find("neither zenity nor kdialog")) << out;
}

TEST_F(FileDialog, EveryAnswerGetsTheDefaultExtensionTheExistenceRuleAndTheLengthLimit)
{
  const ScratchFolder folder;
  const struct
  {
    int mode;
    std::string answer, chosen;
  } cases[] = {
      {VN_FILE_DIALOG_SAVE, "level", "level.txt"},
      {VN_FILE_DIALOG_SAVE, "/a.dir/level", "/a.dir/level.txt"},
      {VN_FILE_DIALOG_SAVE, "/a/.hidden", "/a/.hidden.txt"},
      {VN_FILE_DIALOG_SAVE, "level.tmx", "level.tmx"},
      {VN_FILE_DIALOG_OPEN, folder.File("plain"), folder.File("plain")},
      {VN_FILE_DIALOG_OPEN, folder.File("map"), folder.File("map.txt")},
      {VN_FILE_DIALOG_OPEN, folder.File("missing.tmx"), "<cancel>"},
      {VN_FILE_DIALOG_SAVE, "/" + std::string(254, 'n') + ".tmx",
       "/" + std::string(254, 'n') + ".tmx"},
      {VN_FILE_DIALOG_SAVE, "/n/" + std::string(253, 'n') + ".tmx", "<cancel>"},
      {VN_FILE_DIALOG_SAVE, "/" + std::string(255, 'n'), "<cancel>"}, // too long with ".txt"
  };
  WriteText(folder.File("plain"), "old");
  WriteText(folder.File("map.txt"), "old");
  for (const auto& c : cases)
  {
    VNSysFileDialogQueueAnswer(c.answer.c_str());
    StdoutOf([&] { EXPECT_EQ(c.chosen, Ask(Request(c.mode))) << c.answer.size(); });
  }

  // A buffer too small for the name is refused rather than cut short.
  VNSysFileDialogQueueAnswer("level.tmx");
  const VNFileDialogRequest request = Request(VN_FILE_DIALOG_SAVE);
  char small[6] = "xxxxx";
  StdoutOf([&] { EXPECT_EQ(0, VNSysFileDialog(&request, small, sizeof(small))); });
  EXPECT_EQ('\0', small[0]);

  // An existing file reached only through the extension is replaced only when confirmed.
  const std::string keep = folder.File("map");
  VNSysFileDialogQueueAnswer(keep.c_str());
  VNSysFileDialogQueueAnswer(nullptr);
  EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_SAVE)));
  VNSysFileDialogQueueAnswer(keep.c_str());
  VNSysFileDialogQueueAnswer("yes");
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
  EXPECT_TRUE(VNInputCheckReleased(VN_KEY_LBUTTON));
  EXPECT_TRUE(VNInputCheckReleased(VN_KEY_SPACE));
}

} // namespace
