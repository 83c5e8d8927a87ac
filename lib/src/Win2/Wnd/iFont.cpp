// Fonts made in one call.
#include "lib/src/Win2/Wnd/iFont.h"

iFont::iFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
             BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
             LPCSTR faceName)
{
    CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet, outPrecision,
               clipPrecision, quality, pitchAndFamily, faceName);
}

iFont::iFont(int pointSize, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
             BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
             LPCSTR faceName, CDC* dc)
{
    LOGFONTA logFont = {};
    logFont.lfHeight = pointSize;
    logFont.lfWidth = width;
    logFont.lfEscapement = escapement;
    logFont.lfOrientation = orientation;
    logFont.lfWeight = weight;
    logFont.lfItalic = italic;
    logFont.lfUnderline = underline;
    logFont.lfStrikeOut = strikeOut;
    logFont.lfCharSet = charSet;
    logFont.lfOutPrecision = outPrecision;
    logFont.lfClipPrecision = clipPrecision;
    logFont.lfQuality = quality;
    logFont.lfPitchAndFamily = pitchAndFamily;
    if (faceName)
        lstrcpynA(logFont.lfFaceName, faceName, LF_FACESIZE);
    CreatePointFontIndirect(&logFont, dc);
}

iFont::~iFont() = default;
