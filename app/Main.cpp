// The application object's start-up and shut-down, in their fixed orders.
#include "Main.h"

#include "CommandLineInfoEx.h"
#include "CustomOccManager.h"
#include "Document.h"
#include "MainFrame.h"
#include "Option.h"
#include "Setup.h"
#include "Usage.h"
#include "WebEndpoint.h"
#include "Workspace.h"

#include "imaging/ImagingApi.h"
#include "lib/src/FilePaths.h"
#include "lib/src/Win2/Wnd/iSingleDocTemplate.h"
#include "lib/src/Win2/Wnd/iSplash.h"
#include "lib/src/iProfile.h"
#include "lib/src/iRegistry.h"
#include "toolkit/foundation/QZAuxData.h"

namespace {

constexpr const char* kCompany = "Tamrow";
constexpr const char* kApplication = "SorvantaStd";
// Profiles of the foundation library are kept in the registry.
constexpr int kRegistryProfileMode = 3;
constexpr int kRecentFiles = 4;
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionBuild = 10;

SettingsStoreMakers g_storeMakers;

} // namespace

SettingsStoreMakers SetSettingsStoreMakers(const SettingsStoreMakers& makers)
{
    const SettingsStoreMakers previous = g_storeMakers;
    g_storeMakers = makers;
    return previous;
}

Main::Main()
{
    // Every registry wrapper made without a path of its own, the window placements
    // included, works below HKEY_CURRENT_USER\Software\Tamrow\SorvantaStd.
    static_cast<void>(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", kCompany, kApplication));
    iProfile::SetDefaultMode(kRegistryProfileMode);
    m_aboutRect = {10, 280, 310, 380};
    iString version;
    version.Format("%d.%d.%d", kVersionMajor, kVersionMinor, kVersionBuild);
    m_aboutText += "Sorvanta [Standard]";
    m_aboutText += "\n";
    m_aboutText += "Version";
    m_aboutText += " ";
    m_aboutText += version;
    m_aboutText += "\n";
    m_aboutText += "Copyright (C) Tamrow. All rights reserved.";
}

Main::~Main() = default;

BOOL Main::InitInstance()
{
    // Before the workspace makes the banner's browser: its control gets the program's site.
    AfxEnableControlContainer(new CustomOccManager);
    Enable3dControlsStatic();
    SetHelpFilePath(GetModuleDirectory() + "\\" + kHelpFileName);
    g_pOption = g_storeMakers.makeOption ? g_storeMakers.makeOption() : new Option;
    g_pSetup = g_storeMakers.makeSetup ? g_storeMakers.makeSetup() : new Setup;
    g_pUsage = g_storeMakers.makeUsage ? g_storeMakers.makeUsage() : new UsageEx;
    // A value missing or unusable takes its first-run value; nothing to report.
    g_pOption->LoadFromRegistry();
    g_pSetup->LoadFromRegistry();
    g_pUsage->LoadFromRegistry();
    SetRegistryKey(kCompany);
    SetProfileName(kApplication);
    LoadStdProfileSettings(kRecentFiles);
    AddDocTemplate(new iSingleDocTemplate(kDocStrings, kResourceId, RUNTIME_CLASS(Document),
                                          RUNTIME_CLASS(MainFrame), RUNTIME_CLASS(Workspace)));
    CommandLineInfoEx commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine))
        return FALSE;
    qzAfxData.xpLook = 1;
    if (commandLine.IsSplashEnabled())
        iSplash::Show(AfxGetMainWnd(), SPLASH_RESOURCE, "Splash", kSplashSeconds);
    SetHelpFilePath(WebHelpAddress(GetWebEndpoint()).c_str());
    // Refused lists leave every format available: nothing to report.
    static_cast<void>(L_IgnoreFilters(kIgnoredFilters));
    return TRUE;
}

int Main::ExitInstance()
{
    // The reverse of their creation.
    if (g_pUsage)
        g_pUsage->SaveToRegistry();
    if (g_pSetup)
        g_pSetup->SaveToRegistry();
    if (g_pOption)
        g_pOption->SaveToRegistry();
    delete g_pUsage;
    g_pUsage = nullptr;
    delete g_pSetup;
    g_pSetup = nullptr;
    delete g_pOption;
    g_pOption = nullptr;
    return GlobalWinApp::ExitInstance();
}
