// The application object: where the framework's entry reaches the program. Start-up
// makes and loads the three settings stores, names the registry key, registers the
// document template of the document, main frame and workspace view, carries out the
// shell command (always a new, empty document), shows the splash, turns help into the
// web address and leaves the imaging formats the program does not offer to the side.
// At exit the stores are saved and deleted, also when start-up failed.
#pragma once

#include "GlobalWinApp.h"

class Option;
class Setup;
class UsageEx;

class Main : public GlobalWinApp {
public:
    static constexpr const char* kDocStrings =
        "Tamrow Sorvanta [Standard]\n\n\n\n\nSorvanta.Document\nSorvanta Document";
    static constexpr UINT kResourceId = 128;
    static constexpr const char* kHelpFileName = "Halvexa.hlp";
    // The imaging formats the program leaves alone.
    static constexpr const char* kIgnoredFilters =
        "CMP,DIC,WND,FAX,LMA,PSD,MAC,IMG,MSP,RAS,PCT,TGA,WMF,PNG,ICA,WFX,CAL,PCD,AVI,EPS,FPX,LMB,AWD,JBG";
    static constexpr int kSplashSeconds = 2;

    Main();
    ~Main() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
};

// How start-up makes the three settings stores, each on the heap; a null maker makes the
// program's own store. Tests make stores below a registry key of their own.
struct SettingsStoreMakers {
    Option* (*makeOption)() = nullptr;
    Setup* (*makeSetup)() = nullptr;
    UsageEx* (*makeUsage)() = nullptr;
};
// Puts makers in; answers the ones they replace.
SettingsStoreMakers SetSettingsStoreMakers(const SettingsStoreMakers& makers);
