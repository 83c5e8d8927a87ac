// Stands in for the framework's command target: the base of every object with a
// message map (windows, documents, threads, the application). OnCmdMsg finds the
// handler of a command, an update request or a notification in the object's map
// chain and calls it; frames and views override it to route on to other targets.
#pragma once

#include "InterfaceMap.h"
#include "MessageMap.h"
#include "Object.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // nCode is CN_COMMAND, CN_UPDATE_COMMAND_UI, a control notification code, or
    // MAKELONG(code, message) for notifications and reflected messages. With
    // pHandlerInfo the handler is only looked up, not called. TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry of one map's table that matches the message, code and id, or null.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP_ENTRY* entries, UINT message, UINT code,
                                                    UINT id);

    // The hourglass while a long operation runs. Calls nest per thread: the cursor shown
    // before the first Begin comes back with the last End.
    void BeginWaitCursor();
    void EndWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

public:
    // COM object support through interface maps. The count starts at 1: the creator's
    // reference. When the last reference goes, OnFinalRelease deletes the object.
    long m_dwRef = 1;

    // The part that answers iid, searched from this class's map up its bases; IID_IUnknown
    // answers the first part of the most derived map that has one, whichever part is asked
    // (COM identity). Null when nothing answers. No reference is added.
    LPUNKNOWN GetInterface(const void* iid);
    DWORD InternalQueryInterface(const void* iid, LPVOID* ppvObj);
    DWORD InternalAddRef();
    DWORD InternalRelease();
    // What the parts' IUnknown methods call: the same as the internal ones (no aggregation).
    DWORD ExternalQueryInterface(const void* iid, LPVOID* ppvObj);
    DWORD ExternalAddRef();
    DWORD ExternalRelease();
    virtual void OnFinalRelease();

protected:
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;
    // Asked before the maps: a class may answer (or watch) a query here; null goes on to the maps.
    virtual LPUNKNOWN GetInterfaceHook(const void* iid);
};

// The next map up the chain, or null at the top.
inline const AFX_MSGMAP* AfxGetBaseMessageMap(const AFX_MSGMAP* map)
{
    return map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr;
}

// Shows the wait cursor for its own lifetime, so it ends on every way out of a scope,
// exceptions included.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
