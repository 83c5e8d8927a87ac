// The Options sheet run by the workspace's Options command, driven from a timer as a
// person would use it: what the pages show, what OK stores and writes, what Cancel
// undoes, the file types' bits, and fifty runs that leave no window objects behind.
#include "workspace_test_support.h"

#include "app/AppCommands.h"
#include "app/OptionPropertySheet.h"

#include "lib/src/Win2/Wnd/iListCtrl.h"

#include "framework/object_count_test_support.h"
#include "framework/window_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace options_sheet_test {
namespace {

using workspace_test::WorkspaceTest;

// Steps run one per timer tick on the sheet while it is up; the last one ends it.
using SheetStep = std::function<void(OptionPropertySheet&)>;
std::vector<SheetStep> g_steps;
size_t g_nextStep = 0;
int g_ticksWithoutSheet = 0;

BOOL CALLBACK FindOptionSheet(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && dynamic_cast<OptionPropertySheet*>(CWnd::FromHandlePermanent(window))) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK RunSheetStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindOptionSheet, reinterpret_cast<LPARAM>(&window));
    if (!window) {
        if (++g_ticksWithoutSheet > 200)
            KillTimer(nullptr, timer);
        return;
    }
    if (g_nextStep >= g_steps.size()) {
        KillTimer(nullptr, timer);
        return;
    }
    auto* sheet = dynamic_cast<OptionPropertySheet*>(CWnd::FromHandlePermanent(window));
    g_steps[g_nextStep++](*sheet);
}

void PressOk(OptionPropertySheet& sheet)
{
    sheet.PostMessage(PSM_PRESSBUTTON, PSBTN_OK);
}

void PressCancel(OptionPropertySheet& sheet)
{
    sheet.PostMessage(PSM_PRESSBUTTON, PSBTN_CANCEL);
}

void ShowFileTypes(OptionPropertySheet& sheet)
{
    sheet.SendMessage(PSM_SETCURSEL, 1, 0);
}

class OptionsSheet : public WorkspaceTest {
protected:
    // Runs the Options command with these steps on the sheet; they must end it.
    void RunOptions(std::vector<SheetStep> steps)
    {
        g_steps = std::move(steps);
        g_nextStep = 0;
        g_ticksWithoutSheet = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, RunSheetStep);
        ASSERT_NE(0u, timer);
        m_frame->SendMessage(WM_COMMAND, ID_EXTRA_OPTIONS);
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_steps.size(), g_nextStep) << "every step ran while the sheet was up";
    }
    Option::Common& Common() { return g_pOption->m_common; }
    iType::BitSet& FileTypes() { return g_pOption->m_fileType.m_fileType; }
};

TEST_F(OptionsSheet, OpensOnCommonWithTheStoresValues)
{
    Common().m_defaultOpenIn.SetText("C:\\open here");
    Common().m_defaultSaveIn.SetText("C:\\save here");
    Common().m_alwaysBackupCopy.Value() = 1;
    Common().m_confirmOverwrite.Value() = 1;
    RunOptions({[](OptionPropertySheet& sheet) {
                    OptionPropertySheet::Common* page = sheet.GetCommonPage();
                    EXPECT_EQ(reinterpret_cast<LRESULT>(page->m_hWnd), sheet.SendMessage(PSM_GETCURRENTPAGEHWND));
                    ASSERT_NE(nullptr, page->m_openIn);
                    EXPECT_EQ("C:\\open here", WorkspaceTest::Text(page->m_openIn));
                    EXPECT_EQ("C:\\save here", WorkspaceTest::Text(page->m_saveIn));
                    EXPECT_EQ(BST_UNCHECKED, page->m_graphicsOnly->GetCheck());
                    EXPECT_EQ(BST_CHECKED, page->m_backupCopy->GetCheck());
                    EXPECT_EQ(BST_CHECKED, page->m_confirmOverwrite->GetCheck());
                    EXPECT_STREQ("Complete", page->m_displaySize->GetSelectedText());
                    EXPECT_EQ(nullptr, sheet.GetFileTypePage()->m_list) << "the second page is made when shown";
                },
                PressCancel});
}

TEST_F(OptionsSheet, OkStoresTheChoicesWritesThemAndAppliesThem)
{
    RunOptions({[](OptionPropertySheet& sheet) {
                    OptionPropertySheet::Common* page = sheet.GetCommonPage();
                    page->m_displaySize->SelectByData(Option::kDisplayQuarter);
                    page->m_automaticPreview->SetCheck(BST_CHECKED);
                },
                PressOk});
    EXPECT_EQ(4, Common().m_displaySize.Value());
    EXPECT_EQ(1, Common().m_automaticPreviewDisplay.Value());
    const app_test::StoredValue stored = app_test::ReadValue("Option\\Common", "Display Size");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), stored.type);
    EXPECT_EQ(4u, stored.Dword());
    EXPECT_EQ(1u, app_test::ReadValue("Option\\Common", "Automatic Preview Display").Dword());
    // Applied to the running view: the preview now shows a quarter.
    EXPECT_EQ(4, m_workspace->GetPreview()->GetDisplayMode());
}

TEST_F(OptionsSheet, AValueNoEntryCarriesShowsNoSelectionAndOkStoresMinusOne)
{
    Common().m_displaySize.Value() = 3;
    RunOptions({[](OptionPropertySheet& sheet) {
                    EXPECT_EQ(CB_ERR, sheet.GetCommonPage()->m_displaySize->GetCurSel());
                },
                PressOk});
    EXPECT_EQ(-1, Common().m_displaySize.Value());
}

TEST_F(OptionsSheet, CancelLeavesTheStoreAsItWasBeforeTheSheet)
{
    Common().m_displayGraphicsOnly.Value() = 1;
    Common().m_confirmOverwrite.Value() = 1;
    g_pOption->SaveToRegistry();
    RunOptions({[](OptionPropertySheet& sheet) {
                    OptionPropertySheet::Common* page = sheet.GetCommonPage();
                    page->m_graphicsOnly->SetCheck(BST_UNCHECKED);
                    page->m_confirmOverwrite->SetCheck(BST_UNCHECKED);
                },
                // Leaving the page stores the changes in the fields before the Cancel.
                ShowFileTypes, PressCancel});
    EXPECT_EQ(1, Common().m_displayGraphicsOnly.Value());
    EXPECT_EQ(1, Common().m_confirmOverwrite.Value());
}

TEST_F(OptionsSheet, FileTypesListsTheFiveTypesWithTheirChecks)
{
    FileTypes().ClearAll();
    FileTypes().SetBit(20);
    RunOptions({ShowFileTypes,
                [](OptionPropertySheet& sheet) {
                    iListCtrl* list = sheet.GetFileTypePage()->m_list;
                    ASSERT_NE(nullptr, list);
                    ASSERT_EQ(5, list->GetItemCount());
                    const char* names[] = {"JPG", "TIFF", "GIF", "BMP", "PCX"};
                    const DWORD_PTR groups[] = {2, 39, 20, 41, 31};
                    for (int row = 0; row < 5; ++row) {
                        SCOPED_TRACE(names[row]);
                        EXPECT_STREQ(names[row], list->GetItemText(row, 0));
                        EXPECT_EQ(groups[row], list->GetItemData(row));
                        EXPECT_EQ(row == 2 ? 1 : 0, list->GetCheck(row));
                    }
                    EXPECT_STREQ("CompuServe GIF", list->GetItemText(2, 1));
                    EXPECT_STREQ("*.jpg;*.jpeg;*.jtf", list->GetItemText(0, 2));
                },
                PressCancel});
}

TEST_F(OptionsSheet, SelectAllAndDeselectAllTakeEffectOnOk)
{
    FileTypes().ClearAll();
    RunOptions({ShowFileTypes,
                [](OptionPropertySheet& sheet) {
                    sheet.GetFileTypePage()->OnSelectAll(nullptr);
                },
                PressOk});
    for (int bit : {2, 39, 20, 41, 31})
        EXPECT_TRUE(FileTypes().TestBit(bit)) << bit;
    EXPECT_EQ(5, FileTypes().CountBits());

    RunOptions({ShowFileTypes,
                [](OptionPropertySheet& sheet) {
                    sheet.GetFileTypePage()->OnDeselectAll(nullptr);
                },
                PressOk});
    EXPECT_EQ(0, FileTypes().CountBits());
}

TEST_F(OptionsSheet, SavingTheFileTypesClearsBitsOfNoListedType)
{
    FileTypes().SetBit(100);
    RunOptions({ShowFileTypes, PressOk});
    EXPECT_FALSE(FileTypes().TestBit(100));
    EXPECT_TRUE(FileTypes().TestBit(2));
}

TEST_F(OptionsSheet, OnlyCommonOpenedLeavesTheFileTypeBits)
{
    FileTypes().SetBit(100);
    RunOptions({PressOk});
    EXPECT_TRUE(FileTypes().TestBit(100));
}

// The sheet opens over the middle of the main window, kept whole on the screen.
TEST_F(OptionsSheet, OpensCentredOnTheMainWindowAndWholeOnTheScreen)
{
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    struct Case {
        const char* why;
        CRect frame;
        bool centred;
    };
    const Case cases[] = {
        {"a frame away from the screen's corner", CRect(160, 90, 160 + 720, 90 + 620), true},
        {"a frame half past the screen's left and top edges", CRect(-600, -500, -600 + 720, -500 + 620), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_frame->MoveWindow(&c.frame);
        CRect sheetRect;
        RunOptions({[&sheetRect](OptionPropertySheet& sheet) { sheet.GetWindowRect(&sheetRect); }, PressCancel});
        ASSERT_FALSE(sheetRect.IsRectEmpty());
        if (c.centred) {
            EXPECT_NEAR(c.frame.CenterPoint().x, sheetRect.CenterPoint().x, 1);
            EXPECT_NEAR(c.frame.CenterPoint().y, sheetRect.CenterPoint().y, 1);
        }
        EXPECT_GE(sheetRect.left, work.left);
        EXPECT_GE(sheetRect.top, work.top);
        EXPECT_LE(sheetRect.right, work.right);
        EXPECT_LE(sheetRect.bottom, work.bottom);
    }
}

// Each mnemonic of the Common page reaches one control: two buttons sharing one would
// make Alt+letter only move between them.
TEST_F(OptionsSheet, EveryMnemonicOnTheCommonPageIsItsOwn)
{
    std::vector<std::string> texts;
    RunOptions({[&texts](OptionPropertySheet& sheet) {
                    for (CWnd* child = sheet.GetCommonPage()->GetWindow(GW_CHILD); child;
                         child = child->GetWindow(GW_HWNDNEXT))
                        texts.push_back(WorkspaceTest::Text(child));
                },
                PressCancel});
    std::string browse;
    std::vector<char> mnemonics;
    for (const std::string& text : texts) {
        const size_t marker = text.find('&');
        if (marker == std::string::npos || marker + 1 >= text.size())
            continue;
        const char mnemonic = static_cast<char>(toupper(static_cast<unsigned char>(text[marker + 1])));
        EXPECT_EQ(mnemonics.end(), std::find(mnemonics.begin(), mnemonics.end(), mnemonic))
            << "\"" << text << "\" shares its mnemonic";
        mnemonics.push_back(mnemonic);
        std::string plain = text;
        plain.erase(marker, 1);
        if (plain == "Browse")
            browse += text + ";";
    }
    EXPECT_EQ("&Browse;B&rowse;", browse) << "both buttons still read Browse";
}

TEST_F(OptionsSheet, FiftyRunsLeaveNoWindowObjectsBehind)
{
    auto run = [this] { RunOptions({ShowFileTypes, PressOk}); };
    // The first runs make what stays for the process (classes, the measuring dialog's font).
    run();
    run();
    test_support::PumpPending();
    const DWORD userBefore = test_support::LiveUserObjects();
    const DWORD gdiBefore = test_support::LiveGdiObjects();
    const size_t heapBefore = test_support::HeapBytesInUse();
    for (int i = 0; i < 50; ++i)
        run();
    test_support::PumpPending();
    // A window or GDI object left behind by a run would be fifty over the fifty runs.
    EXPECT_LE(test_support::LiveUserObjects(), userBefore + 2);
    EXPECT_LE(test_support::LiveGdiObjects(), gdiBefore + 2);
    // The control objects the two pages make come to over 3 KB a run, 160 KB over the fifty.
    const size_t heapAfter = test_support::HeapBytesInUse();
    EXPECT_LT(heapAfter, heapBefore + 32 * 1024) << "grew by " << heapAfter - heapBefore;
}

} // namespace
} // namespace options_sheet_test
