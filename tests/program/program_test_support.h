// What the program's in-process tests share: the real application object run through
// the framework's entry with a script of steps taken at quiet moments of its message
// loop, settings stores below the tests' own key that note when they read the
// registry, and the registry key the program keeps its own settings in, removed
// before and after each test.
#pragma once

#include "app/test_stores.h"

#include "app/Main.h"
#include "app/MainFrame.h"

#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace program_test {

// The key below HKEY_CURRENT_USER that the program's own settings (window placement,
// recent files) go to.
constexpr const char* kProgramKey = "Software\\Tamrow\\SorvantaStd";

// The application object as the program makes it, with steps run one per idle moment.
class ScriptedMain : public Main {
public:
    BOOL OnIdle(LONG lCount) override;

    std::vector<std::function<void(ScriptedMain&)>> m_script;
    MainFrame* GetMainFrame() const { return dynamic_cast<MainFrame*>(m_pMainWnd); }

private:
    size_t m_nextStep = 0;
};

// The stores' names in the order they first read the registry.
extern std::vector<std::string> g_storeReads;

// Makes the three stores below the tests' key and takes the program's registry key away.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the application object through the framework's entry with this command line.
    static int Run(ScriptedMain& app, const char* commandLine);
    static std::string WindowText(HWND window);

private:
    SettingsStoreMakers m_previousMakers;
};

} // namespace program_test
