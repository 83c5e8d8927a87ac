// Builds in-memory dialog templates (DLGTEMPLATE plus DLGITEMTEMPLATE items) for tests:
// dialogs and property pages made in code, so no resource script is needed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_support {

// Predefined control classes by their atoms.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kListBoxAtom = 0x0083;
constexpr WORD kComboBoxAtom = 0x0085;

class DialogTemplateBuilder {
public:
    // Dialog units; DS_SETFONT is added with an 8-point font so the units are fixed.
    DialogTemplateBuilder(DWORD style, short x, short y, short cx, short cy, const char* caption = "")
    {
        m_words.resize(sizeof(DLGTEMPLATE) / sizeof(WORD));
        auto* header = reinterpret_cast<DLGTEMPLATE*>(m_words.data());
        header->style = style | DS_SETFONT;
        header->x = x;
        header->y = y;
        header->cx = cx;
        header->cy = cy;
        m_words.push_back(0);  // no menu
        m_words.push_back(0);  // the dialog class
        AppendText(caption);
        m_words.push_back(8);
        AppendText("MS Shell Dlg");
    }

    // A control of a predefined class (by atom).
    DialogTemplateBuilder& Add(WORD classAtom, WORD id, DWORD style, short x, short y, short cx, short cy,
                               const char* text = "")
    {
        BeginItem(id, style, x, y, cx, cy);
        m_words.push_back(0xFFFF);
        m_words.push_back(classAtom);
        FinishItem(text);
        return *this;
    }

    // A control of a class given by name (common controls).
    DialogTemplateBuilder& Add(const char* className, WORD id, DWORD style, short x, short y, short cx, short cy,
                               const char* text = "")
    {
        BeginItem(id, style, x, y, cx, cy);
        AppendText(className);
        FinishItem(text);
        return *this;
    }

    LPCDLGTEMPLATE get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_words.data()); }

private:
    void AppendText(const char* text)
    {
        int count = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        std::vector<wchar_t> wide(static_cast<size_t>(count));
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), count);
        for (wchar_t ch : wide)
            m_words.push_back(static_cast<WORD>(ch));
    }

    void BeginItem(WORD id, DWORD style, short x, short y, short cx, short cy)
    {
        // Every item starts on a double-word boundary.
        if (m_words.size() % 2)
            m_words.push_back(0);
        size_t at = m_words.size();
        m_words.resize(at + sizeof(DLGITEMTEMPLATE) / sizeof(WORD));
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        memcpy(&m_words[at], &item, sizeof item);
        auto* header = reinterpret_cast<DLGTEMPLATE*>(m_words.data());
        ++header->cdit;
    }

    void FinishItem(const char* text)
    {
        AppendText(text);
        m_words.push_back(0);  // no creation data
    }

    std::vector<WORD> m_words;
};

} // namespace test_support
