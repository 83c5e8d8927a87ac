// What several window-library tests share: parents and listeners to put controls on, the
// folder browser and the system's file dialog answered in code, the test program's splash
// picture, temporary files, and a canvas painted with paper to draw on.
#pragma once

#include "lib/src/Win2/Wnd/iFolderBrowse.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/paper_canvas.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace winlib_test {

// Counts the clicks a click connector reports.
class ClickCounter : public CObject {
public:
    void OnClicked(CWnd*) { ++m_count; }
    int m_count = 0;
};

// Counts the firings of the connector it is bound to, and who sent them.
class FireCounter : public CObject {
public:
    void OnFired(CWnd* sender)
    {
        ++m_count;
        m_sender = sender;
    }
    int m_count = 0;
    CWnd* m_sender = nullptr;
};

// Stands in for a property page: counts the marks its controls make.
class PageLikeParent : public CWnd, public iWindowSetContainer {
public:
    PageLikeParent() { CreateEx(0, AfxWndClassName(), "page", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr); }
    ~PageLikeParent() override { m_set.DeleteAll(); }
    iWindowSet& GetWindowSet() override { return m_set; }
    bool IsPropertyPage() const override { return true; }
    void MarkPageModified() override { ++marks; }
    iWindowSet m_set;
    int marks = 0;
};

// A top-level container window of the library.
inline std::unique_ptr<iWnd> NewContainer()
{
    return std::make_unique<iWnd>(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "container", 0, 0, nullptr);
}

// The button whose clicks ButtonParent's own map counts.
constexpr UINT kCountedButtonId = 30;

// A parent that counts the clicks reaching its own map, to show whether a button's click
// went on to it.
class ButtonParent : public iWnd {
public:
    ButtonParent() : iWnd(nullptr, CRect(0, 0, 400, 200), WS_OVERLAPPEDWINDOW, "parent", 0, 0, nullptr) {}
    int m_clicksSeen = 0;

protected:
    void OnClicked() { ++m_clicksSeen; }
    DECLARE_MESSAGE_MAP()
};

// The combo box whose notifications ComboPage's own map records.
constexpr UINT kComboId = 301;

// A container that stands for a property page (a plain window once m_isPage is false),
// answers a font and records the notifications of combo box kComboId that reach its own map.
class ComboPage : public iWnd {
public:
    ComboPage() : iWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "page", 0, 0, nullptr) {}
    bool IsPropertyPage() const override { return m_isPage; }
    void MarkPageModified() override { ++m_modifiedMarks; }

    bool m_isPage = true;
    int m_modifiedMarks = 0;
    std::vector<int> m_parentSaw;  // notification codes that reached this map
    HFONT m_font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));

protected:
    void OnComboCommand() { m_parentSaw.push_back(static_cast<short>(HIWORD(GetCurrentMessage()->wParam))); }
    // A plain window keeps no font; a page answers its dialog font.
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_font); }
    DECLARE_MESSAGE_MAP()
};

// The Apply button of the system's property sheet.
constexpr int kApplyNowButtonId = 0x3021;

// The folder browser, answered by a stand-in.
struct FolderAnswer {
    static inline int calls = 0;
    static inline HWND owner = nullptr;
    static inline std::string folder;  // empty: cancel
    static PIDLIST_ABSOLUTE WINAPI Browse(LPBROWSEINFOA info)
    {
        ++calls;
        owner = info->hwndOwner;
        return folder.empty() ? nullptr : ILCreateFromPathA(folder.c_str());
    }
};

// Answers the next file dialog of this thread: reads its name box and the types it shows,
// optionally types a name, then confirms or cancels.
struct FileDialogScript {
    std::string typeName;  // empty: leave the name box as it is
    bool confirm = true;
    bool sawDialog = false;
    std::string nameBox;
    std::string fileType;
    std::vector<std::string> fileTypes;  // every type offered
    int ticks = 0;
};
inline FileDialogScript g_fileDialog;

// Starts g_fileDialog afresh and answers the next file dialog from a thread timer.
void ExpectFileDialog(const std::string& typeName, bool confirm);

// The temporary folder, with its closing backslash, and a path in it.
std::string TempFolder();
std::string TempPath(const char* name);
void WriteBytes(const std::string& path, const std::vector<BYTE>& bytes);

// The bytes of the 8 x 6 test GIF the test program carries as resource "SPLASH".
std::vector<BYTE> SplashResourceBytes();

// The canvas the framework's drawing tests use too.
using test_support::ExpectPixels;
using test_support::kPaper;
using test_support::PaperCanvas;

} // namespace winlib_test
