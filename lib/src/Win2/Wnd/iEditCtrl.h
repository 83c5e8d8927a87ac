// The library's single-line edit: the framework's edit that joins its container's window
// set, reports its notifications to connectors, marks its property page modified when its
// text changes, colours itself, offers its own context menu and carries out the standard
// edit commands, and reads and writes its text as typed numbers.
#pragma once

#include "lib/src/Win2/Wnd/iConnector.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "lib/src/iString.h"

#include "framework/Framework.h"

// Owns its background brush.
class iEditCtrl : public CEdit {
public:
    iEditCtrl();
    // Dialog-item form: CEdit::Create with the rectangle mapped for the parent; the text is
    // not used.
    iEditCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: an "Edit" window with WS_CHILD added and the text as its first text.
    iEditCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iEditCtrl() override;

    void SetOnChange(const iConnector& connector) { m_onChange = connector; }
    void SetOnKillFocus(const iConnector& connector) { m_onKillFocus = connector; }

    // Getters answer the default for an empty text; otherwise the standard conversion's
    // result in the radix (0: the text's prefix chooses), which is 0 when no digit leads
    // and the leading number when other characters follow.
    int GetInt(int defaultValue, int radix) const;
    unsigned int GetUInt(unsigned int defaultValue, int radix) const;
    short GetShort(short defaultValue, int radix) const;
    unsigned short GetUShort(unsigned short defaultValue, int radix) const;
    long GetLong(long defaultValue, int radix) const;
    unsigned long GetULong(unsigned long defaultValue, int radix) const;
    __int64 GetInt64(__int64 defaultValue, int radix) const;
    unsigned __int64 GetUInt64(unsigned __int64 defaultValue, int radix) const;
    float& GetFloat(float& value, float defaultValue) const;
    double& GetDouble(double& value, double defaultValue) const;
    iString GetText() const;

    // Setters replace the text; digits above 9 are upper-case letters. The signed 32-bit
    // forms write a minus sign only in radix 10 (elsewhere the two's complement); the
    // unsigned forms never write one.
    void SetInt(int value, int radix);
    void SetLong(long value, int radix);
    void SetShort(short value, int radix);
    void SetUInt(unsigned int value, int radix);
    void SetULong(unsigned long value, int radix);
    void SetUShort(unsigned short value, int radix);
    void SetInt64(__int64 value, int radix);
    void SetUInt64(unsigned __int64 value, int radix);
    // printf-style with format ("%f" when null), cut to kMaxDoubleText characters.
    void SetDouble(double value, const char* format);
    // The text cut to at most maxLength characters (a negative length cuts nothing).
    void SetText(const char* text, int maxLength);

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

    // Longer than any double written with "%f" (at most 317 characters).
    static constexpr int kMaxDoubleText = 511;

protected:
    // The creation steps of the two forms, for derived classes whose own PreCreateWindow
    // must apply: they create from their own constructors.
    void CreateItem(CWnd* parent, const RECT& rect, DWORD style, UINT id);
    void CreateWindowForm(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                          LPVOID param);

    afx_msg UINT OnGetDlgCode();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg BOOL OnSetFocusReflect();
    afx_msg BOOL OnKillFocusReflect();
    afx_msg BOOL OnChangeReflect();
    afx_msg BOOL OnUpdateReflect();
    afx_msg BOOL OnErrSpaceReflect();
    afx_msg BOOL OnMaxTextReflect();
    afx_msg BOOL OnHScrollReflect();
    afx_msg BOOL OnVScrollReflect();
    afx_msg void OnEditCommand(UINT id);
    DECLARE_MESSAGE_MAP()

    iWindowSetAccess m_access;
    UINT m_dlgCodeMask = 0;  // added to the edit's WM_GETDLGCODE answer
    COLORREF m_textColor;
    COLORREF m_backColor;
    CBrush m_backBrush;
    iConnector m_onSetFocus;
    iConnector m_onKillFocus;
    iConnector m_onChange;
    iConnector m_onUpdate;
    iConnector m_onErrSpace;
    iConnector m_onMaxText;
    iConnector m_onHScroll;
    iConnector m_onVScroll;
    // Move the focus on once a short field has been typed full.
    BOOL m_autoAdvance = FALSE;
    iConnector m_onFull;
};
