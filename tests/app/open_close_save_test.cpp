// The selected file's details, opening, closing and saving on the real workspace: what
// the details show, files whose pixels cannot be read, the question before changes are
// lost (Close, closing the window), saving over the original with its question and
// backup copy, a save that fails on a read-only original, and Save As through the
// system's save dialog.
#include "workspace_test_support.h"

#include "app/BackupCopy.h"

#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iComboBox.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace open_close_save_test {
namespace {

using workspace_test::ExpectSaveDialog;
using workspace_test::g_saveDialog;
using workspace_test::WorkspaceTest;

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names of the files in the folder.
std::vector<std::string> FolderFiles(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

imaging::FileInfo InfoOf(const std::string& path)
{
    imaging::FileInfo info{};
    EXPECT_EQ(imaging::kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr)) << path;
    return info;
}

// How an idle update left one command.
class RecordingCmdUI : public CCmdUI {
public:
    bool isEnabled = true;
    void Enable(BOOL bOn) override
    {
        isEnabled = bOn != FALSE;
        m_bEnableChanged = TRUE;
    }
};

// The fixed time of the backup tests: 2 March 2003, 09:05:07.045.
void WINAPI FixedClock(LPSYSTEMTIME time)
{
    *time = SYSTEMTIME{2003, 3, 0, 2, 9, 5, 7, 45};
}

class OpenCloseSave : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        m_previousClock = SetBackupClock(&FixedClock);
    }
    void TearDown() override
    {
        SetBackupClock(m_previousClock);
        WorkspaceTest::TearDown();
    }
    bool IsEnabled(UINT id)
    {
        RecordingCmdUI ui;
        ui.m_nID = id;
        ui.DoUpdate(m_frame, TRUE);
        return ui.isEnabled;
    }
    // Opens a 40 x 30 image and makes it modified by a resize to 200 %.
    std::string OpenModified(const char* name = "photo.bmp", int format = imaging::kFormatBmp)
    {
        const std::string path = MakeImage(name, 40, 30, format);
        OpenImage(path);
        Choose(m_workspace->GetMethodCombo(), Workspace::kBicubic);
        Type(m_workspace->GetWidthEdit(), "200");
        Click(m_workspace->GetResizeButton());
        EXPECT_TRUE(m_workspace->IsModified());
        return path;
    }
    std::string Title() const { return static_cast<LPCSTR>(m_workspace->GetDocument()->GetTitle()); }

    BackupClockFunction m_previousClock = nullptr;
};

TEST_F(OpenCloseSave, ASelectedFileShowsItsDetailsInBlueAndItsPreview)
{
    const std::string path = MakeImage("photo.jpg", 640, 480, imaging::kFormatJpeg, 72);
    m_workspace->ShowSelectedFile(path.c_str());
    EXPECT_EQ("photo.jpg", Text(m_workspace->GetNameValue()));
    EXPECT_EQ("JPG", Text(m_workspace->GetFormatValue()));
    EXPECT_EQ(std::to_string(FileBytes(path).size()) + " b", Text(m_workspace->GetSizeValue()));
    EXPECT_EQ("640 x 480 x 24b", Text(m_workspace->GetDimensionsValue()));
    EXPECT_EQ("100", Text(m_workspace->GetWidthEdit()));
    EXPECT_STREQ("Percent", m_workspace->GetWidthUnit()->GetSelectedText());
    EXPECT_EQ("72", Text(m_workspace->GetResolutionEdit()));
    EXPECT_STREQ("Pixels/inch", m_workspace->GetResolutionUnit()->GetSelectedText());
    EXPECT_EQ(640u, m_workspace->GetPreview()->GetBitmap().GetWidth());
    EXPECT_FALSE(m_workspace->IsOpen());
    EXPECT_FALSE(m_workspace->GetWidthEdit()->IsWindowEnabled());

    // The four values are written in blue, their labels in the normal colour.
    CClientDC dc(m_workspace);
    m_workspace->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                             reinterpret_cast<LPARAM>(m_workspace->GetSizeValue()->m_hWnd));
    EXPECT_EQ(RGB(0, 0, 255), GetTextColor(dc.m_hDC));
    CWnd* label = m_workspace->GetSizeValue()->GetWindow(GW_HWNDPREV);
    m_workspace->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                             reinterpret_cast<LPARAM>(label->m_hWnd));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), GetTextColor(dc.m_hDC));
}

TEST_F(OpenCloseSave, TheSizeShowsInKilobytesFromTenMillionBytes)
{
    struct Case {
        const char* why;
        size_t bytes;
        const char* shows;
    } const cases[] = {
        {"one byte short", 10239999, "10239999 b"},
        {"exactly the boundary", 10240000, "10000 Kb"},
    };
    const std::vector<char> image = FileBytes(MakeImage("small.bmp", 8, 8));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        // A small BMP with padding after its pixels, which the reader passes over.
        std::vector<char> padded = image;
        padded.resize(c.bytes, '\0');
        const std::string path = m_folder.Path("padded.bmp");
        WriteFileBytes(path, padded);
        m_workspace->ShowSelectedFile(path.c_str());
        ASSERT_TRUE(m_workspace->GetFileInfo().IsValid());
        EXPECT_EQ(c.shows, Text(m_workspace->GetSizeValue()));
    }
}

TEST_F(OpenCloseSave, AFileOfTwoGigabytesIsShownWholeOrRefusedAsTooLargeNeverNegative)
{
    // A small BMP followed by nothing, the file set to 2 GB and 4 KB: sparse, it takes no disk.
    const std::string path = m_folder.Path("big.bmp");
    WriteFileBytes(path, FileBytes(MakeImage("small.bmp", 8, 8)));
    constexpr long long kBytes = (1LL << 31) + 4096;
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        LARGE_INTEGER end;
        end.QuadPart = kBytes;
        const bool isSized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        ASSERT_TRUE(isSized);
    }
    m_workspace->ShowSelectedFile(path.c_str());
    const std::string size = Text(m_workspace->GetSizeValue());
    EXPECT_EQ(std::string::npos, size.find('-')) << size;
    if (m_workspace->GetFileInfo().IsValid()) {
        EXPECT_EQ(std::to_string(kBytes / 1024) + " Kb", size);
    } else {
        ASSERT_EQ(1u, m_boxes.Boxes().size()) << m_boxes.Describe();
        EXPECT_EQ("Error loading file " + path + "\nThe image is too large for this program.\nPlease choose another file.",
                  m_boxes.Boxes()[0].text);
        EXPECT_EQ("", size);
    }
    DeleteFileA(path.c_str());
}

TEST_F(OpenCloseSave, AFileTheLibraryCannotReadShowsNoDetailsAndDoesNotOpen)
{
    const std::string path = m_folder.Path("notes.jpg");
    WriteFileBytes(path, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    m_workspace->ShowSelectedFile(MakeImage("before.bmp", 10, 10).c_str());
    m_workspace->ShowSelectedFile(path.c_str());
    EXPECT_EQ("", Text(m_workspace->GetNameValue()));
    EXPECT_EQ("", Text(m_workspace->GetDimensionsValue()));
    EXPECT_EQ("", Text(m_workspace->GetWidthEdit()));
    EXPECT_EQ("", Text(m_workspace->GetResolutionEdit()));
    ASSERT_EQ(1u, m_boxes.Boxes().size()) << m_boxes.Describe();
    EXPECT_EQ(0u, m_boxes.Boxes()[0].text.find("Error loading file " + path + "\n")) << m_boxes.Describe();
    EXPECT_FALSE(m_workspace->OpenSelectedFile());
    EXPECT_FALSE(m_workspace->IsOpen());
}

TEST_F(OpenCloseSave, AFileWhosePixelsCannotBeLoadedIsNotOpened)
{
    // A PCX of detailed pixels cut short inside them: the header reads, the pixels do not.
    const std::string path = MakeImage("cut.pcx", 64, 64, imaging::kFormatPcx, 72, [](int x, int y) {
        return RGB((x * 37 + y * 11) % 192, (x * 5 + y * 53) % 192, ((x ^ y) * 29) % 192);
    });
    std::vector<char> bytes = FileBytes(path);
    ASSERT_GT(bytes.size(), 8000u);
    bytes.resize(bytes.size() / 2);
    WriteFileBytes(path, bytes);

    m_workspace->ShowSelectedFile(path.c_str());
    // Shown as a file whose information cannot be read: no details beside an empty preview.
    EXPECT_FALSE(m_workspace->GetFileInfo().IsValid());
    EXPECT_EQ(imaging::kErrorFileCorrupt, m_workspace->GetFileInfo().GetResult());
    EXPECT_EQ("", Text(m_workspace->GetNameValue()));
    EXPECT_EQ("", Text(m_workspace->GetDimensionsValue()));
    ASSERT_EQ(1u, m_boxes.Boxes().size());
    EXPECT_EQ(0u, m_boxes.Boxes()[0].text.find("Error loading file " + path)) << m_boxes.Describe();
    EXPECT_FALSE(m_workspace->GetPreview()->GetBitmap().IsLoaded());

    m_boxes.Clear();
    EXPECT_FALSE(m_workspace->OpenSelectedFile());
    EXPECT_EQ(1u, m_boxes.Boxes().size());
    EXPECT_FALSE(m_workspace->IsOpen());
    EXPECT_FALSE(m_workspace->GetWidthEdit()->IsWindowEnabled());
    EXPECT_EQ("", Title());
    EXPECT_FALSE(IsEnabled(ID_FILE_SAVE));
    EXPECT_FALSE(m_workspace->SaveFile());
}

TEST_F(OpenCloseSave, OpenEnablesTheInputsTheFileCommandsAndTheTitle)
{
    EXPECT_FALSE(IsEnabled(ID_FILE_CLOSE));
    EXPECT_FALSE(IsEnabled(ID_FILE_SAVE));
    EXPECT_FALSE(IsEnabled(ID_FILE_SAVE_AS));
    EXPECT_FALSE(IsEnabled(ID_FILE_PRINT));
    EXPECT_TRUE(IsEnabled(ID_FILE_OPEN));
    // The banner's history does not depend on an image.
    EXPECT_TRUE(IsEnabled(ID_APP_BANNER_HISTORY));

    const std::string path = MakeImage("photo.bmp", 40, 30);
    m_workspace->ShowSelectedFile(path.c_str());
    // Through the frame's routing, as the menu, the toolbar or Ctrl+O send it.
    m_frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_TRUE(m_workspace->IsOpen());
    EXPECT_TRUE(IsEnabled(ID_FILE_CLOSE));
    EXPECT_TRUE(IsEnabled(ID_FILE_SAVE));
    EXPECT_TRUE(IsEnabled(ID_FILE_SAVE_AS));
    EXPECT_TRUE(IsEnabled(ID_FILE_PRINT));
    EXPECT_TRUE(IsEnabled(ID_APP_BANNER_HISTORY));
    for (CWnd* input : {static_cast<CWnd*>(m_workspace->GetWidthEdit()),
                        static_cast<CWnd*>(m_workspace->GetResolutionUnit()),
                        static_cast<CWnd*>(m_workspace->GetResizeButton()),
                        static_cast<CWnd*>(m_workspace->GetMethodCombo())})
        EXPECT_TRUE(input->IsWindowEnabled());
    EXPECT_EQ("photo.bmp", Title());
    EXPECT_EQ(40u, m_workspace->GetResultPicture()->GetBitmap().GetWidth());
    // A second Open while one is open does nothing.
    EXPECT_FALSE(m_workspace->OpenSelectedFile());

    g_pOption->m_common.m_displayFullPathInTitle.Value() = 1;
    m_workspace->UpdateTitle();
    EXPECT_EQ(path, Title());

    m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    EXPECT_FALSE(m_workspace->IsOpen());
    EXPECT_FALSE(m_workspace->GetWidthEdit()->IsWindowEnabled());
    EXPECT_FALSE(m_workspace->GetResultPicture()->GetBitmap().IsLoaded());
    EXPECT_EQ("", Title());
    EXPECT_FALSE(IsEnabled(ID_FILE_SAVE));
}

TEST_F(OpenCloseSave, SaveWritesOverTheOriginalInItsOwnFormat)
{
    const std::string path = OpenModified("photo.pcx", imaging::kFormatPcx);
    EXPECT_TRUE(m_workspace->SaveFile());
    EXPECT_FALSE(m_workspace->IsModified());
    const imaging::FileInfo info = InfoOf(path);
    EXPECT_EQ(imaging::kFormatPcx, info.format);
    EXPECT_EQ(80, info.width);
    EXPECT_TRUE(m_boxes.Boxes().empty()) << m_boxes.Describe();
}

TEST_F(OpenCloseSave, ConfirmOverwriteAsksFirstAndNoWritesNothing)
{
    g_pOption->m_common.m_confirmOverwrite.Value() = 1;
    g_pOption->m_common.m_alwaysBackupCopy.Value() = 1;
    const std::string path = OpenModified();
    const std::vector<char> original = FileBytes(path);
    m_boxes.Queue({IDNO});
    EXPECT_FALSE(m_workspace->SaveFile());
    ASSERT_EQ(1u, m_boxes.Boxes().size());
    EXPECT_EQ("Overwrite original?", m_boxes.Boxes()[0].text);
    EXPECT_EQ("Save", m_boxes.Boxes()[0].caption);
    EXPECT_EQ(original, FileBytes(path));
    // The backup comes only after Yes.
    EXPECT_EQ(std::vector<std::string>{"photo.bmp"}, FolderFiles(m_folder.Path()));
    EXPECT_TRUE(m_workspace->IsModified());

    m_boxes.Queue({IDYES});
    EXPECT_TRUE(m_workspace->SaveFile());
    EXPECT_EQ(80, InfoOf(path).width);
    EXPECT_EQ(original, FileBytes(m_folder.Path("photo_20030302_090507 45.bmp")));
}

TEST_F(OpenCloseSave, ABackupOfTheSameMillisecondIsRefusedAndNothingIsSaved)
{
    g_pOption->m_common.m_alwaysBackupCopy.Value() = 1;
    const std::string path = OpenModified();
    ASSERT_TRUE(m_workspace->SaveFile());
    const std::vector<char> firstSave = FileBytes(path);
    Type(m_workspace->GetWidthEdit(), "300");
    Click(m_workspace->GetResizeButton());
    EXPECT_FALSE(m_workspace->SaveFile());
    EXPECT_EQ(std::vector<std::string>{"Error making backup copy!"}, m_boxes.Texts());
    EXPECT_EQ("Error", m_boxes.Boxes()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), m_boxes.Boxes()[0].style & MB_ICONMASK);
    EXPECT_EQ(firstSave, FileBytes(path));
    EXPECT_TRUE(m_workspace->IsModified());
}

TEST(BackupName, PathWithoutExtensionUnderscoreTimeDotExtension)
{
    struct Case {
        const char* why;
        const char* path;
        WORD milliseconds;
        const char* expected;
    } const cases[] = {
        {"milliseconds padded with a blank", "C:\\pics\\photo.jpg", 45, "C:\\pics\\photo_20030302_090507 45.jpg"},
        {"one digit: two blanks", "C:\\pics\\photo.jpg", 5, "C:\\pics\\photo_20030302_090507  5.jpg"},
        {"three digits", "C:\\pics\\photo.jpg", 999, "C:\\pics\\photo_20030302_090507999.jpg"},
        {"no extension: the name ends in a dot", "C:\\pics\\photo", 45, "C:\\pics\\photo_20030302_090507 45."},
        {"a dot in a folder is no extension", "C:\\pic.s\\photo", 45, "C:\\pic.s\\photo_20030302_090507 45."},
        {"only the last extension goes", "C:\\pics\\photo.old.tif", 45, "C:\\pics\\photo.old_20030302_090507 45.tif"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        SYSTEMTIME time{2003, 3, 0, 2, 9, 5, 7, c.milliseconds};
        EXPECT_STREQ(c.expected, BackupFileName(c.path, time));
    }
}

TEST_F(OpenCloseSave, AFileWithoutExtensionIsBackedUpToANameEndingInADot)
{
    g_pOption->m_common.m_alwaysBackupCopy.Value() = 1;
    const std::string bmp = MakeImage("photo.bmp", 40, 30);
    const std::string path = m_folder.Path("photo");
    ASSERT_TRUE(MoveFileA(bmp.c_str(), path.c_str()));
    const std::vector<char> original = FileBytes(path);
    OpenImage(path);
    Type(m_workspace->GetWidthEdit(), "200");
    Click(m_workspace->GetResizeButton());
    ASSERT_TRUE(m_workspace->SaveFile()) << m_boxes.Describe();
    EXPECT_EQ(original, FileBytes(m_folder.Path("photo_20030302_090507 45.")));
}

TEST_F(OpenCloseSave, ASaveThatFailsLeavesTheOriginalAndKeepsTheChanges)
{
    const std::string path = OpenModified();
    const std::vector<char> original = FileBytes(path);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(m_workspace->SaveFile());
    ASSERT_EQ(1u, m_boxes.Boxes().size());
    const std::string& text = m_boxes.Boxes()[0].text;
    EXPECT_EQ(0u, text.find("Error -")) << text;
    EXPECT_NE(std::string::npos, text.find(" saving file " + path)) << text;
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), m_boxes.Boxes()[0].style & MB_ICONMASK);
    EXPECT_EQ(original, FileBytes(path));
    EXPECT_EQ(std::vector<std::string>{"photo.bmp"}, FolderFiles(m_folder.Path())) << "no temporary file is left";
    EXPECT_TRUE(m_workspace->IsOpen());
    EXPECT_TRUE(m_workspace->IsModified());
}

struct QuestionCase {
    const char* why;
    std::vector<int> answers;  // the close question, then any further box
    bool isReadOnly;
    bool staysOpen;
    bool isWritten;
};

const QuestionCase kCloseCases[] = {
    {"Yes saves, then closes", {IDYES}, false, false, true},
    {"Yes with a save that fails keeps the image and its changes", {IDYES, IDOK}, true, true, false},
    {"No closes and drops the changes", {IDNO}, false, false, false},
    {"Cancel keeps it open", {IDCANCEL}, false, true, false},
};

TEST_F(OpenCloseSave, CloseAsksBeforeChangesAreLost)
{
    for (const QuestionCase& c : kCloseCases) {
        SCOPED_TRACE(c.why);
        m_workspace->CloseFile();
        m_boxes.Clear();
        const std::string path = OpenModified();
        const std::vector<char> original = FileBytes(path);
        if (c.isReadOnly)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        m_boxes.Queue(c.answers);
        m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
        ASSERT_FALSE(m_boxes.Boxes().empty());
        EXPECT_EQ("Changes have been made.\nSave the changes?", m_boxes.Boxes()[0].text);
        EXPECT_EQ("Tamrow Sorvanta [Standard]", m_boxes.Boxes()[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL), m_boxes.Boxes()[0].style & MB_TYPEMASK);
        EXPECT_EQ(c.staysOpen, m_workspace->IsOpen());
        EXPECT_EQ(c.staysOpen, m_workspace->IsModified());
        EXPECT_EQ(!c.isWritten, original == FileBytes(path));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // Without changes nothing is asked.
    m_workspace->CloseFile();
    m_boxes.Clear();
    OpenImage(MakeImage("unchanged.bmp", 10, 10));
    m_frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    EXPECT_TRUE(m_boxes.Boxes().empty());
    EXPECT_FALSE(m_workspace->IsOpen());
}

const QuestionCase kWindowCloseCases[] = {
    {"Cancel keeps the program running", {IDCANCEL}, false, true, false},
    {"Yes with a save that fails keeps it running", {IDYES, IDOK}, true, true, false},
    {"Yes saves, then the window closes", {IDYES}, false, false, true},
};

TEST_F(OpenCloseSave, ClosingTheWindowAsksThroughTheDocument)
{
    for (const QuestionCase& c : kWindowCloseCases) {
        SCOPED_TRACE(c.why);
        ASSERT_NE(nullptr, m_frame->m_hWnd);
        m_workspace->CloseFile();
        m_boxes.Clear();
        const std::string path = OpenModified();
        const std::vector<char> original = FileBytes(path);
        if (c.isReadOnly)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        m_boxes.Queue(c.answers);
        const HWND frame = m_frame->m_hWnd;
        m_frame->SendMessage(WM_CLOSE);
        ASSERT_FALSE(m_boxes.Boxes().empty());
        EXPECT_EQ("Changes have been made.\nSave the changes?", m_boxes.Boxes()[0].text);
        EXPECT_EQ(c.staysOpen, IsWindow(frame) != FALSE);
        EXPECT_EQ(!c.isWritten, original == FileBytes(path));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // The frame deleted itself with the last row.
    m_frame = nullptr;
}

TEST_F(OpenCloseSave, NoAtTheWindowsCloseEndsWithoutSaving)
{
    const std::string path = OpenModified();
    const std::vector<char> original = FileBytes(path);
    m_boxes.Queue({IDNO});
    const HWND frame = m_frame->m_hWnd;
    m_frame->SendMessage(WM_CLOSE);
    m_frame = nullptr;
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(original, FileBytes(path));
}

// The Save As dialog's types and the file each choice writes.
TEST_F(OpenCloseSave, SaveAsOffersTheFiveTypesWithTheOpenedFilesTypeFirstChosen)
{
    OpenModified("photo.gif", imaging::kFormatGif);
    ExpectSaveDialog(m_folder.Path("copy"), -1, false);
    EXPECT_FALSE(m_workspace->SaveFileAs());
    ASSERT_TRUE(g_saveDialog.sawDialog);
    EXPECT_EQ((std::vector<std::string>{"JPEG", "Tag Image File Format", "CompuServe GIF", "Windows Bitmap",
                                        "PaintBrush"}),
              g_saveDialog.types);
    EXPECT_EQ("CompuServe GIF", g_saveDialog.selectedType);
    EXPECT_TRUE(m_workspace->IsModified());
}

TEST_F(OpenCloseSave, SaveAsOfATypeNoRowWritesPreselectsTheFirst)
{
    const std::vector<char> png = {
        '\x89', 'P',    'N',    'G',    '\x0D', '\x0A', '\x1A', '\x0A', '\x00', '\x00', '\x00', '\x0D', 'I',
        'H',    'D',    'R',    '\x00', '\x00', '\x00', '\x02', '\x00', '\x00', '\x00', '\x02', '\x08', '\x02',
        '\x00', '\x00', '\x00', '\xFD', '\xD4', '\x9A', '\x73', '\x00', '\x00', '\x00', '\x11', 'I',    'D',
        'A',    'T',    '\x78', '\x9C', '\x63', '\xF8', '\xCF', '\xC0', '\xC0', '\xF0', '\x1F', '\x8C', '\x80',
        '\x18', '\x00', '\x1D', '\xF0', '\x03', '\xFD', '\xD3', '\xD0', '\x7D', '\x26', '\x00', '\x00', '\x00',
        '\x00', 'I',    'E',    'N',    'D',    '\xAE', '\x42', '\x60', '\x82'};
    const std::string path = m_folder.Path("two.png");
    WriteFileBytes(path, png);
    OpenImage(path);
    ExpectSaveDialog("", -1, false);
    EXPECT_FALSE(m_workspace->SaveFileAs());
    ASSERT_TRUE(g_saveDialog.sawDialog);
    EXPECT_EQ("JPEG", g_saveDialog.selectedType);
}

TEST_F(OpenCloseSave, DisplayGraphicsOnlyOffersTheChosenTypesAlone)
{
    g_pOption->m_common.m_displayGraphicsOnly.Value() = 1;
    iType::BitSet& types = g_pOption->m_fileType.m_fileType;
    types.ClearAll();
    types.SetBit(41);
    types.SetBit(31);
    OpenModified();
    ExpectSaveDialog("", -1, false);
    m_workspace->SaveFileAs();
    EXPECT_EQ((std::vector<std::string>{"Windows Bitmap", "PaintBrush"}), g_saveDialog.types);
    EXPECT_EQ("Windows Bitmap", g_saveDialog.selectedType);

    // None chosen at all: every type, as the Files list then shows every file.
    types.ClearAll();
    ExpectSaveDialog("", -1, false);
    m_workspace->SaveFileAs();
    EXPECT_EQ(5u, g_saveDialog.types.size());
}

struct SaveAsCase {
    const char* why;
    int typeIndex;
    const char* name;      // in the scratch folder
    const char* written;   // the file that must exist afterwards
    int format;
};

const SaveAsCase kSaveAsCases[] = {
    {"JPEG: a name without extension gets .jpg", 0, "as_jpeg", "as_jpeg.jpg", imaging::kFormatJpeg},
    {"TIFF", 1, "as_tiff.tif", "as_tiff.tif", imaging::kFormatTif},
    {"GIF", 2, "as_gif.gif", "as_gif.gif", imaging::kFormatGif},
    {"BMP", 3, "as_bmp", "as_bmp.bmp", imaging::kFormatBmp},
    {"PCX", 4, "as_pcx.pcx", "as_pcx.pcx", imaging::kFormatPcx},
};

TEST_F(OpenCloseSave, SaveAsWritesEachTypeWithTheSizeAndResolutionAndKeepsTheOpenedFile)
{
    const std::string path = MakeImage("photo.bmp", 40, 30, imaging::kFormatBmp, 72);
    OpenImage(path);
    Type(m_workspace->GetWidthEdit(), "200");
    Type(m_workspace->GetResolutionEdit(), "150");
    Click(m_workspace->GetResizeButton());
    for (const SaveAsCase& c : kSaveAsCases) {
        SCOPED_TRACE(c.why);
        ExpectSaveDialog(m_folder.Path(c.name), c.typeIndex, true);
        EXPECT_TRUE(m_workspace->SaveFileAs()) << m_boxes.Describe();
        EXPECT_TRUE(g_saveDialog.sawDialog);
        EXPECT_FALSE(m_workspace->IsModified());
        const imaging::FileInfo info = InfoOf(m_folder.Path(c.written));
        EXPECT_EQ(c.format, info.format);
        EXPECT_EQ(80, info.width);
        EXPECT_EQ(60, info.height);
        if (c.format != imaging::kFormatGif) {
            EXPECT_NEAR(150, info.xResolution, 1);
        }
    }
    // The open image still belongs to the opened file: Save writes over it, as a BMP.
    EXPECT_EQ(m_workspace->GetFileInfo().GetPath(), path.c_str());
    // 50 % of the original's 40 pixels.
    Type(m_workspace->GetWidthEdit(), "50");
    Click(m_workspace->GetResizeButton());
    ASSERT_TRUE(m_workspace->SaveFile());
    EXPECT_EQ(imaging::kFormatBmp, InfoOf(path).format);
    EXPECT_EQ(20, InfoOf(path).width);
}

TEST_F(OpenCloseSave, SaveAsRefusesANameWithNoRoomForItsExtension)
{
    OpenModified();
    // The dialog's buffer holds 259 characters: the name fills it but for three.
    std::string name = m_folder.Path("");
    name += std::string(256 - name.size(), 'n');
    ExpectSaveDialog(name, 0, true);
    EXPECT_FALSE(m_workspace->SaveFileAs());
    if (!g_saveDialog.sawDialog || FolderFiles(m_folder.Path()).size() != 1)
        GTEST_SKIP() << "the save dialog did not take the long name";
    ASSERT_EQ(1u, m_boxes.Boxes().size()) << m_boxes.Describe();
    EXPECT_NE(std::string::npos, m_boxes.Boxes()[0].text.find("no room for the extension"));
    EXPECT_TRUE(m_workspace->IsModified());
    EXPECT_FALSE(Exists(name));
}

} // namespace
} // namespace open_close_save_test
