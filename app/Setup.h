// Printer and scanner settings, kept under the program's key in "Setup" ("Printer",
// "Scanner"): loaded at start-up and written back unchanged at exit; nothing in the
// program reads or changes them.
#pragma once

#include "SettingsStore.h"

#include "lib/src/iType.h"

class Setup : public SettingsStore {
public:
    class Printer : public iType::Collection {
    public:
        explicit Printer(iType::Collection* parent);
        ~Printer() override;

        iType::String m_name;
        iType::TType<long> m_top;
        iType::TType<long> m_bottom;
        iType::TType<long> m_left;
        iType::TType<long> m_right;
        iType::TType<long> m_position;
        iType::TCombo<long> m_format;
        iType::Bool m_proportions;
        iType::Bool m_gammaCorrection;
        iType::TType<long> m_gammaValue;
    };

    class Scanner : public iType::Collection {
    public:
        explicit Scanner(iType::Collection* parent);
        ~Scanner() override;

        iType::TCombo<long> m_twainSource;
    };

    Setup();
    ~Setup() override;

    Printer m_printer;
    Scanner m_scanner;

protected:
    // The same store kept under another key.
    Setup(HKEY hive, const char* software, const char* company, const char* application, const char* subkey);
};

// The running program's printer and scanner settings, from start-up to exit.
extern Setup* g_pSetup;
