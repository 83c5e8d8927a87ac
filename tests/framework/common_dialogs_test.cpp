// File and colour dialogs run for real and are answered by a thread timer that finds
// the dialog window and fills it in or dismisses it, as a person would.
#include "framework/Framework.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace {

// The file name field of the explorer-style dialog (edt1, or the combo box cmb13).
constexpr int kFileNameEdit = 0x480;
constexpr int kFileNameCombo = 0x47C;

// Answers the next common dialog the thread shows, from a thread timer.
class DialogAnswerer {
public:
    using Answer = std::function<void(HWND dialog)>;
    explicit DialogAnswerer(Answer answer)
    {
        s_answer = std::move(answer);
        s_seenDialog = nullptr;
        m_timer = SetTimer(nullptr, 0, 50, &OnTimer);
    }
    ~DialogAnswerer()
    {
        KillTimer(nullptr, m_timer);
        s_answer = nullptr;
    }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

private:
    static BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam)
    {
        char className[16] = {};
        GetClassNameA(hWnd, className, sizeof className);
        if (std::string(className) == "#32770" && IsWindowVisible(hWnd)) {
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog || dialog == s_seenDialog || !s_answer)
            return;
        s_seenDialog = dialog;
        s_answer(dialog);
    }
    UINT_PTR m_timer = 0;
    static inline Answer s_answer;
    static inline HWND s_seenDialog = nullptr;
};

void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void TypeFileName(HWND dialog, const std::string& name)
{
    SetDlgItemTextA(dialog, kFileNameEdit, name.c_str());
    SetDlgItemTextA(dialog, kFileNameCombo, name.c_str());
}

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return folder;
}

using CommonDialogsTest = test_support::OwnerWindowTest;

TEST_F(CommonDialogsTest, OpenDialogChoosesAFileInTheInitialFolder)
{
    const std::string folder = TempFolder();
    const std::string path = folder + "sorvanta_open_test.png";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fclose(file);

    CFileDialog dialog(TRUE, "png", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       "Images (*.png;*.bmp)|*.png;*.bmp|All files (*.*)|*.*||", &owner);
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    BOOL ownerEnabledDuring = TRUE;
    HWND dialogOwner = nullptr;
    DialogAnswerer answer([&](HWND d) {
        ownerEnabledDuring = owner.IsWindowEnabled();
        dialogOwner = GetWindow(d, GW_OWNER);
        TypeFileName(d, "sorvanta_open_test.png");
        Press(d, IDOK);
    });
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_EQ(owner.m_hWnd, dialogOwner);
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), dialog.GetPathName()));
    EXPECT_STREQ("sorvanta_open_test.png", dialog.GetFileName());
    EXPECT_STREQ("png", dialog.GetFileExt());
    EXPECT_TRUE(owner.IsWindowEnabled());
    DeleteFileA(path.c_str());
}

TEST_F(CommonDialogsTest, SaveDialogStartsWithTheInitialNameAndCanBeCancelled)
{
    CFileDialog dialog(FALSE, "jpg", "picture.jpg", OFN_OVERWRITEPROMPT, "JPEG (*.jpg)|*.jpg||", &owner);
    // The filter reached the system with its separators as zeros, ending in two.
    const char* filter = dialog.m_ofn.lpstrFilter;
    ASSERT_NE(nullptr, filter);
    EXPECT_STREQ("JPEG (*.jpg)", filter);
    EXPECT_STREQ("*.jpg", filter + std::strlen("JPEG (*.jpg)") + 1);
    EXPECT_EQ('\0', filter[std::strlen("JPEG (*.jpg)") + 1 + std::strlen("*.jpg") + 1]);
    EXPECT_STREQ("jpg", dialog.m_ofn.lpstrDefExt);
    EXPECT_GE(dialog.m_ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));

    std::string shownName;
    DialogAnswerer answer([&](HWND d) {
        char text[MAX_PATH] = {};
        if (!GetDlgItemTextA(d, kFileNameEdit, text, sizeof text))
            GetDlgItemTextA(d, kFileNameCombo, text, sizeof text);
        shownName = text;
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ("picture.jpg", shownName);
}

TEST_F(CommonDialogsTest, SaveDialogAddsTheDefaultExtension)
{
    const std::string folder = TempFolder();
    CFileDialog dialog(FALSE, "bmp", nullptr, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, "Bitmaps (*.bmp)|*.bmp||",
                       &owner);
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    DialogAnswerer answer([&](HWND d) {
        TypeFileName(d, "sorvanta_saved_picture");
        Press(d, IDOK);
    });
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_STREQ("sorvanta_saved_picture.bmp", dialog.GetFileName());
    EXPECT_STREQ("bmp", dialog.GetFileExt());
}

TEST(CFileDialog, NameTooLongForTheBufferIsNotCut)
{
    std::string longName(MAX_PATH + 10, 'a');
    CFileDialog dialog(TRUE, nullptr, longName.c_str());
    EXPECT_STREQ("", dialog.m_ofn.lpstrFile);
    std::string fits(MAX_PATH - 1, 'b');
    CFileDialog fitting(TRUE, nullptr, fits.c_str());
    EXPECT_EQ(fits, std::string(fitting.m_ofn.lpstrFile));
    EXPECT_TRUE(fitting.GetFileExt().IsEmpty());
}

TEST_F(CommonDialogsTest, ColourDialogAnswersTheChosenOrTheInitialColour)
{
    const COLORREF initial = RGB(10, 120, 200);
    CColorDialog accepted(initial, CC_ANYCOLOR, &owner);
    DialogAnswerer accept([&](HWND d) { Press(d, IDOK); });
    EXPECT_EQ(IDOK, accepted.DoModal());
    EXPECT_EQ(initial, accepted.GetColor());  // OK without a change keeps the initial colour

    CColorDialog cancelled(RGB(1, 2, 3), CC_ANYCOLOR | CC_FULLOPEN, &owner);
    DialogAnswerer cancel([&](HWND d) { Press(d, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    EXPECT_EQ(RGB(1, 2, 3), cancelled.GetColor());
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(CColorDialog::GetSavedCustomColors(), cancelled.m_cc.lpCustColors);
}

} // namespace
