// The program's one view, where the user does all the work: the "New Dimensions" panel,
// the "Preview" picture, the "Original Image" details and the "Result" picture, with the
// banner strip below. It keeps the selected file's information and the state of the
// opened image, converts the new size between units, resizes by the five methods, and
// opens, closes and saves. It owns the database engine of the banner's cache.
#pragma once

#include "BitmapCtrl.h"

#include "lib/src/Win2/Wnd/iLFileInfo.h"
#include "lib/src/Win2/Wnd/iView.h"

#include <vector>

class AffiliateLink;
class Document;
class iCheckBox;
class iDBEngine;
class iComboBox;
class iEdit;
class iFont;
class iGroupBox;
class iPushButton;
class iShellListCtrl;
class iShellTreeCtrl;
class iStatic;

// What the workspace's frame offers a resize: the main frame's status bar runs one
// progress bar over all the library operations a method chains.
class PassCountTarget {
public:
    virtual ~PassCountTarget();
    // count library operations follow; 0: single operations again.
    virtual void SetPassCount(int count) = 0;
};

class Workspace : public iView {
    DECLARE_DYNCREATE(Workspace)
public:
    // Item data of the width-unit and height-unit combo boxes.
    enum SizeUnit { kPixels = 0, kInch = 1, kCentimetre = 2, kPercent = 3, kPicas = 4, kPoints = 5 };
    // Item data of the resolution-unit combo box.
    enum ResolutionUnit { kPixelsPerInch = 0, kPixelsPerCentimetre = 1 };
    // Item data of the method combo box.
    enum Method { kNormal = 0, kBilinear = 2, kBicubic = 4, kTamrow = 8, kTamrowProgressive = 16 };
    // The new resolution in pixels per inch while no readable file is shown.
    static constexpr int kFallbackResolution = 72;
    static constexpr const char* kCaption = "Tamrow Sorvanta [Standard]";

    // The banner strip: 468 x 62 pixels, 5 pixels above the bottom of the view.
    static constexpr RECT kBannerRect = {5, 365, 473, 427};
    static constexpr int kBannerBottomMargin = 5;

    // Makes the engine of the banner's cache.
    using EngineMaker = iDBEngine* (*)();
    // Replaces the maker for views made from now on (a test's engine that watches when it
    // goes); answers the one it replaces.
    static EngineMaker SetEngineMaker(EngineMaker maker);

    Workspace();
    // The banner strip first, waiting for its worker, and only then the engine it used.
    ~Workspace() override;

    Document* GetDocument() const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Tab and Shift+Tab move through the controls as in a dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnInitialUpdate() override;
    // Remembers the control that had the focus when the frame goes inactive.
    void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) override;
    // The controls paint themselves.
    void OnDraw(CDC* pDC) override;

    // The Files list's selection: after the question about unsaved changes of the open
    // image, the newly selected file is shown. A save that fails (or is declined) keeps
    // the open image, and the list's selection goes back to it.
    void OnFileItemChanged(CWnd* sender, NMHDR* header, LRESULT* result);
    // Double click and Return in the Files list open the selected file.
    void OnFileDoubleClick(CWnd* sender, NMHDR* header, LRESULT* result);
    void OnFileReturn(CWnd* sender, NMHDR* header, LRESULT* result);
    // The selected file: the result picture is emptied, the file's information read,
    // its details shown and the inputs reset, and the preview loaded. A file whose
    // information cannot be read empties the preview too, and the user is told why.
    void ShowSelectedFile(const char* path);
    void ShowFileInfo();
    void LoadPreview();
    // The preview's frame follows the result's view; repainted at once.
    void RefreshPreview();
    void OnResultViewChanged(CWnd* sender);
    void UpdateTitle();
    // The Files list shows every file, or with "Display Graphics Only" the chosen types.
    void ApplyFileTypeFilter(bool refresh);
    void ApplyOptions(bool refresh);

    // The "New Dimensions" inputs.
    void OnDimensionChanged(CWnd* sender);
    void OnDimensionUnitChanged(CWnd* sender);
    void OnResolutionChanged(CWnd* sender);
    void OnResolutionUnitChanged(CWnd* sender);
    // A size edit the user typed into shows its value in its unit's format once left.
    void OnSizeEditLeft(CWnd* sender);
    // A value in the unit to pixels and back, with the new resolution.
    double ToPixels(double value, int unit, int originalPixels) const;
    double FromPixels(double pixels, int unit, int originalPixels) const;

    // "Resize" and "Reset".
    void OnResize(CWnd* sender);
    void OnReset(CWnd* sender);
    // Tells the frame, when it runs the progress bar, how many operations follow.
    void SetProgress(int passCount);
    // The bytes the library holds for an image of that size and depth, and whether they
    // and its sides stay within the library's limits.
    static long long NewImageBytes(int width, int height, int bitsPerPixel);
    static bool IsSizeWithinLimits(double width, double height, int bitsPerPixel);
    // The number of sharpen passes "Tamrow Progressive" makes from a w x h image at
    // resolution r to the new size at the new resolution.
    static int ProgressivePasses(double newWidth, double newHeight, double newResolution, double width,
                                 double height, double resolution);

    // The file commands; each answers true when it acted.
    bool OpenSelectedFile();
    bool CloseFile();
    bool SaveFile();
    bool SaveFileAs();
    void EnableInputs(bool enable);
    // Asks about unsaved changes before the image or the program is closed: Yes saves,
    // No drops them, Cancel keeps everything. True when closing may go on.
    bool AskToSaveChanges();

    bool IsOpen() const { return m_isOpen; }
    bool IsModified() const { return m_isModified; }
    double GetNewWidth() const { return m_newWidth; }
    double GetNewHeight() const { return m_newHeight; }
    double GetNewResolution() const { return m_newResolution; }
    const iLFileInfo& GetFileInfo() const { return m_fileInfo; }
    BitmapCtrl* GetPreview() const { return m_preview; }
    BitmapCtrl* GetResultPicture() const { return m_result; }
    iEdit* GetWidthEdit() const { return m_widthEdit; }
    iEdit* GetHeightEdit() const { return m_heightEdit; }
    iEdit* GetResolutionEdit() const { return m_resolutionEdit; }
    iComboBox* GetWidthUnit() const { return m_widthUnit; }
    iComboBox* GetHeightUnit() const { return m_heightUnit; }
    iComboBox* GetResolutionUnit() const { return m_resolutionUnit; }
    iComboBox* GetMethodCombo() const { return m_method; }
    iCheckBox* GetProportions() const { return m_proportions; }
    iPushButton* GetResizeButton() const { return m_resizeButton; }
    iPushButton* GetResetButton() const { return m_resetButton; }
    iStatic* GetNameValue() const { return m_nameValue; }
    iStatic* GetFormatValue() const { return m_formatValue; }
    iStatic* GetSizeValue() const { return m_sizeValue; }
    iStatic* GetDimensionsValue() const { return m_dimensionsValue; }
    iShellTreeCtrl* GetFolderTree() const { return m_folderTree; }
    iShellListCtrl* GetFileList() const { return m_fileList; }
    AffiliateLink* GetBanner() const { return m_banner; }
    iDBEngine* GetEngine() const { return m_engine; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // The focus goes on to the control that had it last, or to the first one.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    afx_msg void OnFileCommand(UINT id);
    afx_msg void OnUpdateFileCommand(CCmdUI* pCmdUI);
    afx_msg void OnExtraCommand(UINT id);
    afx_msg void OnBannerHistory();
    afx_msg void OnUpdateBannerHistory(CCmdUI* pCmdUI);
    // A command from the folder tree's shell menu may have changed the folder's files.
    afx_msg LRESULT OnShellRefresh(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void CreateControls();
    // The Options command: the sheet, then the store saved and applied, or reloaded.
    void RunOptions();
    // Reads a size edit in its unit; an empty edit is the original size of its side.
    double ReadSize(iEdit* edit, iComboBox* unit, int originalPixels) const;
    void ShowSize(iEdit* edit, iComboBox* unit, double pixels, int originalPixels);
    // The file's resolution in pixels per inch (the library answers its default for a file
    // without one, never 0); kFallbackResolution while no readable file is shown.
    int GetFileResolution() const;
    // False, after telling the user, when the library cannot make an image of the new size.
    bool IsNewSizePossible() const;
    // The method's steps on the result picture; true when the bitmap changed.
    bool RunMethod(int method, int width, int height, int passes);
    // The folder tree selects "Default Open In" and the Files list shows it. A folder that
    // is gone is said so, and the nearest folder that exists is shown instead; a text too
    // short to be a folder leaves the tree where it is, with the list following it.
    void ShowStartFolder();
    // The controls Tab goes through, in the order they stand on screen.
    std::vector<CWnd*> TabOrder() const;
    // Reads the opened file's information again; on failure the record is kept and the
    // library's result is answered.
    int RereadFileInfo();
    // The "Error loading file" box for the path, with the library's reason in words.
    void ShowLoadError(const char* path, int result);
    // The file-system path of the Files list's item; empty when it has none.
    iString GetItemPath(int item) const;
    // Selects the Files list's item of the path; when the folder shown has none, takes
    // the selection off itemToClear (-1: none). The selection handler stays out of it.
    void SelectListItem(const iString& path, int itemToClear);
    void RefreshFileList();

    iFont* m_font = nullptr;
    iGroupBox* m_dimensionsGroup = nullptr;
    iStatic* m_widthLabel = nullptr;
    iEdit* m_widthEdit = nullptr;
    iComboBox* m_widthUnit = nullptr;
    iStatic* m_heightLabel = nullptr;
    iEdit* m_heightEdit = nullptr;
    iComboBox* m_heightUnit = nullptr;
    iStatic* m_resolutionLabel = nullptr;
    iEdit* m_resolutionEdit = nullptr;
    iComboBox* m_resolutionUnit = nullptr;
    iPushButton* m_resizeButton = nullptr;
    iPushButton* m_resetButton = nullptr;
    iCheckBox* m_proportions = nullptr;
    iStatic* m_methodLabel = nullptr;
    iComboBox* m_method = nullptr;
    iGroupBox* m_explorerGroup = nullptr;
    iShellTreeCtrl* m_folderTree = nullptr;
    iGroupBox* m_previewGroup = nullptr;
    BitmapCtrl* m_preview = nullptr;
    iGroupBox* m_originalGroup = nullptr;
    iStatic* m_nameValue = nullptr;
    iStatic* m_formatValue = nullptr;
    iStatic* m_sizeValue = nullptr;
    iStatic* m_dimensionsValue = nullptr;
    iGroupBox* m_filesGroup = nullptr;
    iShellListCtrl* m_fileList = nullptr;
    iGroupBox* m_resultGroup = nullptr;
    BitmapCtrl* m_result = nullptr;
    // Owned: deleted only once the banner's worker, which uses it, has ended.
    iDBEngine* m_engine = nullptr;
    // Deleted by the view before the engine (see the destructor).
    AffiliateLink* m_banner = nullptr;

    iLFileInfo m_fileInfo;
    double m_newResolution = kFallbackResolution;
    bool m_isResolutionGuarded = false;
    double m_newWidth = 0;
    double m_newHeight = 0;
    bool m_isDimensionGuarded = false;
    // The size edit the user typed into since the sizes were last shown; null when none.
    iEdit* m_typedSizeEdit = nullptr;
    bool m_isOpen = false;
    bool m_isModified = false;
    // Set while the view itself moves the Files list's selection.
    bool m_isReselecting = false;
    // The control that had the focus when the frame last went inactive.
    HWND m_lastFocus = nullptr;
};
