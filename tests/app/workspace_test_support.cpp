// What the workspace tests share.
#include "workspace_test_support.h"

#include "lib/src/MsgBox.h"
#include "lib/src/Win2/Wnd/iFileNameDialog.h"

#include "framework/window_test_support.h"
#include "tests/net/servers/http_server_test_support.h"

#include <sstream>

namespace workspace_test {

BoxAnswers* BoxAnswers::s_current = nullptr;
SaveDialogScript g_saveDialog;

namespace {

MsgBoxShowFunction g_previousShow = nullptr;

std::string g_bannerFolder;

iString BannerFolder()
{
    return g_bannerFolder.c_str();
}

// A loopback port that was free a moment ago.
int ClosedLoopbackPort()
{
    net_test::HttpServer probe;
    if (!probe.Start())
        return 1;
    const int port = probe.Port();
    probe.Stop();
    return port;
}

// cmb1: the file-type combo box of the system's file dialogs.
constexpr int kFileTypeComboId = 0x470;

void CALLBACK AnswerSaveDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), test_support::FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        // No dialog came: stop asking, the test fails on sawDialog.
        if (++g_saveDialog.ticks > 100)
            KillTimer(nullptr, timer);
        return;
    }
    KillTimer(nullptr, timer);
    g_saveDialog.sawDialog = true;
    HWND nameBox = GetDlgItem(dialog, iFileNameDialog::kFileNameEditId);
    if (!nameBox)
        nameBox = GetDlgItem(dialog, iFileNameDialog::kFileNameComboId);
    char text[MAX_PATH] = {};
    GetWindowTextA(nameBox, text, sizeof text);
    g_saveDialog.nameBox = text;
    HWND types = GetDlgItem(dialog, kFileTypeComboId);
    const int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        text[0] = '\0';
        if (SendMessageA(types, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < static_cast<LRESULT>(sizeof text))
            SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        g_saveDialog.types.push_back(text);
    }
    GetWindowTextA(types, text, sizeof text);
    g_saveDialog.selectedType = text;
    if (g_saveDialog.typeIndex >= 0) {
        SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(g_saveDialog.typeIndex), 0);
        // As a choice in the list ends: the system's dialogs take the type on either.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeComboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeComboId, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    }
    if (!g_saveDialog.name.empty())
        SetWindowTextA(nameBox, g_saveDialog.name.c_str());
    PostMessageA(dialog, WM_COMMAND, g_saveDialog.confirm ? IDOK : IDCANCEL, 0);
}

} // namespace

BoxAnswers::BoxAnswers()
{
    s_current = this;
    g_previousShow = SetMsgBoxShowFunction(&Show);
}

BoxAnswers::~BoxAnswers()
{
    SetMsgBoxShowFunction(g_previousShow);
    s_current = nullptr;
}

int BoxAnswers::Show(HWND owner, const char* text, const char* caption, UINT style)
{
    BoxAnswers& self = *s_current;
    self.m_boxes.push_back({text ? text : "", caption ? caption : "", style, owner});
    if (self.m_answers.empty())
        return IDOK;
    const int answer = self.m_answers.front();
    self.m_answers.pop_front();
    return answer;
}

std::vector<std::string> BoxAnswers::Texts() const
{
    std::vector<std::string> texts;
    for (const Box& box : m_boxes)
        texts.push_back(box.text);
    return texts;
}

std::string BoxAnswers::Describe() const
{
    std::ostringstream out;
    for (const Box& box : m_boxes)
        out << "[" << box.caption << "] " << box.text << "\n";
    return out.str();
}

void ExpectSaveDialog(const std::string& name, int typeIndex, bool confirm)
{
    g_saveDialog = SaveDialogScript();
    g_saveDialog.name = name;
    g_saveDialog.typeIndex = typeIndex;
    g_saveDialog.confirm = confirm;
    ASSERT_NE(0u, SetTimer(nullptr, 0, 50, AnswerSaveDialog));
}

void WorkspaceTest::SetUp()
{
    g_bannerFolder = m_bannerFolder.Path();
    BannerSeam seam = DefaultBannerSeam();
    seam.moduleDirectory = BannerFolder;
    AdjustBannerSeam(seam);
    m_previousSeam = SetBannerSeam(seam);
    WebEndpoint closed = {"127.0.0.1", ClosedLoopbackPort()};
    m_previousEndpoint = SetWebEndpoint(closed);
    app_test::DeleteTestKeys();
    g_pOption = new app_test::TestOption;
    g_pOption->LoadFromRegistry();
    // Saving asks nothing unless a test wants it to; the folder tree starts in the scratch folder.
    g_pOption->m_common.m_confirmOverwrite.Value() = 0;
    g_pOption->m_common.m_defaultOpenIn.SetText(m_startFolder.empty() ? m_folder.Path().c_str()
                                                                       : m_startFolder.c_str());
    m_frame = new WorkspaceFrame;
    auto* document = new Document;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(Workspace);
    context.m_pCurrentDoc = document;
    ASSERT_TRUE(m_frame->Create(nullptr, "Workspace test", WS_OVERLAPPEDWINDOW, CRect(0, 0, 720, 620), nullptr,
                                nullptr, 0, &context));
    m_frame->InitialUpdateFrame(document, TRUE);
    m_workspace = dynamic_cast<Workspace*>(m_frame->GetActiveView());
    ASSERT_NE(nullptr, m_workspace);
}

void WorkspaceTest::TearDown()
{
    if (m_frame && m_frame->m_hWnd)
        m_frame->DestroyWindow();
    // The folder tree made the scratch folder the current directory, which could not be removed.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);
    delete g_pOption;
    g_pOption = nullptr;
    app_test::DeleteTestKeys();
    SetWebEndpoint(m_previousEndpoint);
    SetBannerSeam(m_previousSeam);
}

void WorkspaceTest::Type(iEdit* edit, const char* text)
{
    edit->SetWindowText(text);
}

void WorkspaceTest::Choose(iComboBox* combo, DWORD value)
{
    combo->SelectByData(value);
    combo->GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(combo->GetDlgCtrlID(), CBN_SELCHANGE),
                                    reinterpret_cast<LPARAM>(combo->m_hWnd));
}

std::string WorkspaceTest::Text(CWnd* window)
{
    CString text;
    window->GetWindowText(text);
    return static_cast<LPCSTR>(text);
}

void WorkspaceTest::Click(CWnd* button)
{
    button->GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(button->GetDlgCtrlID(), BN_CLICKED),
                                     reinterpret_cast<LPARAM>(button->m_hWnd));
}

void WorkspaceTest::PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!CWnd::WalkPreTranslateTree(m_frame->m_hWnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void WorkspaceTest::PressKey(WORD key, bool withShift)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE shiftBefore = keys[VK_SHIFT];
    if (withShift) {
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
    }
    HWND focus = GetFocus();
    ASSERT_NE(nullptr, focus) << "no control has the focus";
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    PumpMessages();
    keys[VK_SHIFT] = shiftBefore;
    SetKeyboardState(keys);
}

void WorkspaceTest::TypeKeys(const char* text)
{
    HWND focus = GetFocus();
    ASSERT_NE(nullptr, focus) << "no control has the focus";
    for (const char* c = text; *c; ++c)
        PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(*c), 1);
    PumpMessages();
}

std::string WorkspaceTest::MakeImage(const char* name, int width, int height, int format, int resolution,
                                     const test_images::ColourAt& colour)
{
    const std::string path = m_folder.Path(name);
    EXPECT_EQ(imaging::kSuccess, test_images::SaveImage(path, width, height, format, resolution, colour)) << path;
    return path;
}

void WorkspaceTest::OpenImage(const std::string& path)
{
    m_workspace->ShowSelectedFile(path.c_str());
    ASSERT_TRUE(m_workspace->OpenSelectedFile()) << path << "\n" << m_boxes.Describe();
}

} // namespace workspace_test
