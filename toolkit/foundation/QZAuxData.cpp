// The global record: construction, the system colours with their XP blends, metrics,
// the operating-system flags and the common controls' version check.
#include "toolkit/foundation/QZAuxData.h"

#include "lib/src/MsgBox.h"
#include "toolkit/foundation/QZColor.h"
#include "toolkit/foundation/QZVersion.h"

// Before the application object: the record is ready for the first toolkit window.
QZ_AUX_DATA qzAfxData;

namespace {

// Version 4.72 of the common controls, the oldest the toolkit works with.
constexpr int kOldestComCtlVersion = 0x40048;
constexpr char kWrongVersionCaption[] = "Fennlow Software\xAE - Wrong Version Comctl32.dll";
constexpr char kWrongVersionText[] = "This program requires Comctl32.dll version 4.72 or higher.";

BOOL ReadLibraryComCtlVersion(DLLVERSIONINFO* info, HRESULT* result)
{
    HMODULE library = ::LoadLibraryA("COMCTL32.DLL");
    auto getVersion = library ? reinterpret_cast<DLLGETVERSIONPROC>(
                                    reinterpret_cast<void*>(::GetProcAddress(library, "DllGetVersion")))
                              : nullptr;
    if (getVersion)
        *result = getVersion(info);
    if (library)
        ::FreeLibrary(library);
    return getVersion != nullptr;
}

QZComCtlVersionReader g_comCtlVersionReader = &ReadLibraryComCtlVersion;

COLORREF Blend(COLORREF a, COLORREF b, int percent)
{
    return QZColorValue(a).QZBlendColor(b, percent);
}

COLORREF AddGrey(COLORREF a, int level)
{
    return QZColorValue(a).Add(RGB(level, level, level));
}

} // namespace

QZ_AUX_DATA::QZ_AUX_DATA()
{
    const OSVERSIONINFOA* version = QZGetOSVersionInfo();
    const bool isWindows9x = version->dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version->dwMajorVersion == 4;
    isWin95 = isWindows9x && version->dwMinorVersion < 10;
    isWin98 = isWindows9x && version->dwMinorVersion == 10;
    isWinXP = version->dwPlatformId == VER_PLATFORM_WIN32_NT && version->dwMajorVersion == 5 &&
              version->dwMinorVersion == 1;
    Initialize(nullptr);
}

QZ_AUX_DATA::~QZ_AUX_DATA()
{
    DeleteFonts();
    FreeCursors();
}

void QZ_AUX_DATA::Initialize(HINSTANCE hInstance)
{
    resourceInstance = hInstance ? hInstance : ::GetModuleHandleA(nullptr);
    UpdateSysColors();
    UpdateSysMetrics();
    UpdateFonts();
    LoadCursors();
    GetComCtlVersion();
    if (comCtlVersion < kOldestComCtlVersion) {
        MsgBoxStop(MB_OK, kWrongVersionCaption, nullptr, "%s", kWrongVersionText);
        // The application's message loop ends as soon as it starts.
        ::PostQuitMessage(0);
    }
}

void QZ_AUX_DATA::UpdateSysColors()
{
    colorFace = ::GetSysColor(COLOR_BTNFACE);
    colorShadow = ::GetSysColor(COLOR_BTNSHADOW);
    colorDarkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    colorHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    colorButtonText = ::GetSysColor(COLOR_BTNTEXT);
    colorGrayText = ::GetSysColor(COLOR_GRAYTEXT);
    colorSelection = ::GetSysColor(COLOR_HIGHLIGHT);
    colorSelectionText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    colorMenu = ::GetSysColor(COLOR_MENU);
    colorMenuText = ::GetSysColor(COLOR_MENUTEXT);
    colorWindow = ::GetSysColor(COLOR_WINDOW);
    colorWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    colorWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    colorCaption = ::GetSysColor(COLOR_ACTIVECAPTION);
    colorCaptionInactive = ::GetSysColor(COLOR_INACTIVECAPTION);
    colorCaptionGradient = ::GetSysColor(COLOR_GRADIENTACTIVECAPTION);
    colorCaptionGradientInactive = ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION);
    colorCaptionText = ::GetSysColor(COLOR_CAPTIONTEXT);
    colorCaptionTextInactive = ::GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    DeriveXPColors();
}

void QZ_AUX_DATA::DeriveXPColors()
{
    // In this order: later blends read earlier ones.
    colorFaceLight = AddGrey(colorFace, 18);
    colorXPMenuBack = Blend(colorWindow, colorFace, 14);
    colorXPBarFace = Blend(colorFace, colorWindow, 17);
    colorXPBarFaceDark = Blend(colorFace, colorShadow, 10);
    colorXPSeparator = Blend(Blend(colorFace, kColorBlack, 33), colorWindow, 30);
    colorXPBorder = Blend(colorShadow, kColorBlack, 20);
    colorXPGripper = Blend(colorShadow, colorWindow, 25);
    colorXPHot = Blend(colorWindow, colorSelection, 30);
    colorXPChecked = Blend(Blend(colorFaceLight, colorSelection, 20), colorWindow, 39);
    colorXPPushed = Blend(colorWindow, colorSelection, 50);
    colorFaceLighter = AddGrey(colorFace, 30);
    colorXPPushedText = ContrastTextColor(colorXPPushed);
}

COLORREF QZ_AUX_DATA::ContrastTextColor(COLORREF fill) const
{
    const double luminance = (299 * GetRValue(fill) + 587 * GetGValue(fill) + 114 * GetBValue(fill)) / 1000.0;
    return luminance > 148.0 ? colorMenuText : colorSelectionText;
}

COLORREF QZContrastTextColor(COLORREF fill)
{
    return qzAfxData.ContrastTextColor(fill);
}

void QZ_AUX_DATA::UpdateSysMetrics()
{
    smallIconWidth = ::GetSystemMetrics(SM_CXSMICON);
    smallIconHeight = ::GetSystemMetrics(SM_CYSMICON);
    thumbWidth = ::GetSystemMetrics(SM_CXHTHUMB);
    menuHeight = ::GetSystemMetrics(SM_CYMENU);
}

int QZ_AUX_DATA::GetComCtlVersion()
{
    if (comCtlVersion != -1)
        return comCtlVersion;
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    HRESULT result = E_FAIL;
    if (g_comCtlVersionReader(&info, &result) && SUCCEEDED(result))
        comCtlVersion = static_cast<int>((info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF));
    return comCtlVersion == -1 ? 0 : comCtlVersion;
}

QZComCtlVersionReader QZSetComCtlVersionReader(QZComCtlVersionReader reader)
{
    QZComCtlVersionReader previous = g_comCtlVersionReader;
    g_comCtlVersionReader = reader ? reader : &ReadLibraryComCtlVersion;
    return previous;
}
