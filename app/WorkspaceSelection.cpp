// From a selected file to its details and preview: the file's information, the details
// in "Original Image", the new-size inputs reset to the file, the preview with the
// result's frame, the title, and the options that shape the preview.
#include "Workspace.h"

#include "Document.h"
#include "LoadErrorReason.h"
#include "Option.h"

#include "lib/src/MsgBox.h"
#include "lib/src/Win2/Wnd/ImageFormatTables.h"
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iStatic.h"

namespace {

// Files this size and larger show their size in kilobytes.
constexpr long long kKilobyteSizeFrom = 10240000;

// The file's size as the file system has it, in 64 bits: the library's record holds 32,
// which would show a file of 2 GB or more as a negative number. The record's size,
// read as unsigned, when the file cannot be asked.
long long FileSizeOnDisk(const char* path, int recordedBytes)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return static_cast<unsigned>(recordedBytes);
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

} // namespace

void Workspace::ShowSelectedFile(const char* path)
{
    m_result->Free(true);
    m_fileInfo.Read(path, 0, nullptr);
    ShowFileInfo();
    if (m_fileInfo.IsValid()) {
        LoadPreview();
        return;
    }
    // The previous file's picture must not stay, looking like this file's content; the
    // user is told why there is none.
    m_preview->Free(true);
    m_preview->CopyViewFrom(*m_result);
    ShowLoadError(path, m_fileInfo.GetResult());
}

void Workspace::ShowFileInfo()
{
    if (!m_fileInfo.IsValid()) {
        for (CWnd* value : {static_cast<CWnd*>(m_nameValue), static_cast<CWnd*>(m_formatValue),
                            static_cast<CWnd*>(m_sizeValue), static_cast<CWnd*>(m_dimensionsValue),
                            static_cast<CWnd*>(m_widthEdit), static_cast<CWnd*>(m_heightEdit),
                            static_cast<CWnd*>(m_resolutionEdit)})
            value->SetWindowText("");
        return;
    }
    const imaging::FileInfo& info = m_fileInfo.GetInfo();
    m_nameValue->SetWindowText(m_fileInfo.GetFileName());
    const char* format = FileFormatName(FileFormatGroupOf(static_cast<unsigned>(info.format)));
    m_formatValue->SetWindowText(format ? format : "");
    CString size;
    const long long bytes = FileSizeOnDisk(m_fileInfo.GetPath(), info.sizeDisk);
    if (bytes < kKilobyteSizeFrom)
        size.Format("%lld %s", bytes, "b");
    else
        size.Format("%lld %s", bytes / 1024, "Kb");
    m_sizeValue->SetWindowText(size);
    CString dimensions;
    dimensions.Format("%d x %d x %db", info.width, info.height, info.bitsPerPixel);
    m_dimensionsValue->SetWindowText(dimensions);

    m_newWidth = info.width;
    m_newHeight = info.height;
    m_isDimensionGuarded = true;
    m_widthUnit->SelectByData(kPercent);
    m_heightUnit->SelectByData(kPercent);
    m_widthEdit->SetInt(100, 10);
    m_heightEdit->SetInt(100, 10);
    m_isDimensionGuarded = false;

    m_newResolution = GetFileResolution();
    m_isResolutionGuarded = false;
    m_resolutionUnit->SelectByData(kPixelsPerInch);
    // Read back unchanged by the resolution handler.
    m_resolutionEdit->SetInt(GetFileResolution(), 10);
}

int Workspace::GetFileResolution() const
{
    if (!m_fileInfo.IsValid())
        return kFallbackResolution;
    return m_fileInfo.GetInfo().xResolution;
}

void Workspace::LoadPreview()
{
    if (!m_fileInfo.IsValid())
        return;
    m_preview->Free(true);
    if (!m_preview->Load(m_fileInfo.GetPath(), true)) {
        // Headers intact but pixels not (a JPEG cut in its scan): shown as a file whose
        // information cannot be read, so that no details stand beside an empty preview.
        m_fileInfo.SetUnreadable(m_preview->GetBitmap().GetStatus());
        ShowFileInfo();
        ShowLoadError(m_fileInfo.GetPath(), m_fileInfo.GetResult());
    }
    m_preview->CopyViewFrom(*m_result);
}

void Workspace::ShowLoadError(const char* path, int result)
{
    MsgBox(MB_OK, "Error", m_hWnd, "Error loading file %s\n%s\nPlease choose another file.", path,
           LoadErrorReason(result));
}

void Workspace::RefreshPreview()
{
    m_preview->CopyViewFrom(*m_result);
    m_preview->Invalidate(TRUE);
    m_preview->UpdateWindow();
}

void Workspace::OnResultViewChanged(CWnd*)
{
    RefreshPreview();
}

void Workspace::UpdateTitle()
{
    CDocument* document = GetDocument();
    if (!document)
        return;
    if (!m_isOpen)
        document->SetTitle("");
    else if (g_pOption->m_common.m_displayFullPathInTitle.Value())
        document->SetTitle(m_fileInfo.GetPath());
    else
        document->SetTitle(m_fileInfo.GetFileName());
}

void Workspace::ApplyOptions(bool refresh)
{
    ApplyFileTypeFilter(refresh);
    ShowStartFolder();
    m_preview->SetDisplayMode(static_cast<int>(g_pOption->m_common.m_displaySize.Value()));
    if (refresh) {
        m_preview->RecalcLayout();
        m_preview->Invalidate(TRUE);
        m_preview->UpdateWindow();
    }
    UpdateTitle();
}
