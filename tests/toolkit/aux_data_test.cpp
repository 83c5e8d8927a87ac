// The toolkit's global record: the XP palette blended from the system colours, the text
// colour for a fill, the fonts chosen from the menu font, the cursors, the system flags
// and the common controls' version check.
#include "toolkit/foundation/QZAuxData.h"

#include "toolkit/foundation/QZVersion.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit_test_support.h"

#include <algorithm>
#include <string>

using toolkit_test::MsgBoxRecorder;
using toolkit_test::TakeQuitMessage;

namespace {

// "p% of b into a", as the palette's definitions read: per channel, integer division.
COLORREF PercentInto(int percent, COLORREF b, COLORREF a)
{
    auto mix = [percent](int x, int y) { return std::clamp((y * percent + x * (100 - percent)) / 100, 0, 255); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

COLORREF Plus(COLORREF a, int n)
{
    auto add = [n](int x) { return std::min(x + n, 255); };
    return RGB(add(GetRValue(a)), add(GetGValue(a)), add(GetBValue(a)));
}

struct Scheme {
    const char* name;
    COLORREF face;
    COLORREF shadow;
    COLORREF window;
    COLORREF selection;
    COLORREF menuText;
    COLORREF selectionText;
};

void CheckPalette(const Scheme& scheme, QZ_AUX_DATA& data)
{
    SCOPED_TRACE(scheme.name);
    data.colorFace = scheme.face;
    data.colorShadow = scheme.shadow;
    data.colorWindow = scheme.window;
    data.colorSelection = scheme.selection;
    data.colorMenuText = scheme.menuText;
    data.colorSelectionText = scheme.selectionText;
    data.DeriveXPColors();

    const COLORREF faceLight = Plus(scheme.face, 18);
    const COLORREF pushed = PercentInto(50, scheme.selection, scheme.window);
    const double pushedLuminance =
        (GetRValue(pushed) * 299 + GetGValue(pushed) * 587 + GetBValue(pushed) * 114) / 1000.0;
    struct Row {
        const char* field;
        COLORREF actual;
        COLORREF expected;
    };
    const Row rows[] = {
        {"colorFaceLight (clrXPFaceLight): face plus 18", data.colorFaceLight, faceLight},
        {"colorXPMenuBack (clrXPWindowTint): 14% of face into window", data.colorXPMenuBack,
         PercentInto(14, scheme.face, scheme.window)},
        {"colorXPBarFace: 17% of window into face", data.colorXPBarFace, PercentInto(17, scheme.window, scheme.face)},
        {"colorXPBarFaceDark (clrXPFaceDark): 10% of shadow into face", data.colorXPBarFaceDark,
         PercentInto(10, scheme.shadow, scheme.face)},
        {"colorXPSeparator: 30% of window into (33% of black into face)", data.colorXPSeparator,
         PercentInto(30, scheme.window, PercentInto(33, RGB(0, 0, 0), scheme.face))},
        {"colorXPBorder (clrXPShadowDark): 20% of black into shadow", data.colorXPBorder,
         PercentInto(20, RGB(0, 0, 0), scheme.shadow)},
        {"colorXPGripper (clrXPShadowLight): 25% of window into shadow", data.colorXPGripper,
         PercentInto(25, scheme.window, scheme.shadow)},
        {"colorXPHot (clrXPHotFill): 30% of selection into window", data.colorXPHot,
         PercentInto(30, scheme.selection, scheme.window)},
        {"colorXPChecked: 39% of window into (20% of selection into face light)", data.colorXPChecked,
         PercentInto(39, scheme.window, PercentInto(20, scheme.selection, faceLight))},
        {"colorXPPushed (clrXPPressedFill): 50% of selection into window", data.colorXPPushed, pushed},
        {"colorFaceLighter: face plus 30", data.colorFaceLighter, Plus(scheme.face, 30)},
        {"colorXPPushedText: by the pushed fill's luminance", data.colorXPPushedText,
         pushedLuminance > 148.0 ? scheme.menuText : scheme.selectionText},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        EXPECT_EQ(row.expected, row.actual);
    }
}

} // namespace

TEST(QZAuxDataPalette, FollowsTheBlendsForThreeSchemes)
{
    QZ_AUX_DATA data;
    const Scheme schemes[] = {
        {"the system's own colours", GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW),
         GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_MENUTEXT),
         GetSysColor(COLOR_HIGHLIGHTTEXT)},
        {"all white", RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
         RGB(255, 255, 255), RGB(255, 255, 255)},
        {"a dark scheme", RGB(64, 64, 64), RGB(32, 32, 32), RGB(0, 0, 0), RGB(0, 120, 215), RGB(250, 250, 250),
         RGB(1, 2, 3)},
    };
    for (const Scheme& scheme : schemes)
        CheckPalette(scheme, data);
}

TEST(QZAuxDataPalette, AllWhiteGivesTheNumbersTheDesignStates)
{
    QZ_AUX_DATA data;
    data.colorFace = data.colorShadow = data.colorWindow = data.colorSelection = RGB(255, 255, 255);
    data.colorMenuText = RGB(0, 0, 1);
    data.colorSelectionText = RGB(0, 0, 2);
    data.DeriveXPColors();
    EXPECT_EQ(RGB(255, 255, 255), data.colorFaceLight) << "face plus 18 clamps";
    EXPECT_EQ(RGB(195, 195, 195), data.colorXPSeparator) << "70% of 170 plus 30% of 255";
    EXPECT_EQ(RGB(255, 255, 255), data.colorXPPushed);
    EXPECT_EQ(RGB(0, 0, 1), data.colorXPPushedText) << "luminance 255 takes the menu text colour";
}

TEST(QZAuxDataPalette, ContrastTextColourSwitchesAboveLuminance148)
{
    QZ_AUX_DATA data;
    data.colorMenuText = RGB(0, 0, 1);
    data.colorSelectionText = RGB(0, 0, 2);
    EXPECT_EQ(RGB(0, 0, 2), data.ContrastTextColor(RGB(148, 148, 148))) << "exactly 148 is dark";
    EXPECT_EQ(RGB(0, 0, 1), data.ContrastTextColor(RGB(149, 148, 148)));
    EXPECT_EQ(qzAfxData.colorMenuText, QZContrastTextColor(RGB(255, 255, 255)));
    EXPECT_EQ(qzAfxData.colorSelectionText, QZContrastTextColor(RGB(0, 0, 0)));
}

namespace {

LOGFONTA g_menuFont;
bool g_hasTahoma = false;

BOOL ReadTestMenuFont(LOGFONTA* menuFont)
{
    *menuFont = g_menuFont;
    return TRUE;
}

BOOL FindTestFace(LPCSTR faceName)
{
    return g_hasTahoma && lstrcmpA(faceName, "Tahoma") == 0;
}

// Replaces the font sources for one test.
class FontSourceScope {
public:
    FontSourceScope(LPCSTR menuFace, BYTE charSet, bool hasTahoma)
    {
        g_menuFont = {};
        g_menuFont.lfHeight = -11;
        g_menuFont.lfCharSet = charSet;
        g_menuFont.lfUnderline = TRUE;
        lstrcpyA(g_menuFont.lfFaceName, menuFace);
        g_hasTahoma = hasTahoma;
        m_reader = QZSetMenuFontReader(&ReadTestMenuFont);
        m_finder = QZSetFaceFinder(&FindTestFace);
    }
    ~FontSourceScope()
    {
        QZSetMenuFontReader(m_reader);
        QZSetFaceFinder(m_finder);
    }

private:
    QZMenuFontReader m_reader;
    QZFaceFinder m_finder;
};

LOGFONTA LogFontOf(const CFont& font)
{
    LOGFONTA logFont = {};
    font.GetLogFont(&logFont);
    return logFont;
}

} // namespace

TEST(QZAuxDataFonts, FaceChoiceByTahomaAndCharacterSet)
{
    struct Case {
        const char* why;
        const char* menuFace;
        BYTE charSet;
        bool hasTahoma;
        const char* normalFace;
        const char* captionFace;
    };
    const Case cases[] = {
        {"Tahoma installed replaces the menu face", "Menu Face", ANSI_CHARSET, true, "Tahoma", "Tahoma"},
        {"without Tahoma the menu face stays, captions go Arial", "Menu Face", ANSI_CHARSET, false, "Menu Face",
         "Arial"},
        {"a character set with bit 2 keeps its face", "Menu Face", GB2312_CHARSET, true, "Menu Face", "Arial"},
        {"symbol set too", "Menu Face", SYMBOL_CHARSET, true, "Menu Face", "Arial"},
        {"a menu face of tahoma in any case stays for captions", "tahoma", SYMBOL_CHARSET, false, "tahoma",
         "tahoma"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        FontSourceScope source(c.menuFace, c.charSet, c.hasTahoma);
        QZ_AUX_DATA data;
        EXPECT_STREQ(c.normalFace, LogFontOf(data.fontNormal).lfFaceName);
        EXPECT_STREQ(c.normalFace, LogFontOf(data.fontBold).lfFaceName);
        for (const CFont* font :
             {&data.fontCaption, &data.fontVert, &data.fontVertBold, &data.fontVertRev, &data.fontVertRevBold})
            EXPECT_STREQ(c.captionFace, LogFontOf(*font).lfFaceName);
    }
}

TEST(QZAuxDataFonts, WeightsAndDirectionsAndTheMenuFontsSize)
{
    FontSourceScope source("Menu Face", ANSI_CHARSET, false);
    QZ_AUX_DATA data;
    struct Row {
        const char* font;
        const CFont* object;
        LONG weight;
        LONG escapement;
    };
    const Row rows[] = {
        {"normal", &data.fontNormal, FW_NORMAL, 0},
        {"bold", &data.fontBold, FW_BOLD, 0},
        {"caption", &data.fontCaption, FW_NORMAL, 0},
        {"vertical", &data.fontVert, FW_NORMAL, 900},
        {"vertical bold", &data.fontVertBold, FW_BOLD, 900},
        {"reversed vertical", &data.fontVertRev, FW_NORMAL, 2700},
        {"reversed vertical bold", &data.fontVertRevBold, FW_BOLD, 2700},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.font);
        const LOGFONTA logFont = LogFontOf(*row.object);
        EXPECT_EQ(row.weight, logFont.lfWeight);
        EXPECT_EQ(row.escapement, logFont.lfEscapement);
        EXPECT_EQ(row.escapement, logFont.lfOrientation);
        EXPECT_EQ(-11, logFont.lfHeight);
    }
    // The caption fonts drop the menu font's underline; the menu fonts keep it.
    EXPECT_TRUE(LogFontOf(data.fontNormal).lfUnderline);
    EXPECT_FALSE(LogFontOf(data.fontCaption).lfUnderline);
}

namespace {

int CALLBACK NoteTahoma(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM found)
{
    if (lstrcmpA(font->lfFaceName, "Tahoma") == 0)
        *reinterpret_cast<bool*>(found) = true;
    return 1;
}

} // namespace

TEST(QZAuxDataFonts, GlobalRecordFollowsThisSystemsMenuFontAndFaces)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    bool hasTahoma = false;
    HDC screen = GetDC(nullptr);
    LOGFONTA all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(screen, &all, &NoteTahoma, reinterpret_cast<LPARAM>(&hasTahoma), 0);
    ReleaseDC(nullptr, screen);
    const bool keepsOwnFace = (metrics.lfMenuFont.lfCharSet & 2) || !hasTahoma;
    const std::string normalFace = keepsOwnFace ? metrics.lfMenuFont.lfFaceName : "Tahoma";
    const std::string captionFace = lstrcmpiA(normalFace.c_str(), "Tahoma") == 0 ? normalFace : "Arial";
    EXPECT_EQ(normalFace, LogFontOf(qzAfxData.fontNormal).lfFaceName);
    EXPECT_EQ(captionFace, LogFontOf(qzAfxData.fontVert).lfFaceName);
    EXPECT_EQ(metrics.lfMenuFont.lfHeight, LogFontOf(qzAfxData.fontNormal).lfHeight);
}

TEST(QZAuxDataCursors, SplitterCursorsComeFromTheToolkitsResources)
{
    ASSERT_NE(nullptr, qzAfxData.cursorSplitHorz);
    ASSERT_NE(nullptr, qzAfxData.cursorSplitVert);
    EXPECT_NE(qzAfxData.cursorSplitHorz, qzAfxData.cursorSplitVert);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_SIZEALL), qzAfxData.cursorSizeAll);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(qzAfxData.cursorSplitHorz, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(15u, info.xHotspot) << "the hot spot is in the middle";
    EXPECT_EQ(15u, info.yHotspot);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

TEST(QZAuxDataCursors, AModuleWithoutThemLeavesThemNullAndTheSystemCursorStays)
{
    QZ_AUX_DATA data;
    data.resourceInstance = GetModuleHandleA("kernel32.dll");
    data.LoadCursors();
    EXPECT_EQ(nullptr, data.cursorSplitHorz);
    EXPECT_EQ(nullptr, data.cursorSplitVert);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_SIZEALL), data.cursorSizeAll);
    data.FreeCursors();
    ICONINFO info = {};
    EXPECT_TRUE(GetIconInfo(LoadCursorA(nullptr, IDC_SIZEALL), &info)) << "freeing never destroys the system's cursor";
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

namespace {

OSVERSIONINFOA g_fakeVersion;
bool g_versionReadable = true;

BOOL ReadFakeVersion(OSVERSIONINFOA* info)
{
    if (!g_versionReadable)
        return FALSE;
    *info = g_fakeVersion;
    info->dwOSVersionInfoSize = sizeof *info;
    return TRUE;
}

// Makes the toolkit read this version next (or fail to read one), as a system would answer.
void PresentFakeVersion(DWORD platform, DWORD major, DWORD minor, bool readable = true)
{
    g_fakeVersion = {};
    g_fakeVersion.dwPlatformId = platform;
    g_fakeVersion.dwMajorVersion = major;
    g_fakeVersion.dwMinorVersion = minor;
    g_versionReadable = readable;
    QZSetVersionReader(&ReadFakeVersion);
}

} // namespace

TEST(QZAuxDataSystemFlags, FollowTheCachedVersionRecord)
{
    struct Case {
        const char* why;
        bool readable;
        DWORD platform;
        DWORD major;
        DWORD minor;
        int win95;
        int win98;
        int winXP;
    };
    const Case cases[] = {
        {"Windows 95", true, VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1, 0, 0},
        {"Windows 95 OSR", true, VER_PLATFORM_WIN32_WINDOWS, 4, 3, 1, 0, 0},
        {"Windows 98", true, VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0, 1, 0},
        {"Windows Me", true, VER_PLATFORM_WIN32_WINDOWS, 4, 90, 0, 0, 0},
        {"Windows XP", true, VER_PLATFORM_WIN32_NT, 5, 1, 0, 0, 1},
        {"Windows 2000", true, VER_PLATFORM_WIN32_NT, 5, 0, 0, 0, 0},
        {"Windows 7", true, VER_PLATFORM_WIN32_NT, 6, 1, 0, 0, 0},
        {"unreadable: every test false", false, VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PresentFakeVersion(c.platform, c.major, c.minor, c.readable);
        if (!c.readable) {
            const OSVERSIONINFOA* record = QZGetOSVersionInfo();
            EXPECT_EQ(sizeof(OSVERSIONINFOA), record->dwOSVersionInfoSize);
            EXPECT_EQ(0u, record->dwPlatformId);
        }
        QZ_AUX_DATA data;
        EXPECT_EQ(c.win95, data.isWin95);
        EXPECT_EQ(c.win98, data.isWin98);
        EXPECT_EQ(c.winXP, data.isWinXP);
    }
    QZSetVersionReader(nullptr);
    EXPECT_EQ(VER_PLATFORM_WIN32_NT, QZGetOSVersionInfo()->dwPlatformId) << "the real record is read again";
}

TEST(QZVersion, Windows95OrNT4IsEveryWindows4BeforeWindows98AndNT4Only)
{
    struct Case {
        const char* why;
        DWORD platform;
        DWORD major;
        DWORD minor;
        bool old;
    };
    const Case cases[] = {
        {"Windows 95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, true},
        {"Windows 95 OSR, the last minor before 98", VER_PLATFORM_WIN32_WINDOWS, 4, 9, true},
        {"Windows 98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, false},
        {"Windows NT 4", VER_PLATFORM_WIN32_NT, 4, 0, true},
        {"NT 4 with a minor version: not NT 4.0", VER_PLATFORM_WIN32_NT, 4, 1, false},
        {"Windows NT 3.51", VER_PLATFORM_WIN32_NT, 3, 51, false},
        {"Windows 2000", VER_PLATFORM_WIN32_NT, 5, 0, false},
        {"Win32s 4.0: neither family", VER_PLATFORM_WIN32s, 4, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PresentFakeVersion(c.platform, c.major, c.minor);
        EXPECT_EQ(c.old, QZIsWindows95OrNT4());
    }
    QZSetVersionReader(nullptr);
}

TEST(QZAuxDataSystemFlags, VersionRecordIsReadOnceAndKept)
{
    static int reads = 0;
    reads = 0;
    QZSetVersionReader([](OSVERSIONINFOA* info) -> BOOL {
        ++reads;
        info->dwMajorVersion = 9;
        return TRUE;
    });
    const OSVERSIONINFOA* first = QZGetOSVersionInfo();
    const OSVERSIONINFOA* second = QZGetOSVersionInfo();
    EXPECT_EQ(first, second);
    EXPECT_EQ(9u, second->dwMajorVersion);
    EXPECT_EQ(1, reads);
    QZSetVersionReader(nullptr);
}

namespace {

DWORD g_major = 0;
DWORD g_minor = 0;
HRESULT g_versionResult = S_OK;
bool g_hasDllGetVersion = true;

BOOL ReadFakeComCtlVersion(DLLVERSIONINFO* info, HRESULT* result)
{
    if (!g_hasDllGetVersion)
        return FALSE;
    EXPECT_EQ(20u, info->cbSize) << "the record's size, as the library expects it";
    info->dwMajorVersion = g_major;
    info->dwMinorVersion = g_minor;
    *result = g_versionResult;
    return TRUE;
}

} // namespace

TEST(QZAuxDataVersionCheck, OldOrUnknownCommonControlsStopTheProgramWithABox)
{
    struct Case {
        const char* why;
        bool hasDllGetVersion;
        HRESULT result;
        DWORD major;
        DWORD minor;
        int version;
        int answer;
        bool refused;
    };
    const Case cases[] = {
        {"4.71 is too old", true, S_OK, 4, 71, 0x40047, 0x40047, true},
        {"4.72 is enough", true, S_OK, 4, 72, 0x40048, 0x40048, false},
        {"6.0 is enough", true, S_OK, 6, 0, 0x60000, 0x60000, false},
        {"no DllGetVersion: unknown", false, S_OK, 6, 0, -1, 0, true},
        {"a failing DllGetVersion: unknown", true, E_FAIL, 6, 0, -1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        g_hasDllGetVersion = c.hasDllGetVersion;
        g_versionResult = c.result;
        g_major = c.major;
        g_minor = c.minor;
        QZComCtlVersionReader previous = QZSetComCtlVersionReader(&ReadFakeComCtlVersion);
        MsgBoxRecorder boxes;
        {
            QZ_AUX_DATA data;
            EXPECT_EQ(c.version, data.comCtlVersion);
            EXPECT_EQ(c.answer, data.GetComCtlVersion());
        }
        QZSetComCtlVersionReader(previous);
        EXPECT_EQ(c.refused, TakeQuitMessage()) << "the message loop ends before it starts";
        ASSERT_EQ(c.refused ? 1u : 0u, MsgBoxRecorder::boxes().size());
        if (c.refused) {
            const MsgBoxRecorder::Box& box = MsgBoxRecorder::boxes().front();
            EXPECT_EQ("Fennlow Software\xAE - Wrong Version Comctl32.dll", box.caption);
            EXPECT_NE(std::string::npos, box.text.find("4.72"));
            EXPECT_EQ(nullptr, box.owner);
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONHAND), box.style);
        }
    }
}

TEST(QZAuxDataVersionCheck, RealLibraryIsRecentEnoughAndReadOnce)
{
    EXPECT_GE(qzAfxData.comCtlVersion, 0x40048);
    const int before = qzAfxData.comCtlVersion;
    QZComCtlVersionReader previous = QZSetComCtlVersionReader(&ReadFakeComCtlVersion);
    g_hasDllGetVersion = false;
    EXPECT_EQ(before, qzAfxData.GetComCtlVersion()) << "cached";
    QZSetComCtlVersionReader(previous);
}
