#include "Framework/Application.h"

int main(int argc, char** argv)
{
    (void)argc;
    Application::MoveToGameFolder(argv[0]);

    Application* application = new Application();
    const std::string title = "Kestrin";
    application->Init(nullptr, 1, title);
    application->Run();
    if (application)
    {
        application->Destroy();
        delete application;
    }
    return 0;
}
