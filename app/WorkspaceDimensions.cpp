// The "New Dimensions" panel: the new size held in pixels and the new resolution in
// pixels per inch, shown in the unit each combo box chooses, with the other side
// following while "Contrain Proportions" is checked.
#include "Workspace.h"

#include "lib/src/Win2/Wnd/iCheckBox.h"
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iEdit.h"

#include <limits>

namespace {

constexpr double kCentimetresPerInch = 2.54;
constexpr double kPicasPerInch = 6;
constexpr double kPointsPerInch = 72;

const char* FormatOf(int unit)
{
    switch (unit) {
    case Workspace::kInch:
        return "%.3f";
    case Workspace::kCentimetre:
    case Workspace::kPercent:
    case Workspace::kPicas:
        return "%.2f";
    default:
        return "%.0f";
    }
}

bool IsEmpty(const iEdit* edit)
{
    return edit->GetWindowTextLength() == 0;
}

} // namespace

double Workspace::ToPixels(double value, int unit, int originalPixels) const
{
    const double r = m_newResolution;
    switch (unit) {
    case kInch:
        return value * r;
    case kCentimetre:
        return value * r / kCentimetresPerInch;
    case kPercent:
        return originalPixels * value / 100;
    case kPicas:
        return value * r / kPicasPerInch;
    case kPoints:
        return value * r / kPointsPerInch;
    default:
        return value;
    }
}

double Workspace::FromPixels(double pixels, int unit, int originalPixels) const
{
    const double r = m_newResolution;
    switch (unit) {
    case kInch:
        return pixels / r;
    case kCentimetre:
        return pixels / r * kCentimetresPerInch;
    case kPercent:
        return originalPixels ? pixels / originalPixels * 100 : 0;
    case kPicas:
        return pixels / r * kPicasPerInch;
    case kPoints:
        return pixels / r * kPointsPerInch;
    default:
        return pixels;
    }
}

double Workspace::ReadSize(iEdit* edit, iComboBox* unit, int originalPixels) const
{
    // An emptied edit stands for the original size, whatever unit it shows.
    if (IsEmpty(edit))
        return originalPixels;
    return ToPixels(edit->GetInt(0, 10), static_cast<int>(unit->GetSelectedData()), originalPixels);
}

void Workspace::ShowSize(iEdit* edit, iComboBox* unit, double pixels, int originalPixels)
{
    const int unitData = static_cast<int>(unit->GetSelectedData());
    edit->SetDouble(FromPixels(pixels, unitData, originalPixels), FormatOf(unitData));
}

void Workspace::OnDimensionChanged(CWnd* sender)
{
    if (m_isDimensionGuarded) {
        // The view wrote this text itself, already in its unit's format.
        if (sender == m_typedSizeEdit)
            m_typedSizeEdit = nullptr;
        return;
    }
    const int originalWidth = m_fileInfo.IsValid() ? m_fileInfo.GetInfo().width : 0;
    const int originalHeight = m_fileInfo.IsValid() ? m_fileInfo.GetInfo().height : 0;
    if (!originalWidth || !originalHeight)
        return;
    m_isDimensionGuarded = true;
    if (sender == m_widthEdit || sender == m_heightEdit)
        m_typedSizeEdit = sender == m_widthEdit ? m_widthEdit : m_heightEdit;
    const bool keepsProportions = m_proportions->GetCheck() == BST_CHECKED;
    if (sender == m_widthEdit) {
        m_newWidth = ReadSize(m_widthEdit, m_widthUnit, originalWidth);
        if (keepsProportions) {
            m_newHeight = m_newWidth * originalHeight / originalWidth;
            ShowSize(m_heightEdit, m_heightUnit, m_newHeight, originalHeight);
        }
    } else if (sender == m_heightEdit) {
        m_newHeight = ReadSize(m_heightEdit, m_heightUnit, originalHeight);
        if (keepsProportions) {
            m_newWidth = m_newHeight * originalWidth / originalHeight;
            ShowSize(m_widthEdit, m_widthUnit, m_newWidth, originalWidth);
        }
    }
    m_isDimensionGuarded = false;
}

// The other side is written in its unit's format as the user types; the typed side takes
// the same format once the user leaves it, so that both show their numbers alike.
void Workspace::OnSizeEditLeft(CWnd* sender)
{
    if (sender != m_typedSizeEdit || m_isDimensionGuarded)
        return;
    m_typedSizeEdit = nullptr;
    const int originalWidth = m_fileInfo.IsValid() ? m_fileInfo.GetInfo().width : 0;
    const int originalHeight = m_fileInfo.IsValid() ? m_fileInfo.GetInfo().height : 0;
    if (!originalWidth || !originalHeight)
        return;
    m_isDimensionGuarded = true;
    if (sender == m_widthEdit)
        ShowSize(m_widthEdit, m_widthUnit, m_newWidth, originalWidth);
    else
        ShowSize(m_heightEdit, m_heightUnit, m_newHeight, originalHeight);
    m_isDimensionGuarded = false;
}

void Workspace::OnDimensionUnitChanged(CWnd* sender)
{
    if (m_isDimensionGuarded)
        return;
    m_isDimensionGuarded = true;
    const int originalWidth = m_fileInfo.IsValid() ? m_fileInfo.GetInfo().width : 0;
    const int originalHeight = m_fileInfo.IsValid() ? m_fileInfo.GetInfo().height : 0;
    if (sender == m_widthUnit)
        ShowSize(m_widthEdit, m_widthUnit, m_newWidth, originalWidth);
    else if (sender == m_heightUnit)
        ShowSize(m_heightEdit, m_heightUnit, m_newHeight, originalHeight);
    m_isDimensionGuarded = false;
}

void Workspace::OnResolutionChanged(CWnd*)
{
    if (m_isResolutionGuarded)
        return;
    m_isResolutionGuarded = true;
    if (IsEmpty(m_resolutionEdit)) {
        // The file's own resolution, whichever unit shows it.
        m_newResolution = GetFileResolution();
    } else {
        const int typed = m_resolutionEdit->GetInt(0, 10);
        const double pixelsPerInch =
            m_resolutionUnit->GetSelectedData() == kPixelsPerCentimetre ? typed * kCentimetresPerInch : typed;
        // A resolution below 1 would make every physical unit divide by zero, and one past
        // the largest whole number the image keeps would reach it as nonsense: not taken.
        if (typed >= 1 && pixelsPerInch <= std::numeric_limits<int>::max())
            m_newResolution = pixelsPerInch;
    }
    m_isResolutionGuarded = false;
}

void Workspace::OnResolutionUnitChanged(CWnd*)
{
    if (m_isResolutionGuarded)
        return;
    m_isResolutionGuarded = true;
    const bool isPerCentimetre = m_resolutionUnit->GetSelectedData() == kPixelsPerCentimetre;
    m_resolutionEdit->SetDouble(isPerCentimetre ? m_newResolution / kCentimetresPerInch : m_newResolution, "%.3f");
    m_isResolutionGuarded = false;
}
