// Stands in for the framework's handle maps: each wrapper class (window, menu,
// DC, GDI object, image list) keeps, per thread, a permanent map of the objects
// that own their handles and a temporary map of wrappers made on demand for
// foreign handles. Temporary wrappers are deleted at idle time without touching
// their handles. A temporary wrapper is a plain object of the wrapper class, so
// kind tests on it answer only that class.
#pragma once

#include <windows.h>

#include <unordered_map>
#include <vector>

class CHandleMapBase {
public:
    CHandleMapBase();
    virtual ~CHandleMapBase();
    CHandleMapBase(const CHandleMapBase&) = delete;
    CHandleMapBase& operator=(const CHandleMapBase&) = delete;
    virtual void DeleteTemp() = 0;
};

// Deletes the temporary wrappers of every handle map of the calling thread.
void AfxDeleteTempMaps();

template <class Object, class Handle>
class CHandleMap : public CHandleMapBase {
public:
    using NewObject = Object* (*)();
    // Sets the wrapper's handle fields without touching any map; null forgets them.
    using SetHandles = void (*)(Object*, Handle);

    CHandleMap(NewObject newObject, SetHandles setHandles) : m_newObject(newObject), m_setHandles(setHandles) {}
    ~CHandleMap() override { DeleteTemp(); }

    // The permanent object of the handle, else a (possibly new) temporary one; null for a null handle.
    Object* FromHandle(Handle h)
    {
        if (!h)
            return nullptr;
        if (Object* permanent = LookupPermanent(h))
            return permanent;
        if (Object* temporary = LookupTemporary(h))
            return temporary;
        Object* temporary = m_newObject();
        m_setHandles(temporary, h);
        m_temporary[h] = temporary;
        return temporary;
    }

    Object* LookupPermanent(Handle h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    Object* LookupTemporary(Handle h) const
    {
        auto it = m_temporary.find(h);
        return it == m_temporary.end() ? nullptr : it->second;
    }

    void SetPermanent(Handle h, Object* object) { m_permanent[h] = object; }

    // Forgets the handle's permanent object. A temporary wrapper of it forgets its
    // handle and leaves the map, so a new object that gets the same handle value
    // is not mistaken for it; the wrapper itself lives on until idle time, because
    // its caller may still hold it.
    void RemoveHandle(Handle h)
    {
        m_permanent.erase(h);
        auto it = m_temporary.find(h);
        if (it != m_temporary.end()) {
            m_setHandles(it->second, nullptr);
            m_orphans.push_back(it->second);
            m_temporary.erase(it);
        }
    }

    void DeleteTemp() override
    {
        std::unordered_map<Handle, Object*> doomed;
        doomed.swap(m_temporary);
        std::vector<Object*> orphans;
        orphans.swap(m_orphans);
        for (auto& entry : doomed) {
            m_setHandles(entry.second, nullptr);
            delete entry.second;
        }
        for (Object* orphan : orphans)
            delete orphan;
    }

private:
    NewObject m_newObject;
    SetHandles m_setHandles;
    std::unordered_map<Handle, Object*> m_permanent;
    std::unordered_map<Handle, Object*> m_temporary;
    std::vector<Object*> m_orphans;  // temporaries whose handle went away, deleted at idle
};
