// The built-in text table and its lookup.
#include "LibraryText.h"

#include <atomic>
#include <cstdio>

namespace {

constexpr unsigned kSlots = 450;

struct Row {
    unsigned id;
    const char* text;
};

// Ids not listed have no text; an empty text is a text.
const Row kRows[] = {
    {0, "?"}, {1, "Yes"}, {2, "No"}, {3, "NONE"}, {4, "SOME"}, {5, "ALL"}, {6, "OK"}, {7, "Cancel"}, {8, "Cancel"},
    {9, "Sorry not implemented yet!"},
    {10, "January"}, {11, "February"}, {12, "March"}, {13, "April"}, {14, "May"}, {15, "June"}, {16, "July"},
    {17, "August"}, {18, "September"}, {19, "October"}, {20, "November"}, {21, "December"},
    {23, "Exit"}, {24, "Print Job"}, {25, "&Print"}, {26, "Printer &Setup"}, {27, "&Save"}, {28, "&Word"},
    {29, "&First"}, {30, "&Next"}, {31, "&Font"}, {32, "&Default font"}, {33, "&Set as default"}, {34, "&Full"},
    {35, "F&it"}, {36, "&Part"}, {37, "&None"}, {38, "&File"}, {39, "&Search"}, {40, "F&ont"}, {41, "Forma&t"},
    {42, "Find first"}, {43, "Find Next"}, {44, "Text files (*.txt)"}, {45, "All files (*.*)"}, {46, "Save As"},
    {47, "Save"}, {48, "Could not create or open file"},
    {50, "Ready"}, {51, "Print the current file"}, {52, "Run printer setup"}, {53, "Save the current file"},
    {54, "Exchange current file to Word for Windows"}, {55, "Find the first occurence"},
    {56, "Find the following occurence"}, {57, "Change the current font"},
    {58, "Restore the default (last saved) font"}, {59, "Save the current font and make it the default font"},
    {60, "&Setup"}, {61, "Setup"}, {62, "Orientation"}, {63, ""}, {64, "Portrait"}, {65, "Landscape"},
    {69, "Print (win)"}, {70, "Report"}, {71, "Could not access file"},
    {80, "OK"}, {81, "Cancel"}, {82, "Abort"}, {83, "Retry"}, {84, "Ignore"}, {85, "Yes"}, {86, "No"},
    {90, ".INI File"}, {91, "Section: [Default] and/or Key Name: Mode= not found in .INI file."},
    {92, "Section: [Default] Key Name: Mode= in .INI file is not Private, Protected or Public!"},
    {93, ".INI file will be in same directory as program file."},
    {100, "Abort"}, {101, "Print"}, {102, "File"}, {103, "File %s already exists.\nAppend new data?"},
    {104, "File %s already exists.\nRemove this file first!"}, {105, "Error"}, {106, "Count not open report file"},
    {110, "&Edit"}, {111, "&Insert"}, {112, "&Update"}, {113, "&Delete"}, {114, "&Copy"}, {115, "&Show"},
    {120, "&Mark"}, {121, "&All"}, {122, "&None"}, {123, "&Toggle"},
    {130, "&Sub Table"}, {131, "Copy"}, {132, "Copy records from"}, {133, "too?"},
    {140, "OK"}, {141, "Cancel"}, {142, "No Reference"}, {145, "Delete"}, {146, "Delete this record?"},
    {150, "&Resize"}, {151, "&Move"}, {152, "&Hide"}, {153, "&Sort"}, {154, "&Find"}, {155, "&Align"},
    {156, "&Left"}, {157, "&Center"}, {158, "&Right"}, {160, "&Grid"}, {161, "GridLine"}, {162, "GridSpace"},
    {165, "&FindInit"}, {166, "On"}, {167, "Off"},
    {170, "Sunday"}, {171, "Monday"}, {172, "Tuesday"}, {173, "Wednesday"}, {174, "Thursday"}, {175, "Friday"},
    {176, "Saturday"},
    {190, "No keys in this index!"},
    {200, "Save"}, {201, "Do you want to save the data?"},
    {210, "&Insert"}, {211, "&Delete"}, {212, "&Resize"}, {213, "&Move"},
    {240, "&Font"}, {241, "&Resize"}, {242, "&Move"},
    {270, "Form Definition Table"}, {271, "Number"}, {272, "Description"}, {273, "Initialization"},
    {274, "Termination"}, {275, "Form Feed"}, {276, "Lines per page"}, {277, "Columns per page"},
    {278, "Page fill"}, {279, "Page numbers"}, {280, "End of list mark"}, {281, "Top margin"},
    {282, "Reinitialization"}, {283, "Bold start"}, {284, "Bold stop"},
    {290, "N&umber"}, {291, "&Description"}, {292, "N&umber"}, {293, "&Description"},
    {300, "Ignore"}, {301, "No Value"}, {302, "At"}, {303, "Not At"}, {304, "Before"}, {305, "Before or At"},
    {306, "After"}, {307, "After or At"}, {308, "Between"}, {309, "Not Between"},
    {340, "Text Table"}, {341, "Number"}, {342, "Flag"}, {343, "Text"}, {348, "No more occurences of"},
    {349, "Search"}, {350, "&Id"}, {351, "Fla&g+Id"},
    {360, "Firs&t"}, {361, "&Next"}, {362, "&Previous"},
    {370, "Language Table"}, {371, "Id"}, {372, "Name"},
    {390, "I&d"}, {391, "&Name"}, {392, "I&d"}, {393, "&Name"},
    {400, "Sticker-Table"}, {401, "Number"}, {402, "Description"}, {403, ""}, {404, "Stickers per page"},
    {405, "Stickers horizontal"}, {406, "Stickers vertical"}, {407, "Vertical"}, {408, "Lines per page"},
    {409, "Lines before first sticker"}, {410, "Lines per sticker"}, {411, "Lines between stickers"},
    {412, "Horizontal"}, {413, "Chars per line"}, {414, "Chars before first sticker"}, {415, "Chars per sticker"},
    {416, "Chars between stickers"}, {417, ""}, {418, "Formfeed between pages"}, {419, ""},
    {420, "Device & Port"}, {421, "Form definition"},
    {440, "Amount"}, {441, "Currency"}, {442, "Date"},
};

struct Table {
    const char* slots[kSlots] = {};
    Table()
    {
        for (const Row& row : kRows)
            slots[row.id] = row.text;
    }
};

std::atomic<LibraryTextHook> g_hook{nullptr};
std::atomic<int> g_missingIsNull{0};

// Per thread: a worker thread's missing-id text must not overwrite one that the
// user-interface thread is still reading.
struct Fallback {
    char buffers[4][128];
    int next = 0;
};
thread_local Fallback t_fallback;

} // namespace

const char* LibraryText(unsigned id)
{
    if (LibraryTextHook hook = g_hook.load()) {
        if (const char* text = hook(id))
            return text;
    }
    static const Table table;
    if (id < kSlots && table.slots[id])
        return table.slots[id];
    if (g_missingIsNull.load())
        return nullptr;
    Fallback& fallback = t_fallback;
    char* buffer = fallback.buffers[fallback.next];
    fallback.next = (fallback.next + 1) % 4;
    snprintf(buffer, sizeof fallback.buffers[0], "[ %8lu ]", static_cast<unsigned long>(id));
    return buffer;
}

LibraryTextHook SetLibraryTextHook(LibraryTextHook hook)
{
    return g_hook.exchange(hook);
}

int SetLibraryTextMissingNull(int isNull)
{
    return g_missingIsNull.exchange(isNull);
}

