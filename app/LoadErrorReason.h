// Why an image file could not be read, in the user's words, from the imaging library's
// answer: the second line of the "Error loading file" box.
#pragma once

// A sentence for the library's result; a general one for a result the program has no
// words of its own for.
const char* LoadErrorReason(int result);
