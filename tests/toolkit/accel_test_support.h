// What the shortcut manager's and the shortcut sheet's tests share: an application
// registered under a key of its own (removed whole afterwards), a frame holding the test
// resources' default shortcuts, and the command an accelerator table gives for a key.
#pragma once

#include "toolkit/shortcuts/QZAccelManager.h"
#include "toolkit_test_resources.h"
#include "toolkit_test_support.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace toolkit_test {

constexpr char kAccelCompany[] = "SorvantaAccelTest";
// Commands of the test menu and the modifiers of most shortcuts.
constexpr WORD kOpen = 0xE101;
constexpr WORD kSave = 0xE103;
constexpr WORD kPrint = 0xE107;
constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
constexpr char kAccelSettingsPath[] = "Software\\SorvantaAccelTest\\AccelTest\\Settings";

class AccelTestApp : public CWinApp {
public:
    AccelTestApp() : CWinApp("AccelTest") {}
};

// The command that table gives for the key pressed with the modifiers (FSHIFT, FCONTROL,
// FALT), 0 when none: the thread's key state holds the modifiers while the system's own
// translation runs on a window that records the command.
inline UINT CommandForKey(HACCEL table, BYTE modifiers, WORD key)
{
    static UINT s_command = 0;
    static const char* kSinkClass = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_COMMAND)
                s_command = LOWORD(wParam);
            return DefWindowProcA(hwnd, message, wParam, lParam);
        };
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SorvantaAccelSink";
        RegisterClassA(&wc);
        return "SorvantaAccelSink";
    }();
    HWND sink = CreateWindowExA(0, kSinkClass, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    BYTE saved[256];
    GetKeyboardState(saved);
    BYTE state[256];
    std::memcpy(state, saved, sizeof state);
    state[VK_SHIFT] = (modifiers & FSHIFT) ? 0x80 : 0;
    state[VK_CONTROL] = (modifiers & FCONTROL) ? 0x80 : 0;
    state[VK_MENU] = (modifiers & FALT) ? 0x80 : 0;
    SetKeyboardState(state);
    s_command = 0;
    const bool alt = (modifiers & FALT) != 0;
    MSG msg = {sink, static_cast<UINT>(alt ? WM_SYSKEYDOWN : WM_KEYDOWN), key,
               static_cast<LPARAM>(1 | (alt ? 1 << 29 : 0))};
    TranslateAcceleratorA(sink, table, &msg);
    SetKeyboardState(saved);
    DestroyWindow(sink);
    return s_command;
}

// The records of an accelerator table; empty for a table that does not exist.
inline std::vector<ACCEL> RecordsOfTable(HACCEL table)
{
    const int count = table ? CopyAcceleratorTableA(table, nullptr, 0) : 0;
    std::vector<ACCEL> records(count > 0 ? count : 0);
    if (!records.empty())
        CopyAcceleratorTableA(table, records.data(), count);
    return records;
}

inline ACCEL Accel(BYTE fVirt, WORD key, WORD cmd)
{
    ACCEL accel{};
    accel.fVirt = fVirt;
    accel.key = key;
    accel.cmd = cmd;
    return accel;
}

inline bool SameRecords(const std::vector<ACCEL>& a, const ACCEL* b, int count)
{
    if (static_cast<int>(a.size()) != count)
        return false;
    for (int i = 0; i < count; ++i) {
        if (a[i].fVirt != b[i].fVirt || a[i].key != b[i].key || a[i].cmd != b[i].cmd)
            return false;
    }
    return true;
}

// A registered application and a 400 x 300 frame holding the test resources' default
// shortcuts (loaded, as a frame loads its own); the key is removed after the test.
class AccelFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaAccelTest");
        app.SetRegistryKey(kAccelCompany);
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Shortcuts", WS_OVERLAPPEDWINDOW, CRect(100, 100, 500, 400)));
        loadedTable = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_ACCEL));
        ASSERT_TRUE(loadedTable);
        frame->m_hAccelTable = loadedTable;
    }
    void TearDown() override
    {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        PumpPending();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaAccelTest");
    }

    // Stores a set as the manager stores it, record by record.
    void StoreSet(LPCSTR setName, const std::vector<ACCEL>& records)
    {
        std::vector<BYTE> bytes;
        for (const ACCEL& accel : records) {
            const BYTE record[6] = {accel.fVirt, 0, LOBYTE(accel.key), HIBYTE(accel.key), LOBYTE(accel.cmd),
                                    HIBYTE(accel.cmd)};
            bytes.insert(bytes.end(), record, record + 6);
        }
        StoreBytes(setName, bytes);
    }
    void StoreBytes(LPCSTR setName, const std::vector<BYTE>& bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kAccelSettingsPath, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        const std::string name = std::string("kbdAccel_") + setName;
        RegSetValueExA(key, name.c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }
    // The stored bytes of a set; false when none are stored.
    bool StoredBytes(LPCSTR setName, std::vector<BYTE>& bytes)
    {
        const std::string name = std::string("kbdAccel_") + setName;
        DWORD size = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, kAccelSettingsPath, name.c_str(), RRF_RT_REG_BINARY, nullptr, nullptr,
                         &size) != ERROR_SUCCESS)
            return false;
        bytes.assign(size, 0);
        return RegGetValueA(HKEY_CURRENT_USER, kAccelSettingsPath, name.c_str(), RRF_RT_REG_BINARY, nullptr,
                            bytes.data(), &size) == ERROR_SUCCESS;
    }

    AccelTestApp app;
    CFrameWnd* frame = nullptr;
    HACCEL loadedTable = nullptr;
};

} // namespace toolkit_test
