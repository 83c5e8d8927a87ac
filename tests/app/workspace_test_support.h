// What the workspace tests share: a frame of the framework's own that hosts the program's
// document and workspace view and records the pass counts a resize hands it, the
// program's message boxes answered in code, the system's save dialog answered from a
// timer, and the small actions a user takes on the view's controls.
#pragma once

#include "test_stores.h"

#include "winlib/test_images.h"

#include "app/Document.h"
#include "app/WebEndpoint.h"
#include "app/Workspace.h"

#include "banner/BannerSeam.h"

#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iStatic.h"
#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iCheckBox.h"

#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace workspace_test {

// Hosts the workspace as the main frame will, telling it nothing but the pass counts.
class WorkspaceFrame : public CFrameWnd, public PassCountTarget {
public:
    void SetPassCount(int count) override { passCounts.push_back(count); }
    std::vector<int> passCounts;
};

// Answers the program's message boxes in the order queued (then OK) and keeps each box.
class BoxAnswers {
public:
    struct Box {
        std::string text;
        std::string caption;
        UINT style;
        HWND owner;
    };

    BoxAnswers();
    ~BoxAnswers();
    BoxAnswers(const BoxAnswers&) = delete;
    BoxAnswers& operator=(const BoxAnswers&) = delete;

    void Queue(const std::vector<int>& answers) { m_answers.insert(m_answers.end(), answers.begin(), answers.end()); }
    const std::vector<Box>& Boxes() const { return m_boxes; }
    std::vector<std::string> Texts() const;
    // Every box shown so far, each on its own line, for a failure's message.
    std::string Describe() const;
    void Clear() { m_boxes.clear(); }

private:
    static int Show(HWND owner, const char* text, const char* caption, UINT style);

    std::deque<int> m_answers;
    std::vector<Box> m_boxes;
    static BoxAnswers* s_current;
};

// What to do in the next save dialog and what it showed.
struct SaveDialogScript {
    std::string name;       // empty: leave the name box as it is
    int typeIndex = -1;     // zero-based file type to choose; -1: leave it
    bool confirm = true;
    // Filled in when the dialog came.
    bool sawDialog = false;
    std::string nameBox;
    std::string selectedType;
    std::vector<std::string> types;
    int ticks = 0;
};
extern SaveDialogScript g_saveDialog;

// Starts the script afresh; the next file dialog of this thread is answered by it.
void ExpectSaveDialog(const std::string& name, int typeIndex, bool confirm);

// A frame with the program's document and workspace view, below the test company's
// registry key, with the options store in place; each test starts from a first run.
class WorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Changes the banner's surroundings before the workspace's worker copies them.
    virtual void AdjustBannerSeam(BannerSeam&) {}

    // Sets the edit's text as typing would: the view hears of the change.
    static void Type(iEdit* edit, const char* text);
    // Chooses the entry carrying the value as a user would: the view hears of the change.
    static void Choose(iComboBox* combo, DWORD value);
    static std::string Text(CWnd* window);
    // Sends the button's click as the user's press would.
    static void Click(CWnd* button);
    // The key pressed and let go at the control with the focus (with Shift held when
    // asked), through the frame's part of the message loop as the program's loop runs it.
    void PressKey(WORD key, bool withShift = false);
    // The characters typed at the control with the focus.
    void TypeKeys(const char* text);
    // Runs the queued messages through the frame's part of the message loop.
    void PumpMessages();

    // Saves a 24-bit image of the format to the scratch folder and answers its path.
    std::string MakeImage(const char* name, int width, int height, int format = imaging::kFormatBmp,
                          int resolution = 72,
                          const test_images::ColourAt& colour = test_images::Plain(RGB(200, 100, 50)));
    // Selects the file as the Files list does, then opens it; the result must be open.
    void OpenImage(const std::string& path);
    // The folder the tree starts in ("Default Open In"); the scratch folder unless a test
    // says otherwise before the workspace is made.
    std::string m_startFolder;

    test_images::ScratchFolder m_folder{"workspace"};
    // Where the banner keeps its cache and pages; its server is a loopback port where
    // nothing listens, so its worker stays offline.
    test_images::ScratchFolder m_bannerFolder{"workspace-banner"};
    BannerSeam m_previousSeam = {};
    WebEndpoint m_previousEndpoint = {};
    BoxAnswers m_boxes;
    WorkspaceFrame* m_frame = nullptr;
    Workspace* m_workspace = nullptr;
};

} // namespace workspace_test
