// The shortcut manager: shortcut texts, the command list built from the test menu,
// finding and removing shortcuts, stored sets in the registry, installing the table on a
// frame (never destroying a loaded table), and the dialog run's OK and Cancel through a
// stand-in dialog.
#include "toolkit/shortcuts/QZAccelManager.h"

#include "accel_test_support.h"
#include "framework/ControlsLists.h"

#include <algorithm>
#include <string>
#include <vector>

using toolkit_test::Accel;
using toolkit_test::kOpen;
using toolkit_test::kSave;
using toolkit_test::kPrint;
using toolkit_test::kCtrl;
using toolkit_test::AccelFrameTest;
using toolkit_test::CommandForKey;
using toolkit_test::RecordsOfTable;
using toolkit_test::SameRecords;

namespace {

std::string TextOf(BYTE fVirt, WORD key)
{
    CString text;
    CQZAccelManager::GetAccelText(Accel(fVirt, key, 1), text);
    return static_cast<LPCSTR>(text);
}

std::vector<std::string> CommandNames(const CQZAccelManager& manager)
{
    std::vector<std::string> names;
    POSITION pos = manager.GetFirstCommandPosition();
    while (pos) {
        UINT id = 0;
        CString name;
        manager.GetNextCommand(pos, id, name);
        names.push_back(static_cast<LPCSTR>(name));
    }
    return names;
}

} // namespace

TEST(AccelText, NamesModifiersInOrderAndTheKeyFromTheTable)
{
    struct Case {
        const char* why;
        BYTE fVirt;
        WORD key;
        const char* text;
    };
    const Case kCases[] = {
        {"shift and ctrl with a function key", FVIRTKEY | FSHIFT | FCONTROL, VK_F5, "Shift+Ctrl+F5"},
        {"ctrl with a letter", kCtrl, 'O', "Ctrl+O"},
        {"every modifier, always Shift, Ctrl, Alt", FVIRTKEY | FALT | FCONTROL | FSHIFT, VK_DELETE,
         "Shift+Ctrl+Alt+DELETE"},
        {"no-invert is not a modifier", kCtrl | FNOINVERT, 'O', "Ctrl+O"},
        {"a digit names itself", FVIRTKEY, '7', "7"},
        {"page up is PREVIOUS", FVIRTKEY, VK_PRIOR, "PREVIOUS"},
        {"the middle mouse button", FVIRTKEY, VK_MBUTTON, "MIDDLEBUTTON"},
        {"last row of the table", FVIRTKEY, VK_OEM_CLEAR, "OEM_CLEAR"},
        {"key 0 is empty even with modifiers", kCtrl | FSHIFT, 0, ""},
        {"a key outside the table leaves the modifiers", kCtrl, VK_OEM_1, "Ctrl+"},
        {"a key outside the table without modifiers", FVIRTKEY, VK_OEM_1, ""},
        {"a lower-case character is the character, not NUMPAD1", 0, 'a', "A"},
        {"an upper-case character", 0, 'A', "A"},
        {"a punctuation character is not the key of its code", 0, '+', "+"},
        {"a character with Alt", FALT, 'x', "Alt+X"},
        {"a control character is typed with Ctrl", 0, 3, "Ctrl+C"},
        {"a control character that has Ctrl already", FCONTROL, 3, "Ctrl+C"},
        {"the space character", 0, ' ', "SPACE"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.text, TextOf(c.fVirt, c.key));
    }
}

TEST(AccelText, KeyNamesCoverTheTableAndNothingElse)
{
    struct Case {
        WORD key;
        const char* name;
    };
    const Case kCases[] = {{VK_LBUTTON, "LEFTBUTTON"}, {VK_RETURN, "RETURN"}, {'0', "0"},        {'Z', "Z"},
                           {VK_NUMPAD9, "NUMPAD9"},    {VK_F12, "F12"},       {VK_SCROLL, "SCROLL"},
                           {VK_PA1, "PA1"},            {0, ""},               {0x5F, ""},
                           {'a', "NUMPAD1"},           {0xFF, ""}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.key);
        EXPECT_STREQ(c.name, CQZAccelManager::GetKeyName(c.key));
    }
}

TEST(AccelManager, ShortcutTextJoinsTheCommandsShortcutsInTableOrder)
{
    CQZAccelManager manager;
    ASSERT_TRUE(manager.AddShortcut(kOpen, kCtrl, 'O'));
    ASSERT_TRUE(manager.AddShortcut(kSave, kCtrl, 'S'));
    ASSERT_TRUE(manager.AddShortcut(kOpen, kCtrl, 0));  // no text: left out, no lone comma
    ASSERT_TRUE(manager.AddShortcut(kOpen, kCtrl | FALT, 'O'));

    CString text;
    manager.GetShortcutText(kOpen, text);
    EXPECT_STREQ("Ctrl+O, Ctrl+Alt+O", text);
    CString continued("Open");
    manager.GetShortcutText(kOpen, continued);
    EXPECT_STREQ("Open, Ctrl+O, Ctrl+Alt+O", continued);
    CString none;
    manager.GetShortcutText(kPrint, none);
    EXPECT_STREQ("", none);

    std::vector<std::string> walked;
    std::vector<WORD> keys;
    int pos = 0;
    CString shortcut;
    BYTE fVirt = 0;
    WORD key = 0;
    while (manager.GetNextShortcut(pos, kOpen, shortcut, fVirt, key)) {
        walked.push_back(static_cast<LPCSTR>(shortcut));
        keys.push_back(key);
    }
    EXPECT_EQ((std::vector<std::string>{"Ctrl+O", "", "Ctrl+Alt+O"}), walked);
    EXPECT_EQ((std::vector<WORD>{'O', 0, 'O'}), keys);
}

TEST(AccelManager, FindsByModifiersAndKeyAndRemovesOnlyTheNamedCommandsRecord)
{
    CQZAccelManager manager;
    manager.AddShortcut(kOpen, kCtrl, 'K');
    manager.AddShortcut(kSave, kCtrl | FNOINVERT, 'K');

    UINT found = 0;
    ASSERT_TRUE(manager.FindShortcut(kCtrl | FNOINVERT, 'K', found));
    EXPECT_EQ(kOpen, found) << "the first record in table order, FNOINVERT not counted";
    EXPECT_FALSE(manager.FindShortcut(kCtrl | FSHIFT, 'K', found));

    // Both commands share Ctrl+K: removing Save's must leave Open's.
    ASSERT_TRUE(manager.RemoveShortcut(kSave, kCtrl, 'K'));
    ASSERT_EQ(1, manager.GetCount());
    EXPECT_EQ(kOpen, manager.GetTable()[0].cmd);
    ASSERT_TRUE(manager.FindShortcut(kCtrl, 'K', found));
    EXPECT_EQ(kOpen, found);

    // A command without that shortcut removes nothing.
    EXPECT_FALSE(manager.RemoveShortcut(kSave, kCtrl, 'K'));
    EXPECT_EQ(1, manager.GetCount());
}

TEST(AccelManager, EditsMarkTheTableModifiedAndNoLongerTheDefaults)
{
    CQZAccelManager manager;
    EXPECT_FALSE(manager.IsModified());
    EXPECT_FALSE(manager.IsReset());
    EXPECT_FALSE(manager.RemoveShortcut(kOpen, kCtrl, 'O'));
    EXPECT_FALSE(manager.IsModified()) << "a removal that found nothing changes nothing";
    manager.AddShortcut(kOpen, kCtrl, 'O');
    EXPECT_TRUE(manager.IsModified());
}

TEST_F(AccelFrameTest, CommandListFollowsTheMenuWithCategoriesAndFullNames)
{
    CQZAccelManager manager;
    // Print is listed as two commands in its place; the second id given twice keeps its last name.
    manager.AddSwapOutItem(kPrint, 9001, "Print Preview");
    manager.AddSwapOutItem(kPrint, 9002, "Print Setup");
    manager.AddSwapOutItem(kPrint, 9002, "Page Setup");
    // Extra items join the category of the same name whatever its case.
    manager.AddExtraItem("edit", 9100, "Find");
    manager.AddExtraItem("Nowhere", 9101, "Lost");
    manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "Shortcuts of the test", "Test");
    EXPECT_TRUE(manager.IsInitialized());
    EXPECT_STREQ("Shortcuts of the test", manager.GetTitle());

    const std::vector<std::string> names = CommandNames(manager);
    ASSERT_GE(names.size(), 12u);
    EXPECT_EQ("File\\Open...", names[0]) << "mnemonic and accelerator text stripped";
    EXPECT_EQ("File\\Save", names[1]);
    EXPECT_EQ("File\\Recent\\1 First.jpg", names[2]);
    EXPECT_EQ("File\\Recent\\2 Second.jpg", names[3]);
    std::vector<std::string> printNames(names.begin() + 4, names.begin() + 6);
    std::sort(printNames.begin(), printNames.end());
    EXPECT_EQ((std::vector<std::string>{"File\\Page Setup", "File\\Print Preview"}), printNames);
    EXPECT_EQ("File\\Exit", names[6]);
    EXPECT_EQ("Edit\\Undo", names[7]);
    EXPECT_EQ("Edit\\Find", names[11]) << "extra items follow their category's menu";
    for (const std::string& name : names) {
        EXPECT_EQ(std::string::npos, name.find("Print...")) << "Print is swapped out";
        EXPECT_EQ(std::string::npos, name.find("Lost")) << "an extra item of no menu is not listed";
        EXPECT_EQ(std::string::npos, name.find("Send this Program")) << "a top-level command is not listed";
    }

    // The 300-character label is named whole.
    CString longName;
    ASSERT_TRUE(manager.GetCommandName(ID_TEST_LONG_TEXT, longName));
    EXPECT_EQ(5 + 300 - 1, longName.GetLength()) << "View\\ and the label without its '&'";
    EXPECT_EQ(0, longName.Find("View\\Long abcdefghij"));

    CString category;
    ASSERT_TRUE(manager.GetCommandCategory(9001, category));
    EXPECT_STREQ("File", category);
    EXPECT_TRUE(manager.IsCommandInCategory(9100, "Edit"));
    EXPECT_FALSE(manager.IsCommandInCategory(9100, "edit")) << "categories compare exactly";
    EXPECT_FALSE(manager.IsCommandInCategory(kPrint, "File")) << "a swapped-out command is not listed";
    CString untouched("kept");
    EXPECT_FALSE(manager.GetCommandName(4242, untouched));
    EXPECT_STREQ("kept", untouched);

    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 100, 200), frame, 1));
    manager.FillCategoryCombo(&combo);
    ASSERT_EQ(4, combo.GetCount());
    const char* kCategories[] = {"File", "Edit", "View", "Help"};
    for (int i = 0; i < 4; ++i) {
        CString text;
        combo.GetLBText(i, text);
        EXPECT_STREQ(kCategories[i], text);
    }
}

TEST_F(AccelFrameTest, WithoutAStoredSetTheDefaultsAreInstalledAndDeletedAgainAtTheEnd)
{
    StoreSet("Stale", {Accel(kCtrl, 'Q', kOpen)});
    {
        CQZAccelManager manager;
        manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
        EXPECT_TRUE(manager.IsReset());
        EXPECT_FALSE(manager.IsModified());
        ASSERT_EQ(5, manager.GetCount());
        EXPECT_TRUE(SameRecords(RecordsOfTable(loadedTable), manager.GetTable(), manager.GetCount()));
        EXPECT_NE(loadedTable, frame->m_hAccelTable);
        EXPECT_EQ(kOpen, CommandForKey(frame->m_hAccelTable, FCONTROL, 'O'));
        EXPECT_EQ(ID_TEST_RECENT_FIRST, CommandForKey(frame->m_hAccelTable, FSHIFT | FCONTROL, VK_F5));
        EXPECT_EQ(0u, CommandForKey(frame->m_hAccelTable, FCONTROL, 'Q'));
        StoreSet("Test", {Accel(kCtrl, 'Q', kOpen)});
    }
    std::vector<BYTE> bytes;
    EXPECT_FALSE(StoredBytes("Test", bytes)) << "the defaults are what the next start falls back to";
    EXPECT_TRUE(StoredBytes("Stale", bytes)) << "another set is left alone";
}

TEST_F(AccelFrameTest, AStoredSetIsLoadedAndInstalled)
{
    StoreSet("Test", {Accel(kCtrl, 'K', kSave), Accel(FVIRTKEY | FALT, VK_F2, kOpen)});
    CQZAccelManager manager;
    manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
    EXPECT_FALSE(manager.IsReset());
    EXPECT_FALSE(manager.IsModified());
    ASSERT_EQ(2, manager.GetCount());
    EXPECT_EQ(kSave, CommandForKey(frame->m_hAccelTable, FCONTROL, 'K'));
    EXPECT_EQ(kOpen, CommandForKey(frame->m_hAccelTable, FALT, VK_F2));
    EXPECT_EQ(0u, CommandForKey(frame->m_hAccelTable, FCONTROL, 'O')) << "the defaults are replaced";
}

TEST_F(AccelFrameTest, InstallingNeverDestroysALoadedTableButReplacesItsOwn)
{
    CQZAccelManager manager;
    manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
    const HACCEL first = frame->m_hAccelTable;
    ASSERT_NE(loadedTable, first);
    EXPECT_EQ(5u, RecordsOfTable(loadedTable).size()) << "the frame's loaded table still exists";

    manager.AddShortcut(kPrint, kCtrl, 'P');
    ASSERT_TRUE(manager.ApplyTable());
    EXPECT_NE(first, frame->m_hAccelTable);
    EXPECT_TRUE(RecordsOfTable(first).empty()) << "the manager's own earlier table is destroyed, not leaked";
    EXPECT_EQ(kPrint, CommandForKey(frame->m_hAccelTable, FCONTROL, 'P'));
    EXPECT_EQ(5u, RecordsOfTable(loadedTable).size());
}

TEST_F(AccelFrameTest, MissingResourcesLeaveTheFramesTable)
{
    CQZAccelManager manager;
    manager.BuildCommandList(frame, 7999, IDR_TEST_MISSING_ACCEL, "", "Test");
    EXPECT_TRUE(manager.IsInitialized());
    EXPECT_TRUE(CommandNames(manager).empty());
    EXPECT_EQ(0, manager.GetCount());
    EXPECT_FALSE(manager.IsReset()) << "no defaults were loaded";
    EXPECT_EQ(loadedTable, frame->m_hAccelTable);
    EXPECT_FALSE(manager.ApplyTable());
    EXPECT_EQ(loadedTable, frame->m_hAccelTable);
}

TEST_F(AccelFrameTest, SetsAreStoredSixBytesARecordAndReadBack)
{
    {
        CQZAccelManager manager;
        manager.AddShortcut(0x1234, FVIRTKEY | FSHIFT | FNOINVERT, VK_F5);
        manager.AddShortcut(kOpen, 0, 'a');
        ASSERT_TRUE(manager.Save("Mine"));
    }
    std::vector<BYTE> bytes;
    ASSERT_TRUE(StoredBytes("Mine", bytes));
    const std::vector<BYTE> expected = {0x07, 0, VK_F5, 0, 0x34, 0x12, 0x00, 0, 'a', 0, 0x01, 0xE1};
    EXPECT_EQ(expected, bytes);

    CQZAccelManager reader;
    ASSERT_TRUE(reader.Load("Mine"));
    const ACCEL kRecords[] = {Accel(FVIRTKEY | FSHIFT | FNOINVERT, VK_F5, 0x1234), Accel(0, 'a', kOpen)};
    EXPECT_TRUE(SameRecords(std::vector<ACCEL>(kRecords, kRecords + 2), reader.GetTable(), reader.GetCount()));
    EXPECT_FALSE(reader.Load("Absent"));
    EXPECT_EQ(0, reader.GetCount()) << "a failed load leaves no table";
}

TEST_F(AccelFrameTest, StoredLengthsAreCountedInWholeRecords)
{
    struct Case {
        const char* why;
        size_t bytes;
        int records;
    };
    const Case kCases[] = {{"an empty table", 0, 0}, {"a short remainder is ignored", 13, 2}, {"one record", 6, 1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        std::vector<BYTE> bytes(c.bytes, 0);
        for (size_t i = 0; i + 6 <= bytes.size(); i += 6) {
            bytes[i] = kCtrl;
            bytes[i + 2] = 'A';
            bytes[i + 4] = 1;
        }
        StoreBytes("Sized", bytes);
        CQZAccelManager manager;
        ASSERT_TRUE(manager.Load("Sized"));
        EXPECT_EQ(c.records, manager.GetCount());
    }
}

TEST_F(AccelFrameTest, AFailedSaveKeepsTheEditsMarkedUntilAStoreWorks)
{
    CQZAccelManager manager;
    manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
    manager.AddShortcut(kPrint, kCtrl, 'P');

    // Without its registry key the application has nowhere to store the set.
    LPCSTR registryKey = app.m_pszRegistryKey;
    app.m_pszRegistryKey = nullptr;
    EXPECT_FALSE(manager.Save("Test"));
    EXPECT_FALSE(manager.Close());
    EXPECT_TRUE(manager.IsModified()) << "the edits are not stored, so they stay marked";
    std::vector<BYTE> nothing;
    EXPECT_FALSE(StoredBytes("Test", nothing));

    app.m_pszRegistryKey = registryKey;
    EXPECT_TRUE(manager.Close());
    EXPECT_FALSE(manager.IsModified());
    std::vector<BYTE> bytes;
    ASSERT_TRUE(StoredBytes("Test", bytes));
    EXPECT_EQ(6u * 6u, bytes.size());
}

namespace {

// Stand-in dialogs: each edits the manager's table as the sheet's pages do, then answers.
INT_PTR ResetAllThenCancel(CQZAccelManager* manager, CWnd*)
{
    manager->ResetToDefaults();
    return IDCANCEL;
}

INT_PTR ResetAllThenOk(CQZAccelManager* manager, CWnd*)
{
    manager->ResetToDefaults();
    return IDOK;
}

INT_PTR AssignCtrlPThenOk(CQZAccelManager* manager, CWnd*)
{
    manager->AddShortcut(kPrint, kCtrl | FNOINVERT, 'P');
    return IDOK;
}

INT_PTR EditThenCancel(CQZAccelManager* manager, CWnd*)
{
    manager->AddShortcut(kPrint, kCtrl | FNOINVERT, 'P');
    manager->RemoveShortcut(kSave, kCtrl, 'K');
    return IDCANCEL;
}

class StandInDialog {
public:
    explicit StandInDialog(QZShortcutDialogFunction function) : m_previous(QZSetShortcutDialogFunction(function)) {}
    ~StandInDialog() { QZSetShortcutDialogFunction(m_previous); }

private:
    QZShortcutDialogFunction m_previous;
};

} // namespace

TEST_F(AccelFrameTest, ResetAllThenCancelKeepsTheStoredSetAndTheInstalledTable)
{
    const std::vector<ACCEL> stored = {Accel(kCtrl, 'K', kSave)};
    StoreSet("Test", stored);
    {
        CQZAccelManager manager;
        manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
        StandInDialog dialog(&ResetAllThenCancel);
        EXPECT_FALSE(manager.RunShortcutDialog(frame));

        EXPECT_TRUE(SameRecords(stored, manager.GetTable(), manager.GetCount()));
        EXPECT_FALSE(manager.IsReset());
        EXPECT_FALSE(manager.IsModified());
        EXPECT_EQ(kSave, CommandForKey(frame->m_hAccelTable, FCONTROL, 'K'));
        EXPECT_EQ(0u, CommandForKey(frame->m_hAccelTable, FCONTROL, 'O')) << "the defaults are gone again";
    }
    std::vector<BYTE> bytes;
    ASSERT_TRUE(StoredBytes("Test", bytes)) << "a Cancel must not lose the user's shortcuts";
    EXPECT_EQ(6u, bytes.size());
}

TEST_F(AccelFrameTest, ResetAllThenCancelPutsBackATableTheManagerDidNotMake)
{
    // An empty stored set installs nothing: the frame keeps its loaded table.
    StoreSet("Test", {});
    CQZAccelManager manager;
    manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
    ASSERT_EQ(loadedTable, frame->m_hAccelTable);

    StandInDialog dialog(&ResetAllThenCancel);
    EXPECT_FALSE(manager.RunShortcutDialog(frame));
    EXPECT_EQ(loadedTable, frame->m_hAccelTable);
    EXPECT_EQ(kOpen, CommandForKey(frame->m_hAccelTable, FCONTROL, 'O'));
    EXPECT_EQ(0, manager.GetCount());
    EXPECT_FALSE(manager.IsReset());
}

TEST_F(AccelFrameTest, ResetAllThenOkKeepsTheDefaultsAndForgetsTheStoredSet)
{
    StoreSet("Test", {Accel(kCtrl, 'K', kSave)});
    {
        CQZAccelManager manager;
        manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
        StandInDialog dialog(&ResetAllThenOk);
        EXPECT_TRUE(manager.RunShortcutDialog(frame));
        EXPECT_TRUE(manager.IsReset());
        EXPECT_EQ(kOpen, CommandForKey(frame->m_hAccelTable, FCONTROL, 'O'));
        EXPECT_EQ(0u, CommandForKey(frame->m_hAccelTable, FCONTROL, 'K'));
    }
    std::vector<BYTE> bytes;
    EXPECT_FALSE(StoredBytes("Test", bytes));
}

TEST_F(AccelFrameTest, OkInstallsTheEditsAndTheEndStoresThem)
{
    {
        CQZAccelManager manager;
        manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
        StandInDialog dialog(&AssignCtrlPThenOk);
        EXPECT_TRUE(manager.RunShortcutDialog(frame));
        EXPECT_EQ(kPrint, CommandForKey(frame->m_hAccelTable, FCONTROL, 'P'));
        EXPECT_EQ(kOpen, CommandForKey(frame->m_hAccelTable, FCONTROL, 'O'));
        EXPECT_TRUE(manager.IsModified());
    }
    std::vector<BYTE> bytes;
    ASSERT_TRUE(StoredBytes("Test", bytes));
    EXPECT_EQ(6u * 6u, bytes.size());
}

TEST_F(AccelFrameTest, CancelPutsBackTheTableAndItsFlags)
{
    const std::vector<ACCEL> stored = {Accel(kCtrl, 'K', kSave), Accel(kCtrl, 'O', kOpen)};
    StoreSet("Test", stored);
    {
        CQZAccelManager manager;
        manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
        const HACCEL installed = frame->m_hAccelTable;
        StandInDialog dialog(&EditThenCancel);
        EXPECT_FALSE(manager.RunShortcutDialog(frame));
        EXPECT_TRUE(SameRecords(stored, manager.GetTable(), manager.GetCount()));
        EXPECT_FALSE(manager.IsModified());
        EXPECT_EQ(installed, frame->m_hAccelTable) << "nothing was installed, nothing to undo";
        EXPECT_EQ(0u, CommandForKey(frame->m_hAccelTable, FCONTROL, 'P'));
        StoreSet("Test", {Accel(kCtrl, 'Z', kSave)});
    }
    std::vector<BYTE> bytes;
    ASSERT_TRUE(StoredBytes("Test", bytes));
    EXPECT_EQ(6u, bytes.size()) << "an unmodified manager stores nothing at its end";
}
