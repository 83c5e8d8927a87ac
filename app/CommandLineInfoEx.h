// The program's command-line parser. It knows twelve switches, matched exactly and
// case-sensitively; only "NoSplash" changes what the program does. It never keeps a
// file name, so the shell command stays "new file" whatever the command line holds.
#pragma once

#include "lib/src/Win2/Wnd/iCommandLineInfo.h"
#include "lib/src/iString.h"

class CommandLineInfoEx : public iCommandLineInfo {
public:
    // What a plain parameter is taken as.
    enum PendingMode { kPendingNone = 0, kPendingDatabase = 10 };

    CommandLineInfoEx();
    ~CommandLineInfoEx() override;

    int ParseArgument(LPCSTR pszParam, BOOL bFlag, BOOL bLast) override;
    BOOL IsSplashEnabled() const { return m_bSplash; }

    // Recorded from the switches; the program reads only the splash flag.
    int m_nPendingMode = kPendingNone;
    bool m_bSplash = true;
    bool m_bTipOfTheDay = true;
    bool m_bLanguage = false;
    bool m_bLog = false;
    bool m_bBypass = true;
    bool m_bDesign = false;
    bool m_bInstall = false;
    iString m_strDatabase;
    bool m_bSetup = false;
    bool m_bShowHelpData = false;
    bool m_bWebUpdate = true;
};
