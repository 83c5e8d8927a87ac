// The in-memory dialog template: sized exactly, then written item by item.
#include "lib/src/Win2/Wnd/iDialogTemplate.h"

#include <cstring>

namespace {

const char kTypeface[] = "MS Sans Serif";
constexpr WORD kPointSize = 8;

// Characters of text in UTF-16 with the terminator; 1 for a null or unconvertible text.
int WideLength(LPCSTR text)
{
    if (!text)
        return 1;
    int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    return length > 0 ? length : 1;
}

// Appends text in UTF-16 with its terminator: exactly WideLength(text) words.
WORD* PutText(WORD* out, LPCSTR text, int wideLength)
{
    if (!text || wideLength <= 1 ||
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<LPWSTR>(out), wideLength) != wideLength) {
        std::memset(out, 0, sizeof(WORD) * wideLength);
    }
    return out + wideLength;
}

WORD* PutWord(WORD* out, WORD value)
{
    *out = value;
    return out + 1;
}

WORD* PutDword(WORD* out, DWORD value)
{
    out[0] = LOWORD(value);
    out[1] = HIWORD(value);
    return out + 2;
}

} // namespace

iDialogTemplate::iDialogTemplate() = default;

iDialogTemplate::iDialogTemplate(const RECT* rect, DWORD style, LPCSTR caption, DWORD exStyle, int menu)
{
    Build(rect, style, caption, exStyle, menu);
}

iDialogTemplate::~iDialogTemplate()
{
    Free();
}

void iDialogTemplate::Free()
{
    delete[] m_buffer;
    m_buffer = nullptr;
    m_sizeBytes = 0;
}

void iDialogTemplate::Build(const RECT* rect, DWORD style, LPCSTR caption, DWORD exStyle, int menu)
{
    Free();
    const bool hasMenu = menu != 0 && menu != -1;
    const int titleWords = WideLength(caption);
    const int faceWords = WideLength(kTypeface);
    const size_t words = 2 + 2 + 1 + 4 + (hasMenu ? 2 : 1) + 1 + titleWords + 1 + faceWords;
    const size_t dwords = (words * sizeof(WORD) + sizeof(DWORD) - 1) / sizeof(DWORD);
    m_buffer = new DWORD[dwords]();
    m_sizeBytes = dwords * sizeof(DWORD);

    RECT bounds = rect ? *rect : RECT{0, 0, 0, 0};
    WORD* out = reinterpret_cast<WORD*>(m_buffer);
    out = PutDword(out, style);
    out = PutDword(out, exStyle);
    out = PutWord(out, 0);
    // Words hold the low 16 bits: a negative position stays negative as a short.
    out = PutWord(out, static_cast<WORD>(bounds.left));
    out = PutWord(out, static_cast<WORD>(bounds.top));
    out = PutWord(out, static_cast<WORD>(bounds.right - bounds.left));
    out = PutWord(out, static_cast<WORD>(bounds.bottom - bounds.top));
    if (hasMenu) {
        out = PutWord(out, 0xFFFF);
        out = PutWord(out, static_cast<WORD>(menu));
    } else {
        out = PutWord(out, 0);
    }
    out = PutWord(out, 0);
    out = PutText(out, caption, titleWords);
    out = PutWord(out, kPointSize);
    PutText(out, kTypeface, faceWords);
}
