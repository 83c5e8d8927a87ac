// What several window-library tests share.
#include "winlib_test_support.h"

#include "framework/window_test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace winlib_test {

BEGIN_MESSAGE_MAP(ButtonParent, iWnd)
    ON_BN_CLICKED(kCountedButtonId, OnClicked)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(ComboPage, iWnd)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_CONTROL(CBN_ERRSPACE, kComboId, OnComboCommand)
    ON_CONTROL(CBN_SELCHANGE, kComboId, OnComboCommand)
    ON_CONTROL(CBN_DBLCLK, kComboId, OnComboCommand)
    ON_CONTROL(CBN_SETFOCUS, kComboId, OnComboCommand)
    ON_CONTROL(CBN_KILLFOCUS, kComboId, OnComboCommand)
    ON_CONTROL(CBN_EDITCHANGE, kComboId, OnComboCommand)
    ON_CONTROL(CBN_EDITUPDATE, kComboId, OnComboCommand)
    ON_CONTROL(CBN_DROPDOWN, kComboId, OnComboCommand)
    ON_CONTROL(CBN_CLOSEUP, kComboId, OnComboCommand)
    ON_CONTROL(CBN_SELENDOK, kComboId, OnComboCommand)
    ON_CONTROL(CBN_SELENDCANCEL, kComboId, OnComboCommand)
END_MESSAGE_MAP()

namespace {

void CALLBACK AnswerFileDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), test_support::FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        // No dialog came: stop asking, the test fails on sawDialog.
        if (++g_fileDialog.ticks > 100)
            KillTimer(nullptr, timer);
        return;
    }
    KillTimer(nullptr, timer);
    g_fileDialog.sawDialog = true;
    HWND nameBox = GetDlgItem(dialog, 1152);  // edt1, or cmb13 in the newer layout
    if (!nameBox)
        nameBox = GetDlgItem(dialog, 1148);
    char text[MAX_PATH] = {};
    GetWindowTextA(nameBox, text, sizeof(text));
    g_fileDialog.nameBox = text;
    GetDlgItemTextA(dialog, 0x470, text, sizeof(text));  // cmb1, the file types
    g_fileDialog.fileType = text;
    HWND types = GetDlgItem(dialog, 0x470);
    int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        text[0] = '\0';
        if (SendMessageA(types, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < static_cast<LRESULT>(sizeof(text)))
            SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        g_fileDialog.fileTypes.push_back(text);
    }
    if (!g_fileDialog.typeName.empty())
        SetWindowTextA(nameBox, g_fileDialog.typeName.c_str());
    PostMessageA(dialog, WM_COMMAND, g_fileDialog.confirm ? IDOK : IDCANCEL, 0);
}

} // namespace

void ExpectFileDialog(const std::string& typeName, bool confirm)
{
    g_fileDialog = FileDialogScript();
    g_fileDialog.typeName = typeName;
    g_fileDialog.confirm = confirm;
    ASSERT_NE(0u, SetTimer(nullptr, 0, 50, AnswerFileDialog));
}

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof(folder), folder);
    return folder;
}

std::string TempPath(const char* name) { return TempFolder() + name; }

void WriteBytes(const std::string& path, const std::vector<BYTE>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<BYTE> SplashResourceBytes()
{
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, "SPLASH", reinterpret_cast<LPCSTR>(RT_RCDATA));
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(self, found)));
    return std::vector<BYTE>(bytes, bytes + SizeofResource(self, found));
}

} // namespace winlib_test
