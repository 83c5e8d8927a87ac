// The program's switches and the one value a switch may announce.
#include "CommandLineInfoEx.h"

#include <cstring>

namespace {

// A switch that sets one flag of the parser.
struct FlagSwitch {
    const char* name;
    bool CommandLineInfoEx::*flag;
    bool value;
};

const FlagSwitch kFlagSwitches[] = {
    {"NoSplash", &CommandLineInfoEx::m_bSplash, false},
    {"NoTipOfTheDay", &CommandLineInfoEx::m_bTipOfTheDay, false},
    {"NoTOTD", &CommandLineInfoEx::m_bTipOfTheDay, false},
    {"Language", &CommandLineInfoEx::m_bLanguage, true},
    {"Log", &CommandLineInfoEx::m_bLog, true},
    {"Bypass", &CommandLineInfoEx::m_bBypass, false},
    {"Design", &CommandLineInfoEx::m_bDesign, true},
    {"Install", &CommandLineInfoEx::m_bInstall, true},
    {"Setup", &CommandLineInfoEx::m_bSetup, true},
    {"ShowHelpData", &CommandLineInfoEx::m_bShowHelpData, true},
    {"NoWebUpdate", &CommandLineInfoEx::m_bWebUpdate, false},
};

// The switch whose value is the next plain parameter.
constexpr const char* kDatabaseSwitch = "Database";

} // namespace

CommandLineInfoEx::CommandLineInfoEx() = default;

CommandLineInfoEx::~CommandLineInfoEx() = default;

int CommandLineInfoEx::ParseArgument(LPCSTR pszParam, BOOL bFlag, BOOL bLast)
{
    const char* text = pszParam ? pszParam : "";
    if (bFlag) {
        // Any switch ends a value announced before it.
        m_nPendingMode = kPendingNone;
        if (std::strcmp(text, kDatabaseSwitch) == 0) {
            m_nPendingMode = kPendingDatabase;
        } else {
            for (const FlagSwitch& s : kFlagSwitches) {
                if (std::strcmp(text, s.name) == 0) {
                    this->*s.flag = s.value;
                    break;
                }
            }
        }
    } else if (m_nPendingMode == kPendingDatabase && m_strDatabase.IsEmpty()) {
        // The mode stays: later plain parameters find the name taken and are ignored.
        m_strDatabase = text;
    }
    return iCommandLineInfo::ParseArgument(pszParam, bFlag, bLast);
}
