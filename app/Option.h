// The program's options: the folders it opens in and saves in, how files are listed
// and previewed, how saving guards the original, and the file types it offers.
// Kept under HKEY_CURRENT_USER\Software\Tamrow\SorvantaStd\Option, one key per
// section ("Common", "FileType").
#pragma once

#include "SettingsStore.h"

#include "lib/src/iType.h"

class Option : public SettingsStore {
public:
    // Preview sizes of "Display Size"; any other stored value loads as kDisplayComplete.
    enum DisplaySize { kDisplayComplete = 0, kDisplayAutomatic = 1, kDisplayHalf = 2, kDisplayQuarter = 4,
                       kDisplayEighth = 8 };
    static constexpr unsigned kFileTypeBytes = 128;

    class Common : public iType::Collection {
    public:
        // Both folders start as the user's pictures folder, else "C:\".
        explicit Common(iType::Collection* parent);
        ~Common() override;

        iType::String m_defaultOpenIn;
        iType::String m_defaultSaveIn;
        iType::Bool m_displayGraphicsOnly;
        iType::Bool m_displayFullPathInTitle;
        iType::TCombo<long> m_displaySize;  // a DisplaySize; the options page names the choices
        iType::Bool m_automaticPreviewDisplay;
        iType::Bool m_alwaysBackupCopy;
        iType::Bool m_confirmOverwrite;  // on unless the registry says otherwise
    };

    // Bit n offers image format group n; the five save formats are on at first.
    class FileType : public iType::Collection {
    public:
        explicit FileType(iType::Collection* parent);
        ~FileType() override;

    private:
        unsigned char m_bits[kFileTypeBytes] = {};

    public:
        iType::BitSet m_fileType;
    };

    Option();
    ~Option() override;

    // Only the preview sizes above are usable "Display Size" values.
    bool IsUsableValue(const iType::Base& field) const override;
    [[nodiscard]] static bool IsDisplaySize(long value);

    Common m_common;
    FileType m_fileType;

protected:
    // The same store kept under another key.
    Option(HKEY hive, const char* software, const char* company, const char* application, const char* subkey);
};

// The running program's options, from start-up to exit; null outside that time.
extern Option* g_pOption;
