// The class and interface ids of the browser control and its documents that the
// platform publishes as text, turned into their binary form once, when the program
// starts. A text that does not convert shows a stop box naming the conversion's answer;
// its id then stays all zeros and matches nothing.
#pragma once

#include <windows.h>

namespace BrowserIds {

extern CLSID WebBrowser;           // the WebBrowser control
extern IID DocHostUIHandler;       // the host's user-interface handler
extern IID HTMLDocument2;          // a page's document
extern GUID DocHostCommandGroup;   // the command group of the host's document commands

// Converts "{...}" text into *id; a class id through CLSIDFromString, any other id through
// IIDFromString. On failure shows "CLSIDFromString %ld" or "IIDFromString %ld" (with the
// same title) and answers false.
bool Convert(const wchar_t* text, bool isClassId, GUID* id);

} // namespace BrowserIds
