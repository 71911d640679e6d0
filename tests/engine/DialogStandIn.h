// Stand-in dialog tools for tests: shell scripts named zenity or kdialog in a folder of
// their own, put alone on PATH. Each records its arguments, prints a fixed answer and
// exits with a fixed status, so the real child-process path runs without a desktop.
#pragma once

#include <SDL.h>
#include <SDL_syswm.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

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
    char pattern[] = "/tmp/kestrindialogXXXXXX";
    folder = mkdtemp(pattern) ? pattern : "/tmp";
    const char* path = getenv("PATH");
    savedPath = path ? path : "";
    setenv("PATH", folder.c_str(), 1);
  }
  ~DialogStandIns() { setenv("PATH", savedPath.c_str(), 1); }

  DialogStandIns(const DialogStandIns&) = delete;
  DialogStandIns& operator=(const DialogStandIns&) = delete;

  // Installs a tool that prints answer (nothing when empty) and exits with status.
  void Install(const std::string& tool, const std::string& answer, int status)
  {
    const std::string script = folder + "/" + tool;
    std::ofstream out(script);
    out << "#!/bin/sh\n"
        << "n=0\n"
        << "for a in \"$@\"; do n=$((n+1)); printf '%s' \"$a\" > '" << folder << "/" << tool
        << ".arg'$n; done\n"
        << "echo $n > '" << folder << "/" << tool << ".count'\n";
    if (!answer.empty())
      out << "printf '%s\\n' '" << answer << "'\n";
    out << "exit " << status << "\n";
    out.close();
    chmod(script.c_str(), 0755);
  }

  // The arguments of the tool's last run (program name excluded); empty if it never ran.
  std::vector<std::string> Arguments(const std::string& tool) const
  {
    std::vector<std::string> args;
    std::ifstream countFile(folder + "/" + tool + ".count");
    int count = 0;
    if (!(countFile >> count))
      return args;
    for (int i = 1; i <= count; ++i)
    {
      std::ifstream arg(folder + "/" + tool + ".arg" + std::to_string(i));
      args.emplace_back(std::istreambuf_iterator<char>(arg), std::istreambuf_iterator<char>());
    }
    return args;
  }

  bool Ran(const std::string& tool) const
  {
    return std::ifstream(folder + "/" + tool + ".count").good();
  }

  std::string folder;

private:
  std::string savedPath;
};
