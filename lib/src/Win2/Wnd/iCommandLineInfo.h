// The command-line parser base: replaces the framework's per-parameter parsing (so
// file names and the framework's own switches have no effect and the shell command
// stays "new file") by ParseArgument, which derived parsers override. It counts the
// parameters and keeps a pending slot a derived parser sets when a parameter
// announces that the next one is its value; the slot lives for one parameter.
#pragma once

#include "framework/CommandLineInfo.h"

class iCommandLineInfo : public CCommandLineInfo {
public:
    iCommandLineInfo();
    ~iCommandLineInfo() override;

    // Called by the framework for each parameter, a flag without its leading "/" or "-".
    void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast) override;
    // The derived parser's hook; the base does nothing and answers 0, a result ParseParam ignores.
    virtual int ParseArgument(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

    int GetParamCount() const { return m_nParamCount; }
    int GetPendingIndex() const { return m_nPendingIndex; }

protected:
    int m_nParamCount = 0;
    // Set by a derived parser; -1 when no value is awaited.
    int m_nPendingIndex = -1;
    // The pending index as it stood after the previous parameter.
    int m_nLastPendingIndex = -1;
};
