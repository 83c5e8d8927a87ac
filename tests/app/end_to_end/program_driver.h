// Drives the real Sorvanta.exe from another process, as a user would. Between processes
// Wine carries only messages whose arguments are values or strings it marshals, so the
// driver finds the workspace's controls by class and creation order, types into edits
// with WM_SETTEXT, chooses combo entries by their item data and tells the view as a
// user's choice would, presses buttons with BM_CLICK, types into the Files list (its
// incremental search selects the file), answers message boxes by their buttons and
// fills the platform's save dialog through its standard controls. It can also work the
// program with keys alone, posted to the control with the focus. With the environment
// variable SORVANTA_E2E_SHOTS naming a folder, it saves a picture of the screen at each
// step there (under a display; the null driver has no screen to show).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace end_to_end {

class ProgramDriver {
public:
    ProgramDriver();
    // Ends a program a failed test left running.
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // Starts Sorvanta.exe (beside the test program's build folder) with the arguments and
    // waits for its main window; false when it did not come up.
    bool Start(const std::string& arguments);
    // The program's exit code once it ended within the time, else STILL_ACTIVE.
    DWORD WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;

    HWND MainWindow() const { return m_mainWindow; }
    HWND View() const;
    // The view's direct child of the class, n-th in creation order (0 first); null when none.
    HWND Control(const char* className, int n) const;
    // The view's direct child of the class showing the text.
    HWND ControlWithText(const char* className, const char* text) const;
    // The static that follows the label in creation order: where a detail's value shows.
    HWND ValueBeside(const char* label) const;
    static std::string Text(HWND window);

    // WM_SETTEXT: the edit tells the view of the change as typing does.
    void Type(HWND edit, const char* text);
    // Selects the entry carrying the item data and tells the view, as a user's choice does.
    bool Choose(HWND combo, LPARAM itemData);
    // The item data of the entry shown.
    LPARAM Chosen(HWND combo) const;
    // BM_CLICK; waits until the program has handled it. False when it did not within the time
    // (a message box it shows keeps it busy).
    bool Click(HWND button, DWORD timeoutMs = 120000);
    // WM_COMMAND to the main window, waited for.
    bool Command(UINT id, DWORD timeoutMs = 120000);
    // WM_COMMAND posted: for commands that show a box or a dialog before they end.
    void PostCommand(UINT id);
    // Chooses a command from the program's menu bar with the keyboard, as a user does: Alt
    // and the menu's mnemonic open its popup, then the keys (virtual-key codes) go to the
    // popup. Waits until the popup has closed and the program takes messages again; false
    // when no popup came or it stayed open.
    bool ChooseFromMenuBar(char menuKey, const std::vector<WORD>& keys, DWORD timeoutMs = 20000);
    void PostClose();
    // Types the file's name into the Files list and waits until the details show it or a
    // message box comes. Answers the name the details show.
    std::string SelectFile(const std::string& name);
    // The program's control with the keyboard focus.
    HWND Focus() const;
    // The key pressed and let go at the control with the focus, through the program's
    // message loop as the keyboard's keys come. Posted: the caller waits for what it does.
    void PressKey(WORD key);
    // The characters typed at the control with the focus; posted as PressKey.
    void TypeKeys(const std::string& text);
    // Polls until isDone answers true; false when the time ran out first.
    static bool WaitUntil(const std::function<bool()>& isDone, DWORD timeoutMs = 20000);
    // Waits until the program's thread takes messages again.
    bool Settle(DWORD timeoutMs = 120000);

    // Waits for a message box of the program, answers it with the button and returns its
    // text; empty when none came within the time.
    std::string AnswerBox(int button, DWORD timeoutMs = 20000);
    // True when a message box of the program is up now.
    bool IsBoxShown() const;
    // Waits for the save dialog, gives it the name and the zero-based file type, confirms.
    bool AnswerSaveDialog(const std::string& name, int typeIndex, DWORD timeoutMs = 20000);

    // A picture of the screen as "<number>_<step>.bmp" in the shots folder, when one is set.
    void Shot(const char* step);
    bool IsTakingShots() const { return !m_shotFolder.empty(); }

private:
    HWND FindDialog(bool (*accept)(HWND)) const;
    std::vector<HWND> ViewChildren() const;

    PROCESS_INFORMATION m_process = {};
    HWND m_mainWindow = nullptr;
    DWORD m_uiThread = 0;
    std::string m_shotFolder;
    int m_shotNumber = 0;
};

// Writes what the screen shows into a 24-bit BMP file; false when the picture could not be
// made or written.
bool SaveScreen(const std::string& path);

} // namespace end_to_end
