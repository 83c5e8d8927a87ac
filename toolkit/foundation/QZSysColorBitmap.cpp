// Loading a bitmap resource recoloured to the system's button colours. Colour-table
// images get their table entries replaced; images without a table get each standard
// colour replaced in place through a monochrome mask of its pixels.
// Invariant: every offset read from the resource is checked against its size first,
// whatever its header claims (size, colour count, masks).
#include "toolkit/foundation/QZSysColorBitmap.h"

#include <cstring>
#include <vector>

namespace {

struct ColourMapEntry {
    COLORREF standard;
    int systemColour;
};

// In this order: a later replacement may change pixels an earlier one produced.
constexpr ColourMapEntry kColourMap[] = {
    {RGB(0, 0, 0), COLOR_BTNTEXT},
    {RGB(128, 128, 128), COLOR_BTNSHADOW},
    {RGB(192, 192, 192), COLOR_BTNFACE},
    {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT},
};
constexpr int kMapSize = 4;

COLORREF ReplacementFor(int entry, BOOL bMono)
{
    if (bMono)
        return kColourMap[entry].systemColour == COLOR_BTNTEXT ? RGB(0, 0, 0) : RGB(255, 255, 255);
    return ::GetSysColor(kColourMap[entry].systemColour);
}

// Loads and locks the resource; frees it at the end.
class ResourceLock {
public:
    ResourceLock(HINSTANCE module, HRSRC resource)
    {
        m_global = ::LoadResource(module, resource);
        m_data = m_global ? static_cast<const BYTE*>(::LockResource(m_global)) : nullptr;
        m_size = m_data ? ::SizeofResource(module, resource) : 0;
    }
    ~ResourceLock()
    {
        if (m_global)
            ::FreeResource(m_global);
    }
    ResourceLock(const ResourceLock&) = delete;
    ResourceLock& operator=(const ResourceLock&) = delete;

    const BYTE* data() const { return m_data; }
    DWORD size() const { return m_size; }

private:
    HGLOBAL m_global = nullptr;
    const BYTE* m_data = nullptr;
    DWORD m_size = 0;
};

// Where the parts of a bitmap resource lie; valid only when all of it is inside.
struct DibLayout {
    bool isValid = false;
    DWORD infoSize = 0;     // header, masks and colour table: what StretchDIBits takes
    DWORD tableOffset = 0;  // first colour-table entry
    DWORD tableEntries = 0;
    bool hasColourTable = false;  // the pixels are indexes into the table
    LONG width = 0;
    LONG height = 0;              // as stored: negative for a top-down image
};

DibLayout ReadLayout(const BYTE* data, DWORD size)
{
    DibLayout layout;
    BITMAPINFOHEADER header;
    if (size < sizeof header)
        return layout;
    std::memcpy(&header, data, sizeof header);
    const WORD bits = header.biBitCount;
    const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (header.biSize < sizeof header || header.biSize > size || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == LONG_MIN || header.biPlanes != 1 || !knownDepth)
        return layout;
    // Masks follow a plain header; the larger headers hold their own.
    DWORD masks = 0;
    if (header.biSize == sizeof header && header.biCompression == BI_BITFIELDS)
        masks = 3 * sizeof(DWORD);
    const DWORD fullTable = bits <= 8 ? (DWORD{1} << bits) : 0;
    if (bits <= 8 && header.biClrUsed > fullTable)
        return layout;
    const DWORD entries = header.biClrUsed ? header.biClrUsed : fullTable;
    const unsigned long long tableOffset = header.biSize + masks;
    const unsigned long long pixelOffset = tableOffset + 4ull * entries;
    const unsigned long long rows = header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    const unsigned long long stride = ((static_cast<unsigned long long>(header.biWidth) * bits + 31) / 32) * 4;
    const bool compressed = header.biCompression == BI_RLE4 || header.biCompression == BI_RLE8;
    const unsigned long long pixelBytes = compressed ? header.biSizeImage : stride * rows;
    if ((compressed && pixelBytes == 0) || pixelOffset + pixelBytes > size)
        return layout;
    layout.isValid = true;
    layout.infoSize = static_cast<DWORD>(pixelOffset);
    layout.tableOffset = static_cast<DWORD>(tableOffset);
    layout.tableEntries = entries;
    layout.hasColourTable = bits <= 8;
    layout.width = header.biWidth;
    layout.height = header.biHeight;
    return layout;
}

// Selects a bitmap into a DC and the one before it back when it goes.
class QZSelectGuard {
public:
    QZSelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~QZSelectGuard()
    {
        if (m_previous)
            ::SelectObject(m_dc, m_previous);
    }
    QZSelectGuard(const QZSelectGuard&) = delete;
    QZSelectGuard& operator=(const QZSelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A monochrome mask of the target's size in a DC of its own, through which one colour
// of the target at a time is replaced. Puts the target's colours back when it goes.
class ColourReplacer {
public:
    ColourReplacer(HDC target, int width, int height) : m_target(target), m_width(width), m_height(height)
    {
        m_textColour = ::GetTextColor(target);
        m_backColour = ::GetBkColor(target);
        m_dc = ::CreateCompatibleDC(target);
        m_mask = ::CreateBitmap(width, height, 1, 1, nullptr);
        if (m_dc && m_mask)
            m_previous = ::SelectObject(m_dc, m_mask);
    }
    ~ColourReplacer()
    {
        ::SetTextColor(m_target, m_textColour);
        ::SetBkColor(m_target, m_backColour);
        if (m_previous)
            ::SelectObject(m_dc, m_previous);
        if (m_mask)
            ::DeleteObject(m_mask);
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    ColourReplacer(const ColourReplacer&) = delete;
    ColourReplacer& operator=(const ColourReplacer&) = delete;

    bool IsReady() const { return m_previous != nullptr; }

    bool Replace(COLORREF from, COLORREF to)
    {
        // The mask is 1 exactly where the target has the colour.
        ::SetBkColor(m_target, from);
        if (!::BitBlt(m_dc, 0, 0, m_width, m_height, m_target, 0, 0, SRCCOPY))
            return false;
        // Those pixels become black...
        ::SetTextColor(m_target, RGB(255, 255, 255));
        ::SetBkColor(m_target, RGB(0, 0, 0));
        if (!::BitBlt(m_target, 0, 0, m_width, m_height, m_dc, 0, 0, SRCAND))
            return false;
        if (to == RGB(0, 0, 0))
            return true;
        // ...then the replacement.
        ::SetTextColor(m_target, RGB(0, 0, 0));
        ::SetBkColor(m_target, to);
        return ::BitBlt(m_target, 0, 0, m_width, m_height, m_dc, 0, 0, SRCPAINT) != FALSE;
    }

private:
    HDC m_target;
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_mask = nullptr;
    HGDIOBJ m_previous = nullptr;
    COLORREF m_textColour;
    COLORREF m_backColour;
};

// How the four standard colours look on this screen: drawn through a 24-bit image and read back.
bool ReadStandardColours(HDC dc, const BITMAPINFOHEADER& source, COLORREF (&seen)[kMapSize])
{
    struct {
        BITMAPINFOHEADER header;
        BYTE pixels[120];
    } probe = {};
    probe.header.biSize = sizeof probe.header;
    probe.header.biWidth = 40;
    probe.header.biHeight = 1;
    probe.header.biPlanes = 1;
    probe.header.biBitCount = 24;
    probe.header.biSizeImage = sizeof probe.pixels;
    probe.header.biXPelsPerMeter = source.biXPelsPerMeter;
    probe.header.biYPelsPerMeter = source.biYPelsPerMeter;
    for (int i = 0; i < kMapSize; ++i) {
        probe.pixels[3 * i] = GetBValue(kColourMap[i].standard);
        probe.pixels[3 * i + 1] = GetGValue(kColourMap[i].standard);
        probe.pixels[3 * i + 2] = GetRValue(kColourMap[i].standard);
    }
    if (::StretchDIBits(dc, 0, 0, 40, 1, 0, 0, 40, 1, probe.pixels, reinterpret_cast<BITMAPINFO*>(&probe.header),
                        DIB_RGB_COLORS, SRCCOPY) == static_cast<int>(GDI_ERROR))
        return false;
    for (int i = 0; i < kMapSize; ++i)
        seen[i] = ::GetPixel(dc, i, 0);
    return true;
}

} // namespace

HBITMAP QZLoadSysColorBitmap(HINSTANCE hInstance, HRSRC hRsrc, BOOL bMono)
{
    ResourceLock resource(hInstance, hRsrc);
    if (!resource.data())
        return nullptr;
    const DibLayout layout = ReadLayout(resource.data(), resource.size());
    if (!layout.isValid)
        return nullptr;

    // A private copy of header, masks and table: only the table changes, never the pixels.
    std::vector<BYTE> info(resource.data(), resource.data() + layout.infoSize);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
    if (layout.hasColourTable) {
        auto* table = reinterpret_cast<RGBQUAD*>(info.data() + layout.tableOffset);
        for (DWORD i = 0; i < layout.tableEntries; ++i) {
            const COLORREF entry = RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
            for (int m = 0; m < kMapSize; ++m) {
                if (entry == kColourMap[m].standard) {
                    const COLORREF replacement = ReplacementFor(m, bMono);
                    table[i].rgbRed = GetRValue(replacement);
                    table[i].rgbGreen = GetGValue(replacement);
                    table[i].rgbBlue = GetBValue(replacement);
                    break;
                }
            }
        }
    }

    const int width = layout.width;
    const int height = layout.height < 0 ? -layout.height : layout.height;
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return nullptr;
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HDC dc = bitmap ? ::CreateCompatibleDC(screen) : nullptr;
    bool isDrawn = false;
    if (dc) {
        QZSelectGuard selected(dc, bitmap);
        COLORREF seen[kMapSize] = {};
        isDrawn = layout.hasColourTable || ReadStandardColours(dc, *header, seen);
        isDrawn = isDrawn && ::StretchDIBits(dc, 0, 0, width, height, 0, 0, width, height,
                                             resource.data() + layout.infoSize,
                                             reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                             SRCCOPY) != static_cast<int>(GDI_ERROR);
        if (isDrawn && !layout.hasColourTable) {
            ColourReplacer replacer(dc, width, height);
            isDrawn = replacer.IsReady();
            for (int m = 0; m < kMapSize && isDrawn; ++m) {
                const COLORREF replacement = ReplacementFor(m, bMono);
                if (replacement != seen[m])
                    isDrawn = replacer.Replace(seen[m], replacement);
            }
        }
    }
    if (dc)
        ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    if (!isDrawn && bitmap) {
        ::DeleteObject(bitmap);
        bitmap = nullptr;
    }
    return bitmap;
}
