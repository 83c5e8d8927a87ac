// The program's entry and its one application object. The object lives in this file,
// which only the program links, so that the tests can make application objects of
// their own from the same library.
#include "app/Main.h"

// Constructed after the libraries' static objects (the framework's, the toolkit's
// global data, the shell interface ids): the program's own object file initialises last.
Main theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
