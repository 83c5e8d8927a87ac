// Shows the start-up test application's frame (menu, command bar, view, status bar)
// on a real display for a look, then closes it after the seconds given on the command
// line (default 30). Its settings go below the tests' own key and are removed at the end.
#include "../start_up_app.h"
#include "../test_stores.h"

#include <cstdlib>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    int seconds = commandLine && *commandLine ? std::atoi(commandLine) : 30;
    int exitCode = 0;
    {
        app_test::StartUpApp app;
        app.m_closeAfterMs = static_cast<UINT>(seconds > 0 ? seconds : 30) * 1000;
        exitCode = AfxWinMain(instance, previous, commandLine, showCommand);
    }
    app_test::DeleteTestKeys();
    return exitCode;
}
