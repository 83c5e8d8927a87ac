// The application's documents: templates, the command line and the shell command.
#include "WinApp.h"

#include "CommandLineInfo.h"
#include "DocTemplate.h"
#include "Document.h"

#include <string>
#include <vector>

namespace {

// Splits a command line the way the C runtime does for plain and quoted parameters.
[[nodiscard]] std::vector<std::string> SplitCommandLine(LPCSTR commandLine)
{
    std::vector<std::string> parameters;
    if (!commandLine)
        return parameters;
    const char* p = commandLine;
    while (*p) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            break;
        std::string parameter;
        bool quoted = false;
        for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '"')
                quoted = !quoted;
            else
                parameter += *p;
        }
        parameters.push_back(parameter);
    }
    return parameters;
}

} // namespace

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (!pTemplate)
        return;
    pTemplate->LoadTemplate();
    m_templates.push_back(pTemplate);
}

void CWinApp::DeleteDocTemplates()
{
    std::vector<CDocTemplate*> templates;
    templates.swap(m_templates);
    for (CDocTemplate* pTemplate : templates)
        delete pTemplate;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    std::vector<std::string> parameters = SplitCommandLine(m_lpCmdLine);
    for (size_t i = 0; i < parameters.size(); ++i) {
        const char* parameter = parameters[i].c_str();
        BOOL isFlag = parameter[0] == '/' || parameter[0] == '-';
        rCmdInfo.ParseParam(isFlag ? parameter + 1 : parameter, isFlag, i + 1 == parameters.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        // A command handler of the application's own comes first.
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        // The program opens, prints and registers nothing from its command line.
        return FALSE;
    }
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(lpszFileName);
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* pTemplate : m_templates) {
        if (!pTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* pTemplate : m_templates)
        pTemplate->CloseAllDocuments(bEndSession);
}
