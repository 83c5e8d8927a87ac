// Window sets: a container window owns the control objects created on it and deletes
// them when the container object goes. Every library control carries an access object
// that finds its container from the parent window, joins the container's set and
// leaves it again when the control is destroyed.
// Invariant: a pointer is in a set exactly while its control lives and the control's
// access object names that set; null pointers never enter a set.
#pragma once

#include "lib/src/iSTL_set.h"

#include "framework/Framework.h"

class iWindowSetContainer;

// The controls a container owns, ordered by address. Destroying the set never touches
// the controls; DeleteAll does.
class iWindowSet : public iSTL_set<CWnd*> {
public:
    ~iWindowSet() override;

    // true when the control was not in the set yet; a null control is refused.
    [[nodiscard]] bool Add(CWnd* control);
    // true when the control was in the set.
    [[nodiscard]] bool Remove(CWnd* control);
    // Deletes every member through its virtual destructor, lowest address first, each
    // once, and leaves the set empty.
    void DeleteAll();
};

// The library's container windows (iWnd, iFrameWnd, and the dialogs, property pages and
// views built on them) derive from this as well as from their framework class, so that
// a control finds its container's set through a dynamic cast of the parent window.
class iWindowSetContainer {
public:
    virtual ~iWindowSetContainer();

    virtual iWindowSet& GetWindowSet() = 0;
    // Whether the rectangles of controls created on this container are in dialog units.
    virtual bool UsesDialogUnits() const;
    // A property page answers true: controls created on it mark it modified.
    virtual bool IsPropertyPage() const;
    // What a control's change does to its page (the page tells its sheet to enable Apply).
    virtual void MarkPageModified();
};

// A library control's link to the window set of the container it was created on.
class iWindowSetAccess {
public:
    iWindowSetAccess();
    virtual ~iWindowSetAccess();
    iWindowSetAccess(const iWindowSetAccess&) = delete;
    iWindowSetAccess& operator=(const iWindowSetAccess&) = delete;

    // Called once the control's window exists: 0 when the window has no parent (nothing
    // changes), else 1, whether or not the parent is a container.
    [[nodiscard]] int Attach(CWnd* control);
    // Marks the page the control sits on modified; nothing when it is on no page.
    void SetModified();

    CWnd* GetControl() const { return m_control; }
    iWindowSet* GetSet() const { return m_set; }
    iWindowSetContainer* GetPage() const { return m_page; }

private:
    CWnd* m_control = nullptr;
    iWindowSet* m_set = nullptr;
    iWindowSetContainer* m_page = nullptr;
};

// Converts a control's creation rectangle from dialog units to pixels when the container
// works in dialog units; any other container, or none, leaves it unchanged.
void MapDialogRectFor(CWnd* container, LPRECT rect);

// Gives the control the parent's font (none when the parent answers none), redrawing it.
void CopyParentFont(CWnd* control, CWnd* parent);

// The last step of a control's creating constructor, whether or not its window was made:
// the parent's font, then the container's set.
void JoinParent(CWnd& control, CWnd* parent, iWindowSetAccess& access);

// The window form of the library's controls: a child window of the class with WS_CHILD
// added, at the rectangle mapped for the parent; the control has no window when it fails.
void CreateControlWindow(CWnd& control, LPCSTR className, CWnd* parent, const RECT& rect, DWORD style, LPCSTR text,
                         UINT id, DWORD exStyle, LPVOID param);
