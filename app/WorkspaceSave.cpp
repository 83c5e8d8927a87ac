// Saving the result: over the opened file in its own format (after the optional
// question and backup copy), or under a new name as one of the five types the program
// writes. The imaging library writes beside the target and replaces it only once the
// new file is complete, so a failed save leaves the original as it was.
#include "Workspace.h"

#include "BackupCopy.h"
#include "FileTypeTable.h"
#include "Option.h"

#include "lib/src/MsgBox.h"
#include "lib/src/Win2/Wnd/ImageFormatTables.h"
#include "lib/src/Win2/Wnd/iFileNameDialog.h"
#include "lib/src/iFileName.h"

#include <string>
#include <vector>

namespace {

// The save dialog's file types: description and pattern pairs ending in a second null,
// and the table row each entry stands for.
struct SaveAsFilter {
    std::string text;
    std::vector<int> rows;
    int initial = 0;  // zero-based entry
};

bool IsOffered(const FileTypeRow& type, bool graphicsOnly)
{
    return (type.flags & kFileTypeSaveAs) &&
           (!graphicsOnly || g_pOption->m_fileType.m_fileType.TestBit(type.fileType));
}

SaveAsFilter BuildSaveAsFilter(int openedFormat)
{
    SaveAsFilter filter;
    bool graphicsOnly = g_pOption->m_common.m_displayGraphicsOnly.Value() != 0;
    // With no type chosen at all, every type is offered, as the Files list then shows every file.
    bool anyOffered = false;
    for (const FileTypeRow& type : FileTypeTable)
        anyOffered = anyOffered || IsOffered(type, graphicsOnly);
    if (!anyOffered)
        graphicsOnly = false;
    const int openedGroup = FileFormatGroupOf(static_cast<unsigned>(openedFormat));
    for (int row = 0; row < kFileTypeCount; ++row) {
        const FileTypeRow& type = FileTypeTable[row];
        if (!IsOffered(type, graphicsOnly))
            continue;
        if (type.fileType == openedGroup)
            filter.initial = static_cast<int>(filter.rows.size());
        filter.text += FileFormatDescription(type.fileType);
        filter.text += '\0';
        filter.text += FileFormatPattern(type.fileType);
        filter.text += '\0';
        filter.rows.push_back(row);
    }
    filter.text += '\0';
    return filter;
}

} // namespace

bool Workspace::SaveFile()
{
    if (!m_isOpen)
        return false;
    const Option::Common& options = g_pOption->m_common;
    if (options.m_confirmOverwrite.Value() &&
        MsgBoxQuestion(MB_YESNO, "Save", m_hWnd, "Overwrite original?") != IDYES)
        return false;
    const iString& path = m_fileInfo.GetPath();
    if (options.m_alwaysBackupCopy.Value() && !MakeBackupCopy(path)) {
        MsgBoxStop(MB_OK, "Error", m_hWnd, "Error making backup copy!");
        return false;
    }
    const int result = m_result->GetBitmap().Save(path, m_fileInfo.GetInfo().format, 0, 2, nullptr);
    if (result != imaging::kSuccess) {
        MsgBoxStop(MB_OK, "Error", m_hWnd, "Error %d saving file %s", result, static_cast<LPCSTR>(path));
        return false;
    }
    m_isModified = false;
    // The file now holds the result: its details, Reset and the percentages start from it,
    // not from the image that was opened.
    if (RereadFileInfo() == imaging::kSuccess)
        ShowFileInfo();
    RefreshFileList();
    return true;
}

int Workspace::RereadFileInfo()
{
    const iString path = m_fileInfo.GetPath();
    iLFileInfo fresh;
    if (!fresh.Read(path, 0, nullptr))
        return fresh.GetResult();
    m_fileInfo = fresh;
    return imaging::kSuccess;
}

bool Workspace::SaveFileAs()
{
    if (!m_isOpen)
        return false;
    const SaveAsFilter filter = BuildSaveAsFilter(m_fileInfo.GetInfo().format);
    iFileNameDialog dialog(m_hWnd, filter.text.c_str(), nullptr, static_cast<DWORD>(filter.initial + 1),
                           m_fileInfo.GetPath(), nullptr, g_pOption->m_common.m_defaultSaveIn.GetText(), nullptr,
                           OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, nullptr);
    if (!dialog.DoSave())
        return false;
    const DWORD chosen = dialog.m_ofn.nFilterIndex;
    if (chosen < 1 || chosen > filter.rows.size())
        return false;
    const FileTypeRow& type = FileTypeTable[filter.rows[chosen - 1]];
    if (iFileName(dialog.m_fileBuffer).GetExtension().IsEmpty() && !dialog.AppendFilterExtension()) {
        // Saved without its extension the file could not be told for what it is.
        MsgBox(MB_OK, "Error", m_hWnd, "The name %s leaves no room for the extension of the chosen type.",
               dialog.m_fileBuffer);
        return false;
    }
    const int result = m_result->GetBitmap().Save(dialog.m_fileBuffer, type.imagingFormat, 0, type.quality, nullptr);
    if (result != imaging::kSuccess) {
        MsgBox(MB_OK, "Error", m_hWnd, "Error %d", result);
        return false;
    }
    m_isModified = false;
    RefreshFileList();
    return true;
}
