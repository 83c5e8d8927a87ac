// The named mutex: ownership from creation, sharing by name across threads, abandonment
// and closing with the object.
#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

// A name no other process of the test run uses.
std::string UniqueName(const char* what)
{
    return std::string("SorvantaTest-") + what + "-" + std::to_string(::GetCurrentProcessId());
}

// Runs body on a thread of its own and waits for it.
template <class Body>
void OnOtherThread(Body body)
{
    std::thread other(body);
    other.join();
}

} // namespace

TEST(CMutex, OwnedFromCreationUntilUnlocked)
{
    std::string name = UniqueName("owned");
    CMutex owner(TRUE, name.c_str());
    ASSERT_NE(nullptr, owner.m_hObject);
    EXPECT_TRUE(owner.IsKindOf(RUNTIME_CLASS(CSyncObject)));

    BOOL lockedElsewhere = TRUE;
    BOOL releasedElsewhere = TRUE;
    DWORD openError = 0;
    OnOtherThread([&] {
        CMutex shared(FALSE, name.c_str());
        openError = ::GetLastError();
        lockedElsewhere = shared.Lock(0);
        releasedElsewhere = shared.Unlock();
    });
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), openError) << "the same name opens the same mutex";
    EXPECT_FALSE(lockedElsewhere) << "the creating thread owns it";
    EXPECT_FALSE(releasedElsewhere) << "only the owner can release it";

    EXPECT_TRUE(owner.Lock(0)) << "the owner may lock again";
    EXPECT_TRUE(owner.Unlock());
    EXPECT_TRUE(owner.Unlock());
    OnOtherThread([&] {
        CMutex shared(FALSE, name.c_str());
        lockedElsewhere = shared.Lock(0);
        if (lockedElsewhere)
            shared.Unlock();
    });
    EXPECT_TRUE(lockedElsewhere) << "free once the owner released both locks";
}

TEST(CMutex, AbandonedMutexIsOwnedByTheNextWaiter)
{
    std::string name = UniqueName("abandoned");
    CMutex mutex(FALSE, name.c_str());
    BOOL lockedElsewhere = FALSE;
    OnOtherThread([&] {
        CMutex shared(FALSE, name.c_str());
        lockedElsewhere = shared.Lock(0);
        // The thread ends still owning it.
    });
    ASSERT_TRUE(lockedElsewhere);
    EXPECT_TRUE(mutex.Lock(1000));
    EXPECT_TRUE(mutex.Unlock()) << "the waiter became the owner";
}

TEST(CMutex, DestructorClosesTheLastHandleAndTheNameGoes)
{
    std::string name = UniqueName("closed");
    {
        CMutex mutex(TRUE, name.c_str());
        HANDLE seen = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
        ASSERT_NE(nullptr, seen);
        ::CloseHandle(seen);
    }
    EXPECT_EQ(nullptr, ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str()));
}

TEST(CMutex, MutexThatCannotBeMadeIsEmptyAndNeverOwned)
{
    // A name with a backslash outside a namespace prefix is refused by the system.
    CMutex broken(TRUE, "No\\Such\\Namespace\\Sorvanta");
    EXPECT_EQ(nullptr, broken.m_hObject);
    EXPECT_FALSE(broken.Lock(0));
    EXPECT_FALSE(broken.Unlock());
}
