// The send-to-friend dialog: its layout, the exchange with the usage store and Send.
#include "SendToFriendDialog.h"

#include "EmailAddress.h"
#include "SendToFriendRequest.h"
#include "Usage.h"
#include "WebEndpoint.h"

#include "lib/src/MsgBox.h"
#include "lib/src/Win2/Wnd/TypedFieldExchange.h"
#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iStatic.h"

namespace {

constexpr UINT kFriendControlId = static_cast<UINT>(-1);
// DS_SETFONT makes the system use the template's 8-point dialog font, which the controls
// then take; without it they get the bold system font, whose labels overflow their
// 120 pixels and wrap onto a line the box cuts off.
constexpr DWORD kFriendDialogStyle = WS_CAPTION | WS_SYSMENU | DS_SETFONT;
constexpr DWORD kFriendLabelStyle = WS_VISIBLE | SS_RIGHT;
constexpr DWORD kFriendLineStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kFriendMessageStyle = WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE;
constexpr DWORD kFriendButtonStyle = WS_VISIBLE | WS_TABSTOP;
constexpr char kSendText[] = "&Send";
constexpr char kSentText[] = "Message Sent";

SendToFriendForm FormFromStore(const Usage::SendToFriend& store)
{
    SendToFriendForm form;
    form.from = store.m_from.GetText();
    form.to = store.m_to.GetText();
    form.subject = store.m_subject.GetText();
    form.message = store.m_message.GetText();
    return form;
}

} // namespace

SendToFriendDialog::SendToFriendDialog(CWnd* parent)
    : iDialog(parent, CRect(0, 0, 400, 240), kFriendDialogStyle, "Send this Program to a Friend", -1, FALSE)
{
    SetDialogUnits(0);
    new iStatic(this, CRect(5, 5, 125, 30), kFriendLabelStyle, "Your Email Address", kFriendControlId);
    new iStatic(this, CRect(5, 30, 125, 55), kFriendLabelStyle, "Friend's Email Address", kFriendControlId);
    new iStatic(this, CRect(5, 55, 125, 80), kFriendLabelStyle, "Subject", kFriendControlId);
    new iStatic(this, CRect(5, 80, 125, 105), kFriendLabelStyle, "Message", kFriendControlId);
    m_from = new iEdit(this, CRect(130, 5, 370, 27), kFriendLineStyle, nullptr, kFriendControlId);
    m_to = new iEdit(this, CRect(130, 30, 370, 52), kFriendLineStyle, nullptr, kFriendControlId);
    m_subject = new iEdit(this, CRect(130, 55, 370, 77), kFriendLineStyle, nullptr, kFriendControlId);
    m_message = new iEdit(this, CRect(130, 80, 370, 170), kFriendMessageStyle, nullptr, kFriendControlId);
    m_send = new iPushButton(this, CRect(80, 180, 180, 204), kFriendButtonStyle, kSendText, kFriendControlId);
    // IDCANCEL: the framework's cancel command ends the dialog.
    m_close = new iPushButton(this, CRect(220, 180, 320, 204), kFriendButtonStyle, "&Close", IDCANCEL);
    m_send->SetOnClicked(iConnector(this, &SendToFriendDialog::OnSend));
    // The window was made before its controls: initialise again now that they exist.
    OnInitDialog();
    CenterWindow(CWnd::GetDesktopWindow());
}

SendToFriendDialog::~SendToFriendDialog() = default;

void SendToFriendDialog::DoDataExchange(CDataExchange* pDX)
{
    iDialog::DoDataExchange(pDX);
    if (!g_pUsage)
        return;
    Usage::SendToFriend& form = g_pUsage->m_sendToFriend;
    ExchangeStringEdit(pDX, m_from, &form.m_from);
    ExchangeStringEdit(pDX, m_to, &form.m_to);
    ExchangeStringEdit(pDX, m_subject, &form.m_subject);
    ExchangeStringEdit(pDX, m_message, &form.m_message);
}

void SendToFriendDialog::OnSend(CWnd*)
{
    if (!g_pUsage || !UpdateData(TRUE))
        return;
    const SendToFriendForm form = FormFromStore(g_pUsage->m_sendToFriend);
    for (const iString* address : {&form.from, &form.to}) {
        if (!IsValidEmailAddress(*address, 0, 1)) {
            MsgBoxStop(0, "Error", GetSafeHwnd(), "'%s' is not a valid email address!",
                       static_cast<const char*>(*address));
            return;
        }
    }

    m_send->SetWindowText(kSentText);
    m_send->EnableWindow(FALSE);
    m_close->EnableWindow(FALSE);
    // The fetch blocks this thread: show the state before it starts.
    UpdateWindow();

    const SendToFriendResult result = SendToFriend(GetWebEndpoint(), form);
    if (result.IsSent()) {
        PostMessage(WM_COMMAND, IDCANCEL);
        return;
    }
    MsgBox(0, "Error", GetSafeHwnd(), "Could not send the message, error code %d:%d.\nPlease try again later!",
           result.stage, result.code);
    m_send->SetWindowText(kSendText);
    m_send->EnableWindow(TRUE);
    m_close->EnableWindow(TRUE);
    // Disabling the pressed button took the focus away; give it back for the next try.
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_send->GetSafeHwnd()), TRUE);
}
