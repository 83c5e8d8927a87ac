// The driver of the real program.
#include "program_driver.h"

#include "tests/framework/preview_support.h"

#include <commctrl.h>

#include <cctype>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace end_to_end {

namespace {

constexpr const char* kMainTitle = "Tamrow Sorvanta [Standard]";
// The view fills the frame: the framework's first pane id.
constexpr int kViewId = 0xE900;
// The message text of a message box.
constexpr int kBoxTextId = 0xFFFF;
// The save dialog's file-type combo box (cmb1), name edit (edt1) and name combo (cmb13).
constexpr int kFileTypeComboId = 0x470;
constexpr int kFileNameEditId = 0x480;
constexpr int kFileNameComboId = 0x47C;
constexpr DWORD kPollMs = 20;
// The Files list forgets what was typed after this long without a key.
constexpr DWORD kTypeAheadResetMs = 600;

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string ProgramPath()
{
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path = module;
    path.erase(path.find_last_of('\\') + 1);
    // The test program is built into <build>\tests, the program into <build>\app.
    return path + "..\\app\\Sorvanta.exe";
}

struct MainWindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<MainWindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) {
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        if (std::string(title).rfind(kMainTitle, 0) == 0) {
            search->found = window;
            return FALSE;
        }
    }
    return TRUE;
}

struct DialogSearch {
    bool (*accept)(HWND);
    HWND found;
};

BOOL CALLBACK FindThreadDialog(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    if (ClassOf(window) == "#32770" && IsWindowVisible(window) && search->accept(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindThreadMenu(HWND window, LPARAM lParam)
{
    if (ClassOf(window) == "#32768" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(lParam) = window;
        return FALSE;
    }
    return TRUE;
}

bool IsMessageBox(HWND dialog)
{
    return GetDlgItem(dialog, kBoxTextId) != nullptr && GetDlgItem(dialog, kFileTypeComboId) == nullptr;
}

bool IsSaveDialog(HWND dialog)
{
    return GetDlgItem(dialog, kFileTypeComboId) != nullptr;
}

} // namespace

ProgramDriver::ProgramDriver()
{
    if (const char* folder = std::getenv("SORVANTA_E2E_SHOTS"); folder && *folder)
        m_shotFolder = folder;
}

ProgramDriver::~ProgramDriver()
{
    if (m_process.hProcess) {
        if (IsRunning()) {
            TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, 10000);
        }
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
    }
}

bool ProgramDriver::Start(const std::string& arguments)
{
    const std::string program = ProgramPath();
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &m_process))
        return false;
    WaitForInputIdle(m_process.hProcess, 30000);
    MainWindowSearch search = {m_process.dwProcessId, nullptr};
    for (DWORD waited = 0; !search.found && waited < 60000 && IsRunning(); waited += kPollMs) {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(kPollMs);
    }
    m_mainWindow = search.found;
    if (!m_mainWindow)
        return false;
    m_uiThread = GetWindowThreadProcessId(m_mainWindow, nullptr);
    return Settle();
}

bool ProgramDriver::IsRunning() const
{
    return m_process.hProcess && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ProgramDriver::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

HWND ProgramDriver::View() const
{
    return GetDlgItem(m_mainWindow, kViewId);
}

std::vector<HWND> ProgramDriver::ViewChildren() const
{
    // Siblings keep the order they were made in: the first made is the first child.
    std::vector<HWND> children;
    for (HWND child = GetWindow(View(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND ProgramDriver::Control(const char* className, int n) const
{
    for (HWND child : ViewChildren())
        if (ClassOf(child) == className && n-- == 0)
            return child;
    return nullptr;
}

HWND ProgramDriver::ControlWithText(const char* className, const char* text) const
{
    for (HWND child : ViewChildren())
        if (ClassOf(child) == className && Text(child) == text)
            return child;
    return nullptr;
}

HWND ProgramDriver::ValueBeside(const char* label) const
{
    const std::vector<HWND> children = ViewChildren();
    for (size_t i = 0; i + 1 < children.size(); ++i)
        if (ClassOf(children[i]) == "Static" && Text(children[i]) == label)
            return children[i + 1];
    return nullptr;
}

std::string ProgramDriver::Text(HWND window)
{
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 20000,
                             &copied))
        return "<no answer>";
    return text;
}

void ProgramDriver::Type(HWND edit, const char* text)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 20000, &result);
}

bool ProgramDriver::Choose(HWND combo, LPARAM itemData)
{
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        if (SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0) != itemData)
            continue;
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        const int id = GetDlgCtrlID(combo);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(combo), SMTO_NORMAL, 20000, &result);
        return true;
    }
    return false;
}

LPARAM ProgramDriver::Chosen(HWND combo) const
{
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

bool ProgramDriver::Click(HWND button, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool ProgramDriver::Command(UINT id, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_mainWindow, WM_COMMAND, id, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

void ProgramDriver::PostCommand(UINT id)
{
    PostMessageA(m_mainWindow, WM_COMMAND, id, 0);
}

void ProgramDriver::PostClose()
{
    PostMessageA(m_mainWindow, WM_CLOSE, 0, 0);
}

std::string ProgramDriver::SelectFile(const std::string& name)
{
    HWND list = Control(WC_LISTVIEWA, 0);
    HWND shownName = ValueBeside("Name");
    Sleep(kTypeAheadResetMs);
    // The list's type-ahead takes the characters with a repeat count, as the keyboard sends them.
    for (char c : name)
        PostMessageA(list, WM_CHAR, static_cast<unsigned char>(c), 1);
    // The characters are posted: wait until the selection they make shows, or a box stops it.
    std::string shown;
    for (DWORD waited = 0; waited < 20000; waited += kPollMs) {
        shown = Text(shownName);
        if (shown == name || IsBoxShown())
            break;
        Sleep(kPollMs);
    }
    return shown;
}

HWND ProgramDriver::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(m_uiThread, &info) ? info.hwndFocus : nullptr;
}

void ProgramDriver::PressKey(WORD key)
{
    HWND focus = Focus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

void ProgramDriver::TypeKeys(const std::string& text)
{
    HWND focus = Focus();
    for (char c : text)
        PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(c), 1);
}

bool ProgramDriver::WaitUntil(const std::function<bool()>& isDone, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += kPollMs) {
        if (isDone())
            return true;
        Sleep(kPollMs);
    }
    return isDone();
}

bool ProgramDriver::ChooseFromMenuBar(char menuKey, const std::vector<WORD>& keys, DWORD timeoutMs)
{
    // The frame gives its menu bar the first look at every key it takes from its queue.
    constexpr LPARAM kAltDown = 1 << 29;
    PostMessageA(m_mainWindow, WM_SYSKEYDOWN, static_cast<WPARAM>(toupper(menuKey)), kAltDown | 1);
    HWND popup = nullptr;
    for (DWORD waited = 0; !popup && waited < timeoutMs; waited += kPollMs) {
        EnumThreadWindows(m_uiThread, FindThreadMenu, reinterpret_cast<LPARAM>(&popup));
        if (!popup)
            Sleep(kPollMs);
    }
    if (!popup)
        return false;
    Shot("menu_open");
    // The popup's loop takes the keys from the program's queue.
    for (WORD key : keys) {
        PostMessageA(popup, WM_KEYDOWN, key, 1);
        PostMessageA(popup, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    }
    for (DWORD waited = 0; IsWindow(popup) && IsWindowVisible(popup) && waited < timeoutMs; waited += kPollMs)
        Sleep(kPollMs);
    // The bar posts the chosen command once its popup's loop has ended: the first wait
    // comes back after that, the second once the command has run.
    return !(IsWindow(popup) && IsWindowVisible(popup)) && Settle(timeoutMs) && Settle(timeoutMs);
}

bool ProgramDriver::Settle(DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

HWND ProgramDriver::FindDialog(bool (*accept)(HWND)) const
{
    DialogSearch search = {accept, nullptr};
    EnumThreadWindows(m_uiThread, FindThreadDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ProgramDriver::IsBoxShown() const
{
    return FindDialog(IsMessageBox) != nullptr;
}

std::string ProgramDriver::AnswerBox(int button, DWORD timeoutMs)
{
    HWND box = nullptr;
    for (DWORD waited = 0; !box && waited < timeoutMs; waited += kPollMs) {
        box = FindDialog(IsMessageBox);
        if (!box)
            Sleep(kPollMs);
    }
    if (!box)
        return "";
    const std::string text = Text(GetDlgItem(box, kBoxTextId));
    Shot(("box_" + text.substr(0, text.find_first_of(" \n"))).c_str());
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    for (DWORD waited = 0; IsWindow(box) && waited < timeoutMs; waited += kPollMs)
        Sleep(kPollMs);
    Settle();
    return text;
}

bool ProgramDriver::AnswerSaveDialog(const std::string& name, int typeIndex, DWORD timeoutMs)
{
    HWND dialog = nullptr;
    for (DWORD waited = 0; !dialog && waited < timeoutMs; waited += kPollMs) {
        dialog = FindDialog(IsSaveDialog);
        if (!dialog)
            Sleep(kPollMs);
    }
    if (!dialog)
        return false;
    HWND types = GetDlgItem(dialog, kFileTypeComboId);
    SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(typeIndex), 0);
    // As a choice in the list ends: the system's dialogs take the type on either notification.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeComboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeComboId, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    HWND nameBox = GetDlgItem(dialog, kFileNameEditId);
    if (!nameBox)
        nameBox = GetDlgItem(dialog, kFileNameComboId);
    SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    Shot("save_dialog");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    for (DWORD waited = 0; IsWindow(dialog) && waited < timeoutMs; waited += kPollMs)
        Sleep(kPollMs);
    return !IsWindow(dialog) && Settle();
}

void ProgramDriver::Shot(const char* step)
{
    if (m_shotFolder.empty())
        return;
    // Let the program paint what the step changed.
    Settle();
    Sleep(300);
    char name[32] = {};
    std::snprintf(name, sizeof name, "%02d_", ++m_shotNumber);
    std::string file = name;
    for (const char* c = step; *c; ++c)
        file += (isalnum(static_cast<unsigned char>(*c)) || *c == '_') ? *c : '_';
    SaveScreen(m_shotFolder + "\\" + file + ".bmp");
}

bool SaveScreen(const std::string& path)
{
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return preview_support::SaveScreenPicture(screen, path);
}

} // namespace end_to_end
