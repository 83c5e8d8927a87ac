// "Resize" and "Reset": the five methods on the result picture, the progress the frame
// shows over a method's passes, and starting again from the file.
#include "Workspace.h"

#include "Option.h"

#include "imaging/PixelBufferReuse.h"

#include "lib/src/MsgBox.h"
#include "lib/src/Win2/Wnd/iComboBox.h"

#include <algorithm>

namespace {

constexpr int kSoften = -1000;
constexpr int kSharpen = 750;
// One resize and two sharpen passes.
constexpr int kTamrowPasses = 3;
constexpr long long kBytesPerMegabyte = 1024 * 1024;

} // namespace

long long Workspace::NewImageBytes(int width, int height, int bitsPerPixel)
{
    // As the library lays out the pixels: whole bytes per pixel, rows padded to 4 bytes.
    const long long bytesPerPixel = std::max(1, (bitsPerPixel + 7) / 8);
    const long long stride = (width * bytesPerPixel + 3) / 4 * 4;
    return stride * height;
}

bool Workspace::IsSizeWithinLimits(double width, double height, int bitsPerPixel)
{
    const double maxSide = imaging::kMaxSidePx;
    // Written so that a size that is not a number fails too.
    const bool sidesFit = width >= 1 && height >= 1 && width < maxSide + 1 && height < maxSide + 1;
    return sidesFit && NewImageBytes(static_cast<int>(width), static_cast<int>(height), bitsPerPixel) <=
                           imaging::kMaxImageBytes;
}

int Workspace::ProgressivePasses(double newWidth, double newHeight, double newResolution, double width,
                                 double height, double resolution)
{
    const double scale = (newWidth / width + newHeight / height) / 2.0;
    return static_cast<int>(scale * std::min(newResolution / resolution, 1.0));
}

void Workspace::SetProgress(int passCount)
{
    if (auto* target = dynamic_cast<PassCountTarget*>(GetParent()))
        target->SetPassCount(passCount);
}

bool Workspace::IsNewSizePossible() const
{
    // The new image keeps the open one's depth: a grey image takes a third of the bytes.
    if (IsSizeWithinLimits(m_newWidth, m_newHeight, m_result->GetBitmap().GetBitsPerPixel()))
        return true;
    MsgBoxExclamation(MB_OK, "Resize", m_hWnd,
                      "A new size of %.0f x %.0f pixels is not possible.\nEach side must be between 1 and %d pixels, "
                      "and the image must stay within %lld megabytes.",
                      m_newWidth, m_newHeight, imaging::kMaxSidePx, imaging::kMaxImageBytes / kBytesPerMegabyte);
    return false;
}

void Workspace::OnResize(CWnd*)
{
    if (!m_isOpen)
        return;
    iLBitmap& bitmap = m_result->GetBitmap();
    const double width = bitmap.GetWidth();
    const double height = bitmap.GetHeight();
    // At least 1: the file's, or a new one taken from the resolution edit.
    const double resolution = bitmap.GetResolution();
    // A change of resolution alone keeps the printed size.
    if (m_newResolution != resolution && m_newWidth == width && m_newHeight == height) {
        m_newWidth = m_newResolution * m_newWidth / resolution;
        m_newHeight = m_newResolution * m_newHeight / resolution;
    }
    if (m_newWidth == width && m_newHeight == height)
        return;
    if (!IsNewSizePossible())
        return;
    // The method's passes and the preview's copy each make an image of the new size: each
    // takes the pages the one before gave up.
    imaging::ScopedPixelBufferReuse reuse;
    const int method = static_cast<int>(m_method->GetSelectedData());
    const int passes = method == kTamrowProgressive ? ProgressivePasses(m_newWidth, m_newHeight, m_newResolution,
                                                                        width, height, resolution)
                                                    : 0;
    if (!RunMethod(method, static_cast<int>(m_newWidth), static_cast<int>(m_newHeight), passes)) {
        RefreshPreview();
        return;
    }
    if (g_pOption->m_common.m_automaticPreviewDisplay.Value()) {
        m_preview->GetBitmap().Copy(bitmap);
        m_preview->RecalcLayout();
    }
    RefreshPreview();
    m_isModified = true;
}

bool Workspace::RunMethod(int method, int width, int height, int passes)
{
    int flags = kBicubic;
    int chained = 0;
    switch (method) {
    case kNormal:
    case kBilinear:
    case kBicubic:
        flags = method;
        break;
    case kTamrow:
        chained = kTamrowPasses;
        break;
    case kTamrowProgressive:
        chained = passes + 1;
        break;
    default:
        return false;
    }
    if (chained)
        SetProgress(chained);
    int result = m_result->Resize(width, height, flags);
    const bool isResized = result == imaging::kSuccess;
    if (isResized) {
        // Only a resized bitmap takes the new resolution.
        m_result->GetBitmap().SetResolution(static_cast<int>(m_newResolution));
        if (method == kTamrow) {
            result = m_result->Sharpen(kSoften);
            if (result == imaging::kSuccess)
                result = m_result->Sharpen(kSharpen);
        } else if (method == kTamrowProgressive) {
            for (int pass = 0; pass < passes && result == imaging::kSuccess; ++pass)
                result = m_result->Sharpen(kSoften);
        }
    }
    if (chained)
        SetProgress(0);
    if (result != imaging::kSuccess)
        MsgBox(MB_OK, "Error", m_hWnd, "Error %d", result);
    return isResized;
}

void Workspace::OnReset(CWnd*)
{
    if (!m_isOpen)
        return;
    const iString path = m_fileInfo.GetPath();
    // From the file as it is now: a save, or another program, may have changed its size.
    const int infoResult = RereadFileInfo();
    m_preview->Free(true);
    if (infoResult == imaging::kSuccess)
        m_preview->Load(path, true);
    m_result->Free(true);
    if (infoResult != imaging::kSuccess || !m_result->Load(path, true)) {
        // The file went away or changed since it was opened: nothing is left to work on.
        ShowLoadError(path, infoResult != imaging::kSuccess ? infoResult : m_result->GetBitmap().GetStatus());
        CloseFile();
        return;
    }
    RefreshPreview();
    ShowFileInfo();
    m_isModified = false;
}
