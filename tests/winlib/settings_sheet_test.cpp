// A settings dialog and a two-page settings sheet built in memory from the library's
// controls, run modally and driven from a timer the way a person would use them: typed
// fields of the settings stores' kinds (flag, number, combo code, text, radio, colour)
// are loaded into the controls, changed, refused when invalid (the dialog stays open, the
// page stays showing), and saved back on OK; Cancel leaves them as they were.
#include "lib/src/Win2/Wnd/TypedFieldExchange.h"
#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iCheckBox.h"
#include "lib/src/Win2/Wnd/iColorButton.h"
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iDialog.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iFileNamePickers.h"
#include "lib/src/Win2/Wnd/iPropertyPage.h"
#include "lib/src/Win2/Wnd/iPropertySheet.h"
#include "lib/src/Win2/Wnd/iRadioButton.h"
#include "lib/src/Win2/Wnd/iSpinProgressCtrl.h"
#include "lib/src/Win2/Wnd/iStatic.h"
#include "lib/src/Win2/Wnd/iTreeCtrl.h"

#include "framework/window_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using winlib_test::kApplyNowButtonId;

// Control ids.
enum : UINT {
    kPreviewId = 1001,
    kAuthorId,
    kQualityId,
    kQualitySpinId,
    kUnitsId,
    kPlaceLeftId,
    kPlaceCentreId,
    kPlaceRightId,
    kBackgroundId,
    kFolderId,
    kFolderButtonId,
    kFormatsId,
};

constexpr UINT kScriptTimer = 7;
// Pages in the templates' own "MS Sans Serif" 8, as the dialog.
constexpr DWORD kSettingsPageStyle = WS_CHILD | WS_CAPTION | DS_3DLOOK | DS_SETFONT;

// One field of each kind a settings store keeps.
struct Settings {
    iType::Collection store{"Display", ""};
    iType::Bool autoPreview{&store, "AutoPreview", ""};
    iType::String author{&store, "Author", "", 16};
    iType::TType<long> quality{&store, "JpegQuality", ""};
    iType::TCombo<long> units{&store, "Units", ""};
    iType::Radio placeLeft{&store, "PlaceLeft", ""};
    iType::Radio placeCentre{&store, "PlaceCentre", ""};
    iType::Radio placeRight{&store, "PlaceRight", ""};
    iType::ColorRef background{&store, "Background", ""};
    iType::String folder{&store, "Folder", "", 64};

    Settings()
    {
        autoPreview.SetDefaultValue(1);
        autoPreview.Value() = 1;
        author.SetInputRule(iType::Base::kInputNotEmpty);
        author.SetString("Sorvanta");
        quality.Value() = 85;
        units.Value() = 2;  // "Inch"
        placeCentre.Value() = 1;
        background.Value() = RGB(30, 60, 200);
        folder.SetString("C:\\Pictures");
    }
};

const char* const kUnitNames[] = {"Pixels", "cm", "Inch", "Percent"};

// The controls of the display settings and how they exchange with the fields; the
// dialog and the first page share them.
struct DisplayControls {
    void Create(CWnd* parent)
    {
        preview = new iCheckBox(parent, CRect(16, 16, 260, 36), WS_VISIBLE | WS_TABSTOP, "Automatic Preview Display",
                                kPreviewId);
        new iStatic(parent, CRect(16, 50, 110, 70), WS_VISIBLE, "Units:", 0);
        units = new iComboBox(parent, CRect(120, 46, 260, 200), WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, nullptr,
                              kUnitsId);
        for (DWORD code = 0; code < 4; ++code)
            units->AddItem(code, kUnitNames[code]);
        new iGroupBox(parent, CRect(16, 84, 260, 150), WS_VISIBLE, "Placement", 0);
        const DWORD kPositions[] = {0, iPositionRadioButton::kCentre | iPositionRadioButton::kMiddle,
                                    iPositionRadioButton::kRight | iPositionRadioButton::kBottom};
        for (int i = 0; i < 3; ++i) {
            DWORD style = WS_VISIBLE | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
            place[i] = new iPositionRadioButton(parent, CRect(30 + i * 48, 104, 66 + i * 48, 140), style, nullptr,
                                                kPlaceLeftId + static_cast<UINT>(i));
            place[i]->m_position = kPositions[i];
        }
        // The next control starts a group of its own, so the placement group ends here.
        background = new iColorButton(parent, CRect(16, 164, 260, 194), WS_VISIBLE | WS_TABSTOP | WS_GROUP,
                                      "Background", kBackgroundId);
    }

    void Exchange(CDataExchange* pDX, Settings& settings)
    {
        ExchangeCheckBox(pDX, preview, &settings.autoPreview);
        ExchangeComboData(pDX, units, &settings.units);
        iType::Radio* fields[] = {&settings.placeLeft, &settings.placeCentre, &settings.placeRight};
        for (int i = 0; i < 3; ++i)
            ExchangeRadioGroup(pDX, place[i], fields[i]);
        // The colour button has no exchange routine of its own: its colour is the value.
        if (pDX->m_bSaveAndValidate)
            settings.background.Value() = background->m_color;
        else
            background->m_color = settings.background.Value();
    }

    iCheckBox* preview = nullptr;
    iComboBox* units = nullptr;
    iPositionRadioButton* place[3] = {};
    iColorButton* background = nullptr;
};

// The controls of the file settings: a text that must not be empty, a number in a range
// with its spin control, and a folder with a file-name picker.
struct FileControls {
    // left moves every control right by that many pixels.
    void Create(CWnd* parent, int left)
    {
        auto at = [left](int l, int t, int r, int b) { return CRect(l + left, t, r + left, b); };
        new iStatic(parent, at(16, 20, 110, 40), WS_VISIBLE, "Author:", 0);
        author = new iEdit(parent, at(120, 16, 300, 40), WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, nullptr,
                           kAuthorId);
        new iStatic(parent, at(16, 56, 110, 76), WS_VISIBLE, "JPEG quality:", 0);
        quality = new iEdit(parent, at(120, 52, 180, 76), WS_VISIBLE | WS_TABSTOP | ES_NUMBER, nullptr, kQualityId);
        spin = new iSpinButtonCtrl(parent, at(180, 52, 196, 76),
                                   WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, nullptr,
                                   kQualitySpinId);
        spin->SetBuddy(quality);
        new iStatic(parent, at(16, 92, 110, 112), WS_VISIBLE, "Folder:", 0);
        folder = new iFileNameEdit(parent, at(120, 88, 270, 112), WS_VISIBLE | WS_TABSTOP, nullptr, kFolderId);
        new iFileNameButton(parent, at(274, 88, 300, 112), WS_VISIBLE | WS_TABSTOP | IBS_LINKED, "...",
                            kFolderButtonId);
    }

    void Exchange(CDataExchange* pDX, Settings& settings)
    {
        ExchangeStringEdit(pDX, author, &settings.author);
        // A number field goes through the framework's own exchange and range check.
        DDX_Text(pDX, kQualityId, settings.quality.Value());
        DDV_MinMaxInt(pDX, settings.quality.Value(), 0, 100);
        ExchangeStringEdit(pDX, folder, &settings.folder);
    }

    iEdit* author = nullptr;
    iEdit* quality = nullptr;
    iSpinButtonCtrl* spin = nullptr;
    iFileNameEdit* folder = nullptr;
};

std::string WindowText(CWnd* window)
{
    CString text;
    window->GetWindowText(text);
    return static_cast<LPCSTR>(text);
}

// How long each step waits: long enough that a person (or a screenshot) sees the window.
constexpr UINT kStepMs = 150;

// Each timer tick runs the next step of a script; a script that has run out ends the run,
// so no run waits for a person.
class Script {
public:
    using Step = std::function<void()>;
    void Add(Step step) { m_steps.push_back(std::move(step)); }
    // Starts the ticks on the window that runs the script.
    void Start(CWnd& window) { window.SetTimer(kScriptTimer, kStepMs, nullptr); }
    // Runs the next step, or ends the window's run once none is left.
    template <class Window>
    void Tick(Window& window, UINT_PTR id)
    {
        if (m_next < m_steps.size()) {
            m_steps[m_next++]();
            return;
        }
        window.KillTimer(id);
        window.EndDialog(IDABORT);
    }
    size_t Done() const { return m_next; }

private:
    std::vector<Step> m_steps;
    size_t m_next = 0;
};

// A settings dialog as the application builds one: in memory, in pixels, with its
// controls made on the window and the fields loaded by OnInitDialog.
class SettingsDialog : public iDialog {
public:
    explicit SettingsDialog(Settings& settings)
        : iDialog(nullptr, CRect(0, 0, 640, 300), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                  "Settings", -1, FALSE),
          m_settings(settings)
    {
        SetDialogUnits(0);
        m_display.Create(this);
        m_files.Create(this, 300);
        new iPushButton(this, CRect(420, 220, 510, 248), WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, "OK", IDOK);
        new iPushButton(this, CRect(520, 220, 610, 248), WS_VISIBLE | WS_TABSTOP, "Cancel", IDCANCEL);
        OnInitDialog();
        m_script.Start(*this);
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        m_display.Exchange(pDX, m_settings);
        m_files.Exchange(pDX, m_settings);
    }

    Settings& m_settings;
    DisplayControls m_display;
    FileControls m_files;
    Script m_script;

protected:
    void OnTimer(UINT_PTR id) { m_script.Tick(*this, id); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SettingsDialog, iDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(SettingsDialog, LoadsValidatesAndSavesTheFieldsOnOk)
{
    test_support::MessageBoxRecorder boxes;
    Settings settings;
    SettingsDialog dialog(settings);
    DisplayControls& display = dialog.m_display;
    FileControls& files = dialog.m_files;

    dialog.m_script.Add([&] {
        SCOPED_TRACE("loaded");
        EXPECT_TRUE(dialog.IsWindowVisible());
        EXPECT_EQ(BST_CHECKED, display.preview->GetCheck());
        EXPECT_STREQ("Inch", display.units->GetSelectedText());
        EXPECT_EQ((std::vector<LRESULT>{0, 1, 0}),
                  (std::vector<LRESULT>{display.place[0]->SendMessage(BM_GETCHECK),
                                        display.place[1]->SendMessage(BM_GETCHECK),
                                        display.place[2]->SendMessage(BM_GETCHECK)}));
        EXPECT_EQ(RGB(30, 60, 200), display.background->m_color);
        EXPECT_EQ("Sorvanta", WindowText(files.author));
        EXPECT_EQ(16u, files.author->GetLimitText());
        EXPECT_EQ("85", WindowText(files.quality));
        EXPECT_EQ("C:\\Pictures", WindowText(files.folder));

        // What a person does: untick, pick, click, empty a required field, press OK.
        display.preview->SendMessage(BM_CLICK);
        display.units->SetCurSel(3);
        display.place[2]->SendMessage(BM_CLICK);
        display.background->m_color = RGB(250, 240, 10);
        files.author->SetWindowText("");
        files.quality->SetWindowText("150");
        dialog.PostMessage(WM_COMMAND, IDOK);
    });
    dialog.m_script.Add([&] {
        SCOPED_TRACE("an empty author is refused quietly");
        EXPECT_TRUE(dialog.IsWindowVisible());
        EXPECT_EQ(files.author->m_hWnd, ::GetFocus());
        EXPECT_EQ(0, boxes.count());
        files.author->SetWindowText("Tamrow");
        dialog.PostMessage(WM_COMMAND, IDOK);
    });
    dialog.m_script.Add([&] {
        SCOPED_TRACE("a quality past 100 is refused with the framework's message");
        EXPECT_TRUE(dialog.IsWindowVisible());
        EXPECT_EQ(1, boxes.count());
        EXPECT_EQ(files.quality->m_hWnd, ::GetFocus());
        files.spin->SetPos32(90);
        dialog.PostMessage(WM_COMMAND, IDOK);
    });

    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(3u, dialog.m_script.Done());
    EXPECT_EQ(0, settings.autoPreview.Value());
    EXPECT_EQ(1, settings.autoPreview.GetDefaultValue()) << "the flag's default survives the save";
    EXPECT_EQ(3, settings.units.Value());
    EXPECT_EQ((std::vector<unsigned long>{0, 0, 1}),
              (std::vector<unsigned long>{settings.placeLeft.Value(), settings.placeCentre.Value(),
                                          settings.placeRight.Value()}));
    EXPECT_EQ(RGB(250, 240, 10), settings.background.Value());
    EXPECT_STREQ("Tamrow", settings.author.GetText());
    EXPECT_EQ(90, settings.quality.Value());
}

TEST(SettingsDialog, CancelLeavesTheFieldsAsTheyWere)
{
    Settings settings;
    SettingsDialog dialog(settings);
    dialog.m_script.Add([&] {
        dialog.m_display.preview->SendMessage(BM_CLICK);
        dialog.m_display.units->SetCurSel(0);
        dialog.m_files.author->SetWindowText("Someone else");
        dialog.PostMessage(WM_COMMAND, IDCANCEL);
    });
    ASSERT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, settings.autoPreview.Value());
    EXPECT_EQ(2, settings.units.Value());
    EXPECT_STREQ("Sorvanta", settings.author.GetText());
}

// The pages of a settings sheet: each makes its controls each time its window is made
// and exchanges its share of the fields.
class DisplayPage : public iPropertyPage {
public:
    DisplayPage(CWnd* sheet, Settings& settings)
        : iPropertyPage(sheet, CRect(0, 0, 330, 210), kSettingsPageStyle, "Display"),
          m_settings(settings)
    {
    }
    void CreateControls() override { m_controls.Create(this); }
    void DoDataExchange(CDataExchange* pDX) override { m_controls.Exchange(pDX, m_settings); }
    Settings& m_settings;
    DisplayControls m_controls;
};

class FilesPage : public iPropertyPage {
public:
    FilesPage(CWnd* sheet, Settings& settings)
        : iPropertyPage(sheet, CRect(0, 0, 330, 210), kSettingsPageStyle, "Files"),
          m_settings(settings)
    {
    }
    void CreateControls() override
    {
        m_controls.Create(this, 0);
        // A list of formats with check boxes, as the options sheet shows them.
        m_formats = new iTreeCtrl(this, CRect(16, 124, 300, 200), WS_VISIBLE | WS_BORDER | TVS_CHECKBOXES, nullptr,
                                  kFormatsId);
        for (const char* format : {"JPEG", "TIFF", "GIF", "BMP", "PCX"})
            m_formats->SetCheck(m_formats->InsertItem(format), TRUE);
    }
    void DoDataExchange(CDataExchange* pDX) override { m_controls.Exchange(pDX, m_settings); }
    Settings& m_settings;
    FileControls m_controls;
    iTreeCtrl* m_formats = nullptr;
};

class SettingsSheet : public iPropertySheet {
public:
    explicit SettingsSheet(Settings& settings)
        : iPropertySheet(nullptr, CRect(0, 0, 0, 0), 0, "Options", 0)
    {
        SetDialogUnits(0);
        m_display = std::make_unique<DisplayPage>(this, settings);
        m_files = std::make_unique<FilesPage>(this, settings);
    }
    // The pages go before the framework's sheet.
    ~SettingsSheet() override
    {
        m_files.reset();
        m_display.reset();
    }

    BOOL OnInitDialog() override
    {
        const BOOL result = iPropertySheet::OnInitDialog();
        m_script.Start(*this);
        return result;
    }

    std::unique_ptr<DisplayPage> m_display;
    std::unique_ptr<FilesPage> m_files;
    Script m_script;

protected:
    void OnTimer(UINT_PTR id) { m_script.Tick(*this, id); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SettingsSheet, iPropertySheet)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(SettingsSheet, KeepsAPageWhoseValuesAreRefusedAndSavesEveryPageOnOk)
{
    test_support::MessageBoxRecorder boxes;
    Settings settings;
    SettingsSheet sheet(settings);

    sheet.m_script.Add([&] {
        SCOPED_TRACE("first page loaded");
        DisplayControls& display = sheet.m_display->m_controls;
        EXPECT_EQ(0, sheet.GetActiveIndex());
        EXPECT_EQ(BST_CHECKED, display.preview->GetCheck());
        EXPECT_STREQ("Inch", display.units->GetSelectedText());
        EXPECT_EQ(BST_CHECKED, display.place[1]->SendMessage(BM_GETCHECK));
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(sheet.m_hWnd, kApplyNowButtonId)));
    });
    sheet.m_script.Add([&] {
        SCOPED_TRACE("first page changed");
        DisplayControls& display = sheet.m_display->m_controls;
        display.preview->SendMessage(BM_CLICK);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(sheet.m_hWnd, kApplyNowButtonId))) << "a change enables Apply";
        display.units->SetCurSel(1);
        display.place[0]->SendMessage(BM_CLICK);
        display.background->m_color = RGB(0, 128, 0);
    });
    sheet.m_script.Add([&] {
        EXPECT_TRUE(sheet.SetActivePage(1));
        EXPECT_EQ(1, sheet.GetActiveIndex());
    });
    sheet.m_script.Add([&] {
        SCOPED_TRACE("second page loaded, then an empty author");
        FileControls& files = sheet.m_files->m_controls;
        EXPECT_EQ("Sorvanta", WindowText(files.author));
        EXPECT_EQ("85", WindowText(files.quality));
        files.author->SetWindowText("");
        sheet.SetActivePage(0);
        EXPECT_EQ(1, sheet.GetActiveIndex()) << "the page stays while its values are refused";
        EXPECT_EQ(files.author->m_hWnd, ::GetFocus());
    });
    sheet.m_script.Add([&] {
        SCOPED_TRACE("a quality out of range");
        FileControls& files = sheet.m_files->m_controls;
        files.author->SetWindowText("Tamrow");
        files.quality->SetWindowText("101");
        sheet.SetActivePage(0);
        EXPECT_EQ(1, sheet.GetActiveIndex());
        EXPECT_EQ(1, boxes.count());
    });
    sheet.m_script.Add([&] {
        sheet.m_files->m_controls.spin->SetPos32(70);
        ::SendMessageA(::GetDlgItem(sheet.m_hWnd, IDOK), BM_CLICK, 0, 0);
    });

    ASSERT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(6u, sheet.m_script.Done());
    EXPECT_EQ(0, settings.autoPreview.Value());
    EXPECT_EQ(1, settings.units.Value());
    EXPECT_EQ((std::vector<unsigned long>{1, 0, 0}),
              (std::vector<unsigned long>{settings.placeLeft.Value(), settings.placeCentre.Value(),
                                          settings.placeRight.Value()}));
    EXPECT_EQ(RGB(0, 128, 0), settings.background.Value());
    EXPECT_STREQ("Tamrow", settings.author.GetText());
    EXPECT_EQ(70, settings.quality.Value());
    EXPECT_STREQ("C:\\Pictures", settings.folder.GetText());
}

TEST(SettingsSheet, CancelSavesNothingOfThePageShowing)
{
    Settings settings;
    SettingsSheet sheet(settings);
    sheet.m_script.Add([&] {
        sheet.m_display->m_controls.preview->SendMessage(BM_CLICK);
        EXPECT_TRUE(sheet.SetActivePage(1));
    });
    sheet.m_script.Add([&] {
        sheet.m_files->m_controls.author->SetWindowText("Someone else");
        ::SendMessageA(::GetDlgItem(sheet.m_hWnd, IDCANCEL), BM_CLICK, 0, 0);
    });
    ASSERT_EQ(IDCANCEL, sheet.DoModal());
    // Leaving a page saves it, as the framework's pages do; the page showing when Cancel
    // is pressed saves nothing.
    EXPECT_EQ(0, settings.autoPreview.Value());
    EXPECT_STREQ("Sorvanta", settings.author.GetText());
    EXPECT_EQ(85, settings.quality.Value());
}

} // namespace
