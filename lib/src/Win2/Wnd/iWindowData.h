// Window placement store: where a frame was, how large, and whether it was maximised
// or minimised, kept from one run to the next in the registry below the application
// key, under "Window Hierarchy" and the titles of the window's ancestors. A record is
// loaded when it is made and saved when it is deleted; the process-wide map holds one
// record per registered window for as long as the window is registered.
//
// Values below the record's key:
//   "Rect"    REG_BINARY 16 bytes  left, top, right, bottom (32-bit signed, little-endian),
//                                  the normal-state rectangle, relative to the parent's
//                                  window rectangle or in screen coordinates without one
//   "Zoomed"  REG_BINARY 4 bytes   non-zero when the window was maximised
//   "Iconic"  REG_BINARY 4 bytes   non-zero when the window was minimised
#pragma once

#include "lib/src/iString.h"

#include <windows.h>

#include <map>
#include <memory>

class CWnd;

class iWindowData {
public:
    // Zoomed and iconic start as the style's WS_MAXIMIZE and WS_MINIMIZE bits; then the
    // saved values are loaded over the arguments.
    iWindowData(CWnd* pParentWnd, CWnd* pWnd, const RECT& rect, DWORD dwStyle, LPCSTR lpszName);
    // Saves.
    virtual ~iWindowData();
    iWindowData(const iWindowData&) = delete;
    iWindowData& operator=(const iWindowData&) = delete;

    // Reads the saved values that exist with their type and size; the rest stay. 1.
    int Load();
    // Writes "Rect", "Zoomed" and "Iconic". 1.
    int Save();
    // The rectangle in screen coordinates, written to out; returns out.
    RECT* GetRect(RECT* out) const;
    // Called after every move and resize: a maximised or minimised window keeps its
    // normal rectangle, as the system's placement of the window holds it.
    void Update();

    DWORD GetStyle() const { return m_dwStyle; }
    DWORD GetZoomed() const { return m_zoomed; }
    DWORD GetIconic() const { return m_iconic; }
    const iString& GetName() const { return m_name; }
    const iString& GetKeyPath() const { return m_keyPath; }

private:
    CWnd* m_pParentWnd;
    CWnd* m_pWnd;
    RECT m_rect;
    DWORD m_dwStyle;
    iString m_name;
    DWORD m_zoomed;
    DWORD m_iconic;
    iString m_keyPath;
    // Screen position less the system placement's normal position, seen while the window
    // was last in its normal state.
    POINT m_placementOffset = {0, 0};
    bool m_isPlacementOffsetKnown = false;
};

// The records of the registered windows, keyed by window object. Exists only while at
// least one window is registered.
class iWindowDataMap {
public:
    // The record of pWnd: a new one, loaded from the registry, or the one it already has.
    static iWindowData* Register(CWnd* pParentWnd, CWnd* pWnd, const RECT& rect, DWORD dwStyle, LPCSTR lpszName);
    // Saves and deletes pWnd's record; the map goes with its last record. Nothing for an
    // unknown window.
    static void Unregister(CWnd* pWnd);
    // The map, or null while no window is registered.
    static iWindowDataMap* GetMap() { return s_pMap; }

    iWindowData* Lookup(const CWnd* pWnd) const;
    size_t GetCount() const { return m_records.size(); }

private:
    static iWindowDataMap* s_pMap;

    std::map<const CWnd*, std::unique_ptr<iWindowData>> m_records;
};

// "Window Hierarchy" (or root), then the window texts of pWnd and its ancestors from
// the outermost down ("~" for an empty text), then lpszName, joined by "\".
iString BuildWindowHierarchyPath(LPCSTR root, CWnd* pWnd, LPCSTR lpszName);
