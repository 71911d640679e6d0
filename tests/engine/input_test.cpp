// What the player hands the game: keys, mouse and pad as a frame sees them, and file
// names through the file dialog, run through stand-in zenity and kdialog scripts (a real
// zenity under Xvfb without D-Bus hangs).
#include "CapturedOutput.h"
#include "ScratchFolder.h"
#include "TestInput.h"
#include "TestWindow.h"

#include "Vorn.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <gtest/gtest.h>
#include <string.h>

#include <array>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using Ints = std::array<int, 4>;

// The cursor position and its movement over the last frame.
Ints Cursor()
{
  Ints c;
  VNInputGetCursorPosition(&c[0], &c[1]);
  VNInputGetCursorPositionDelta(&c[2], &c[3]);
  return c;
}

// Current, previous, triggered and released, as a string such as "CP--".
std::string Sample(uint8_t key)
{
  return std::string() + (VNInputCheckCurr(key) ? 'C' : '-') + (VNInputCheckPrev(key) ? 'P' : '-') +
         (VNInputCheckTriggered(key) ? 'T' : '-') + (VNInputCheckReleased(key) ? 'R' : '-');
}

class Input : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    SettleWindowEvents();
    VNInputReset();
    VNSysFileDialogClearAnswers();
  }
  void TearDown() override { DetachVirtualPad(); }
};

TEST_F(Input, KeysAndButtonsArriveUnderTheirVirtualKeyCodesForOneFrameEach)
{
  // An SDL key of 0 stands for the mouse button of that virtual-key code.
  const struct
  {
    SDL_Keycode sdl;
    uint8_t vk;
  } keys[] = {{SDLK_ESCAPE, 0x1B}, {SDLK_SPACE, 0x20}, {SDLK_TAB, 0x09},  {SDLK_RETURN, 0x0D},
              {SDLK_F1, 0x70},     {SDLK_F8, 0x77},    {SDLK_LEFT, 0x25}, {SDLK_a, 'A'},
              {SDLK_z, 'Z'},       {SDLK_0, '0'},      {SDLK_9, '9'},     {SDLK_LSHIFT, 0xA0},
              {SDLK_RSHIFT, 0xA1}, {0, 0x01},          {0, 0x02},         {0, 0x04}};
  for (const auto& key : keys)
  {
    // Two frames after the press, two after the release.
    std::string seen;
    for (bool down : {true, false})
    {
      key.sdl ? InjectSDLKey(key.sdl, down) : InjectMouseButton(key.vk, down);
      for (int frame = 0; frame < 2; ++frame, seen += ' ')
      {
        DispatchAndSample();
        seen += Sample(key.vk);
      }
    }
    EXPECT_EQ("C-T- CP-- -P-R ---- ", seen) << int(key.vk);
  }
}

TEST_F(Input, CursorMovesInLogicalPixelsAndOnlyWhereItEndsUpCounts)
{
  InjectMouseMove(100, 50);
  DispatchAndSample();
  EXPECT_EQ((Ints{100, 50, 100, 50}), Cursor()) << "a reset puts the cursor at (0, 0)";
  InjectMouseMove(90, 80);
  InjectMouseMove(110, 45);
  DispatchAndSample();
  EXPECT_EQ((Ints{110, 45, 10, -5}), Cursor());

  // Full screen on a 1920 x 1080 screen: screen pixels over 1.5, truncated.
  VNToogleFullScreen(true);
  SettleWindowEvents();
  InjectMouseMove(1916, 1076);
  DispatchAndSample();
  InjectMouseMove(1919, 1079);
  DispatchAndSample();
  const Ints fullScreen = Cursor();
  VNToogleFullScreen(false);
  SettleWindowEvents();
  EXPECT_EQ((Ints{1279, 719, 2, 2}), fullScreen);
}

TEST_F(Input, PadPlugsInAndOutWhileRunningAndReadsAsARecord)
{
  VNGamepadState state;
  EXPECT_EQ(0, VNGamepadGetState(0, &state));
  ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();

  // Sticks are signed with y up; triggers run from 0 to 255.
  const short axes[] = {12000, -32768, -32768, 32767, 32767, 0};
  for (int axis = 0; axis < 6; ++axis)
    SetVirtualPadStick(axis, axes[axis]);
  VNSysUpdate();
  EXPECT_EQ(1, VNGamepadGetState(0, &state));
  EXPECT_EQ((std::array<int, 6>{12000, 32767, -32768, -32767, 255, 127}),
            (std::array<int, 6>{state.thumbLX, state.thumbLY, state.thumbRX, state.thumbRY,
                                state.leftTrigger, state.rightTrigger}));

  for (unsigned short mask = 1; mask; mask <<= 1)
  {
    if (mask & 0x0C00)
      continue; // no buttons have these bits
    SetVirtualPadButton(mask, true);
    VNSysUpdate();
    VNGamepadGetState(0, &state);
    EXPECT_EQ(mask, state.buttons);
    SetVirtualPadButton(mask, false);
  }

  SetVirtualPadButton(VN_PAD_START, true);
  DetachVirtualPad();
  EXPECT_EQ(0, VNGamepadGetState(0, &state));
  EXPECT_EQ(0, state.buttons + state.thumbLX + state.leftTrigger) << "an unplugged pad reads zero";
  ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
  EXPECT_EQ(1, VNGamepadGetState(0, &state)) << "plugged in again";
}

// The engine window's X11 id in decimal, as the tools receive it to attach to.
std::string EngineWindowId()
{
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  const bool x11 = SDL_GetWindowWMInfo(static_cast<SDL_Window*>(VNSysGetWindowHandle()), &info) &&
                   info.subsystem == SDL_SYSWM_X11;
  return x11 ? std::to_string(static_cast<unsigned long>(info.info.x11.window)) : "";
}

// Stand-in dialog tools: shell scripts named zenity or kdialog, alone on PATH, that record
// their arguments (each ended by a zero byte), print a fixed answer and exit with a fixed
// status, so the real child-process path runs without a desktop.
struct DialogStandIns
{
  DialogStandIns() : savedPath(getenv("PATH")) { setenv("PATH", folder.path.c_str(), 1); }
  ~DialogStandIns() { setenv("PATH", savedPath.c_str(), 1); }

  // Installs a tool that prints answer (nothing when empty) and exits with status.
  void Install(const std::string& tool, const std::string& answer, int status)
  {
    const std::string script = folder.File(tool);
    WriteText(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" + script +
                          ".args'\n" + (answer.empty() ? "" : "printf '%s\\n' '" + answer + "'\n") +
                          "exit " + std::to_string(status) + "\n");
    chmod(script.c_str(), 0755);
  }

  // The arguments of the tool's last run (program name excluded); empty if it never ran.
  std::vector<std::string> Arguments(const std::string& tool) const
  {
    std::vector<std::string> args;
    std::istringstream record(ReadText(folder.File(tool + ".args")));
    for (std::string arg; std::getline(record, arg, '\0');)
      args.push_back(arg);
    return args;
  }

  ScratchFolder folder;
  const std::string savedPath;
};

VNFileDialogRequest Request(int mode, const char* title = "Save File")
{
  static const char kFilters[] = "Supported Files (*.tmx)\0*.tmx\0 All Files\0*.*\0";
  return VNFileDialogRequest{mode, title, kFilters, "txt", 1, 1};
}

// Runs a dialog; the chosen name, or "<cancel>" (with the buffer left empty).
std::string Ask(const VNFileDialogRequest& request)
{
  char file[2 * VN_FILE_DIALOG_BUFFER_SIZE]; // roomy, so only the name limit refuses
  memset(file, 'x', sizeof(file));
  if (VNSysFileDialog(&request, file, sizeof(file)))
    return file;
  return file[0] == '\0' ? "<cancel>" : "<cancel, but the buffer holds text>";
}

TEST_F(Input, FileDialogsRunZenityThenKdialogWithEachPartAsOneArgument)
{
  DialogStandIns tools;
  tools.Install("zenity", "/levels/floor.tmx", 0);
  tools.Install("kdialog", "/levels/k.tmx", 0);
  EXPECT_EQ("/levels/floor.tmx", Ask(Request(VN_FILE_DIALOG_SAVE)));
  EXPECT_EQ((std::vector<std::string>{
                "--file-selection", "--title=Save File", "--modal", "--attach=" + EngineWindowId(),
                "--save", "--confirm-overwrite", "--file-filter=Supported Files (*.tmx) | *.tmx",
                "--file-filter=All Files | *"}),
            tools.Arguments("zenity"));

  // Cancelling in zenity is final; only a zenity that cannot run hands over to kdialog.
  tools.Install("zenity", "", 1);
  EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_SAVE)));
  EXPECT_TRUE(tools.Arguments("kdialog").empty());
  tools.Install("zenity", "", 255);
  EXPECT_EQ("/levels/k.tmx", Ask(Request(VN_FILE_DIALOG_SAVE)));
  EXPECT_EQ("*.tmx|Supported Files (*.tmx)\n*|All Files", tools.Arguments("kdialog").back());

  // A title a shell would act on reaches the tool as it is and does nothing.
  const std::string marker = tools.folder.File("ran");
  const std::string title = "Open $(touch " + marker + ") `touch " + marker + "`; 'x\" *";
  tools.Install("zenity", "", 1);
  Ask(Request(VN_FILE_DIALOG_OPEN, title.c_str()));
  EXPECT_EQ("--title=" + title, tools.Arguments("zenity").at(1));
  EXPECT_FALSE(std::filesystem::exists(marker));

  std::filesystem::remove(tools.folder.File("zenity"));
  std::filesystem::remove(tools.folder.File("kdialog"));
  const std::string out =
      StdoutOf([] { EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_OPEN))); });
  EXPECT_NE(std::string::npos, out.find("neither zenity nor kdialog")) << out;
}

TEST_F(Input, FileDialogAnswersGetTheDefaultExtensionTheExistenceRuleAndTheLengthLimit)
{
  // Keys and buttons held when a dialog opens read as released after it.
  InjectKey(VN_KEY_SPACE, true);
  InjectMouseButton(VN_KEY_LBUTTON, true);
  DispatchAndSample();
  VNSysFileDialogQueueAnswer(nullptr);
  Ask(Request(VN_FILE_DIALOG_OPEN));
  DispatchAndSample();
  EXPECT_EQ("-P-R", Sample(VN_KEY_LBUTTON));
  EXPECT_EQ("-P-R", Sample(VN_KEY_SPACE));

  const ScratchFolder folder;
  WriteText(folder.File("plain"), "old");
  WriteText(folder.File("map.txt"), "old");
  const std::string longest = "/" + std::string(254, 'n') + ".tmx";
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
      {VN_FILE_DIALOG_SAVE, longest, longest}, // 259 characters
      {VN_FILE_DIALOG_SAVE, "/n" + longest.substr(1), "<cancel>"},
      {VN_FILE_DIALOG_SAVE, "/" + std::string(255, 'n'), "<cancel>"}, // too long with ".txt"
  };
  for (const auto& c : cases)
  {
    VNSysFileDialogQueueAnswer(c.answer.c_str());
    StdoutOf([&] { EXPECT_EQ(c.chosen, Ask(Request(c.mode))) << c.answer.size(); });
  }

  // An existing file reached only through the extension is replaced only when confirmed.
  const std::string map = folder.File("map");
  VNSysFileDialogQueueAnswer(map.c_str());
  VNSysFileDialogQueueAnswer(nullptr);
  EXPECT_EQ("<cancel>", Ask(Request(VN_FILE_DIALOG_SAVE)));
  VNSysFileDialogQueueAnswer(map.c_str());
  VNSysFileDialogQueueAnswer("yes");
  EXPECT_EQ(map + ".txt", Ask(Request(VN_FILE_DIALOG_SAVE)));
}

} // namespace
