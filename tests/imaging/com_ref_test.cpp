// The COM holder: every reference it takes is given back once, whichever way the holder
// is copied, moved, refilled or asked for another interface.
#include "imaging/ComRef.h"

#include <gtest/gtest.h>

namespace com_ref_test {
namespace {

using imaging::ComRef;

// An object that counts its references and answers only IUnknown.
class Counted : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        *object = nullptr;
        if (iid != IID_IUnknown)
            return E_NOINTERFACE;
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 1;
};

TEST(ComRef, GivesBackEveryReferenceItTakes)
{
    Counted object;
    {
        ComRef<IUnknown> first;
        *&first = &object;  // as a creating call fills it in: the creator's reference is the holder's
        EXPECT_EQ(1u, object.references);
        ComRef<IUnknown> copy = first;
        EXPECT_EQ(2u, object.references);
        ComRef<IUnknown> moved = std::move(copy);
        EXPECT_EQ(2u, object.references);
        EXPECT_EQ(nullptr, copy.Get());
        moved = first;
        EXPECT_EQ(2u, object.references) << "the same object again: one taken, one given back";
        moved = ComRef<IUnknown>();
        EXPECT_EQ(1u, object.references);
        ComRef<IUnknown> asked;
        ASSERT_EQ(S_OK, first.As(asked));
        EXPECT_EQ(2u, object.references);
        EXPECT_EQ(&object, asked.Get());
        // Taking the address to refill a holder lets go of what it held.
        EXPECT_EQ(nullptr, *&asked);
        EXPECT_EQ(1u, object.references);
    }
    EXPECT_EQ(0u, object.references) << "the holders gave back what they took, and only that";
}

TEST(ComRef, AnInterfaceTheObjectLacksLeavesTheOtherHolderEmpty)
{
    Counted object;
    {
        ComRef<IUnknown> first;
        *&first = &object;
        ComRef<IStream> stream;
        EXPECT_EQ(E_NOINTERFACE, first.As(stream));
        EXPECT_FALSE(stream);
    }
    EXPECT_EQ(0u, object.references);
}

} // namespace
} // namespace com_ref_test
