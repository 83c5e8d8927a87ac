// One reference to a COM object, released when the holder goes or takes another. Taking
// the address (&ref) lets go of the object held, so that a call can fill the holder in.
#pragma once

#include <unknwn.h>

#include <utility>

namespace imaging {

template <class T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef& other) : m_object(other.m_object) { AddRef(); }
    template <class U>
    ComRef(const ComRef<U>& other) : m_object(other.Get())
    {
        AddRef();
    }
    ComRef(ComRef&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    ~ComRef() { Release(); }

    ComRef& operator=(ComRef other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }
    template <class U>
    ComRef& operator=(const ComRef<U>& other)
    {
        return *this = ComRef(other);
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    T** ReleaseAndGetAddressOf()
    {
        Release();
        return &m_object;
    }
    T** operator&() { return ReleaseAndGetAddressOf(); }

    // The same object through another of its interfaces.
    template <class U>
    HRESULT As(ComRef<U>& other) const
    {
        return m_object->QueryInterface(__uuidof(U), reinterpret_cast<void**>(other.ReleaseAndGetAddressOf()));
    }

private:
    void AddRef()
    {
        if (m_object)
            m_object->AddRef();
    }
    void Release()
    {
        if (m_object)
            std::exchange(m_object, nullptr)->Release();
    }

    T* m_object = nullptr;
};

} // namespace imaging
