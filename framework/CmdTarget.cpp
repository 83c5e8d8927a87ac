// Command dispatch through the message-map chain.
#include "CmdTarget.h"

#include "CmdUI.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP_ENTRY* entries, UINT message, UINT code,
                                                     UINT id)
{
    for (const AFX_MSGMAP_ENTRY* entry = entries; entry->nSig != AfxSig_end; ++entry) {
        UINT entryMessage = entry->nMessage;
        if (entryMessage == AFX_REGISTERED_MESSAGE && entry->pRegisteredMessage)
            entryMessage = *entry->pRegisteredMessage;
        // Notification codes are negative ints; they travel in 16 bits of nCode.
        if (entryMessage == message && LOWORD(entry->nCode) == LOWORD(code) && id >= entry->nID &&
            id <= entry->nLastID)
            return entry;
    }
    return nullptr;
}

namespace {

// Calls a command-map handler with the arguments of its signature; the member pointer
// goes back to the exact type the entry macro checked.
[[nodiscard]] BOOL DispatchCmdMsg(CCmdTarget* target, UINT id, const AFX_MSGMAP_ENTRY& entry, void* extra)
{
    AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(extra);
    switch (entry.nSig) {
    case AfxSigCmd_v:
        (target->*AfxMemberCast<void (CCmdTarget::*)()>(entry.pfn))();
        return TRUE;
    case AfxSigCmd_b:
        return (target->*AfxMemberCast<BOOL (CCmdTarget::*)()>(entry.pfn))();
    case AfxSigCmd_RANGE:
        (target->*AfxMemberCast<void (CCmdTarget::*)(UINT)>(entry.pfn))(id);
        return TRUE;
    case AfxSigCmd_EX:
        return (target->*AfxMemberCast<BOOL (CCmdTarget::*)(UINT)>(entry.pfn))(id);
    case AfxSigCmdUI: {
        // The handler may ask for the next target to update the item as well.
        CCmdUI* cmdUI = static_cast<CCmdUI*>(extra);
        cmdUI->m_bContinueRouting = FALSE;
        (target->*AfxMemberCast<void (CCmdTarget::*)(CCmdUI*)>(entry.pfn))(cmdUI);
        return !cmdUI->m_bContinueRouting;
    }
    case AfxSigNotify_v:
        (target->*AfxMemberCast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry.pfn))(notify->pNMHDR,
                                                                                      notify->pResult);
        return TRUE;
    case AfxSigNotify_b:
        return (target->*AfxMemberCast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry.pfn))(notify->pNMHDR,
                                                                                             notify->pResult);
    case AfxSigNotify_RANGE:
        (target->*AfxMemberCast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(entry.pfn))(
            id, notify->pNMHDR, notify->pResult);
        return TRUE;
    case AfxSigNotify_EX:
        return (target->*AfxMemberCast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(entry.pfn))(
            id, notify->pNMHDR, notify->pResult);
    default:
        return FALSE;
    }
}

[[nodiscard]] bool IsCommandSignature(UINT sig)
{
    return sig >= AfxSigCmd_v && sig <= AfxSigNotify_EX;
}

} // namespace

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT message = WM_COMMAND;
    UINT code = static_cast<UINT>(nCode);
    if (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI && HIWORD(code) != 0) {
        message = HIWORD(code);
        code = LOWORD(code);
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = AfxGetBaseMessageMap(map)) {
        const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map->lpEntries, message, code, nID);
        if (!entry || !IsCommandSignature(entry->nSig))
            continue;
        if (pHandlerInfo) {
            pHandlerInfo->pTarget = this;
            pHandlerInfo->pmf = entry->pfn;
            return TRUE;
        }
        return DispatchCmdMsg(this, nID, *entry, pExtra);
    }
    return FALSE;
}
