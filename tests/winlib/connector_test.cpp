// Event connectors: firing with the sender (and the notification's header and result),
// empty halves, handlers of a base class of the target, copies, and the library's
// reflection convention on real windows: the connector runs first, then the parent's map.
#include "lib/src/Win2/Wnd/iConnector.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_events;

// An object of the program that is told about a control's events; its handlers record them.
class Listener : public CCmdTarget {
public:
    void OnEvent(CWnd* sender)
    {
        g_events.push_back("event");
        m_sender = sender;
    }
    void OnNotify(CWnd* sender, NMHDR* header, LRESULT* result)
    {
        g_events.push_back("notify");
        m_sender = sender;
        m_code = header ? header->code : 0;
        *result = 42;
    }
    CWnd* m_sender = nullptr;
    UINT m_code = 0;
};

// A second base before the framework one puts the CObject part at an offset, so a handler
// is only called on the right object when the connector keeps the target's adjustment.
struct Padding {
    virtual ~Padding() = default;
    char bytes[24] = {};
};

class DerivedListener : public Padding, public Listener {
public:
    void OnOwnEvent(CWnd* sender)
    {
        g_events.push_back("own " + std::to_string(m_tag));
        m_sender = sender;
    }
    int m_tag = 7;
};

// A control in the library's way: its reflected notifications fire connectors and answer
// FALSE, so that the parent's own map sees them too.
class ConnectedButton : public CWnd {
public:
    iConnector m_onClicked;
    iNotifyConnector m_onCustom;

    afx_msg BOOL OnClicked()
    {
        m_onClicked.Fire(this);
        return FALSE;
    }
    afx_msg BOOL OnCustom(NMHDR* header, LRESULT* result)
    {
        m_onCustom.Fire(this, header, result);
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

constexpr UINT kCustomCode = 0x1234;

BEGIN_MESSAGE_MAP(ConnectedButton, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
    ON_NOTIFY_REFLECT_EX(kCustomCode, OnCustom)
END_MESSAGE_MAP()

class ParentWnd : public CWnd {
public:
    afx_msg void OnButtonClicked() { g_events.push_back("parent clicked"); }
    afx_msg void OnButtonCustom(NMHDR*, LRESULT*) { g_events.push_back("parent notify"); }
    DECLARE_MESSAGE_MAP()
};

constexpr UINT kPressButtonId = 7;

BEGIN_MESSAGE_MAP(ParentWnd, CWnd)
    ON_BN_CLICKED(kPressButtonId, OnButtonClicked)
    ON_NOTIFY(kCustomCode, kPressButtonId, OnButtonCustom)
END_MESSAGE_MAP()

class ConnectorTest : public ::testing::Test {
protected:
    void SetUp() override { g_events.clear(); }
};

} // namespace

TEST_F(ConnectorTest, FireCallsTheTargetWithTheSender)
{
    Listener listener;
    CWnd sender;
    const iConnector connector(&listener, &Listener::OnEvent);
    EXPECT_FALSE(connector.IsEmpty());
    EXPECT_EQ(0, connector.Fire(&sender));
    EXPECT_EQ(std::vector<std::string>{"event"}, g_events);
    EXPECT_EQ(&sender, listener.m_sender);

    // A copy is the same connection.
    const iConnector copy = connector;
    CWnd other;
    copy.Fire(&other);
    EXPECT_EQ(&other, listener.m_sender);
    EXPECT_EQ(2u, g_events.size());
}

TEST_F(ConnectorTest, HalfSetConnectorsCallNothing)
{
    Listener listener;
    CWnd sender;
    NMHDR header = {};
    LRESULT result = 5;
    const iConnector kEmpty[] = {
        iConnector(),
        iConnector(&listener, nullptr),
        iConnector(nullptr, static_cast<iConnector::Function>(&Listener::OnEvent)),
    };
    for (const iConnector& connector : kEmpty) {
        EXPECT_TRUE(connector.IsEmpty());
        EXPECT_EQ(0, connector.Fire(&sender));
    }
    const iNotifyConnector kEmptyNotify[] = {
        iNotifyConnector(),
        iNotifyConnector(&listener, nullptr),
        iNotifyConnector(nullptr, static_cast<iNotifyConnector::Function>(&Listener::OnNotify)),
    };
    for (const iNotifyConnector& connector : kEmptyNotify) {
        EXPECT_TRUE(connector.IsEmpty());
        EXPECT_EQ(0, connector.Fire(&sender, &header, &result));
    }
    EXPECT_TRUE(g_events.empty());
    EXPECT_EQ(5, result);
}

TEST_F(ConnectorTest, HandlersReachTheRightObjectBehindOtherBases)
{
    DerivedListener listener;
    CWnd sender;
    iConnector(&listener, &DerivedListener::OnOwnEvent).Fire(&sender);
    // A handler declared in a base class of the target.
    iConnector(&listener, &Listener::OnEvent).Fire(&sender);
    const std::vector<std::string> expected = {"own 7", "event"};
    EXPECT_EQ(expected, g_events);
    EXPECT_EQ(&sender, listener.m_sender);
}

TEST_F(ConnectorTest, NotifyConnectorPassesHeaderAndLetsTheTargetWriteTheResult)
{
    DerivedListener listener;
    CWnd sender;
    NMHDR header = {nullptr, 3, LVN_ITEMCHANGED};
    LRESULT result = 0;
    iNotifyConnector connector;
    connector.Set(&listener, &Listener::OnNotify);
    EXPECT_EQ(0, connector.Fire(&sender, &header, &result));
    EXPECT_EQ(42, result);
    EXPECT_EQ(static_cast<UINT>(LVN_ITEMCHANGED), listener.m_code);
    EXPECT_EQ(&sender, listener.m_sender);
}

TEST_F(ConnectorTest, ReflectedNotificationsReachTheConnectorFirstThenTheParent)
{
    ParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
    ConnectedButton button;
    ASSERT_TRUE(
        button.Create("BUTTON", "press", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 60, 20), &parent, kPressButtonId));
    Listener listener;
    button.m_onClicked = iConnector(&listener, &Listener::OnEvent);
    button.m_onCustom = iNotifyConnector(&listener, &Listener::OnNotify);

    button.SendMessage(BM_CLICK);
    NMHDR header = {button.m_hWnd, kPressButtonId, kCustomCode};
    parent.SendMessage(WM_NOTIFY, kPressButtonId, reinterpret_cast<LPARAM>(&header));

    const std::vector<std::string> expected = {"event", "parent clicked", "notify", "parent notify"};
    EXPECT_EQ(expected, g_events);
    EXPECT_EQ(&button, listener.m_sender);
    EXPECT_EQ(kCustomCode, listener.m_code);
}

TEST_F(ConnectorTest, EmptyConnectorLeavesTheNotificationToTheParent)
{
    ParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
    ConnectedButton button;
    ASSERT_TRUE(
        button.Create("BUTTON", "press", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 60, 20), &parent, kPressButtonId));
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(std::vector<std::string>{"parent clicked"}, g_events);
}
