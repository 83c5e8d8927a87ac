// Message boxes a foundation test expects: kept for the test to check and answered
// at once, so no test waits for a person.
#pragma once

#include "lib/src/MsgBox.h"

#include <windows.h>

#include <string>
#include <vector>

namespace foundation_test {

struct ShownBox {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT style = 0;
};

// While it lives, every message box is kept and answered with the answer set
// (IDOK at first); the show function from before is put back afterwards.
class CapturedBoxes {
public:
    CapturedBoxes() : m_previous(SetMsgBoxShowFunction(Show)) { State() = Captured(); }
    ~CapturedBoxes() { SetMsgBoxShowFunction(m_previous); }
    CapturedBoxes(const CapturedBoxes&) = delete;
    CapturedBoxes& operator=(const CapturedBoxes&) = delete;

    const std::vector<ShownBox>& Boxes() const { return State().boxes; }
    // The latest box; an empty one when none was shown.
    ShownBox Last() const { return Boxes().empty() ? ShownBox() : Boxes().back(); }
    void SetAnswer(int answer) { State().answer = answer; }
    void Forget() { State().boxes.clear(); }

private:
    struct Captured {
        std::vector<ShownBox> boxes;
        int answer = IDOK;
    };
    // The show function is a plain function, so what it keeps lives here.
    static Captured& State()
    {
        static Captured captured;
        return captured;
    }
    static int Show(HWND owner, const char* text, const char* caption, UINT style)
    {
        State().boxes.push_back({owner, text ? text : "", caption ? caption : "", style});
        return State().answer;
    }

    MsgBoxShowFunction m_previous;
};

} // namespace foundation_test
