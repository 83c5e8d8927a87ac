// Run-time classes, kind tests, dynamic creation and the per-thread handle maps.
#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class Animal : public CObject {
    DECLARE_DYNAMIC(Animal)
};
IMPLEMENT_DYNAMIC(Animal, CObject)

class Dog : public Animal {
    DECLARE_DYNCREATE(Dog)
public:
    int barks = 3;
};
IMPLEMENT_DYNCREATE(Dog, Animal)

// Creatable, but no animal; counts its live objects.
class Cat : public CObject {
    DECLARE_DYNCREATE(Cat)
public:
    static int s_alive;
    Cat() { ++s_alive; }
    ~Cat() override { --s_alive; }
};
IMPLEMENT_DYNCREATE(Cat, CObject)
int Cat::s_alive = 0;

// A wrapper with one handle, the way window and menu wrappers use the maps.
class Wrapper : public CObject {
public:
    HANDLE m_h = nullptr;
    static int s_alive;
    Wrapper() { ++s_alive; }
    ~Wrapper() override { --s_alive; }
};
int Wrapper::s_alive = 0;

CThreadLocal<CHandleMap<Wrapper, HANDLE>> g_wrapperMaps([]() {
    return new CHandleMap<Wrapper, HANDLE>([]() { return new Wrapper; }, [](Wrapper* w, HANDLE h) { w->m_h = h; });
});

CHandleMap<Wrapper, HANDLE>& WrapperMap()
{
    return *g_wrapperMaps;
}

HANDLE FakeHandle(uintptr_t n)
{
    return reinterpret_cast<HANDLE>(n);
}

} // namespace

TEST(RuntimeClass, KindTestsFollowTheBaseChain)
{
    Dog dog;
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(Animal)));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_EQ(RUNTIME_CLASS(Dog), dog.GetRuntimeClass());
    EXPECT_STREQ("Dog", dog.GetRuntimeClass()->m_lpszClassName);
    Animal animal;
    EXPECT_FALSE(animal.IsKindOf(RUNTIME_CLASS(Dog)));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(Dog, &animal));
    EXPECT_EQ(&dog, DYNAMIC_DOWNCAST(Dog, &dog));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(Dog, static_cast<CObject*>(nullptr)));
}

TEST(RuntimeClass, CreatesOnlyDynamicallyCreatableClasses)
{
    CObject* made = RUNTIME_CLASS(Dog)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(Dog)));
    EXPECT_EQ(3, static_cast<Dog*>(made)->barks);
    delete made;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(Animal)->CreateObject());
}

TEST(RuntimeClass, CreatesAnObjectOnlyOfTheKindAskedFor)
{
    int before = Cat::s_alive;
    CObject* dog = AfxCreateObjectOfKind(RUNTIME_CLASS(Dog), RUNTIME_CLASS(Animal));
    ASSERT_NE(nullptr, dog);
    EXPECT_TRUE(dog->IsKindOf(RUNTIME_CLASS(Dog)));
    delete dog;
    EXPECT_EQ(nullptr, AfxCreateObjectOfKind(RUNTIME_CLASS(Cat), RUNTIME_CLASS(Animal)));
    EXPECT_EQ(before, Cat::s_alive) << "an object of the wrong kind is not left behind";
    EXPECT_EQ(nullptr, AfxCreateObjectOfKind(RUNTIME_CLASS(Animal), RUNTIME_CLASS(Animal))) << "not creatable";
    EXPECT_EQ(nullptr, AfxCreateObjectOfKind(nullptr, RUNTIME_CLASS(Animal)));
}

TEST(HandleMap, PermanentObjectWinsOverTemporary)
{
    Wrapper owner;
    owner.m_h = FakeHandle(0x10);
    WrapperMap().SetPermanent(owner.m_h, &owner);
    EXPECT_EQ(&owner, WrapperMap().FromHandle(FakeHandle(0x10)));
    WrapperMap().RemoveHandle(owner.m_h);
    EXPECT_EQ(nullptr, WrapperMap().LookupPermanent(FakeHandle(0x10)));
    EXPECT_EQ(nullptr, WrapperMap().FromHandle(nullptr));
}

TEST(HandleMap, TemporaryWrappersAreReusedThenDeletedWithoutTheirHandles)
{
    int before = Wrapper::s_alive;
    Wrapper* a = WrapperMap().FromHandle(FakeHandle(0x20));
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(FakeHandle(0x20), a->m_h);
    EXPECT_EQ(a, WrapperMap().FromHandle(FakeHandle(0x20)));
    EXPECT_EQ(before + 1, Wrapper::s_alive);
    AfxDeleteTempMaps();
    EXPECT_EQ(before, Wrapper::s_alive);
    EXPECT_EQ(nullptr, WrapperMap().LookupTemporary(FakeHandle(0x20)));
}

TEST(HandleMap, ARemovedTemporaryIsNotHandedOutForTheHandleAgain)
{
    int before = Wrapper::s_alive;
    Wrapper* old = WrapperMap().FromHandle(FakeHandle(0x40));
    WrapperMap().RemoveHandle(FakeHandle(0x40));
    EXPECT_EQ(nullptr, old->m_h);  // still a valid object for whoever holds it
    Wrapper* fresh = WrapperMap().FromHandle(FakeHandle(0x40));  // the value was reused
    EXPECT_NE(old, fresh);
    EXPECT_EQ(FakeHandle(0x40), fresh->m_h);
    AfxDeleteTempMaps();
    EXPECT_EQ(before, Wrapper::s_alive);
}

TEST(HandleMap, EachThreadHasItsOwnMaps)
{
    Wrapper owner;
    owner.m_h = FakeHandle(0x30);
    WrapperMap().SetPermanent(owner.m_h, &owner);
    Wrapper* seenElsewhere = nullptr;
    std::thread other([&] { seenElsewhere = WrapperMap().LookupPermanent(FakeHandle(0x30)); });
    other.join();
    EXPECT_EQ(nullptr, seenElsewhere);
    WrapperMap().RemoveHandle(owner.m_h);
}

TEST(FrameworkExceptions, AreRunTimeClassed)
{
    CException* e = new CMemoryException;
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    e->Delete();
}
