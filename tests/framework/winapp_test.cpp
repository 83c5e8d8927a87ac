// The application object: the entry sequence and its exit codes, the command line,
// document strings, the profile in the registry and in an INI file, the recent-file
// list and the application's message boxes.
#include "framework/Framework.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using test_support::MessageBoxRecorder;
using test_support::PumpPending;

namespace {

bool g_runFrameGone = false;

class RunDoc : public CDocument {
    DECLARE_DYNCREATE(RunDoc)
};
IMPLEMENT_DYNCREATE(RunDoc, CDocument)

class RunView : public CView {
    DECLARE_DYNCREATE(RunView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(RunView, CView)

class RunFrame : public CFrameWnd {
    DECLARE_DYNCREATE(RunFrame)
public:
    ~RunFrame() override { g_runFrameGone = true; }
};
IMPLEMENT_DYNCREATE(RunFrame, CFrameWnd)

// An application whose start can be told to fail, quit or close itself.
class RunApp : public CWinApp {
public:
    enum class Start { CloseMainFrame, Fail, QuitWithCode, NoMainWindow };
    Start start = Start::CloseMainFrame;
    bool exitRan = false;
    bool mainFrameExistedAtExit = true;
    int exitBonus = 0;

    RunApp() : CWinApp("RunTest") {}

    BOOL InitInstance() override
    {
        if (start == Start::NoMainWindow)
            return TRUE;
        auto* docTemplate =
            new CSingleDocTemplate(128, RUNTIME_CLASS(RunDoc), RUNTIME_CLASS(RunFrame), RUNTIME_CLASS(RunView));
        docTemplate->m_strDocStrings = "Run Test";
        AddDocTemplate(docTemplate);
        CCommandLineInfo commandLine;
        ParseCommandLine(commandLine);
        if (!ProcessShellCommand(commandLine))
            return FALSE;
        switch (start) {
        case Start::CloseMainFrame:
            m_pMainWnd->PostMessage(WM_CLOSE);
            return TRUE;
        case Start::QuitWithCode:
            PostQuitMessage(5);
            return TRUE;
        default:
            return FALSE;
        }
    }

    int ExitInstance() override
    {
        exitRan = true;
        mainFrameExistedAtExit = m_pMainWnd != nullptr;
        return CWinApp::ExitInstance() + exitBonus;
    }
};

class RecordingCommandLine : public CCommandLineInfo {
public:
    struct Call { std::string text; BOOL flag; BOOL last; };
    std::vector<Call> calls;
    void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast) override { calls.push_back({pszParam, bFlag, bLast}); }
};

int RunEntry(RunApp& app, LPCSTR commandLine = "")
{
    g_runFrameGone = false;
    return AfxWinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(commandLine), SW_SHOWNORMAL);
}

} // namespace

TEST(WinAppEntry, RunsUntilTheMainFrameClosesThenExitInstance)
{
    RunApp app;
    app.exitBonus = 17;
    EXPECT_EQ(17, RunEntry(app, "picture.jpg"));
    EXPECT_TRUE(app.exitRan);
    EXPECT_TRUE(g_runFrameGone);
    EXPECT_FALSE(app.mainFrameExistedAtExit);
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_EQ(&app, AfxGetThread());
}

TEST(WinAppEntry, FailedStartDestroysTheMainWindowAndStillRunsExitInstance)
{
    RunApp app;
    app.start = RunApp::Start::Fail;
    app.exitBonus = 3;
    EXPECT_EQ(3, RunEntry(app));
    EXPECT_TRUE(app.exitRan);
    EXPECT_TRUE(g_runFrameGone);
    EXPECT_FALSE(PumpPending()) << "no quit message is left behind";
}

TEST(WinAppEntry, QuitMessageEndsRunWithItsExitCode)
{
    RunApp app;
    app.start = RunApp::Start::QuitWithCode;
    EXPECT_EQ(5, RunEntry(app));
    EXPECT_TRUE(app.exitRan);
    ASSERT_NE(nullptr, app.m_pMainWnd);
    app.m_pMainWnd->DestroyWindow();
    PumpPending();
}

TEST(WinAppEntry, StartWithoutMainWindowEndsAtOnce)
{
    RunApp app;
    app.start = RunApp::Start::NoMainWindow;
    EXPECT_EQ(0, RunEntry(app));
    EXPECT_TRUE(app.exitRan);
}

TEST(WinAppEntry, TakesItsNamesFromTheModule)
{
    CWinApp app;
    AfxWinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_HIDE);
    ASSERT_NE(nullptr, app.m_pszExeName);
    EXPECT_STREQ("framework_tests", app.m_pszExeName);
    EXPECT_STREQ("framework_tests", app.m_pszAppName);
    EXPECT_STREQ("framework_tests.INI", app.m_pszProfileName);
}

TEST(CommandLine, EachParameterReachesTheParserWithItsFlagAndPosition)
{
    CWinApp app("CommandLineTest");
    char line[] = "/NoSplash -Database \"My Data\" file.txt";
    app.m_lpCmdLine = line;
    RecordingCommandLine info;
    app.ParseCommandLine(info);
    ASSERT_EQ(4u, info.calls.size());
    EXPECT_EQ("NoSplash", info.calls[0].text);
    EXPECT_TRUE(info.calls[0].flag);
    EXPECT_EQ("Database", info.calls[1].text);
    EXPECT_EQ("My Data", info.calls[2].text);
    EXPECT_FALSE(info.calls[2].flag);
    EXPECT_EQ("file.txt", info.calls[3].text);
    EXPECT_TRUE(info.calls[3].last);
    EXPECT_FALSE(info.calls[2].last);
    // A file name changes nothing: the shell command stays "new file".
    EXPECT_EQ(CCommandLineInfo::FileNew, info.m_nShellCommand);
}

TEST(DocTemplate, DocumentStringsSetInCodeWinOverTheResource)
{
    CSingleDocTemplate docTemplate(128, RUNTIME_CLASS(RunDoc), RUNTIME_CLASS(RunFrame), RUNTIME_CLASS(RunView));
    docTemplate.m_strDocStrings = "Window\nDocument\n\n\n\nType.Id\nType Name";
    docTemplate.LoadTemplate();
    CString text;
    struct Case { CDocTemplate::DocStringIndex index; const char* expected; BOOL present; };
    const Case cases[] = {
        {CDocTemplate::windowTitle, "Window", TRUE},
        {CDocTemplate::docName, "Document", TRUE},
        {CDocTemplate::fileNewName, "", FALSE},
        {CDocTemplate::regFileTypeName, "Type Name", TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.present, docTemplate.GetDocString(text, c.index));
        EXPECT_STREQ(c.expected, text);
    }
    CSingleDocTemplate shortStrings(128, RUNTIME_CLASS(RunDoc), RUNTIME_CLASS(RunFrame), RUNTIME_CLASS(RunView));
    shortStrings.m_strDocStrings = "Only a title";
    EXPECT_FALSE(shortStrings.GetDocString(text, CDocTemplate::regFileTypeName));
}

namespace {
constexpr const char* kTestCompany = "SorvantaFrameworkTest";

class RegistryProfileTest : public ::testing::Test {
protected:
    void SetUp() override { app.SetRegistryKey(kTestCompany); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaFrameworkTest"); }
    CWinApp app{"ProfileTest"};
};
} // namespace

TEST_F(RegistryProfileTest, SetRegistryKeyMakesTheProfileNameTheApplicationName)
{
    EXPECT_STREQ(kTestCompany, app.m_pszRegistryKey);
    EXPECT_STREQ("ProfileTest", app.m_pszProfileName);
}

TEST_F(RegistryProfileTest, ValuesRoundTripUnderTheApplicationKey)
{
    EXPECT_TRUE(app.WriteProfileInt("Settings", "Count", 42));
    EXPECT_TRUE(app.WriteProfileString("Settings", "Name", "value"));
    BYTE data[] = {0x00, 0x7F, 0xFF};
    EXPECT_TRUE(app.WriteProfileBinary("Settings", "Blob", data, sizeof data));
    EXPECT_EQ(42u, app.GetProfileInt("Settings", "Count", 0));
    EXPECT_STREQ("value", app.GetProfileString("Settings", "Name"));
    LPBYTE read = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(app.GetProfileBinary("Settings", "Blob", &read, &bytes));
    ASSERT_EQ(3u, bytes);
    EXPECT_EQ(0, memcmp(data, read, bytes));
    delete[] read;
    // The layout other code reads with plain registry calls.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\SorvantaFrameworkTest\\ProfileTest\\Settings", 0, KEY_READ,
                            &key));
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Count", nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size));
    EXPECT_EQ(42u, value);
    RegCloseKey(key);
}

TEST_F(RegistryProfileTest, MissingOrMistypedValuesReadAsTheDefault)
{
    app.WriteProfileString("Settings", "Count", "not a number");
    app.WriteProfileInt("Settings", "Name", 7);
    EXPECT_EQ(9u, app.GetProfileInt("Settings", "Count", 9));
    EXPECT_EQ(9u, app.GetProfileInt("Settings", "Missing", 9));
    app.WriteProfileString("Settings", "Short", "abc");
    EXPECT_EQ(9u, app.GetProfileInt("Settings", "Short", 9)) << "a text exactly as long as a number";
    EXPECT_STREQ("fallback", app.GetProfileString("Settings", "Name", "fallback"));
    LPBYTE read = reinterpret_cast<LPBYTE>(1);
    UINT bytes = 5;
    EXPECT_FALSE(app.GetProfileBinary("Settings", "Name", &read, &bytes));
    EXPECT_EQ(nullptr, read);
    EXPECT_EQ(0u, bytes);
}

TEST_F(RegistryProfileTest, RecentFilesPersistNewestFirstWithoutRepeats)
{
    app.LoadStdProfileSettings(4);
    app.AddToRecentFileList("C:\\a.jpg");
    app.AddToRecentFileList("C:\\b.jpg");
    app.AddToRecentFileList("c:\\A.JPG");
    app.ExitInstance();
    CRecentFileList list(0, "Recent File List", "File%d", 4);
    list.ReadList();
    ASSERT_EQ(2, list.GetCount());
    EXPECT_STREQ("c:\\A.JPG", list[0]);
    EXPECT_STREQ("C:\\b.jpg", list[1]);
}

TEST(IniProfile, ValuesRoundTripAndMalformedBinaryIsRejected)
{
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%ssorvanta_profile_%lu.ini", directory, GetCurrentProcessId());
    CWinApp app("IniTest");
    CWinApp::ReplaceString(app.m_pszProfileName, path);
    EXPECT_TRUE(app.WriteProfileInt("Section", "Count", -3));
    EXPECT_EQ(static_cast<UINT>(-3), app.GetProfileInt("Section", "Count", 0));
    EXPECT_TRUE(app.WriteProfileString("Section", "Name", "text"));
    EXPECT_STREQ("text", app.GetProfileString("Section", "Name"));
    BYTE data[] = {0x12, 0xAB};
    EXPECT_TRUE(app.WriteProfileBinary("Section", "Blob", data, sizeof data));
    // Two letters per byte, low half first.
    EXPECT_STREQ("CBLK", app.GetProfileString("Section", "Blob"));
    LPBYTE read = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(app.GetProfileBinary("Section", "Blob", &read, &bytes));
    EXPECT_EQ(2u, bytes);
    EXPECT_EQ(0xAB, read[1]);
    delete[] read;
    struct Case { const char* why; const char* text; };
    const Case malformed[] = {{"odd length", "CBL"}, {"letter past P", "CZ"}, {"lower case", "cb"}};
    for (const Case& c : malformed) {
        SCOPED_TRACE(c.why);
        app.WriteProfileString("Section", "Blob", c.text);
        EXPECT_FALSE(app.GetProfileBinary("Section", "Blob", &read, &bytes));
        EXPECT_EQ(nullptr, read);
    }
    DeleteFileA(path);
}

TEST(AppMessageBox, BoxesShowTheApplicationsNameAsCaption)
{
    MessageBoxRecorder recorder(IDNO);
    CWinApp app("Box Test");
    EXPECT_EQ(IDNO, AfxMessageBox("Overwrite original?", MB_YESNO));
    EXPECT_EQ(1, recorder.count());
    EXPECT_EQ("Overwrite original?", recorder.text());
    EXPECT_EQ("Box Test", recorder.caption());
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
    wnd.MessageBox("Help not implemented!", nullptr, MB_ICONINFORMATION);
    EXPECT_EQ("Box Test", recorder.caption());
    EXPECT_EQ(wnd.m_hWnd, recorder.owner());
    wnd.MessageBox("text", "Own caption");
    EXPECT_EQ("Own caption", recorder.caption());
}
