// The program from start to end, driven from outside as a user drives it: the folder
// from the settings, a file picked by typing its name into the Files list, its details,
// Open, a new size in inches at a new resolution, the five methods each saved under a
// new name and format, Save over the original with a backup copy, the written files
// read back, changes dropped or kept when another file is picked, a session end and a
// close that are cancelled, a close that drops the changes, and the window reopening
// where it was; and the same work done with the keyboard alone.
#include "program_driver.h"

#include "app/Workspace.h"

#include "imaging/ImagingApi.h"
#include "winlib/test_images.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace end_to_end {
namespace {

constexpr const char* kProgramKey = "Software\\Tamrow\\SorvantaStd";
constexpr const char* kTitle = "Tamrow Sorvanta [Standard]";
constexpr const char* kChangesQuestion = "Changes have been made.\nSave the changes?";

std::vector<char> Bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool WriteOption(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    const std::string path = std::string(kProgramKey) + "\\Option\\Common";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool isWritten = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return isWritten;
}

bool WriteFlag(const char* name, DWORD value)
{
    return WriteOption(name, REG_DWORD, &value, sizeof value);
}

bool WriteText(const char* name, const std::string& text)
{
    return WriteOption(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// Colour detail, so that the methods have something to resample.
COLORREF Garden(int x, int y)
{
    return RGB((x * 7 + y * 3) % 256, (x * y / 16) % 256, ((x / 8 + y / 8) % 2) ? 220 : 40);
}

struct WrittenFile {
    const char* name;      // as typed into the Save dialog, without extension
    int typeIndex;         // entry of the dialog's type list
    const char* written;   // the file the program wrote
    const char* format;    // as the details show it
    int bitsPerPixel;
    bool keepsResolution;  // GIF has no resolution
};

// One per method, in the order of the method list; the last also saves over the original.
const WrittenFile kWritten[] = {
    {"a_jpeg", 0, "a_jpeg.jpg", "JPG", 24, true},
    {"b_tiff", 1, "b_tiff.tif", "TIFF", 24, true},
    {"c_gif", 2, "c_gif.gif", "GIF", 8, false},
    {"d_bmp", 3, "d_bmp.bmp", "BMP", 24, true},
    {"e_pcx", 4, "e_pcx.pcx", "PCX", 24, true},
};
const int kMethods[] = {Workspace::kNormal, Workspace::kBilinear, Workspace::kBicubic, Workspace::kTamrow,
                        Workspace::kTamrowProgressive};

// 20 inches at 72 pixels per inch, then 100 pixels per centimetre (254 per inch).
constexpr int kNewWidth = 1440;
constexpr int kNewHeight = 1080;
constexpr int kNewResolution = 254;

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        m_garden = m_folder.Path("garden.jpg");
        m_other = m_folder.Path("other.bmp");
        ASSERT_EQ(imaging::kSuccess,
                  test_images::SaveImage(m_garden, 640, 480, imaging::kFormatJpeg, 72, Garden));
        ASSERT_EQ(imaging::kSuccess, test_images::SaveImage(m_other, 320, 240, imaging::kFormatBmp, 96,
                                                            test_images::Plain(RGB(30, 160, 90))));
        ASSERT_TRUE(WriteText("Default Open In", m_folder.Path()));
        ASSERT_TRUE(WriteText("Default Save In", m_folder.Path()));
        ASSERT_TRUE(WriteFlag("Always Backup Copy", 1));
        ASSERT_TRUE(WriteFlag("Confirm Overwrite", 1));
        ASSERT_TRUE(WriteFlag("Display Graphics Only", 0));
    }
    void TearDown() override
    {
        SetFileAttributesA(m_other.c_str(), FILE_ATTRIBUTE_NORMAL);
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    }

    // The new size as the user types it: 20 inches wide, then 100 pixels per centimetre.
    void EnterNewSize(ProgramDriver& program)
    {
        ASSERT_TRUE(program.Choose(program.Control("ComboBox", 0), Workspace::kInch));
        program.Type(program.Control("Edit", 0), "20");
        ASSERT_TRUE(program.Choose(program.Control("ComboBox", 2), Workspace::kPixelsPerCentimetre));
        program.Type(program.Control("Edit", 2), "100");
    }

    // Half the size: quick, and enough to leave changes in the image.
    void Halve(ProgramDriver& program)
    {
        ASSERT_TRUE(program.Choose(program.Control("ComboBox", 0), Workspace::kPercent));
        program.Type(program.Control("Edit", 0), "50");
        ASSERT_TRUE(program.Click(program.ControlWithText("Button", "Resize")));
    }

    imaging::FileInfo InfoOf(const std::string& path)
    {
        imaging::FileInfo info = {};
        EXPECT_EQ(imaging::kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr)) << path;
        return info;
    }

    test_images::ScratchFolder m_folder{"e2e"};
    std::string m_garden;
    std::string m_other;
};

TEST_F(EndToEnd, PicksResizesSavesAndClosesAsAUserDoes)
{
    ProgramDriver program;
    ASSERT_TRUE(program.Start("/NoSplash"));
    program.Shot("start");
    HWND tree = program.Control(WC_TREEVIEWA, 0);
    HWND list = program.Control(WC_LISTVIEWA, 0);
    HWND widthEdit = program.Control("Edit", 0);
    HWND heightEdit = program.Control("Edit", 1);
    HWND resolutionEdit = program.Control("Edit", 2);
    HWND widthUnit = program.Control("ComboBox", 0);
    HWND resolutionUnit = program.Control("ComboBox", 2);
    HWND method = program.Control("ComboBox", 3);
    HWND resize = program.ControlWithText("Button", "Resize");
    HWND reset = program.ControlWithText("Button", "Reset");
    HWND name = program.ValueBeside("Name");
    HWND format = program.ValueBeside("Format");
    HWND size = program.ValueBeside("Size");
    HWND dimensions = program.ValueBeside("Dimensions");
    for (HWND control : {tree, list, widthEdit, heightEdit, resolutionEdit, widthUnit, resolutionUnit, method, resize,
                         reset, name, format, size, dimensions})
        ASSERT_NE(nullptr, control) << "the workspace's controls are made in their fixed order";

    // The folder from the settings, with its two images.
    EXPECT_NE(0, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) << "the tree shows the start folder";
    EXPECT_EQ(2, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(kTitle, ProgramDriver::Text(program.MainWindow()));
    EXPECT_FALSE(IsWindowEnabled(widthEdit)) << "nothing is open yet";

    // Selected: the details and the inputs of the file.
    ASSERT_EQ("garden.jpg", program.SelectFile("garden.jpg"));
    program.Shot("selected");
    EXPECT_EQ("JPG", ProgramDriver::Text(format));
    EXPECT_EQ(std::to_string(Bytes(m_garden).size()) + " b", ProgramDriver::Text(size));
    EXPECT_EQ("640 x 480 x 24b", ProgramDriver::Text(dimensions));
    EXPECT_EQ(100, std::atof(ProgramDriver::Text(widthEdit).c_str()));
    EXPECT_EQ(Workspace::kPercent, program.Chosen(widthUnit));
    EXPECT_EQ(72, std::atof(ProgramDriver::Text(resolutionEdit).c_str()));
    EXPECT_EQ(Workspace::kPixelsPerInch, program.Chosen(resolutionUnit));

    // File, Open from the toolkit's menu bar, with the keyboard: Alt+F opens the popup
    // with Open, its first item, selected.
    ASSERT_TRUE(program.ChooseFromMenuBar('F', {VK_RETURN}));
    const std::string openedTitle = std::string(kTitle) + " - garden.jpg";
    for (int waited = 0; ProgramDriver::Text(program.MainWindow()) != openedTitle && waited < 5000; waited += 50)
        Sleep(50);
    program.Shot("opened");
    EXPECT_EQ(openedTitle, ProgramDriver::Text(program.MainWindow()));
    EXPECT_TRUE(IsWindowEnabled(widthEdit));

    // 20 inches at 72 pixels per inch; the height follows to 1080 of 480 pixels.
    ASSERT_TRUE(program.Choose(widthUnit, Workspace::kInch));
    program.Type(widthEdit, "20");
    EXPECT_NEAR(225.0, std::atof(ProgramDriver::Text(heightEdit).c_str()), 0.01);
    ASSERT_TRUE(program.Choose(resolutionUnit, Workspace::kPixelsPerCentimetre));
    EXPECT_NEAR(72 / 2.54, std::atof(ProgramDriver::Text(resolutionEdit).c_str()), 0.01);
    program.Type(resolutionEdit, "100");
    program.Shot("new_size");

    // Each method from the file again, its result saved under a name and type of its own.
    const std::vector<char> original = Bytes(m_garden);
    for (size_t i = 0; i < std::size(kMethods); ++i) {
        const WrittenFile& written = kWritten[i];
        SCOPED_TRACE(written.written);
        ASSERT_TRUE(program.Click(reset));
        EnterNewSize(program);
        ASSERT_TRUE(program.Choose(method, kMethods[i]));
        ASSERT_TRUE(program.Click(resize)) << "the resize ended without a box";
        EXPECT_FALSE(program.IsBoxShown());
        program.Shot((std::string("resized_") + written.format).c_str());
        if (kMethods[i] == Workspace::kTamrowProgressive) {
            // Over the original, after the question and the backup copy.
            program.PostCommand(ID_FILE_SAVE);
            EXPECT_EQ("Overwrite original?", program.AnswerBox(IDYES));
            const imaging::FileInfo saved = InfoOf(m_garden);
            EXPECT_EQ(kNewWidth, saved.width);
            EXPECT_EQ(kNewHeight, saved.height);
            EXPECT_EQ(kNewResolution, saved.xResolution);
            const std::vector<std::string> backups = FilesMatching(m_folder.Path(), "garden_*.jpg");
            ASSERT_EQ(1u, backups.size());
            // garden_YYYYMMDD_hhmmss followed by the milliseconds in three places.
            EXPECT_EQ(std::string("garden_20261210_000000000.jpg").size(), backups[0].size()) << backups[0];
            EXPECT_TRUE(original == Bytes(m_folder.Path(backups[0]))) << "the backup is the old original";
            program.Shot("saved_over_original");
        }
        program.PostCommand(ID_FILE_SAVE_AS);
        ASSERT_TRUE(program.AnswerSaveDialog(m_folder.Path(written.name), written.typeIndex));
        EXPECT_FALSE(program.IsBoxShown());
        const imaging::FileInfo info = InfoOf(m_folder.Path(written.written));
        EXPECT_EQ(kNewWidth, info.width);
        EXPECT_EQ(kNewHeight, info.height);
        if (written.keepsResolution) {
            EXPECT_EQ(kNewResolution, info.xResolution);
        }
        program.Shot((std::string("saved_as_") + written.format).c_str());
    }

    // The written files, selected: their details show the new size and their format.
    for (const WrittenFile& written : kWritten) {
        SCOPED_TRACE(written.written);
        EXPECT_EQ(written.written, program.SelectFile(written.written));
        EXPECT_EQ(written.format, ProgramDriver::Text(format));
        EXPECT_EQ(std::to_string(kNewWidth) + " x " + std::to_string(kNewHeight) + " x " +
                      std::to_string(written.bitsPerPixel) + "b",
                  ProgramDriver::Text(dimensions));
    }
    EXPECT_EQ("garden.jpg", program.SelectFile("garden.jpg"));
    EXPECT_EQ("1440 x 1080 x 24b", ProgramDriver::Text(dimensions));
    program.Shot("saved_file_selected");

    // Another file while the image has changes: No drops them and shows the other file.
    ASSERT_TRUE(program.Command(ID_FILE_OPEN));
    Halve(program);
    program.SelectFile("other.bmp");
    EXPECT_EQ(kChangesQuestion, program.AnswerBox(IDNO));
    EXPECT_EQ("other.bmp", ProgramDriver::Text(name));
    EXPECT_EQ(kNewWidth, InfoOf(m_garden).width) << "the dropped changes were not saved";

    // Yes with a read-only original: the save fails, the image stays open with its changes.
    ASSERT_TRUE(program.Command(ID_FILE_OPEN));
    Halve(program);
    const LRESULT otherItem = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    ASSERT_TRUE(SetFileAttributesA(m_other.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::vector<char> otherBytes = Bytes(m_other);
    const size_t filesBefore = FilesMatching(m_folder.Path(), "*").size();
    program.SelectFile("garden.jpg");
    EXPECT_EQ(kChangesQuestion, program.AnswerBox(IDYES));
    EXPECT_EQ("Overwrite original?", program.AnswerBox(IDYES));
    const std::string error = program.AnswerBox(IDOK);
    EXPECT_EQ(0u, error.find("Error ")) << error;
    EXPECT_NE(std::string::npos, error.find("saving file")) << error;
    program.Settle();
    program.Shot("save_failed_kept_open");
    EXPECT_EQ(std::string(kTitle) + " - other.bmp", ProgramDriver::Text(program.MainWindow()));
    EXPECT_EQ("other.bmp", ProgramDriver::Text(name));
    EXPECT_EQ(otherItem, SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED))
        << "the list shows the open file again";
    EXPECT_TRUE(otherBytes == Bytes(m_other)) << "the original is as it was";
    EXPECT_EQ(filesBefore + 1, FilesMatching(m_folder.Path(), "*").size()) << "only the backup copy is new";
    EXPECT_EQ(1u, FilesMatching(m_folder.Path(), "other_*.bmp").size());

    // A session that ends asks as closing does; Cancel keeps the session from ending.
    LRESULT mayEnd = -1;
    std::thread session([&] { mayEnd = SendMessageA(program.MainWindow(), WM_QUERYENDSESSION, 0, 0); });
    EXPECT_EQ(kChangesQuestion, program.AnswerBox(IDCANCEL));
    session.join();
    EXPECT_EQ(0, mayEnd);

    // Closing with the changes: Cancel keeps the program, No ends it.
    SetWindowPos(program.MainWindow(), nullptr, 60, 50, 700, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    program.Settle();
    program.PostClose();
    EXPECT_EQ(kChangesQuestion, program.AnswerBox(IDCANCEL));
    EXPECT_TRUE(program.IsRunning());
    EXPECT_TRUE(IsWindow(program.MainWindow()));
    program.PostClose();
    EXPECT_EQ(kChangesQuestion, program.AnswerBox(IDNO));
    EXPECT_EQ(0u, program.WaitForExit(30000));
    EXPECT_TRUE(otherBytes == Bytes(m_other));

    // Started again, the window is where it was.
    ProgramDriver again;
    ASSERT_TRUE(again.Start("/NoSplash"));
    again.Shot("started_again");
    RECT reopened = {};
    GetWindowRect(again.MainWindow(), &reopened);
    EXPECT_EQ(60, reopened.left);
    EXPECT_EQ(50, reopened.top);
    EXPECT_EQ(760, reopened.right);
    EXPECT_EQ(650, reopened.bottom);
    again.PostClose();
    EXPECT_EQ(0u, again.WaitForExit(30000)) << "nothing open, nothing asked";
}

// Files the library cannot read, picked while another image is open: each is named in the
// "Error loading file" box with the reason in words, the open image is closed, no details
// show, and Open says the same again instead of doing nothing.
TEST_F(EndToEnd, AFileThatCannotBeReadIsNamedWithItsReasonAndNothingStaysOpen)
{
    for (const test_images::UnreadableFile& file : test_images::kUnreadableFiles)
        ASSERT_TRUE(test_images::MakeUnreadable(m_folder.Path(file.name), file.kind)) << file.name;
    ProgramDriver program;
    ASSERT_TRUE(program.Start("/NoSplash"));
    HWND name = program.ValueBeside("Name");
    HWND widthEdit = program.Control("Edit", 0);
    ASSERT_NE(nullptr, name);
    ASSERT_NE(nullptr, widthEdit);
    for (const test_images::UnreadableFile& file : test_images::kUnreadableFiles) {
        SCOPED_TRACE(file.name);
        ASSERT_EQ("garden.jpg", program.SelectFile("garden.jpg"));
        ASSERT_TRUE(program.Command(ID_FILE_OPEN));
        ASSERT_EQ(std::string(kTitle) + " - garden.jpg", ProgramDriver::Text(program.MainWindow()));

        program.SelectFile(file.name);
        const std::string expected =
            "Error loading file " + m_folder.Path(file.name) + "\n" + file.reason + "\nPlease choose another file.";
        EXPECT_EQ(expected, program.AnswerBox(IDOK));
        program.Shot((std::string("unreadable_") + file.name).c_str());
        EXPECT_EQ(kTitle, ProgramDriver::Text(program.MainWindow())) << "the open image was closed";
        EXPECT_FALSE(IsWindowEnabled(widthEdit));
        EXPECT_EQ("", ProgramDriver::Text(name));

        program.PostCommand(ID_FILE_OPEN);
        EXPECT_EQ(expected, program.AnswerBox(IDOK));
        EXPECT_EQ(kTitle, ProgramDriver::Text(program.MainWindow()));
    }
    program.PostClose();
    EXPECT_EQ(0u, program.WaitForExit(30000));
}

// The same work with the keyboard alone: the file picked by typing its name, opened with
// Return, a new width typed over the old, "Bicubic" chosen with the arrow keys, Resize
// pressed with Space and Save chosen from the File menu.
TEST_F(EndToEnd, TheKeyboardAloneOpensResizesAndSaves)
{
    ASSERT_TRUE(WriteFlag("Always Backup Copy", 0));
    ASSERT_TRUE(WriteFlag("Confirm Overwrite", 0));
    ProgramDriver program;
    ASSERT_TRUE(program.Start("/NoSplash"));
    HWND tree = program.Control(WC_TREEVIEWA, 0);
    HWND list = program.Control(WC_LISTVIEWA, 0);
    HWND widthEdit = program.Control("Edit", 0);
    HWND heightEdit = program.Control("Edit", 1);
    HWND method = program.Control("ComboBox", 3);
    HWND resize = program.ControlWithText("Button", "Resize");
    HWND name = program.ValueBeside("Name");
    for (HWND control : {tree, list, widthEdit, heightEdit, method, resize, name})
        ASSERT_NE(nullptr, control) << "the workspace's controls are made in their fixed order";
    // Each key goes to the control that has the focus when it is pressed: one at a time.
    const auto tabTo = [&](HWND control, int presses) {
        for (int i = 0; i < presses; ++i) {
            HWND before = program.Focus();
            program.PressKey(VK_TAB);
            if (!ProgramDriver::WaitUntil([&] { return program.Focus() != before; }))
                return false;
        }
        return program.Focus() == control;
    };

    EXPECT_TRUE(ProgramDriver::WaitUntil([&] { return program.Focus() == tree; })) << "the folder tree starts";
    ASSERT_TRUE(tabTo(list, 1));
    program.TypeKeys("garden.jpg");
    ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return ProgramDriver::Text(name) == "garden.jpg"; }));
    program.PressKey(VK_RETURN);
    ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return IsWindowEnabled(widthEdit) != FALSE; })) << "Return opens";
    program.Shot("keyboard_opened");

    // Reached by Tab, the width's "100" is typed over.
    ASSERT_TRUE(tabTo(widthEdit, 1)) << "the banner's browser is no stop";
    program.TypeKeys("200");
    ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return ProgramDriver::Text(heightEdit) == "200.00"; }));
    EXPECT_EQ("200", ProgramDriver::Text(widthEdit));
    // Past both units, the height, the resolution, Resize, Reset and the check box.
    ASSERT_TRUE(tabTo(method, 9));
    EXPECT_EQ("200.00", ProgramDriver::Text(widthEdit)) << "both sides show their numbers alike";
    program.PressKey(VK_UP);
    program.PressKey(VK_UP);
    ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return program.Chosen(method) == Workspace::kBicubic; }));
    program.Shot("keyboard_bicubic");
    // Round past the tree, the Files list and the inputs to Resize.
    ASSERT_TRUE(tabTo(resize, 9));
    program.PressKey(VK_SPACE);
    // The menu's keys wait in the queue behind Space until the resize has ended.
    ASSERT_TRUE(program.ChooseFromMenuBar('F', {'S'}));
    EXPECT_FALSE(program.IsBoxShown());
    // Read quietly while the save may still be replacing the file.
    const auto savedWidth = [&] {
        imaging::FileInfo info = {};
        return L_FileInfo(m_garden.c_str(), &info, 0, nullptr) == imaging::kSuccess ? info.width : 0;
    };
    ASSERT_TRUE(ProgramDriver::WaitUntil([&] { return savedWidth() == 1280; })) << "saved at 200 %";
    EXPECT_EQ(960, InfoOf(m_garden).height);
    program.Shot("keyboard_saved");

    program.PostClose();
    EXPECT_EQ(0u, program.WaitForExit(30000)) << "saved, so nothing to ask";
}

// Under a display only: pictures of the status bar while a long house-method resize runs,
// taken from a second thread while the program's thread is busy.
TEST_F(EndToEnd, ProgressShowsWhileALongResizeRuns)
{
    ProgramDriver program;
    if (!program.IsTakingShots())
        GTEST_SKIP() << "pictures need a display and SORVANTA_E2E_SHOTS";
    const std::string large = m_folder.Path("large.jpg");
    ASSERT_EQ(imaging::kSuccess, test_images::SaveImage(large, 6000, 4000, imaging::kFormatJpeg, 72, Garden));
    ASSERT_TRUE(program.Start("/NoSplash"));
    ASSERT_EQ("large.jpg", program.SelectFile("large.jpg"));
    ASSERT_TRUE(program.Command(ID_FILE_OPEN));
    ASSERT_TRUE(program.Choose(program.Control("ComboBox", 0), Workspace::kPercent));
    program.Type(program.Control("Edit", 0), "150");
    ASSERT_TRUE(program.Choose(program.Control("ComboBox", 3), Workspace::kTamrowProgressive));
    std::atomic<bool> isDone{false};
    std::thread pictures([&] {
        const char* folder = std::getenv("SORVANTA_E2E_SHOTS");
        for (int n = 0; !isDone && n < 40; ++n) {
            SaveScreen(std::string(folder) + "\\progress_" + std::to_string(n) + ".bmp");
            Sleep(250);
        }
    });
    EXPECT_TRUE(program.Click(program.ControlWithText("Button", "Resize"), 300000));
    isDone = true;
    pictures.join();
    program.Shot("large_resized");
    program.PostClose();
    program.AnswerBox(IDNO);
    EXPECT_EQ(0u, program.WaitForExit(30000));
}

} // namespace
} // namespace end_to_end
