// Stands in for the framework's per-thread object holder: one object of a type per
// thread, made on first use and deleted when the thread ends.
//
// Why not C++ thread_local for objects with destructors: this toolchain's runtime
// destroys a worker thread's thread_local objects out of order, some after their
// storage has been freed (two or three such objects are enough to corrupt the heap
// when a worker thread ends). So those objects live on the heap behind a fibre-local
// slot, whose callback the system calls on the ending thread. Plain thread_local
// values without destructors remain fine.
//
// Teardown: while a thread ends, the callbacks of the slots run one by one; a holder
// whose object is already gone answers null from then on, never a new object, so a
// destructor that reaches another holder must expect null. The main thread's objects
// are never deleted: the process ends first, and static destructors may still use them.
#pragma once

#include "Exceptions.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

template <class TYPE>
class CThreadLocal {
public:
    using Factory = TYPE* (*)();

    constexpr CThreadLocal() : m_factory(&MakeDefault) {}
    constexpr explicit CThreadLocal(Factory factory) : m_factory(factory) {}
    CThreadLocal(const CThreadLocal&) = delete;
    CThreadLocal& operator=(const CThreadLocal&) = delete;

    // The calling thread's object, made now if it has none; null only while the
    // thread is being torn down after its object was deleted.
    TYPE* GetData()
    {
        DWORD slot = Slot();
        void* value = FlsGetValue(slot);
        if (value == Gone())
            return nullptr;
        if (!value) {
            auto* cell = new Cell{slot, nullptr};
            cell->object = m_factory();
            FlsSetValue(slot, cell);
            value = cell;
        }
        return static_cast<Cell*>(value)->object;
    }

    // The calling thread's object if it has one; never makes one.
    TYPE* GetDataNA()
    {
        void* value = FlsGetValue(Slot());
        return (value && value != Gone()) ? static_cast<Cell*>(value)->object : nullptr;
    }

    TYPE* operator->() { return GetData(); }
    TYPE& operator*() { return *GetData(); }

private:
    // What a slot holds for one thread: the object and the slot, which the
    // system's callback is not told.
    struct Cell {
        DWORD slot;
        TYPE* object;
    };

    static TYPE* MakeDefault() { return new TYPE; }

    // Marks a slot whose object this thread has already deleted.
    static void* Gone() { return reinterpret_cast<void*>(static_cast<uintptr_t>(1)); }

    static VOID WINAPI Destroy(void* value)
    {
        if (!value || value == Gone())
            return;
        auto* cell = static_cast<Cell*>(value);
        FlsSetValue(cell->slot, Gone());
        delete cell->object;
        delete cell;
    }

    DWORD Slot()
    {
        DWORD slot = m_slot.load(std::memory_order_acquire);
        if (slot != FLS_OUT_OF_INDEXES)
            return slot;
        DWORD fresh = FlsAlloc(&Destroy);
        if (fresh == FLS_OUT_OF_INDEXES)
            AfxThrowMemoryException();
        DWORD expected = FLS_OUT_OF_INDEXES;
        if (!m_slot.compare_exchange_strong(expected, fresh, std::memory_order_acq_rel)) {
            FlsFree(fresh);
            return expected;
        }
        return fresh;
    }

    Factory m_factory;
    std::atomic<DWORD> m_slot{FLS_OUT_OF_INDEXES};
};
