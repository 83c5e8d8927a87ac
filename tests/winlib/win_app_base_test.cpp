// The application base, the text-string document template and the command-line base:
// the module path record, the name setters, document strings given in code, and the
// parameter counter with its one-parameter pending slot.
#include "lib/src/Win2/Wnd/iCommandLineInfo.h"
#include "lib/src/Win2/Wnd/iSingleDocTemplate.h"
#include "lib/src/Win2/Wnd/iWinApp.h"

#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class PlainDoc : public CDocument {
    DECLARE_DYNCREATE(PlainDoc)
};
IMPLEMENT_DYNCREATE(PlainDoc, CDocument)

class PlainView : public CView {
    DECLARE_DYNCREATE(PlainView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PlainView, CView)

// Records what it saw of the pending slot and announces a value after "Value".
class PendingParser : public iCommandLineInfo {
public:
    std::vector<int> pendingSeen;
    int ParseArgument(LPCSTR pszParam, BOOL bFlag, BOOL bLast) override
    {
        pendingSeen.push_back(m_nPendingIndex);
        if (bFlag && std::string(pszParam) == "Value")
            m_nPendingIndex = m_nParamCount;
        return 1;
    }
};

} // namespace

TEST(WinAppBase, RecordsTheRunningModulesPathParts)
{
    iWinApp app;
    char moduleName[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, moduleName, sizeof moduleName);
    const iPathParts& parts = app.GetModulePath();
    EXPECT_STREQ(moduleName, parts.m_fullPath);
    EXPECT_STREQ("winlib_tests", parts.m_name);
    EXPECT_STREQ("exe", parts.m_extension);
    std::string folder = moduleName;
    folder.erase(folder.rfind('\\'));
    EXPECT_EQ(folder, parts.m_folder);
    EXPECT_EQ(std::string(parts.m_folder), std::string(parts.m_drive) + ":" + parts.m_directory);
}

TEST(WinAppBase, SettersKeepOnlyTheirLatestCopy)
{
    iWinApp app;
    std::string first = "C:\\Help\\first.hlp";
    LPCSTR firstCopy = app.SetHelpFilePath(first.c_str());
    EXPECT_NE(first.c_str(), firstCopy) << "the application keeps its own copy";
    EXPECT_STREQ("C:\\Help\\first.hlp", app.m_pszHelpFilePath);
    first.assign(first.size(), '?');
    EXPECT_STREQ("C:\\Help\\first.hlp", app.m_pszHelpFilePath);

    LPCSTR second = app.SetHelpFilePath("http://help.example/help/");
    EXPECT_EQ(second, app.m_pszHelpFilePath);
    EXPECT_STREQ("http://help.example/help/", app.m_pszHelpFilePath);

    // Replacing a value by itself must not read freed memory.
    EXPECT_STREQ("http://help.example/help/", app.SetHelpFilePath(app.m_pszHelpFilePath));

    app.SetRegistryKey("SorvantaWinAppBaseTest");
    EXPECT_STREQ("SorvantaStd", app.SetProfileName("SorvantaStd"));
    EXPECT_STREQ("SorvantaStd", app.m_pszProfileName);
    EXPECT_EQ(nullptr, app.SetProfileName(nullptr));
}

TEST(SingleDocTemplate, DocumentStringsGivenAsTextWinOverTheResource)
{
    iWinApp app("TemplateTest");
    const char* docStrings = "Tamrow Sorvanta [Standard]\n\n\n\n\nSorvanta.Document\nSorvanta Document";
    auto* docTemplate = new iSingleDocTemplate(docStrings, 128, RUNTIME_CLASS(PlainDoc), RUNTIME_CLASS(CFrameWnd),
                                               RUNTIME_CLASS(PlainView));
    // Adding the template lets the framework read its string resource; the text must stay.
    app.AddDocTemplate(docTemplate);
    CString text;
    EXPECT_TRUE(docTemplate->GetDocString(text, CDocTemplate::windowTitle));
    EXPECT_STREQ("Tamrow Sorvanta [Standard]", text);
    EXPECT_FALSE(docTemplate->GetDocString(text, CDocTemplate::docName));
    EXPECT_TRUE(docTemplate->GetDocString(text, CDocTemplate::regFileTypeId));
    EXPECT_STREQ("Sorvanta.Document", text);
    EXPECT_TRUE(docTemplate->GetDocString(text, CDocTemplate::regFileTypeName));
    EXPECT_STREQ("Sorvanta Document", text);
    EXPECT_EQ(128u, docTemplate->m_nIDResource);
    EXPECT_EQ(RUNTIME_CLASS(PlainDoc), docTemplate->m_pDocClass);
    EXPECT_EQ(RUNTIME_CLASS(PlainView), docTemplate->m_pViewClass);
}

TEST(CommandLineBase, CountsParametersAndKeepsAPendingValueForOneParameter)
{
    iWinApp app("CommandLineBaseTest");
    char line[] = "/Value first second third";
    app.m_lpCmdLine = line;
    PendingParser parser;
    app.ParseCommandLine(parser);
    EXPECT_EQ(4, parser.GetParamCount());
    // Set while handling parameter 1, seen by parameter 2, expired before parameter 3.
    EXPECT_EQ((std::vector<int>{-1, 1, -1, -1}), parser.pendingSeen);
    EXPECT_EQ(-1, parser.GetPendingIndex());
}

TEST(CommandLineBase, AFileNameStillMeansANewEmptyDocument)
{
    iWinApp app("CommandLineBaseTest");
    char line[] = "C:\\Pictures\\photo.jpg /p -dde";
    app.m_lpCmdLine = line;
    iCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_EQ(3, info.GetParamCount());
    EXPECT_EQ(CCommandLineInfo::FileNew, info.m_nShellCommand);
    EXPECT_TRUE(info.m_strFileName.IsEmpty());
    EXPECT_EQ(0, info.ParseArgument("anything", FALSE, TRUE));
}
