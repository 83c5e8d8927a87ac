// A font made in one constructor call from the fields of a LOGFONT, in their order,
// face name last. A font the system refuses leaves the object empty, and drawing falls
// back to the DC's current font. The framework's destructor deletes the font.
#pragma once

#include "framework/Framework.h"

class iFont : public CFont {
public:
    // Height and width in the logical units of the DC the font is used with.
    iFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
          BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
          LPCSTR faceName);
    // Height in tenths of a point, converted through dc (the screen when null). A face
    // name keeps its first 31 characters.
    iFont(int pointSize, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
          BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
          LPCSTR faceName, CDC* dc);
    ~iFont() override;
};
