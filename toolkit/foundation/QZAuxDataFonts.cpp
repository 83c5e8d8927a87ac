// The global record's fonts and cursors. The fonts follow the system's menu font; the
// toolkit prefers "Tahoma" where the screen has it, and the caption and vertical fonts
// fall back to "Arial", which every system has in its vertical forms.
#include "toolkit/foundation/QZAuxData.h"

#include "toolkit/res/ToolkitResources.h"

#include <cstddef>

namespace {

constexpr char kTahoma[] = "Tahoma";
constexpr char kArial[] = "Arial";

BOOL ReadSystemMenuFont(LOGFONTA* menuFont)
{
    // The size of the record every Windows version accepts: without the padded border
    // width that later versions appended.
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return FALSE;
    *menuFont = metrics.lfMenuFont;
    return TRUE;
}

// Stops the enumeration at the first family whose face is the one asked for (by case).
int CALLBACK QZFindTahomaProc(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM faceName)
{
    return lstrcmpA(font->lfFaceName, reinterpret_cast<LPCSTR>(faceName)) == 0 ? 0 : 1;
}

BOOL ScreenHasFace(LPCSTR faceName)
{
    HWND desktop = ::GetDesktopWindow();
    HDC dc = ::GetWindowDC(desktop);
    if (!dc)
        return FALSE;
    LOGFONTA all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    const int answer = ::EnumFontFamiliesExA(dc, &all, &QZFindTahomaProc, reinterpret_cast<LPARAM>(faceName), 0);
    ::ReleaseDC(desktop, dc);
    return answer == 0;
}

QZMenuFontReader g_menuFontReader = &ReadSystemMenuFont;
QZFaceFinder g_faceFinder = &ScreenHasFace;

void CreateWithWeight(CFont& font, LOGFONTA& logFont, LONG weight)
{
    logFont.lfWeight = weight;
    (void)font.CreateFontIndirect(&logFont);
}

HCURSOR LoadOwnCursor(HINSTANCE module, UINT id)
{
    return static_cast<HCURSOR>(::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
}

} // namespace

QZMenuFontReader QZSetMenuFontReader(QZMenuFontReader reader)
{
    QZMenuFontReader previous = g_menuFontReader;
    g_menuFontReader = reader ? reader : &ReadSystemMenuFont;
    return previous;
}

QZFaceFinder QZSetFaceFinder(QZFaceFinder finder)
{
    QZFaceFinder previous = g_faceFinder;
    g_faceFinder = finder ? finder : &ScreenHasFace;
    return previous;
}

void QZ_AUX_DATA::UpdateFonts()
{
    DeleteFonts();
    LOGFONTA logFont = {};
    if (!g_menuFontReader(&logFont))
        return;
    // Character sets with bit value 2 (symbol, GB2312, ...) keep their own face.
    if (!(logFont.lfCharSet & 2) && g_faceFinder(kTahoma))
        lstrcpynA(logFont.lfFaceName, kTahoma, LF_FACESIZE);
    CreateWithWeight(fontBold, logFont, FW_BOLD);
    CreateWithWeight(fontNormal, logFont, FW_NORMAL);
    if (lstrcmpiA(logFont.lfFaceName, kTahoma) != 0)
        lstrcpynA(logFont.lfFaceName, kArial, LF_FACESIZE);
    CreateCaptionFonts(logFont);
}

void QZ_AUX_DATA::CreateCaptionFonts(LOGFONTA& logFont)
{
    logFont.lfUnderline = FALSE;
    CreateWithWeight(fontCaption, logFont, FW_NORMAL);
    logFont.lfEscapement = logFont.lfOrientation = 900;
    CreateWithWeight(fontVert, logFont, FW_NORMAL);
    CreateWithWeight(fontVertBold, logFont, FW_BOLD);
    logFont.lfEscapement = logFont.lfOrientation = 2700;
    CreateWithWeight(fontVertRev, logFont, FW_NORMAL);
    CreateWithWeight(fontVertRevBold, logFont, FW_BOLD);
}

void QZ_AUX_DATA::DeleteFonts()
{
    for (CFont* font : {&fontNormal, &fontBold, &fontCaption, &fontVert, &fontVertBold, &fontVertRev, &fontVertRevBold})
        font->DeleteObject();
}

void QZ_AUX_DATA::LoadCursors()
{
    FreeCursors();
    cursorSplitHorz = LoadOwnCursor(resourceInstance, IDC_QZ_SPLIT_HORZ);
    cursorSplitVert = LoadOwnCursor(resourceInstance, IDC_QZ_SPLIT_VERT);
    cursorSizeAll = ::LoadCursorA(nullptr, IDC_SIZEALL);
}

void QZ_AUX_DATA::FreeCursors()
{
    // The size-all cursor is the system's and stays.
    for (HCURSOR* cursor : {&cursorSplitHorz, &cursorSplitVert}) {
        if (*cursor)
            ::DestroyCursor(*cursor);
        *cursor = nullptr;
    }
}
