// The framework-dialog file pickers: the file dialog's own copy of its initial folder,
// the file edit that asks for a name on Ctrl + double-click (its styles, the name it
// starts from, the path it takes, cancel, and a plain double-click's word selection),
// and the file button, linked to the edit before it or writing its own caption. The
// system's dialogs are answered from a thread timer.
#include "lib/src/Win2/MFC/iFileButton.h"
#include "lib/src/Win2/MFC/iFileDialog.h"
#include "lib/src/Win2/MFC/iFileEdit.h"
#include "lib/src/Win2/MFC/iWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Answers the next file dialog of this thread: reads its name box, optionally types a
// name, then confirms or cancels.
struct FileDialogScript {
    std::string typeName;  // empty: leave the name box as it is
    bool confirm = true;
    bool sawDialog = false;
    std::string nameBox;
    std::string fileType;
    int ticks = 0;
};
FileDialogScript g_script;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerFileDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        // No dialog came: stop asking, the test fails on sawDialog.
        if (++g_script.ticks > 100)
            KillTimer(nullptr, timer);
        return;
    }
    KillTimer(nullptr, timer);
    g_script.sawDialog = true;
    HWND nameBox = GetDlgItem(dialog, 1152);  // edt1, or cmb13 in the newer layout
    if (!nameBox)
        nameBox = GetDlgItem(dialog, 1148);
    char name[MAX_PATH] = {};
    GetWindowTextA(nameBox, name, sizeof(name));
    g_script.nameBox = name;
    GetDlgItemTextA(dialog, 0x470, name, sizeof(name));  // cmb1, the file types
    g_script.fileType = name;
    if (!g_script.typeName.empty())
        SetWindowTextA(nameBox, g_script.typeName.c_str());
    PostMessageA(dialog, WM_COMMAND, g_script.confirm ? IDOK : IDCANCEL, 0);
}

void ExpectDialog(const std::string& typeName, bool confirm)
{
    g_script = FileDialogScript();
    g_script.typeName = typeName;
    g_script.confirm = confirm;
    ASSERT_NE(0u, SetTimer(nullptr, 0, 50, AnswerFileDialog));
}

std::string TempPath(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof(folder), folder);
    return std::string(folder) + name;
}

TEST(FileDialog, KeepsItsOwnCopyOfTheInitialFolder)
{
    iFileDialog dialog(FALSE, "txt", "notes.txt", OFN_HIDEREADONLY, "Text (*.txt)|*.txt||", nullptr);
    {
        std::string folder = "C:\\windows\\temp";
        dialog.SetInitialDir(folder.c_str());
        folder.assign(folder.size(), 'x');
    }
    EXPECT_STREQ("C:\\windows\\temp", dialog.m_ofn.lpstrInitialDir);
    EXPECT_STREQ("notes.txt", dialog.m_ofn.lpstrFile);
    EXPECT_STREQ("txt", dialog.m_ofn.lpstrDefExt);
    EXPECT_TRUE(dialog.m_ofn.Flags & OFN_HIDEREADONLY);

    // The parent-first form passes the same values on.
    iFileDialog other(nullptr, TRUE, nullptr, "a.bmp", 0, nullptr);
    EXPECT_STREQ("a.bmp", other.m_ofn.lpstrFile);
    EXPECT_EQ(nullptr, other.m_ofn.lpstrInitialDir);
}

TEST(FileDialog, AskingAnswersTheChosenPathOrNothing)
{
    std::string chosenPath = TempPath("asked.txt");
    CString chosen = "unchanged";
    ExpectDialog(chosenPath, true);
    ASSERT_TRUE(AskForFileName(nullptr, FALSE, "", "start.txt", 0, kAllFilesFilter, nullptr, chosen));
    EXPECT_TRUE(g_script.sawDialog);
    EXPECT_EQ("start.txt", g_script.nameBox);
    EXPECT_STREQ(chosenPath.c_str(), chosen);

    ExpectDialog("", false);
    EXPECT_FALSE(AskForFileName(nullptr, TRUE, nullptr, "start.txt", 0, kAllFilesFilter, nullptr, chosen));
    EXPECT_TRUE(g_script.sawDialog);
    EXPECT_STREQ(chosenPath.c_str(), chosen);
}

class FileEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = std::make_unique<iWnd>(nullptr, CRect(0, 0, 400, 200), WS_OVERLAPPEDWINDOW, "parent", 0, 0,
                                          nullptr);
        m_edit = new iFileEdit(m_parent.get(), CRect(10, 10, 300, 32), WS_VISIBLE | WS_BORDER, nullptr, 20);
    }
    void DoubleClick(UINT flags, int charIndex)
    {
        LRESULT position = m_edit->SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(charIndex));
        m_edit->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON | flags,
                            MAKELPARAM(LOWORD(position) + 1, HIWORD(position) + 2));
    }
    std::unique_ptr<iWnd> m_parent;
    iFileEdit* m_edit = nullptr;
};

TEST_F(FileEditTest, ScrollsSidewaysWithAClientEdgeInsteadOfABorder)
{
    EXPECT_TRUE(m_edit->GetStyle() & ES_AUTOHSCROLL);
    EXPECT_FALSE(m_edit->GetStyle() & WS_BORDER);
    EXPECT_TRUE(m_edit->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(1u, m_parent->GetWindowSet().count(m_edit));
}

TEST_F(FileEditTest, CtrlDoubleClickAsksForANameFromTheTextAndTakesThePath)
{
    std::string chosenPath = TempPath("picked.jpg");
    m_edit->SetWindowText("photo.png");
    m_edit->SetOptions(FALSE, "jpg", 0, "JPEG (*.jpg)|*.jpg||");
    ExpectDialog(chosenPath, true);
    DoubleClick(MK_CONTROL, 1);
    ASSERT_TRUE(g_script.sawDialog);
    EXPECT_EQ("photo.png", g_script.nameBox);
    EXPECT_STREQ(chosenPath.c_str(), m_edit->GetText());
}

TEST_F(FileEditTest, CancellingLeavesTheTextAlone)
{
    m_edit->SetWindowText("keep.bmp");
    ExpectDialog("", false);
    DoubleClick(MK_CONTROL, 1);
    ASSERT_TRUE(g_script.sawDialog);
    EXPECT_STREQ("keep.bmp", m_edit->GetText());
}

TEST_F(FileEditTest, APlainDoubleClickSelectsAWord)
{
    m_edit->SetWindowText("alpha beta");
    g_script = FileDialogScript();
    m_edit->SetSel(0, 0);
    DoubleClick(0, 1);
    int start = -1, end = -1;
    m_edit->GetSel(start, end);
    // The first word, with or without the blank after it as the platform breaks words.
    EXPECT_EQ(0, start);
    EXPECT_GE(end, 5);
    EXPECT_LE(end, 6);
    EXPECT_FALSE(g_script.sawDialog);
    EXPECT_STREQ("alpha beta", m_edit->GetText());
}

constexpr UINT kButtonId = 30;

class ButtonParent : public iWnd {
public:
    ButtonParent() : iWnd(nullptr, CRect(0, 0, 400, 200), WS_OVERLAPPEDWINDOW, "parent", 0, 0, nullptr) {}
    int m_clicksSeen = 0;

protected:
    void OnClicked() { ++m_clicksSeen; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ButtonParent, iWnd)
    ON_BN_CLICKED(kButtonId, OnClicked)
END_MESSAGE_MAP()

class ClickCounter : public CObject {
public:
    void OnClicked(CWnd*) { ++m_count; }
    int m_count = 0;
};

TEST(FileButton, LinkedItFillsTheEditBeforeItAndHandsItsOptionsOn)
{
    ButtonParent parent;
    auto* edit = new iFileEdit(&parent, CRect(10, 10, 300, 32), WS_VISIBLE, nullptr, 20);
    auto* button = new iFileButton(&parent, CRect(310, 10, 390, 32), WS_VISIBLE | IBS_LINKED, "&Browse", kButtonId);
    button->SetOptions(FALSE, "txt", 0, "Text (*.txt)|*.txt||");
    ClickCounter counter;
    button->SetOnClicked(iConnector(&counter, &ClickCounter::OnClicked));
    edit->SetWindowText("notes.txt");
    std::string chosen = TempPath("linked.txt");

    ExpectDialog(chosen, true);
    button->SendMessage(BM_CLICK);
    ASSERT_TRUE(g_script.sawDialog);
    EXPECT_EQ("notes.txt", g_script.nameBox);
    EXPECT_EQ("Text (*.txt)", g_script.fileType);
    EXPECT_STREQ(chosen.c_str(), edit->GetText());
    CString caption;
    button->GetWindowText(caption);
    EXPECT_STREQ("&Browse", caption);
    EXPECT_EQ(0, counter.m_count);
    EXPECT_EQ(0, parent.m_clicksSeen);

    // The edit now asks with the button's options.
    ExpectDialog("", false);
    LRESULT position = edit->SendMessage(EM_POSFROMCHAR, 1);
    edit->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON | MK_CONTROL, MAKELPARAM(LOWORD(position) + 1, 2));
    ASSERT_TRUE(g_script.sawDialog);
    EXPECT_EQ("Text (*.txt)", g_script.fileType);
}

TEST(FileButton, UnlinkedItStartsFromAndWritesItsOwnCaption)
{
    ButtonParent parent;
    auto* button = new iFileButton(&parent, CRect(10, 10, 300, 32), WS_VISIBLE, "start.bmp", kButtonId, 0, nullptr);
    std::string chosen = TempPath("caption.bmp");
    ExpectDialog(chosen, true);
    button->SendMessage(BM_CLICK);
    ASSERT_TRUE(g_script.sawDialog);
    EXPECT_EQ("start.bmp", g_script.nameBox);
    EXPECT_EQ("All Files (*.*)", g_script.fileType);
    CString caption;
    button->GetWindowText(caption);
    EXPECT_STREQ(chosen.c_str(), caption);

    ExpectDialog(TempPath("other.bmp"), false);
    button->SendMessage(BM_CLICK);
    ASSERT_TRUE(g_script.sawDialog);
    button->GetWindowText(caption);
    EXPECT_STREQ(chosen.c_str(), caption) << "cancel leaves the caption";
}

TEST(FileButton, LinkedWithNothingBeforeItWritesNowhere)
{
    ButtonParent parent;
    auto* button = new iFileButton(&parent, CRect(10, 10, 90, 32), WS_VISIBLE | IBS_LINKED, "&Browse", kButtonId);
    ExpectDialog(TempPath("nowhere.txt"), true);
    button->SendMessage(BM_CLICK);
    ASSERT_TRUE(g_script.sawDialog);
    EXPECT_EQ("", g_script.nameBox);
    CString caption;
    button->GetWindowText(caption);
    EXPECT_STREQ("&Browse", caption);
}

} // namespace
