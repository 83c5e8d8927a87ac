// The options store: its fields, first-run values and usable preview sizes.
#include "Option.h"

#include "ShellFolder.h"

#include "framework/WinThread.h"
#include "framework/Wnd.h"

#include <shlobj.h>

Option* g_pOption = nullptr;

namespace {

constexpr int kFolderWidth = 256;
constexpr const char* kFallbackFolder = "C:\\";

// Format groups of the five types Save As offers: JPEG, TIFF, CompuServe GIF, Windows Bitmap, PaintBrush.
constexpr int kSaveFormatGroups[] = {2, 39, 20, 41, 31};

} // namespace

Option::Common::Common(iType::Collection* parent)
    : Collection(parent, "Common", nullptr),
      m_defaultOpenIn(this, "Default Open In", "Default open in", kFolderWidth),
      m_defaultSaveIn(this, "Default Save In", "Default save in", kFolderWidth),
      m_displayGraphicsOnly(this, "Display Graphics Only", "Display Graphics Only"),
      m_displayFullPathInTitle(this, "Display Full Path In Title", "Display Full Path in Title"),
      m_displaySize(this, "Display Size", "Display Size"),
      m_automaticPreviewDisplay(this, "Automatic Preview Display", "Automatic Preview Display"),
      m_alwaysBackupCopy(this, "Always Backup Copy", "Always Backup Copy"),
      m_confirmOverwrite(this, "Confirm Overwrite", "Confirm Overwrite")
{
    // Made in InitInstance, maybe before the main window exists.
    CWnd* mainWnd = AfxGetMainWnd();
    iString folder = ShellFolderPathOr(mainWnd ? mainWnd->m_hWnd : nullptr, CSIDL_MYPICTURES, kFallbackFolder);
    m_defaultOpenIn.SetDefaultText(folder);
    m_defaultSaveIn.SetDefaultText(folder);
    m_confirmOverwrite.SetNullValue(1);
    m_confirmOverwrite.SetDefaultValue(1);
}

Option::Common::~Common() = default;

Option::FileType::FileType(iType::Collection* parent)
    : Collection(parent, "FileType", nullptr), m_fileType(this, m_bits, kFileTypeBytes, "File Type", "File Type")
{
    for (int group : kSaveFormatGroups)
        m_fileType.SetDefaultBit(group);
}

Option::FileType::~FileType() = default;

Option::Option() : Option(HKEY_CURRENT_USER, "Software", "Tamrow", "SorvantaStd", "Option")
{
}

Option::Option(HKEY hive, const char* software, const char* company, const char* application, const char* subkey)
    : SettingsStore(hive, software, company, application, subkey), m_common(this), m_fileType(this)
{
    SetName("Option");
    // Until it is loaded the store holds its first-run values.
    Clear();
}

Option::~Option() = default;

bool Option::IsDisplaySize(long value)
{
    switch (value) {
    case kDisplayComplete:
    case kDisplayAutomatic:
    case kDisplayHalf:
    case kDisplayQuarter:
    case kDisplayEighth:
        return true;
    default:
        return false;
    }
}

bool Option::IsUsableValue(const iType::Base& field) const
{
    if (&field == &m_common.m_displaySize)
        return IsDisplaySize(m_common.m_displaySize.Value());
    return true;
}
