// Stands in for the framework's command-line record: the shell command to carry out
// (a new, empty document unless a parser says otherwise) and the per-parameter hook
// that parsers override. This framework's own hook records nothing: the program
// opens no files and knows no framework switches from its command line.
#pragma once

#include "CString.h"
#include "Object.h"

class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo() = default;
    ~CCommandLineInfo() override = default;

    // Called for each parameter in order; a flag comes without its leading '/' or '-'.
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand =
        FileNew;
    BOOL m_bShowSplash = TRUE;
    CString m_strFileName;
};
