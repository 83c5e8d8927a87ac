// Dialog data exchange for typed fields: the routines a dialog's or page's
// DoDataExchange calls to move the fields of a settings store to and from its controls
// (check box, edit, combo box, radio button, list check boxes), validating text fields
// by their input rule. Each returns at once for a null control or field.
#pragma once

#include "lib/src/iType.h"

#include "framework/Framework.h"

class iComboBox;
class iListCtrl;

// The control's window, recorded as the control a failure focuses (its text is not
// selected); a control without a window throws the framework's not-supported exception.
HWND PrepareExchangeControl(CDataExchange* pDX, CWnd* control);

// Saving stores 1 for a checked or indeterminate box, else 0. Only the value moves: the
// field keeps its own null and default values.
void ExchangeCheckBox(CDataExchange* pDX, CWnd* checkBox, iType::Bool* field);
// Saving stores at most the field's storage of text, then applies its input rule (not
// empty, or the declared length filled): a refused text keeps the focus on the edit and
// ends the exchange. Loading limits the edit to the declared length.
void ExchangeStringEdit(CDataExchange* pDX, CWnd* edit, iType::String* field);
// A field whose value is one 32-bit word, against the item data of the selected entry
// (0xFFFFFFFF with no selection). A field of another size is left alone.
void ExchangeComboData(CDataExchange* pDX, iComboBox* comboBox, iType::Base* field);
// The selected entry's text; loading selects the first entry beginning with the text.
void ExchangeComboText(CDataExchange* pDX, iComboBox* comboBox, iType::String* field);
// The same through the combo box's messages, for combo boxes that are not the library's.
void ExchangeComboString(CDataExchange* pDX, CComboBox* comboBox, iType::String* field);
// One radio button's check state; as for check boxes only the value moves.
void ExchangeRadioGroup(CDataExchange* pDX, CButton* button, iType::Radio* field);
// The items' check boxes against the bits of the set, an item's bit being its position
// or, with byItemData, its item data. Loading checks the items of set bits and never
// clears a check.
void ExchangeCheckList(CDataExchange* pDX, iListCtrl* list, iType::BitSet* field, BOOL byItemData);
