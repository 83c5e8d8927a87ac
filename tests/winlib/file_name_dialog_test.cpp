// The open and save dialog record: preselecting the initial name's type, the filter
// look-ups, the type-change hook on a name box of its own, making a chosen name carry
// its type's extension (and refusing when it would not fit), and a real save dialog
// driven from a timer.
#include "lib/src/Win2/Wnd/iFileNameDialog.h"

#include "framework/window_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using test_support::FindVisibleDialog;

// Three types, each description and pattern ending in a null, the list in a second one.
const char kFilter[] = "JPEG\0*.jpg;*.jpeg\0PNG\0*.png\0All Files\0*.*\0";
// ".jpg" first occurs inside "*.jpgx", so the first type does not list it.
const char kShadowFilter[] = "JPEG X\0*.jpgx;*.jpg\0JPEG\0*.jpg\0";

iFileNameDialog MakeDialog(const char* filter, DWORD filterIndex, const char* fileName)
{
    return iFileNameDialog(nullptr, filter, nullptr, filterIndex, fileName, nullptr, nullptr, nullptr, 0, nullptr);
}

TEST(FileNameDialog, FindsTheFirstFilterListingTheExtension)
{
    struct Case {
        const char* why;
        const char* filter;
        const char* name;
        int index;
    };
    const Case kCases[] = {
        {"second type", kFilter, "photo.png", 1},
        {"second pattern of a type, other case", kFilter, "C:\\img\\photo.JPEG", 0},
        {"no dot", kFilter, "photo", -1},
        {"last dot in a folder name", kFilter, "a.b\\photo", -1},
        {"listed by no pattern (*.* names no extension)", kFilter, "photo.gif", -1},
        {"a longer extension is no match", kFilter, "photo.jpgx", -1},
        {"only the first occurrence counts", kShadowFilter, "photo.jpg", 1},
        {"no filter", nullptr, "photo.png", -1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.index, MakeDialog(c.filter, 1, nullptr).FindFilterIndex(c.name));
    }
}

TEST(FileNameDialog, GivesTheFirstExtensionOfAFilter)
{
    const char kOddFilter[] = "Named\0photo*\0Listed\0*.tif;*.tiff\0";
    struct Case {
        const char* why;
        const char* filter;
        int index;
        const char* extension;
    };
    const Case kCases[] = {
        {"first of two patterns", kFilter, 0, "jpg"},
        {"single pattern", kFilter, 1, "png"},
        {"all files", kFilter, 2, "*"},
        {"past the list", kFilter, 3, ""},
        {"before the list", kFilter, -1, ""},
        {"pattern not beginning *.", kOddFilter, 0, ""},
        {"cut at the first ;", kOddFilter, 1, "tif"},
        {"no filter", nullptr, 0, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_STREQ(c.extension, MakeDialog(c.filter, 1, nullptr).GetFilterExtension(c.index));
    }
}

TEST(FileNameDialog, PreselectsTheTypeOfTheInitialName)
{
    EXPECT_EQ(2u, MakeDialog(kFilter, 0, "photo.png").m_ofn.nFilterIndex);
    // Listed by none: 0, which the system reads as the first type.
    EXPECT_EQ(0u, MakeDialog(kFilter, 0, "photo.gif").m_ofn.nFilterIndex);
    // A caller's index stands.
    EXPECT_EQ(3u, MakeDialog(kFilter, 3, "photo.png").m_ofn.nFilterIndex);
    EXPECT_EQ(0u, MakeDialog(kFilter, 0, nullptr).m_ofn.nFilterIndex);
    iFileNameDialog custom(nullptr, kFilter, "Mine\0*.png\0", 0, "photo.png", nullptr, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(0u, custom.m_ofn.nFilterIndex);
}

TEST(FileNameDialog, FillsTheRecordWithItsOwnBuffers)
{
    const char kCustom[] = "Mine\0*.abc\0";
    iFileNameDialog dialog(nullptr, kFilter, kCustom, 1, "photo.png", "photo", "C:\\img", "Save it", OFN_HIDEREADONLY,
                           "jpg");
    const OPENFILENAMEA& ofn = dialog.m_ofn;
    EXPECT_EQ(sizeof(OPENFILENAMEA), ofn.lStructSize);
    EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLEHOOK), ofn.Flags);
    EXPECT_EQ(reinterpret_cast<LPARAM>(&dialog), ofn.lCustData);
    EXPECT_EQ(&iFileNameDialog::HookProc, ofn.lpfnHook);
    EXPECT_EQ(dialog.m_fileBuffer, ofn.lpstrFile);
    EXPECT_GE(ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));
    EXPECT_STREQ("photo.png", ofn.lpstrFile);
    ASSERT_NE(nullptr, ofn.lpstrFileTitle);
    EXPECT_NE(ofn.lpstrFileTitle, ofn.lpstrFile);
    EXPECT_STREQ("photo", ofn.lpstrFileTitle);
    EXPECT_GE(ofn.nMaxFileTitle, static_cast<DWORD>(MAX_PATH));
    // The custom filter is copied whole, both its strings, into room of its own.
    ASSERT_NE(nullptr, ofn.lpstrCustomFilter);
    EXPECT_NE(kCustom, ofn.lpstrCustomFilter);
    EXPECT_EQ(0, std::memcmp(kCustom, ofn.lpstrCustomFilter, sizeof(kCustom)));
    EXPECT_GE(ofn.nMaxCustFilter, static_cast<DWORD>(sizeof(kCustom)));
    // The caller's texts are used in place.
    EXPECT_EQ(kFilter, ofn.lpstrFilter);
    EXPECT_STREQ("C:\\img", ofn.lpstrInitialDir);
    EXPECT_STREQ("Save it", ofn.lpstrTitle);
    EXPECT_STREQ("jpg", ofn.lpstrDefExt);

    iFileNameDialog bare = MakeDialog(kFilter, 1, nullptr);
    EXPECT_EQ(nullptr, bare.m_ofn.lpstrFileTitle);
    EXPECT_EQ(0u, bare.m_ofn.nMaxFileTitle);
    EXPECT_EQ(nullptr, bare.m_ofn.lpstrCustomFilter);
    EXPECT_EQ(0u, bare.m_ofn.nMaxCustFilter);
    EXPECT_STREQ("", bare.m_fileBuffer);
}

TEST(FileNameDialog, CutsANameOrTitleLongerThanItsBuffer)
{
    const std::string longName(600, 'n');
    iFileNameDialog dialog(nullptr, kFilter, nullptr, 1, longName.c_str(), longName.c_str(), nullptr, nullptr, 0,
                           nullptr);
    EXPECT_EQ(std::string(iFileNameDialog::kFileBufferSize - 1, 'n'), dialog.m_fileBuffer);
    EXPECT_EQ(std::string(dialog.m_ofn.nMaxFileTitle - 1, 'n'), dialog.m_ofn.lpstrFileTitle);
}

// A dialog as GetSaveFileName leaves it: path, offset of the extension, chosen type.
void SetChosen(iFileNameDialog& dialog, const std::string& path, WORD extensionAt, DWORD filterIndex)
{
    ASSERT_LT(path.size(), sizeof(dialog.m_fileBuffer));
    std::strcpy(dialog.m_fileBuffer, path.c_str());
    dialog.m_ofn.nFileExtension = extensionAt;
    dialog.m_ofn.nFilterIndex = filterIndex;
}

TEST(FileNameDialog, MakesTheChosenNameCarryTheChosenTypesExtension)
{
    struct Case {
        const char* why;
        const char* path;
        WORD extensionAt;
        const char* result;
    };
    const Case kCases[] = {
        {"no extension", "C:\\img\\photo", 0, "C:\\img\\photo.jpg"},
        {"another extension", "C:\\img\\photo.png", 13, "C:\\img\\photo.jpg"},
        {"its own extension", "C:\\img\\photo.jpg", 13, "C:\\img\\photo.jpg"},
        {"ends in a dot: no second dot", "C:\\img\\photo.", 13, "C:\\img\\photo.jpg"},
        {"dot in a folder name only", "C:\\a.b\\photo", 0, "C:\\a.b\\photo.jpg"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        iFileNameDialog dialog = MakeDialog(kFilter, 1, nullptr);
        SetChosen(dialog, c.path, c.extensionAt, 1);
        ASSERT_TRUE(dialog.AppendFilterExtension());
        EXPECT_STREQ(c.result, dialog.m_fileBuffer);
        EXPECT_STREQ("jpg", dialog.m_fileBuffer + dialog.m_ofn.nFileExtension);
    }
}

TEST(FileNameDialog, RefusesAnExtensionThatWouldNotFitOrNamesNoFile)
{
    const DWORD room = iFileNameDialog::kFileBufferSize - 1;  // characters before the null
    const std::string full(room - 4, 'p');                     // with ".jpg" it fills the buffer exactly
    const char kJpegFilter[] = "JPEG\0*.jpeg\0";
    struct Case {
        const char* why;
        const char* filter;
        std::string path;
        WORD extensionAt;
        DWORD filterIndex;
        BOOL appended;
    };
    const Case kCases[] = {
        {"dot and extension fill the buffer", kFilter, full, 0, 1, TRUE},
        {"one character too many", kFilter, full + "q", 0, 1, FALSE},
        {"replacing keeps within the buffer", kFilter, full + ".png", static_cast<WORD>(full.size() + 1), 1, TRUE},
        {"a longer extension would not fit", kJpegFilter, full + ".tif", static_cast<WORD>(full.size() + 1), 1,
         FALSE},
        {"type *.* names no file", kFilter, "C:\\photo.jpg", 9, 3, FALSE},
        {"no type chosen", kFilter, "C:\\photo", 0, 0, FALSE},
        {"extension offset past the path", kFilter, "C:\\photo", 200, 1, FALSE},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        iFileNameDialog dialog = MakeDialog(c.filter, 1, nullptr);
        SetChosen(dialog, c.path, c.extensionAt, c.filterIndex);
        BOOL appended = dialog.AppendFilterExtension();
        EXPECT_EQ(c.appended, appended);
        EXPECT_LT(std::strlen(dialog.m_fileBuffer), static_cast<size_t>(iFileNameDialog::kFileBufferSize));
        if (!appended) {
            EXPECT_EQ(c.path, dialog.m_fileBuffer);
            EXPECT_EQ(c.extensionAt, dialog.m_ofn.nFileExtension);
        }
    }
}

// A stand-in for the system's dialog: a window holding a name box with the system's
// id, and the hook's own child dialog inside it.
class HookWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_frame);
        m_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 200, 20, m_frame,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(iFileNameDialog::kFileNameEditId)),
                                 nullptr, nullptr);
        m_hookDialog = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 40, 10, 10, m_frame, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_edit);
        ASSERT_NE(nullptr, m_hookDialog);
    }
    void TearDown() override { DestroyWindow(m_frame); }

    // The name box's text after the type changed to filterIndex (one-based).
    std::string AfterTypeChange(iFileNameDialog& dialog, const char* text, DWORD filterIndex, UINT code)
    {
        SetWindowTextA(m_edit, text);
        dialog.m_ofn.nFilterIndex = filterIndex;
        OFNOTIFYA notify = {};
        notify.hdr.hwndFrom = m_frame;
        notify.hdr.code = code;
        notify.lpOFN = &dialog.m_ofn;
        EXPECT_EQ(0u, iFileNameDialog::HookProc(m_hookDialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify)));
        char buffer[512] = {};
        GetWindowTextA(m_edit, buffer, sizeof(buffer));
        return buffer;
    }

    HWND m_frame = nullptr;
    HWND m_edit = nullptr;
    HWND m_hookDialog = nullptr;
};

TEST_F(HookWindows, SwapsTheExtensionWhenTheTypeChanges)
{
    struct Case {
        const char* why;
        const char* text;
        DWORD filterIndex;
        const char* result;
    };
    const Case kCases[] = {
        {"another type's extension", "photo.png", 1, "photo.jpg"},
        {"no extension gets one", "photo", 2, "photo.png"},
        {"an empty box stays empty", "", 1, ""},
        {"a leading dot is no extension", ".profile", 1, ".profile"},
        {"the dot is in a folder name", "a.b\\photo", 1, "a.b\\photo"},
        {"all files", "photo.jpg", 3, "photo.*"},
        {"a full path", "C:\\img\\photo.jpg", 2, "C:\\img\\photo.png"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        iFileNameDialog dialog = MakeDialog(kFilter, 1, nullptr);
        EXPECT_EQ(c.result, AfterTypeChange(dialog, c.text, c.filterIndex, CDN_TYPECHANGE));
    }
}

TEST_F(HookWindows, LeavesTheNameBoxAloneOnOtherNotifications)
{
    iFileNameDialog dialog = MakeDialog(kFilter, 1, nullptr);
    EXPECT_EQ("photo.png", AfterTypeChange(dialog, "photo.png", 1, CDN_SELCHANGE));
    EXPECT_EQ(0u, iFileNameDialog::HookProc(m_hookDialog, WM_INITDIALOG, 0, 0));
}

// Drives the system's save dialog from a thread timer: optionally picks another type,
// reads the name box, then confirms or cancels.
struct SaveDialogScript {
    int typeToPick = -1;  // zero-based, -1 leaves the type alone
    bool confirm = true;
    std::string nameBoxAfterPick;
    bool sawDialog = false;
    int ticks = 0;
};
SaveDialogScript g_saveDialog;

void CALLBACK DriveSaveDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        // Never wait for a person: without a dialog after a few seconds the test fails.
        if (++g_saveDialog.ticks > 100)
            KillTimer(nullptr, timer);
        return;
    }
    KillTimer(nullptr, timer);
    g_saveDialog.sawDialog = true;
    const int kTypeCombo = 0x470;  // cmb1
    if (g_saveDialog.typeToPick >= 0) {
        HWND types = GetDlgItem(dialog, kTypeCombo);
        SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(g_saveDialog.typeToPick), 0);
        // What the combo box sends when the user picks from its list.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kTypeCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kTypeCombo, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    }
    char name[512] = {};
    HWND nameBox = GetDlgItem(dialog, iFileNameDialog::kFileNameEditId);
    if (!nameBox)
        nameBox = GetDlgItem(dialog, iFileNameDialog::kFileNameComboId);
    GetWindowTextA(nameBox, name, sizeof(name));
    g_saveDialog.nameBoxAfterPick = name;
    PostMessageA(dialog, WM_COMMAND, g_saveDialog.confirm ? IDOK : IDCANCEL, 0);
}

std::string TempFolderWithoutSeparator()
{
    char path[MAX_PATH] = {};
    GetTempPathA(sizeof(path), path);
    std::string folder(path);
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

TEST(FileNameDialogRun, PickingAnotherTypeSwapsTheExtensionAndConfirmsTheName)
{
    std::string folder = TempFolderWithoutSeparator();
    g_saveDialog = SaveDialogScript();
    g_saveDialog.typeToPick = 0;
    iFileNameDialog dialog(nullptr, kFilter, nullptr, 0, "photo.png", nullptr, folder.c_str(), "Save As", 0, nullptr);
    ASSERT_EQ(2u, dialog.m_ofn.nFilterIndex);
    ASSERT_NE(0u, SetTimer(nullptr, 0, 50, DriveSaveDialog));
    ASSERT_TRUE(dialog.DoSave());
    ASSERT_TRUE(g_saveDialog.sawDialog);
    EXPECT_EQ("photo.jpg", g_saveDialog.nameBoxAfterPick);
    EXPECT_EQ(1u, dialog.m_ofn.nFilterIndex);
    std::string chosen = dialog.m_fileBuffer;
    EXPECT_EQ(folder + "\\photo.jpg", chosen);
    ASSERT_TRUE(dialog.AppendFilterExtension());
    EXPECT_EQ(chosen, dialog.m_fileBuffer);
}

TEST(FileNameDialogRun, CancelLeavesTheBufferAsItWas)
{
    g_saveDialog = SaveDialogScript();
    g_saveDialog.confirm = false;
    iFileNameDialog dialog(nullptr, kFilter, nullptr, 0, "photo.png", nullptr, TempFolderWithoutSeparator().c_str(),
                           nullptr, 0, nullptr);
    ASSERT_NE(0u, SetTimer(nullptr, 0, 50, DriveSaveDialog));
    EXPECT_FALSE(dialog.DoOpen());
    ASSERT_TRUE(g_saveDialog.sawDialog);
    EXPECT_STREQ("photo.png", dialog.m_fileBuffer);
}

} // namespace
