/*
 * VNFileDialog: file choosers run as child processes. zenity is tried first and kdialog
 * when zenity cannot be started or fails; every piece of text goes to the tool as its own
 * argument, never through a shell. The tool's answer is one line on its standard output;
 * exit status 1 is a cancel. The engine then applies the request's rules itself, so the
 * result is the same whichever tool answered, or a test's queued answer.
 */
#include "Dialog/VNFileDialog.h"

#include "Input/VNInputInternal.h"
#include "System/VNSystem.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <deque>
#include <string>
#include <vector>

extern char** environ;

namespace
{

// More output than any file name; the rest is read and dropped so the tool never blocks.
const size_t kMaxToolOutput = 64 * 1024;

enum ToolResult
{
  kToolChosen,
  kToolCancelled,
  kToolFailed
};

struct ScriptedAnswer
{
  bool chosen;
  std::string fileName;
};

struct DialogState
{
  std::deque<ScriptedAnswer> answers;
  std::string lastTitle;
  int count;
};

DialogState sDialog;

struct Filter
{
  std::string description;
  std::vector<std::string> patterns;
};

std::string Trim(const std::string& text)
{
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos)
    return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<Filter> ParseFilters(const char* list)
{
  std::vector<Filter> filters;
  if (!list)
    return filters;
  while (*list)
  {
    Filter filter;
    filter.description = Trim(list);
    list += strlen(list) + 1;
    std::string patterns = list;
    list += strlen(list) + 1;
    size_t start = 0;
    while (start <= patterns.size())
    {
      size_t end = patterns.find(';', start);
      if (end == std::string::npos)
        end = patterns.size();
      const std::string pattern = Trim(patterns.substr(start, end - start));
      // "*.*" means every file to the request; to a Unix chooser it means names with a dot.
      if (!pattern.empty())
        filter.patterns.push_back(pattern == "*.*" ? "*" : pattern);
      start = end + 1;
    }
    filters.push_back(filter);
  }
  return filters;
}

std::string JoinPatterns(const Filter& filter)
{
  std::string joined;
  for (const std::string& pattern : filter.patterns)
    joined += (joined.empty() ? "" : " ") + pattern;
  return joined;
}

std::string Title(const VNFileDialogRequest* request)
{
  return request->title ? request->title : "";
}

// The X11 id of the game window, in decimal: the tools' owner window, which keeps the
// dialog above the game. Empty without a window or on another video driver.
std::string OwnerWindowId()
{
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  if (!window)
    return "";
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return "";
  return std::to_string(static_cast<unsigned long>(info.info.x11.window));
}

void AddZenityOwner(std::vector<std::string>& args)
{
  const std::string owner = OwnerWindowId();
  if (owner.empty())
    return;
  args.push_back("--modal");
  args.push_back("--attach=" + owner);
}

void AddKdialogOwner(std::vector<std::string>& args)
{
  const std::string owner = OwnerWindowId();
  if (owner.empty())
    return;
  args.push_back("--attach");
  args.push_back(owner);
}

std::vector<std::string> ZenityChooser(const VNFileDialogRequest* request)
{
  std::vector<std::string> args = {"zenity", "--file-selection", "--title=" + Title(request)};
  AddZenityOwner(args);
  if (request->mode == VN_FILE_DIALOG_SAVE)
  {
    args.push_back("--save");
    if (request->confirmOverwrite)
      args.push_back("--confirm-overwrite");
  }
  for (const Filter& filter : ParseFilters(request->filters))
    args.push_back("--file-filter=" + filter.description + " | " + JoinPatterns(filter));
  return args;
}

std::vector<std::string> KdialogChooser(const VNFileDialogRequest* request)
{
  std::string filterText;
  for (const Filter& filter : ParseFilters(request->filters))
  {
    if (!filterText.empty())
      filterText += "\n";
    filterText += JoinPatterns(filter) + "|" + filter.description;
  }
  const char* command =
      request->mode == VN_FILE_DIALOG_SAVE ? "--getsavefilename" : "--getopenfilename";
  std::vector<std::string> args = {"kdialog", "--title", Title(request)};
  AddKdialogOwner(args);
  args.insert(args.end(), {command, ".", filterText});
  return args;
}

std::vector<std::string> ZenityQuestion(const std::string& title, const std::string& text)
{
  std::vector<std::string> args = {"zenity", "--question", "--title=" + title};
  AddZenityOwner(args);
  args.push_back("--text=" + text);
  return args;
}

std::vector<std::string> KdialogQuestion(const std::string& title, const std::string& text)
{
  std::vector<std::string> args = {"kdialog", "--title", title};
  AddKdialogOwner(args);
  args.insert(args.end(), {"--warningyesno", text});
  return args;
}

// Runs one tool with its standard output captured. Failed: it could not be started, or
// ended other than with status 0 (chosen) or 1 (cancelled).
ToolResult RunTool(const std::vector<std::string>& args, std::string& output)
{
  output.clear();
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0)
  {
    printf("VNFileDialog: cannot make a pipe for %s (%s)\n", args[0].c_str(), strerror(errno));
    return kToolFailed;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawnError = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawnError != 0)
  {
    close(pipeFds[0]);
    return kToolFailed;
  }

  char buffer[4096];
  for (;;)
  {
    const ssize_t got = read(pipeFds[0], buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      break;
    if (output.size() < kMaxToolOutput)
      output.append(buffer, static_cast<size_t>(got));
  }
  close(pipeFds[0]);

  int status = 0;
  while (waitpid(child, &status, 0) < 0)
  {
    if (errno != EINTR)
      return kToolFailed;
  }
  if (!WIFEXITED(status))
    return kToolFailed;
  switch (WEXITSTATUS(status))
  {
  case 0: return kToolChosen;
  case 1: return kToolCancelled;
  // 127: the exec itself failed in the child.
  default: return kToolFailed;
  }
}

// Asks zenity, then kdialog when zenity cannot be run. The answer is the first line of
// the tool's output.
ToolResult AskTools(const std::vector<std::string>& zenity, const std::vector<std::string>& kdialog,
                    std::string& answer)
{
  sDialog.count++;
  if (!sDialog.answers.empty())
  {
    const ScriptedAnswer scripted = sDialog.answers.front();
    sDialog.answers.pop_front();
    answer = scripted.fileName;
    return scripted.chosen ? kToolChosen : kToolCancelled;
  }

  // A full-screen game window stays on top of everything; the dialog must show above it.
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  const bool onTop = window && (SDL_GetWindowFlags(window) & SDL_WINDOW_ALWAYS_ON_TOP);
  if (onTop)
    SDL_SetWindowAlwaysOnTop(window, SDL_FALSE);
  std::string output;
  ToolResult result = RunTool(zenity, output);
  if (result == kToolFailed)
    result = RunTool(kdialog, output);
  if (onTop)
    SDL_SetWindowAlwaysOnTop(window, SDL_TRUE);
  if (result == kToolFailed)
    printf("VNFileDialog: neither zenity nor kdialog could show the dialog; taken as a "
           "cancel\n");
  answer = output.substr(0, output.find('\n'));
  return result;
}

bool Exists(const std::string& fileName)
{
  struct stat info;
  return stat(fileName.c_str(), &info) == 0;
}

bool HasExtension(const std::string& fileName)
{
  const size_t slash = fileName.rfind('/');
  const size_t dot = fileName.rfind('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
}

bool ConfirmReplace(const std::string& title, const std::string& fileName)
{
  const std::string text = fileName + " already exists.\nDo you want to replace it?";
  std::string answer;
  return AskTools(ZenityQuestion(title, text), KdialogQuestion(title, text), answer) == kToolChosen;
}

// The dialog's own rules on the name the tool gave back; false refuses it.
bool ApplyRules(const VNFileDialogRequest* request, std::string& fileName)
{
  const bool saving = request->mode == VN_FILE_DIALOG_SAVE;
  const std::string extension = request->defaultExtension ? request->defaultExtension : "";
  bool extended = false;
  if (!extension.empty() && !HasExtension(fileName) && fileName.back() != '/')
  {
    // Opening keeps a name that exists as given.
    if (saving || !Exists(fileName))
    {
      fileName += "." + extension;
      extended = true;
    }
  }

  if (fileName.size() > VN_FILE_DIALOG_MAX_NAME)
  {
    printf("VNFileDialog: the chosen name is longer than %d characters: %.40s...\n",
           VN_FILE_DIALOG_MAX_NAME, fileName.c_str());
    return false;
  }
  if (!saving && request->fileMustExist && !Exists(fileName))
  {
    printf("VNFileDialog: %s does not exist\n", fileName.c_str());
    return false;
  }
  // The chooser asked about the name it returned; one the extension changed is asked here.
  if (saving && request->confirmOverwrite && extended && Exists(fileName))
    return ConfirmReplace(Title(request), fileName);
  return true;
}

void ReleaseInput()
{
  for (int key = 1; key < 256; ++key)
    VNInputSetKeyDown(static_cast<uint8_t>(key), false);
}

} // namespace

int VNSysFileDialog(const VNFileDialogRequest* request, char* file, unsigned int size)
{
  if (!file || size == 0)
    return 0;
  file[0] = '\0';
  if (!request)
    return 0;
  sDialog.lastTitle = Title(request);

  std::string answer;
  const ToolResult result = AskTools(ZenityChooser(request), KdialogChooser(request), answer);
  ReleaseInput();
  if (result != kToolChosen || answer.empty())
    return 0;
  if (!ApplyRules(request, answer))
    return 0;
  if (answer.size() >= size)
  {
    printf("VNFileDialog: the chosen name does not fit a buffer of %u bytes\n", size);
    return 0;
  }
  memcpy(file, answer.c_str(), answer.size() + 1);
  return 1;
}

void VNSysMoveWindowToTopLeft(void)
{
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  if (!window)
    return;
  SDL_SetWindowPosition(window, 0, 0);
  SDL_RaiseWindow(window);
}

void VNSysFileDialogQueueAnswer(const char* fileName)
{
  sDialog.answers.push_back({fileName != nullptr, fileName ? fileName : ""});
}

void VNSysFileDialogClearAnswers(void)
{
  sDialog.answers.clear();
}

int VNSysFileDialogGetCount(void)
{
  return sDialog.count;
}

const char* VNSysFileDialogGetLastTitle(void)
{
  return sDialog.lastTitle.c_str();
}
