// Builds a dialog template in memory, so that dialogs, property pages and the measuring
// dialog of a property sheet can be made in code without a template resource.
// Layout written (little-endian words of 16 bits, double words of 32 bits):
//   offset  size  meaning
//   0       4     style, as given
//   4       4     extended style
//   8       2     item count: 0, the template holds no controls
//   10      8     x, y, cx, cy: the rectangle's numbers, read by the system as dialog units
//   18      2|4   menu: one 0 word (argument 0 or -1), else 0xFFFF and the menu resource id
//   ..      2     window class: 0, the predefined dialog class
//   ..      2n    title: the caption in UTF-16 with its terminator (one 0 word when null)
//   ..      2     point size 8; read by the system only with DS_SETFONT, which is not added
//   ..      2n    typeface "MS Sans Serif" with its terminator
// The whole is padded with zeros to a multiple of four bytes.
#pragma once

#include <windows.h>

#include <cstddef>

// Owns its template buffer.
class iDialogTemplate {
public:
    iDialogTemplate();
    // Builds at once.
    iDialogTemplate(const RECT* rect, DWORD style, LPCSTR caption, DWORD exStyle, int menu);
    ~iDialogTemplate();
    iDialogTemplate(const iDialogTemplate&) = delete;
    iDialogTemplate& operator=(const iDialogTemplate&) = delete;

    // Replaces any template built before. A null rectangle places the dialog at 0,0 with
    // no size; a null caption gives an empty title.
    void Build(const RECT* rect, DWORD style, LPCSTR caption, DWORD exStyle, int menu);
    // Frees the template.
    void Free();

    // Null until built.
    LPCDLGTEMPLATE GetTemplate() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_buffer); }
    // Bytes in the template, padding included; 0 until built.
    size_t GetSize() const { return m_sizeBytes; }

private:
    // DWORD elements: a template must start on a double-word boundary.
    DWORD* m_buffer = nullptr;
    size_t m_sizeBytes = 0;
};
