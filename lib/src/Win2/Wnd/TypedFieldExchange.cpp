// Dialog data exchange for typed fields.
#include "lib/src/Win2/Wnd/TypedFieldExchange.h"

#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iListCtrl.h"

#include "lib/src/iTempBufferRing.h"

#include <cstring>

namespace {

// Characters of text before its end or max, whichever comes first; a full-width field
// value has no terminating zero, so every read is bounded.
unsigned LengthWithin(const char* text, unsigned max)
{
    unsigned length = 0;
    while (text && length < max && text[length])
        ++length;
    return length;
}

// Sets the field from a combo box entry's text, or empties it with no selection.
void SaveComboEntry(CComboBox* comboBox, iType::String* field)
{
    CString text;
    int selected = comboBox->GetCurSel();
    if (selected >= 0)
        comboBox->GetLBText(selected, text);
    field->SetString(text);
}

// Selects the first entry that begins with the field's text, letter case aside; with
// none, the selection stays.
void LoadComboEntry(CComboBox* comboBox, iType::String* field)
{
    comboBox->SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(field->GetText()));
}

} // namespace

HWND PrepareExchangeControl(CDataExchange* pDX, CWnd* control)
{
    HWND window = control->GetSafeHwnd();
    if (!window)
        AfxThrowNotSupportedException();
    pDX->m_hWndLastControl = window;
    pDX->m_bEditLastControl = FALSE;
    return window;
}

void ExchangeCheckBox(CDataExchange* pDX, CWnd* checkBox, iType::Bool* field)
{
    if (!checkBox || !field)
        return;
    HWND window = PrepareExchangeControl(pDX, checkBox);
    if (pDX->m_bSaveAndValidate) {
        // The value alone: copying the whole field would also reset its default, so a
        // setting whose default was on would default to off after the first save.
        field->Value() = ::SendMessageA(window, BM_GETCHECK, 0, 0) != BST_UNCHECKED ? 1 : 0;
    } else {
        ::SendMessageA(window, BM_SETCHECK, field->Value() != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void ExchangeStringEdit(CDataExchange* pDX, CWnd* edit, iType::String* field)
{
    if (!edit || !field)
        return;
    HWND window = PrepareExchangeControl(pDX, edit);
    const unsigned storage = field->GetByteSize();
    const unsigned width = static_cast<unsigned>(field->GetWidth());
    if (pDX->m_bSaveAndValidate) {
        char* text = TempBuffer(storage + 1);
        text[0] = '\0';
        ::GetWindowTextA(window, text, static_cast<int>(storage + 1));
        field->SetTextN(text, storage);
        const unsigned length = LengthWithin(static_cast<const char*>(field->GetData()), storage);
        if ((field->GetInputRule() == iType::Base::kInputNotEmpty && length == 0) ||
            (field->GetInputRule() == iType::Base::kInputFull && length < width))
            pDX->Fail();
    } else {
        const char* display = field->GetText();
        const unsigned stored = LengthWithin(static_cast<const char*>(field->GetData()), width);
        CString text(display, static_cast<int>(LengthWithin(display, stored)));
        ::SendMessageA(window, EM_LIMITTEXT, width, 0);
        AfxSetWindowText(window, text);
    }
}

void ExchangeComboData(CDataExchange* pDX, iComboBox* comboBox, iType::Base* field)
{
    if (!comboBox || !field || !field->GetData() || field->GetByteSize() != sizeof(DWORD))
        return;
    DWORD value = 0;
    if (pDX->m_bSaveAndValidate) {
        value = comboBox->GetSelectedData();
        std::memcpy(field->GetData(), &value, sizeof(value));
    } else {
        std::memcpy(&value, field->GetData(), sizeof(value));
        comboBox->SelectByData(value);
    }
}

void ExchangeComboText(CDataExchange* pDX, iComboBox* comboBox, iType::String* field)
{
    // The library's combo box moves its text through the same messages as any other.
    ExchangeComboString(pDX, comboBox, field);
}

void ExchangeComboString(CDataExchange* pDX, CComboBox* comboBox, iType::String* field)
{
    if (!comboBox || !field)
        return;
    if (pDX->m_bSaveAndValidate)
        SaveComboEntry(comboBox, field);
    else
        LoadComboEntry(comboBox, field);
}

void ExchangeRadioGroup(CDataExchange* pDX, CButton* button, iType::Radio* field)
{
    if (!button || !field)
        return;
    if (pDX->m_bSaveAndValidate)
        field->Value() = static_cast<unsigned long>(button->SendMessage(BM_GETCHECK));
    else
        button->SendMessage(BM_SETCHECK, field->Value());
}

void ExchangeCheckList(CDataExchange* pDX, iListCtrl* list, iType::BitSet* field, BOOL byItemData)
{
    if (!list || !field || !list->HasCheckBoxes())
        return;
    const int count = list->GetItemCount();
    auto bitOf = [&](int item) { return byItemData ? static_cast<int>(list->GetItemData(item)) : item; };
    if (pDX->m_bSaveAndValidate) {
        field->ClearAll();
        for (int item = 0; item < count; ++item) {
            if (list->GetCheck(item) == 1)
                static_cast<void>(field->SetBit(bitOf(item)));
        }
    } else {
        for (int item = 0; item < count; ++item) {
            if (field->TestBit(bitOf(item)))
                list->SetCheck(item, TRUE);
        }
    }
}
