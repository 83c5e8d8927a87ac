// The extended combo box (window class "ComboBoxEx32": a combo box whose entries carry
// images) as a framework combo box, which the framework itself does not provide.
#pragma once

#include "framework/Framework.h"

// Destroys its window when it goes.
class CComboBoxEx : public CComboBox {
    DECLARE_DYNAMIC(CComboBoxEx)
public:
    CComboBoxEx();
    ~CComboBoxEx() override;

    // A child "ComboBoxEx32" window without text, once the class is registered; FALSE
    // when either step fails.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
};
