#include "Framework/Application.h"
#include "Vorn.h"

#include <filesystem>

int main()
{
  // Run from anywhere: the game reads everything relative to the folder it ships in.
  if (!std::filesystem::exists("Assets/Assets.tsm"))
    VNSysChangeToProgramFolder();

  Application* application = new Application();
  const std::string title = "Kestrin";
  const bool started = application->Init(nullptr, 1, title);
  application->Run();
  application->Destroy();
  delete application;
  return started ? 0 : 1;
}
