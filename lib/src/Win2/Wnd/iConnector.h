// Event connectors: how a control tells the view, dialog or page that created it about
// a click, a text change or a selection. A connector is a target object and one of its
// member functions; the control fires it with itself as the sender. Values, copied freely.
#pragma once

#include "framework/Framework.h"

#include <type_traits>

// A control's connector for a notification without data: the handler takes the sender.
class iConnector {
public:
    // Handlers are kept against CObject; the constructor converts a handler of the
    // target's own class, which the call converts back for that same object.
    typedef void (CObject::*Function)(CWnd* sender);

    iConnector() = default;
    iConnector(CObject* target, Function function) : m_target(target), m_function(function) {}
    // The handler may be a member of a base class of the target.
    template <class Target, class Owner>
    iConnector(Target* target, void (Owner::*function)(CWnd* sender))
        : m_target(target), m_function(static_cast<Function>(function))
    {
        static_assert(std::is_base_of<Owner, Target>::value, "the handler is a member of the target's class");
    }

    bool IsEmpty() const { return !m_target || !m_function; }
    // Calls the handler when both target and function are set. Answers 0 whatever
    // happened: the int is the connector's calling convention, not a result.
    int Fire(CWnd* sender) const;

private:
    CObject* m_target = nullptr;
    Function m_function = nullptr;
};

// The connector of list and tree notifications: the handler takes the sender, the
// notification header and the notification's result, which it may write.
class iNotifyConnector {
public:
    typedef void (CObject::*Function)(CWnd* sender, NMHDR* header, LRESULT* result);

    iNotifyConnector() = default;
    iNotifyConnector(CObject* target, Function function) : m_target(target), m_function(function) {}
    template <class Target, class Owner>
    iNotifyConnector(Target* target, void (Owner::*function)(CWnd* sender, NMHDR* header, LRESULT* result))
        : m_target(target), m_function(static_cast<Function>(function))
    {
        static_assert(std::is_base_of<Owner, Target>::value, "the handler is a member of the target's class");
    }

    void Set(CObject* target, Function function)
    {
        m_target = target;
        m_function = function;
    }
    template <class Target, class Owner>
    void Set(Target* target, void (Owner::*function)(CWnd* sender, NMHDR* header, LRESULT* result))
    {
        *this = iNotifyConnector(target, function);
    }

    bool IsEmpty() const { return !m_target || !m_function; }
    // Calls the handler when both target and function are set; answers 0 in every case.
    int Fire(CWnd* sender, NMHDR* header, LRESULT* result) const;

private:
    CObject* m_target = nullptr;
    Function m_function = nullptr;
};
