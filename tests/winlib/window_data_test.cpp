// Window placement records against Wine's real registry, below a company key of the
// test's own that the fixture removes: first run, maximised and minimised frames,
// unusable stored values, the hierarchy key path and the map of registered windows.
#include "lib/src/Win2/Wnd/iWindowData.h"

#include "framework/Framework.h"
#include "lib/src/iRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kTestCompany = "SorvantaWindowDataTest";
constexpr const char* kTestApplication = "Placement";
constexpr const char* kApplicationKey = "Software\\SorvantaWindowDataTest\\Placement";

struct StoredValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<unsigned char> bytes;
};

StoredValue ReadValue(const std::string& keyPath, const char* name)
{
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kApplicationKey) + "\\" + keyPath).c_str(), 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        value.exists = RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return value;
}

bool KeyExists(const std::string& keyPath)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kApplicationKey) + "\\" + keyPath).c_str(), 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void WriteValue(const std::string& keyPath, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kApplicationKey) + "\\" + keyPath).c_str(),
                                             0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

RECT StoredRect(const std::string& keyPath)
{
    RECT rect = {};
    StoredValue value = ReadValue(keyPath, "Rect");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), value.type);
    EXPECT_EQ(sizeof rect, value.bytes.size());
    if (value.bytes.size() == sizeof rect)
        memcpy(&rect, value.bytes.data(), sizeof rect);
    return rect;
}

DWORD StoredFlag(const std::string& keyPath, const char* name)
{
    StoredValue value = ReadValue(keyPath, name);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), value.type) << name;
    EXPECT_EQ(sizeof(DWORD), value.bytes.size()) << name;
    DWORD flag = 0xDEAD;
    if (value.bytes.size() == sizeof flag)
        memcpy(&flag, value.bytes.data(), sizeof flag);
    return flag;
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A top-level framework window with a title; the object outlives its window.
class TitledWindow : public CWnd {
public:
    BOOL CreateTopLevel(LPCSTR title, const RECT& rect)
    {
        return CreateEx(0, AfxFrameOrViewClassName(), title, WS_OVERLAPPEDWINDOW, rect, nullptr, 0);
    }
    BOOL CreateChild(LPCSTR title, const RECT& rect, CWnd* parent, UINT id)
    {
        return Create(AfxWndClassName(), title, WS_CHILD | WS_VISIBLE, rect, parent, id);
    }
};

class WindowDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaWindowDataTest");
        ASSERT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", kTestCompany, kTestApplication));
    }
    void TearDown() override
    {
        // The library's own start-up defaults come back for whatever runs next.
        EXPECT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", "Orvel++ Software Development", "Default"));
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaWindowDataTest");
    }
};

} // namespace

TEST_F(WindowDataTest, FirstRunKeepsTheCreationValuesAndSavesThemOnUnregister)
{
    TitledWindow frame;
    const RECT creation = {10, 20, 410, 320};
    ASSERT_TRUE(frame.CreateTopLevel("Main Test", creation));
    iWindowData* record = iWindowDataMap::Register(nullptr, &frame, creation, WS_OVERLAPPEDWINDOW, "Main Test");
    ASSERT_NE(nullptr, record);
    EXPECT_EQ("Window Hierarchy\\Main Test", std::string(record->GetKeyPath()));
    EXPECT_EQ(static_cast<DWORD>(WS_OVERLAPPEDWINDOW), record->GetStyle());
    RECT rect;
    EXPECT_EQ(Describe(creation), Describe(*record->GetRect(&rect)));
    EXPECT_TRUE(KeyExists("Window Hierarchy\\Main Test")) << "the key is made at registration";
    EXPECT_FALSE(ReadValue("Window Hierarchy\\Main Test", "Rect").exists) << "and filled only at unregistration";

    iWindowDataMap::Unregister(&frame);
    EXPECT_EQ(nullptr, iWindowDataMap::GetMap());
    EXPECT_EQ(Describe(creation), Describe(StoredRect("Window Hierarchy\\Main Test")));
    EXPECT_EQ(0u, StoredFlag("Window Hierarchy\\Main Test", "Zoomed"));
    EXPECT_EQ(0u, StoredFlag("Window Hierarchy\\Main Test", "Iconic"));
    frame.DestroyWindow();
}

TEST_F(WindowDataTest, MaximisedFrameReopensMaximisedAtItsNormalRectangle)
{
    TitledWindow frame;
    const RECT creation = {0, 0, 300, 200};
    ASSERT_TRUE(frame.CreateTopLevel("Zoom Test", creation));
    iWindowData* record = iWindowDataMap::Register(nullptr, &frame, creation, WS_OVERLAPPEDWINDOW, "Zoom Test");
    frame.ShowWindow(SW_SHOWNORMAL);
    frame.MoveWindow(40, 30, 500, 400);
    record->Update();
    const RECT normal = {40, 30, 540, 430};
    RECT rect;
    EXPECT_EQ(Describe(normal), Describe(*record->GetRect(&rect)));

    frame.ShowWindow(SW_MAXIMIZE);
    ASSERT_TRUE(frame.IsZoomed());
    record->Update();
    EXPECT_NE(0u, record->GetZoomed());
    EXPECT_EQ(Describe(normal), Describe(*record->GetRect(&rect))) << "the normal rectangle is kept";
    iWindowDataMap::Unregister(&frame);
    frame.DestroyWindow();
    EXPECT_NE(0u, StoredFlag("Window Hierarchy\\Zoom Test", "Zoomed"));
    EXPECT_EQ(Describe(normal), Describe(StoredRect("Window Hierarchy\\Zoom Test")));

    // The next run creates it maximised at the saved normal rectangle.
    TitledWindow next;
    iWindowData* again = iWindowDataMap::Register(nullptr, &next, creation, WS_OVERLAPPEDWINDOW, "Zoom Test");
    EXPECT_EQ(static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_MAXIMIZE), again->GetStyle());
    EXPECT_EQ(Describe(normal), Describe(*again->GetRect(&rect)));
    iWindowDataMap::Unregister(&next);
}

TEST_F(WindowDataTest, MinimisedFrameStoresIconicAndNotZoomed)
{
    TitledWindow frame;
    const RECT creation = {50, 60, 350, 260};
    ASSERT_TRUE(frame.CreateTopLevel("Icon Test", creation));
    // Registered as maximised: minimising must still end with zoomed 0.
    iWindowData* record =
        iWindowDataMap::Register(nullptr, &frame, creation, WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, "Icon Test");
    EXPECT_NE(0u, record->GetZoomed());
    frame.ShowWindow(SW_SHOWNORMAL);
    record->Update();
    frame.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(frame.IsIconic());
    record->Update();
    EXPECT_EQ(0u, record->GetZoomed());
    EXPECT_NE(0u, record->GetIconic());
    iWindowDataMap::Unregister(&frame);
    frame.DestroyWindow();
    EXPECT_NE(0u, StoredFlag("Window Hierarchy\\Icon Test", "Iconic"));
    EXPECT_EQ(0u, StoredFlag("Window Hierarchy\\Icon Test", "Zoomed"));
    EXPECT_EQ(Describe(creation), Describe(StoredRect("Window Hierarchy\\Icon Test")));
}

TEST_F(WindowDataTest, MaximisedOrMinimisedTheSavedPlaceIsTheSystemsNormalRectangle)
{
    struct Case { const char* why; int showCommand; };
    const Case cases[] = {{"minimised", SW_SHOWMINIMIZED}, {"maximised", SW_SHOWMAXIMIZED}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TitledWindow frame;
        const RECT creation = {30, 40, 430, 340};
        ASSERT_TRUE(frame.CreateTopLevel("Normal Place", creation));
        iWindowData* record = iWindowDataMap::Register(nullptr, &frame, creation, WS_OVERLAPPEDWINDOW, "Normal Place");
        frame.ShowWindow(SW_SHOWNORMAL);
        record->Update();
        // The system moves the normal place while the window is not in it, as it does
        // when the screen's layout changes.
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        ASSERT_TRUE(GetWindowPlacement(frame.m_hWnd, &placement));
        placement.showCmd = c.showCommand;
        placement.rcNormalPosition = RECT{80, 90, 580, 440};
        ASSERT_TRUE(SetWindowPlacement(frame.m_hWnd, &placement));
        record->Update();
        iWindowDataMap::Unregister(&frame);
        frame.DestroyWindow();
        EXPECT_EQ("80,90,580,440", Describe(StoredRect("Window Hierarchy\\Normal Place")));
    }
}

TEST_F(WindowDataTest, StoredValuesOfWrongTypeOrSizeAreIgnoredAndThenOverwritten)
{
    const std::string keyPath = "Window Hierarchy\\Damaged";
    const LONG shortRect[2] = {1, 2};
    WriteValue(keyPath, "Rect", REG_BINARY, shortRect, sizeof shortRect);
    const DWORD zoomedAsDword = 1;
    WriteValue(keyPath, "Zoomed", REG_DWORD, &zoomedAsDword, sizeof zoomedAsDword);
    const unsigned char longIconic[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    WriteValue(keyPath, "Iconic", REG_BINARY, longIconic, sizeof longIconic);

    TitledWindow frame;
    const RECT creation = {5, 6, 105, 106};
    iWindowData* record = iWindowDataMap::Register(nullptr, &frame, creation, WS_OVERLAPPEDWINDOW, "Damaged");
    RECT rect;
    EXPECT_EQ(Describe(creation), Describe(*record->GetRect(&rect)));
    EXPECT_EQ(static_cast<DWORD>(WS_OVERLAPPEDWINDOW), record->GetStyle());
    EXPECT_EQ(0u, record->GetZoomed());
    EXPECT_EQ(0u, record->GetIconic());
    iWindowDataMap::Unregister(&frame);
    EXPECT_EQ(Describe(creation), Describe(StoredRect(keyPath)));
    EXPECT_EQ(0u, StoredFlag(keyPath, "Zoomed"));
    EXPECT_EQ(0u, StoredFlag(keyPath, "Iconic"));
}

TEST_F(WindowDataTest, ChildRectangleIsKeptRelativeToItsParentWindow)
{
    TitledWindow parent;
    ASSERT_TRUE(parent.CreateTopLevel("Owner", CRect(100, 50, 600, 450)));
    TitledWindow child;
    ASSERT_TRUE(child.CreateChild("Pane", CRect(10, 10, 110, 60), &parent, 1));
    iWindowData* record = iWindowDataMap::Register(&parent, &child, CRect(0, 0, 0, 0), WS_CHILD, "Pane");
    EXPECT_EQ("Window Hierarchy\\Owner\\Pane", std::string(record->GetKeyPath()));
    record->Update();
    RECT childOnScreen;
    child.GetWindowRect(&childOnScreen);
    RECT parentOnScreen;
    parent.GetWindowRect(&parentOnScreen);
    RECT rect;
    EXPECT_EQ(Describe(childOnScreen), Describe(*record->GetRect(&rect)));
    iWindowDataMap::Unregister(&child);
    RECT stored = StoredRect("Window Hierarchy\\Owner\\Pane");
    EXPECT_EQ(childOnScreen.left - parentOnScreen.left, stored.left);
    EXPECT_EQ(childOnScreen.top - parentOnScreen.top, stored.top);
    EXPECT_EQ(childOnScreen.bottom - parentOnScreen.top, stored.bottom);
    parent.DestroyWindow();
}

TEST_F(WindowDataTest, HierarchyPathNamesEveryAncestorOutermostFirst)
{
    TitledWindow outer;
    ASSERT_TRUE(outer.CreateTopLevel("Outer", CRect(0, 0, 400, 300)));
    TitledWindow untitled;
    ASSERT_TRUE(untitled.CreateChild("", CRect(0, 0, 200, 100), &outer, 1));
    TitledWindow inner;
    ASSERT_TRUE(inner.CreateChild("Inner", CRect(0, 0, 100, 50), &untitled, 2));
    struct Case { const char* why; LPCSTR root; CWnd* start; LPCSTR name; const char* expected; };
    const Case cases[] = {
        {"no window: the root and the name", nullptr, nullptr, "Main", "Window Hierarchy\\Main"},
        {"an empty title counts as ~", nullptr, &inner, "Leaf", "Window Hierarchy\\Outer\\~\\Inner\\Leaf"},
        {"a root of the caller's", "Other Root", &untitled, "Leaf", "Other Root\\Outer\\~\\Leaf"},
        {"no name: the ancestors alone", nullptr, &outer, "", "Window Hierarchy\\Outer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, std::string(BuildWindowHierarchyPath(c.root, c.start, c.name)));
    }
    outer.DestroyWindow();
}

TEST_F(WindowDataTest, MapKeepsOneRecordPerWindowAndGoesWithTheLast)
{
    TitledWindow first;
    TitledWindow second;
    const RECT rect = {0, 0, 100, 100};
    EXPECT_EQ(nullptr, iWindowDataMap::GetMap());
    iWindowDataMap::Unregister(&first);  // never registered: nothing happens
    EXPECT_EQ(nullptr, iWindowDataMap::GetMap());

    iWindowData* record = iWindowDataMap::Register(nullptr, &first, rect, 0, "First");
    EXPECT_EQ(record, iWindowDataMap::Register(nullptr, &first, rect, 0, "Another Name"));
    EXPECT_EQ("Window Hierarchy\\First", std::string(record->GetKeyPath()));
    EXPECT_FALSE(KeyExists("Window Hierarchy\\Another Name")) << "the second registration made no record";
    iWindowDataMap::Register(nullptr, &second, rect, 0, "Second");
    ASSERT_NE(nullptr, iWindowDataMap::GetMap());
    EXPECT_EQ(2u, iWindowDataMap::GetMap()->GetCount());

    iWindowDataMap::Unregister(&first);
    ASSERT_NE(nullptr, iWindowDataMap::GetMap());
    EXPECT_EQ(nullptr, iWindowDataMap::GetMap()->Lookup(&first));
    iWindowDataMap::Unregister(&second);
    EXPECT_EQ(nullptr, iWindowDataMap::GetMap());

    iWindowDataMap::Register(nullptr, &first, rect, 0, "First");
    ASSERT_NE(nullptr, iWindowDataMap::GetMap());
    EXPECT_EQ(1u, iWindowDataMap::GetMap()->GetCount());
    iWindowDataMap::Unregister(&first);
}
