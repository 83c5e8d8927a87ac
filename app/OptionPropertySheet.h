// The "Options" sheet of the Extra menu: two pages built in code, "Common" and "File
// Types", that exchange the fields of the options store in place. The caller runs it
// modally and then saves the store (OK) or loads it back from the registry.
#pragma once

#include "Option.h"

#include "lib/src/Win2/Wnd/iPropertyPage.h"
#include "lib/src/Win2/Wnd/iPropertySheet.h"

class iCheckBox;
class iComboBox;
class iFolderEdit;
class iListCtrl;

class OptionPropertySheet : public iPropertySheet {
public:
    // Both pages: 540 x 390 pixels, converted once to dialog units by the sheet.
    class Page : public iPropertyPage {
    public:
        Page(OptionPropertySheet* sheet, LPCSTR caption, Option* store);
        ~Page() override;

    protected:
        Option* m_store;
    };

    // Folders, file display, preview display and saving. The controls live while the
    // page's window does; the page's window set deletes them with it.
    class Common : public Page {
    public:
        Common(OptionPropertySheet* sheet, Option* store);
        ~Common() override;

        void CreateControls() override;
        void DoDataExchange(CDataExchange* pDX) override;

        iFolderEdit* m_openIn = nullptr;
        iFolderEdit* m_saveIn = nullptr;
        iCheckBox* m_graphicsOnly = nullptr;
        iCheckBox* m_fullPathInTitle = nullptr;
        iComboBox* m_displaySize = nullptr;
        iCheckBox* m_automaticPreview = nullptr;
        iCheckBox* m_backupCopy = nullptr;
        iCheckBox* m_confirmOverwrite = nullptr;
    };

    // The file types the list and Save As offer when "Display Graphics Only" is set.
    class FileType : public Page {
    public:
        FileType(OptionPropertySheet* sheet, Option* store);
        ~FileType() override;

        void CreateControls() override;
        // Saving clears every bit of the set first, also bits of no listed type.
        void DoDataExchange(CDataExchange* pDX) override;
        // Check or uncheck every row; the store changes when the page saves.
        void OnSelectAll(CWnd* sender);
        void OnDeselectAll(CWnd* sender);

        iListCtrl* m_list = nullptr;
    };

    OptionPropertySheet(CWnd* parent, Option* store);
    // Deletes the "File Types" page, then the "Common" page.
    ~OptionPropertySheet() override;

    // Opens centred on the main window, kept on its screen.
    BOOL OnInitDialog() override;

    Common* GetCommonPage() const { return m_common; }
    FileType* GetFileTypePage() const { return m_fileType; }

private:
    Option* m_store;
    Common* m_common;
    FileType* m_fileType;
};
