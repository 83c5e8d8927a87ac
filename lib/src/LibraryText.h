// The library's table of built-in texts (ids 0 to 449): button names, month and
// day names, menu and form captions. A missing id gives "[ %8lu ]" with the id,
// in one of four buffers that rotate per thread, unless missing texts are to come
// back as null.
#pragma once

// Asked before the table; a null answer falls through to it.
using LibraryTextHook = const char* (*)(unsigned id);

const char* LibraryText(unsigned id);

// Each returns the setting it replaces.
LibraryTextHook SetLibraryTextHook(LibraryTextHook hook);
int SetLibraryTextMissingNull(int isNull);
