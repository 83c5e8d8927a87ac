// What the program's in-process tests share.
#include "program_test_support.h"

#include "imaging/ImagingApi.h"
#include "lib/src/iRegistry.h"

namespace program_test {

std::vector<std::string> g_storeReads;

namespace {

void NoteRead(const char* store)
{
    for (const std::string& seen : g_storeReads)
        if (seen == store)
            return;
    g_storeReads.push_back(store);
}

// Each store asks whether a value read back can be used: the moment it reads the registry.
class NotingOption : public app_test::TestOption {
public:
    bool IsUsableValue(const iType::Base& field) const override
    {
        NoteRead("Option");
        return TestOption::IsUsableValue(field);
    }
};

class NotingSetup : public app_test::TestSetup {
public:
    bool IsUsableValue(const iType::Base& field) const override
    {
        NoteRead("Setup");
        return TestSetup::IsUsableValue(field);
    }
};

class NotingUsage : public app_test::TestUsage {
public:
    bool IsUsableValue(const iType::Base& field) const override
    {
        NoteRead("Usage");
        return TestUsage::IsUsableValue(field);
    }
};

} // namespace

BOOL ScriptedMain::OnIdle(LONG lCount)
{
    if (Main::OnIdle(lCount))
        return TRUE;
    if (m_nextStep < m_script.size()) {
        m_script[m_nextStep++](*this);
        // Something must arrive for the loop to become idle again and run the next step.
        if (m_pMainWnd && m_pMainWnd->m_hWnd)
            m_pMainWnd->PostMessage(WM_NULL);
    }
    return FALSE;
}

void ProgramTest::SetUp()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    app_test::DeleteTestKeys();
    g_storeReads.clear();
    SettingsStoreMakers makers;
    makers.makeOption = [] { return static_cast<Option*>(new NotingOption); };
    makers.makeSetup = [] { return static_cast<::Setup*>(new NotingSetup); };
    makers.makeUsage = [] { return static_cast<UsageEx*>(new NotingUsage); };
    m_previousMakers = SetSettingsStoreMakers(makers);
}

void ProgramTest::TearDown()
{
    SetSettingsStoreMakers(m_previousMakers);
    // Start-up leaves formats aside for the whole process.
    L_IgnoreFilters(nullptr);
    // The application object named the program's key as the registry default.
    static_cast<void>(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", "Orvel++ Software Development", "Default"));
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    app_test::DeleteTestKeys();
}

int ProgramTest::Run(ScriptedMain& app, const char* commandLine)
{
    std::string line = commandLine;
    return AfxWinMain(GetModuleHandleA(nullptr), nullptr, line.data(), SW_SHOWNORMAL);
}

std::string ProgramTest::WindowText(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace program_test
