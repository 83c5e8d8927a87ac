// "Send this Program to a Friend": the user's address, the friend's address, a subject
// and a message, kept in the usage store's send-to-friend form and sent to the maker's
// form script, which mails the recommendation. Built in code, 400 x 240 pixels, modal;
// the dialog's window set owns its controls.
#pragma once

#include "lib/src/Win2/Wnd/iDialog.h"

class iEdit;
class iPushButton;

class SendToFriendDialog : public iDialog {
public:
    explicit SendToFriendDialog(CWnd* parent);
    ~SendToFriendDialog() override;

    // The four edits against the fields of g_pUsage's send-to-friend form.
    void DoDataExchange(CDataExchange* pDX) override;
    // Checks both addresses and sends the form. Only success closes the dialog; after a
    // failure it stays open with "&Send" and both buttons enabled, ready to try again.
    void OnSend(CWnd* sender);

    iEdit* m_from = nullptr;
    iEdit* m_to = nullptr;
    iEdit* m_subject = nullptr;
    iEdit* m_message = nullptr;
    iPushButton* m_send = nullptr;
    iPushButton* m_close = nullptr;
};
