// Stand-in dialog tools for tests: shell scripts named zenity or kdialog in a folder of
// their own, put alone on PATH. Each records its arguments, prints a fixed answer and
// exits with a fixed status, so the real child-process path runs without a desktop.
#pragma once

#include <SDL.h>
#include <SDL_syswm.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "Vorn.h"

// The engine window's X11 id in decimal, as the tools receive it to attach to.
inline std::string EngineWindowId()
{
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return "";
  return std::to_string(static_cast<unsigned long>(info.info.x11.window));
}

class DialogStandIns
{
public:
  DialogStandIns()
  {
    const char* path = getenv("PATH");
    savedPath = path ? path : "";
    setenv("PATH", folder.path.c_str(), 1);
  }
  ~DialogStandIns() { setenv("PATH", savedPath.c_str(), 1); }

  DialogStandIns(const DialogStandIns&) = delete;
  DialogStandIns& operator=(const DialogStandIns&) = delete;

  // Installs a tool that prints answer (nothing when empty) and exits with status.
  void Install(const std::string& tool, const std::string& answer, int status)
  {
    const std::string script = folder.File(tool);
    WriteText(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" +
                          Record(tool) + "'\n" +
                          (answer.empty() ? "" : "printf '%s\\n' '" + answer + "'\n") + "exit " +
                          std::to_string(status) + "\n");
    chmod(script.c_str(), 0755);
  }

  // The arguments of the tool's last run (program name excluded); empty if it never ran.
  std::vector<std::string> Arguments(const std::string& tool) const
  {
    std::vector<std::string> args;
    const std::string record = ReadText(Record(tool));
    for (size_t start = 0, end; (end = record.find('\0', start)) != std::string::npos;
         start = end + 1)
      args.push_back(record.substr(start, end - start));
    return args;
  }

  ScratchFolder folder;

private:
  // Where a tool writes its arguments, each ended by a zero byte.
  std::string Record(const std::string& tool) const { return folder.File(tool + ".args"); }

  std::string savedPath;
};
