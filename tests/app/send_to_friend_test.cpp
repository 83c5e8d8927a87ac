// "Send this Program to a Friend" against a loopback form script: the request line the
// script receives for awkward texts, and the dialog driven from a timer as a person
// would use it, through each way the reply can fail, with the program's message boxes
// answered in code.
#include "workspace_test_support.h"

#include "app/AppCommands.h"
#include "app/GlobalWinApp.h"
#include "app/SendToFriendDialog.h"
#include "app/SendToFriendRequest.h"
#include "app/WebEndpoint.h"

#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iEdit.h"

#include "net/iHTTPClient.h"

#include "framework/window_test_support.h"
#include "tests/net/servers/http_server_test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace send_to_friend_test {
namespace {

using workspace_test::BoxAnswers;

constexpr char kScriptPath[] = "/cgi-bin/SendToFriend.cgi";

std::string TextOf(CWnd* window)
{
    CString text;
    window->GetWindowText(text);
    return static_cast<const char*>(text);
}

// As the user's press: the button tells its dialog, which reflects it back to the button.
void Click(CWnd* button)
{
    button->GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(button->GetDlgCtrlID(), BN_CLICKED),
                                     reinterpret_cast<LPARAM>(button->m_hWnd));
}

std::string PercentDecode(const std::string& text)
{
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// The decoded values of a request path's query, by key.
std::map<std::string, std::string> QueryFields(const std::string& path)
{
    std::map<std::string, std::string> fields;
    const size_t query = path.find('?');
    if (query == std::string::npos)
        return fields;
    size_t start = query + 1;
    while (start <= path.size()) {
        size_t end = path.find('&', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string pair = path.substr(start, end - start);
        const size_t equals = pair.find('=');
        if (equals != std::string::npos)
            fields[pair.substr(0, equals)] = PercentDecode(pair.substr(equals + 1));
        start = end + 1;
    }
    return fields;
}

// How the form script answers: a page built from the decoded query.
using PageMaker = std::function<std::string(std::map<std::string, std::string>& fields)>;

// The page a script that mailed the recommendation answers with, less the left-out keys.
PageMaker Echo(std::vector<std::string> leftOut = {})
{
    return [leftOut](std::map<std::string, std::string>& fields) {
        std::string page = "<html><body><p>Thank you. We sent this mail:</p>\n";
        for (const char* key : {"Product", "From", "To", "Subject"}) {
            bool isLeftOut = false;
            for (const std::string& out : leftOut)
                isLeftOut |= out == key;
            if (!isLeftOut)
                page += std::string(key) + ": " + fields[key] + "<br>\n";
        }
        return page + "</body></html>\n";
    };
}

struct Form {
    std::string from;
    std::string to;
    std::string subject;
    std::string message;
};

const Form kGoodForm = {"me@example.com", "friend@example.org", "Have a look", "It enlarges pictures."};

// A form script on a loopback port of its own, which the program's endpoint points at
// for the test's lifetime.
class FormScript {
public:
    FormScript()
    {
        EXPECT_TRUE(m_server.Start());
        m_previous = SetWebEndpoint(WebEndpoint{"127.0.0.1", m_server.Port()});
    }
    ~FormScript() { SetWebEndpoint(m_previous); }

    // The script answers with the page, a byte every trickleMs when that is not 0; without
    // one every request gets the server's 404.
    void Answer(PageMaker page, int trickleMs = 0)
    {
        m_server.SetFallback([page, trickleMs](const std::string& path, net_test::Script& script) {
            if (path.rfind(kScriptPath, 0) != 0)
                return false;
            std::map<std::string, std::string> fields = QueryFields(path);
            script = net_test::TextReply("text/html", page(fields));
            if (trickleMs > 0)
                script = {net_test::Trickle(*script.front().bytes, trickleMs), net_test::Close()};
            return true;
        });
    }
    std::vector<std::string> Paths() const
    {
        std::vector<std::string> paths;
        for (const std::string& request : m_server.Requests())
            paths.push_back(net_test::RequestPath(request));
        return paths;
    }
    int Port() const { return m_server.Port(); }

private:
    net_test::HttpServer m_server;
    WebEndpoint m_previous = {};
};

SendToFriendForm ToRequestForm(const Form& form)
{
    return {form.from.c_str(), form.to.c_str(), form.subject.c_str(), form.message.c_str()};
}

TEST(SendToFriendRequest, ScriptReceivesEveryTextEncodedInOneQuery)
{
    struct Case {
        const char* why;
        Form form;
        const char* path;
    };
    const Case cases[] = {
        {"plain texts; the address's @ is encoded",
         {"me@example.com", "you@example.org", "Hello", "Try it"},
         "/cgi-bin/SendToFriend.cgi?Product=Sorvanta&From=me%40example.com&To=you%40example.org&Subject=Hello&"
         "Message=Try%20it"},
        {"& and = would split the query",
         {"a@b.com", "c@d.com", "Tom & Jerry", "x=1&y=2"},
         "/cgi-bin/SendToFriend.cgi?Product=Sorvanta&From=a%40b.com&To=c%40d.com&Subject=Tom%20%26%20Jerry&"
         "Message=x%3D1%26y%3D2"},
        {"line ends of a message of several lines",
         {"a@b.com", "c@d.com", "Hi", "one\r\ntwo\r\n"},
         "/cgi-bin/SendToFriend.cgi?Product=Sorvanta&From=a%40b.com&To=c%40d.com&Subject=Hi&Message=one%0D%0Atwo%0D%0A"},
        {"a * would end the request path in the HTTP client",
         {"a@b.com", "c@d.com", "5 * stars", "**great**"},
         "/cgi-bin/SendToFriend.cgi?Product=Sorvanta&From=a%40b.com&To=c%40d.com&Subject=5%20%2A%20stars&"
         "Message=%2A%2Agreat%2A%2A"},
        {"bytes above 127 and URL punctuation",
         {"a@b.com", "c@d.com", "Gr\xFC\xDF", "100% + /?#"},
         "/cgi-bin/SendToFriend.cgi?Product=Sorvanta&From=a%40b.com&To=c%40d.com&Subject=Gr%FC%DF&"
         "Message=100%25%20%2B%20%2F%3F%23"},
        {"empty subject and message still send their keys",
         {"a@b.com", "c@d.com", "", ""},
         "/cgi-bin/SendToFriend.cgi?Product=Sorvanta&From=a%40b.com&To=c%40d.com&Subject=&Message="},
    };
    FormScript script;
    script.Answer(Echo());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const size_t before = script.Paths().size();
        const SendToFriendResult result = SendToFriend(GetWebEndpoint(), ToRequestForm(c.form));
        EXPECT_TRUE(result.IsSent()) << result.stage << ":" << result.code;
        const std::vector<std::string> paths = script.Paths();
        ASSERT_EQ(before + 1, paths.size());
        EXPECT_EQ(c.path, paths.back());
        std::map<std::string, std::string> fields = QueryFields(paths.back());
        EXPECT_EQ(c.form.subject, fields["Subject"]) << "the script decodes what was typed";
        EXPECT_EQ(c.form.message, fields["Message"]);
    }
}

// The dialog waits for the reply on the program's window thread: a script that answers a
// byte at a time holds it for that thread's bound (3 s), not the client's 30 s.
TEST(SendToFriendRequest, TricklingScriptHoldsTheRequestNoLongerThanItsBound)
{
    FormScript script;
    script.Answer(Echo(), 200);
    const ULONGLONG started = GetTickCount64();
    const SendToFriendResult result = SendToFriend(GetWebEndpoint(), ToRequestForm(kGoodForm));
    const ULONGLONG tookMs = GetTickCount64() - started;
    EXPECT_EQ(1, result.stage);
    EXPECT_EQ(iHTTPClient::kOverBound, result.code);
    EXPECT_GE(tookMs, static_cast<ULONGLONG>(iHTTPClient::kUserInterfaceExchangeMs - 100));
    EXPECT_LT(tookMs, static_cast<ULONGLONG>(iHTTPClient::kUserInterfaceExchangeMs + 1500)) << "margin for a loaded machine";
}

TEST(SendToFriendRequest, UrlNamesTheHostAndTheScript)
{
    const iString url = BuildSendToFriendUrl("www.sorvanta.invalid", ToRequestForm({"a@b.com", "c@d.com", "s", "m"}));
    EXPECT_STREQ("http://www.sorvanta.invalid/cgi-bin/SendToFriend.cgi?Product=Sorvanta&From=a%40b.com&To=c%40d.com&"
                 "Subject=s&Message=m",
                 url);
}

// What the dialog showed right after Send was pressed, and how it ended.
struct DialogRun {
    bool pressedSend = false;
    std::string sendText;
    bool isSendEnabled = false;
    bool isCloseEnabled = false;
    bool hasFocusOnSend = false;
    // Still open on the next tick, so the test closed it with its Close button.
    bool stayedOpen = false;
    INT_PTR modalResult = 0;
};

SendToFriendDialog* g_dialog = nullptr;
std::function<void(SendToFriendDialog&)> g_act;
DialogRun* g_run = nullptr;
int g_ticks = 0;

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    SendToFriendDialog& dialog = *g_dialog;
    if (++g_ticks > 200 || !dialog.m_hWnd) {
        // The dialog never showed, or never ended: end it so the test fails instead of hanging.
        KillTimer(nullptr, timer);
        if (dialog.m_hWnd)
            dialog.PostMessage(WM_COMMAND, IDCANCEL);
        return;
    }
    if (!dialog.IsWindowVisible())
        return;
    if (!g_run->pressedSend) {
        g_run->pressedSend = true;
        g_act(dialog);
        g_run->sendText = TextOf(dialog.m_send);
        g_run->isSendEnabled = dialog.m_send->IsWindowEnabled() != FALSE;
        g_run->isCloseEnabled = dialog.m_close->IsWindowEnabled() != FALSE;
        g_run->hasFocusOnSend = ::GetFocus() == dialog.m_send->m_hWnd;
        return;
    }
    KillTimer(nullptr, timer);
    g_run->stayedOpen = true;
    Click(dialog.m_close);
}

class SendToFriendDialogTest : public test_support::OwnerWindowTest {
protected:
    void SetUp() override
    {
        OwnerWindowTest::SetUp();
        app_test::DeleteTestKeys();
        m_previousUsage = g_pUsage;
        g_pUsage = &m_usage;
    }
    void TearDown() override
    {
        g_pUsage = m_previousUsage;
        app_test::DeleteTestKeys();
        OwnerWindowTest::TearDown();
    }

    static void Type(SendToFriendDialog& dialog, const Form& form)
    {
        dialog.m_from->SetWindowText(form.from.c_str());
        dialog.m_to->SetWindowText(form.to.c_str());
        dialog.m_subject->SetWindowText(form.subject.c_str());
        dialog.m_message->SetWindowText(form.message.c_str());
    }
    static void PressSend(SendToFriendDialog& dialog) { Click(dialog.m_send); }

    // Runs the dialog modally: on its first tick `act` runs, then the state is noted; a
    // dialog still open on the next tick is closed with its Close button.
    DialogRun Run(std::function<void(SendToFriendDialog&)> act)
    {
        DialogRun run;
        SendToFriendDialog dialog(&owner);
        g_dialog = &dialog;
        g_act = std::move(act);
        g_run = &run;
        g_ticks = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, DriveDialog);
        EXPECT_NE(0u, timer);
        run.modalResult = dialog.DoModal();
        KillTimer(nullptr, timer);
        g_dialog = nullptr;
        g_run = nullptr;
        EXPECT_TRUE(run.pressedSend) << "the dialog was shown and acted on";
        return run;
    }
    DialogRun TypeAndSend(const Form& form)
    {
        return Run([&form](SendToFriendDialog& dialog) {
            Type(dialog, form);
            PressSend(dialog);
        });
    }

    void ExpectStored(const Form& form)
    {
        Usage::SendToFriend& stored = g_pUsage->m_sendToFriend;
        EXPECT_STREQ(form.from.c_str(), stored.m_from.GetText());
        EXPECT_STREQ(form.to.c_str(), stored.m_to.GetText());
        EXPECT_STREQ(form.subject.c_str(), stored.m_subject.GetText());
        EXPECT_STREQ(form.message.c_str(), stored.m_message.GetText());
    }

    app_test::TestUsage m_usage;
    UsageEx* m_previousUsage = nullptr;
    BoxAnswers m_boxes;
};

TEST_F(SendToFriendDialogTest, EchoedFormClosesTheDialogAndStaysInTheStore)
{
    FormScript script;
    script.Answer(Echo());
    const DialogRun run = TypeAndSend(kGoodForm);
    EXPECT_FALSE(run.stayedOpen) << "success closes the dialog by itself";
    EXPECT_EQ(IDCANCEL, run.modalResult);
    EXPECT_TRUE(m_boxes.Boxes().empty()) << m_boxes.Describe();
    EXPECT_EQ("Message Sent", run.sendText);
    EXPECT_FALSE(run.isSendEnabled);
    EXPECT_FALSE(run.isCloseEnabled);
    EXPECT_EQ(1u, script.Paths().size());
    ExpectStored(kGoodForm);
}

TEST_F(SendToFriendDialogTest, EachMissingEchoIsReportedAndTheDialogStaysReadyToTryAgain)
{
    Form emptySubject = kGoodForm;
    emptySubject.subject = "";
    struct Case {
        const char* why;
        Form form;
        PageMaker page;  // null: the server has no form script (404)
        const char* failure;  // null: sent
    };
    const Case cases[] = {
        {"the product name in lower case is the product name", kGoodForm,
         [](std::map<std::string, std::string>& fields) {
             return "<p>sorvanta: " + fields["From"] + " " + fields["To"] + " " + fields["Subject"] + "</p>";
         },
         nullptr},
        {"an empty subject is not looked for", emptySubject, Echo({"Subject"}), nullptr},
        {"no product name", kGoodForm, Echo({"Product"}), "2:0"},
        {"no From address", kGoodForm, Echo({"From"}), "3:0"},
        {"no To address", kGoodForm, Echo({"To"}), "3:0"},
        {"no Subject", kGoodForm, Echo({"Subject"}), "4:0"},
        {"a page that repeats nothing", kGoodForm,
         [](std::map<std::string, std::string>&) { return std::string("<p>Internal error</p>"); }, "2:0"},
        {"no form script: 404 is a failed fetch", kGoodForm, nullptr, "1:6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_boxes.Clear();
        FormScript script;
        if (c.page)
            script.Answer(c.page);
        const DialogRun run = TypeAndSend(c.form);
        EXPECT_EQ(1u, script.Paths().size());
        ExpectStored(c.form);
        if (!c.failure) {
            EXPECT_FALSE(run.stayedOpen);
            EXPECT_TRUE(m_boxes.Boxes().empty()) << m_boxes.Describe();
            continue;
        }
        ASSERT_EQ(1u, m_boxes.Boxes().size()) << m_boxes.Describe();
        const BoxAnswers::Box& box = m_boxes.Boxes()[0];
        EXPECT_EQ(std::string("Could not send the message, error code ") + c.failure + ".\nPlease try again later!",
                  box.text);
        EXPECT_EQ("Error", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), box.style & (MB_TYPEMASK | MB_ICONMASK)) << "a plain box";
        EXPECT_TRUE(run.stayedOpen) << "a failure keeps the dialog open";
        EXPECT_EQ("&Send", run.sendText);
        EXPECT_TRUE(run.isSendEnabled);
        EXPECT_TRUE(run.isCloseEnabled);
        EXPECT_TRUE(run.hasFocusOnSend);
        EXPECT_EQ(IDCANCEL, run.modalResult);
    }
}

TEST_F(SendToFriendDialogTest, ServerDownReportsTheFetchResult)
{
    int closedPort = 0;
    {
        net_test::HttpServer gone;
        ASSERT_TRUE(gone.Start());
        closedPort = gone.Port();
    }
    const WebEndpoint previous = SetWebEndpoint(WebEndpoint{"127.0.0.1", closedPort});
    const DialogRun run = TypeAndSend(kGoodForm);
    SetWebEndpoint(previous);
    ASSERT_EQ(1u, m_boxes.Boxes().size()) << m_boxes.Describe();
    EXPECT_EQ("Could not send the message, error code 1:1.\nPlease try again later!", m_boxes.Boxes()[0].text);
    EXPECT_TRUE(run.stayedOpen);
    EXPECT_EQ("&Send", run.sendText);
    EXPECT_TRUE(run.isSendEnabled);
}

TEST_F(SendToFriendDialogTest, FailureThenSuccessSendsAgainAndCloses)
{
    FormScript script;
    script.Answer(Echo({"Subject"}));
    std::string textAfterSecondTry;
    const DialogRun run = Run([&](SendToFriendDialog& dialog) {
        Type(dialog, kGoodForm);
        PressSend(dialog);
        script.Answer(Echo());
        PressSend(dialog);
        textAfterSecondTry = TextOf(dialog.m_send);
    });
    EXPECT_EQ(2u, script.Paths().size());
    EXPECT_EQ(1u, m_boxes.Boxes().size()) << m_boxes.Describe();
    EXPECT_EQ("Message Sent", textAfterSecondTry);
    EXPECT_FALSE(run.stayedOpen) << "the second try succeeded and closed the dialog";
}

TEST_F(SendToFriendDialogTest, InvalidAddressIsNamedAndNothingIsSent)
{
    struct Case {
        const char* why;
        Form form;
        const char* named;
    };
    const Case cases[] = {
        {"From without @", {"me.example.com", "friend@example.org", "s", "m"}, "me.example.com"},
        {"To with an unknown top-level domain", {"me@example.com", "friend@example.web", "s", "m"},
         "friend@example.web"},
        {"an empty From", {"", "friend@example.org", "s", "m"}, ""},
        {"From is checked first", {"@example.com", "nobody", "s", "m"}, "@example.com"},
    };
    FormScript script;
    script.Answer(Echo());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_boxes.Clear();
        HWND dialogWindow = nullptr;
        const DialogRun run = Run([&](SendToFriendDialog& dialog) {
            dialogWindow = dialog.m_hWnd;
            Type(dialog, c.form);
            PressSend(dialog);
        });
        ASSERT_EQ(1u, m_boxes.Boxes().size()) << m_boxes.Describe();
        const BoxAnswers::Box& box = m_boxes.Boxes()[0];
        EXPECT_EQ(std::string("'") + c.named + "' is not a valid email address!", box.text);
        EXPECT_EQ("Error", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), box.style & MB_ICONMASK);
        EXPECT_EQ(dialogWindow, box.owner);
        EXPECT_TRUE(run.stayedOpen);
        EXPECT_EQ("&Send", run.sendText) << "the buttons do not change";
        EXPECT_TRUE(run.isSendEnabled);
        EXPECT_TRUE(run.isCloseEnabled);
        ExpectStored(c.form);
    }
    EXPECT_TRUE(script.Paths().empty()) << "nothing was sent";
}

TEST_F(SendToFriendDialogTest, LaidOutInPixelsAndFilledFromTheStore)
{
    Usage::SendToFriend& stored = g_pUsage->m_sendToFriend;
    stored.m_from.SetText("me@example.com");
    stored.m_to.SetText("friend@example.org");
    stored.m_subject.SetText("Look");
    stored.m_message.SetText("line one\r\nline two");

    struct Child {
        const char* className;
        RECT rect;
        DWORD style;
        const char* text;
        int id;
        int limit;  // edits: the text limit; 0 for none
    };
    constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_RIGHT;
    constexpr DWORD kLine = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    const Child expected[] = {
        {"Static", {5, 5, 125, 30}, kLabel, "Your Email Address", 0xFFFF, 0},
        {"Static", {5, 30, 125, 55}, kLabel, "Friend's Email Address", 0xFFFF, 0},
        {"Static", {5, 55, 125, 80}, kLabel, "Subject", 0xFFFF, 0},
        {"Static", {5, 80, 125, 105}, kLabel, "Message", 0xFFFF, 0},
        {"Edit", {130, 5, 370, 27}, kLine, "me@example.com", 0xFFFF, 128},
        {"Edit", {130, 30, 370, 52}, kLine, "friend@example.org", 0xFFFF, 128},
        {"Edit", {130, 55, 370, 77}, kLine, "Look", 0xFFFF, 128},
        {"Edit", {130, 80, 370, 170}, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE,
         "line one\r\nline two", 0xFFFF, 1024},
        {"Button", {80, 180, 180, 204}, kButton, "&Send", 0xFFFF, 0},
        {"Button", {220, 180, 320, 204}, kButton, "&Close", IDCANCEL, 0},
    };
    RECT window = {};
    RECT desktop = {};
    std::string caption;
    DWORD style = 0;
    std::vector<HWND> children;
    HWND dialogWindow = nullptr;
    HWND focus = nullptr;
    LRESULT dialogFont = 0;
    Run([&](SendToFriendDialog& dialog) {
        dialogWindow = dialog.m_hWnd;
        dialog.GetWindowRect(&window);
        ::GetWindowRect(::GetDesktopWindow(), &desktop);
        caption = TextOf(&dialog);
        style = static_cast<DWORD>(dialog.GetStyle());
        focus = ::GetFocus();
        dialogFont = dialog.SendMessage(WM_GETFONT);
        for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        for (size_t i = 0; i < children.size() && i < std::size(expected); ++i) {
            SCOPED_TRACE(expected[i].text);
            const Child& c = expected[i];
            HWND child = children[i];
            EXPECT_EQ(c.className, test_support::ClassOf(child));
            RECT rect = {};
            ::GetWindowRect(child, &rect);
            ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            EXPECT_EQ(c.rect.left, rect.left);
            EXPECT_EQ(c.rect.top, rect.top);
            EXPECT_EQ(c.rect.right, rect.right);
            EXPECT_EQ(c.rect.bottom, rect.bottom);
            EXPECT_EQ(c.style, static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE)) & c.style);
            EXPECT_EQ(c.text, TextOf(CWnd::FromHandle(child)));
            EXPECT_EQ(c.id, ::GetDlgCtrlID(child) & 0xFFFF);
            if (c.limit) {
                EXPECT_EQ(c.limit, static_cast<int>(::SendMessageA(child, EM_GETLIMITTEXT, 0, 0)));
            }
            EXPECT_EQ(dialogFont, ::SendMessageA(child, WM_GETFONT, 0, 0)) << "the dialog's font, not the system font";
        }
        // Leave without sending.
        dialog.PostMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ("Send this Program to a Friend", caption);
    EXPECT_EQ(static_cast<DWORD>(WS_CAPTION | WS_SYSMENU), style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
    EXPECT_EQ(400, window.right - window.left);
    EXPECT_EQ(240, window.bottom - window.top);
    EXPECT_NEAR((desktop.left + desktop.right) / 2, (window.left + window.right) / 2, 1) << "centred on the desktop";
    EXPECT_NEAR((desktop.top + desktop.bottom) / 2, (window.top + window.bottom) / 2, 1);
    ASSERT_EQ(std::size(expected), children.size());
    EXPECT_EQ(children[4], focus) << "the first field has the focus";
    EXPECT_NE(0, dialogFont) << "the template's dialog font is used";
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

// The dialog the command opened, and its owner, as the timer found them.
HWND g_commandDialog = nullptr;
HWND g_commandDialogOwner = nullptr;

BOOL CALLBACK FindFriendDialog(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && dynamic_cast<SendToFriendDialog*>(CWnd::FromHandlePermanent(window))) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK CloseCommandDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFriendDialog, reinterpret_cast<LPARAM>(&found));
    if (!found && ++g_ticks < 200)
        return;
    KillTimer(nullptr, timer);
    if (!found)
        return;
    g_commandDialog = found;
    g_commandDialogOwner = ::GetWindow(found, GW_OWNER);
    PostMessageA(found, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(SendToFriendDialogTest, CommandOpensTheDialogOverTheMainWindowAndFreesIt)
{
    GlobalWinApp app;
    app.m_pMainWnd = &owner;
    g_ticks = 0;
    g_commandDialog = nullptr;
    g_commandDialogOwner = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseCommandDialog);
    ASSERT_NE(0u, timer);
    EXPECT_TRUE(app.OnCmdMsg(ID_APP_SEND_TO_FRIEND, CN_COMMAND, nullptr, nullptr));
    KillTimer(nullptr, timer);
    app.m_pMainWnd = nullptr;
    ASSERT_NE(nullptr, g_commandDialog) << "the dialog was shown";
    EXPECT_EQ(owner.m_hWnd, g_commandDialogOwner);
    EXPECT_FALSE(::IsWindow(g_commandDialog));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(g_commandDialog));
    EXPECT_TRUE(owner.IsWindowEnabled()) << "the main window is given back";
}

} // namespace
} // namespace send_to_friend_test
