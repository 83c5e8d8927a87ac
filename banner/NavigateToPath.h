// Shows a local page in a browser window, the way every browser of the banner is told
// what to show: the path as the URL in a text variant, nothing else given.
#pragma once

class CWebBrowser2;

// False when the window hosts no control or the control refused (nothing is thrown).
bool NavigateToPath(CWebBrowser2& browser, const char* path);
