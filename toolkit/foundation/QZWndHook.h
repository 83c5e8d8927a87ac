// Window hooks: objects that watch and change the messages of a window the toolkit does
// not own by subclassing it. Any number of hooks can sit on one window; the newest sees
// a message first and passes it on to the next older one, the oldest to the window's
// own procedure. All hooked windows share one window procedure, which finds the chain
// of a window in one process-wide map.
// Invariant: a hook is in its window's chain exactly while its window handle is set, and
// a window is in the map exactly while it has a hook; its procedure is then HookWndProc.
#pragma once

#include "framework/CollectionMaps.h"
#include "framework/Object.h"

#include <windows.h>

class CWnd;

// The map never owns or deletes hooks: their owners do.
class CQZWndHook : public CObject {
    DECLARE_DYNAMIC(CQZWndHook)
public:
    CQZWndHook() = default;
    ~CQZWndHook() override;

    virtual BOOL IsHooked() const;
    // Attaches to the window, or detaches with null; TRUE.
    virtual BOOL HookWindow(HWND hWnd);
    virtual BOOL HookWindow(CWnd* pWnd);
    // Passes the message on: to the next older hook, or to the window's own procedure.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    // The window's procedure from before its first hook; the same in every hook of a window.
    WNDPROC m_pOldWndProc = nullptr;
    // The next older hook of the same window; null for the oldest.
    CQZWndHook* m_pNext = nullptr;
};

// Window handle to the newest hook of that window.
class CQZWindowMap : public CMapPtrToPtr {
    DECLARE_DYNAMIC(CQZWindowMap)
public:
    CQZWindowMap() : CMapPtrToPtr(10) {}

    // The process-wide map.
    static CQZWindowMap& GetHookMap();

    // Chains pWndHook in front of the window's newest hook.
    void Add(HWND hWnd, CQZWndHook* pWndHook);
    // Unlinks the hook from its window's chain; the window gets its procedure back with the last.
    void Remove(CQZWndHook* pUnHook);
    // Detaches every hook of the window.
    void RemoveAll(HWND hWnd);
    CQZWndHook* Lookup(HWND hWnd);

    // The window procedure of every hooked window.
    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
