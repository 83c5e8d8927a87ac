// The bar layout in the toolkit's settings store: which values a record writes and in what
// order (read back from a profile file, which keeps the order), numbering, scaling to
// a screen of another size, and stored layouts that were edited or damaged.
#include "toolkit/docking/QZDockState.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZRegistryManager.h"
#include "toolkit_test_support.h"

#include <string>
#include <vector>

namespace {

constexpr char kDockCompany[] = "SorvantaQZDockStateTest";
constexpr char kDockProfile[] = "Layout";

// The screen layouts are restored on, while it lives.
class ScreenSizeScope {
public:
    explicit ScreenSizeScope(CSize size)
    {
        s_size = size;
        m_previous = AfxSetScreenSizeReader(&Read);
    }
    ~ScreenSizeScope() { AfxSetScreenSizeReader(m_previous); }
    ScreenSizeScope(const ScreenSizeScope&) = delete;
    ScreenSizeScope& operator=(const ScreenSizeScope&) = delete;

private:
    static CSize Read() { return s_size; }
    AfxScreenSizeReader m_previous;
    static inline CSize s_size;
};

CControlBarInfo* NewRecord(UINT id)
{
    auto* info = new CControlBarInfo;
    info->m_nBarID = id;
    return info;
}

void AddIds(CControlBarInfo* info, std::initializer_list<UINT> ids)
{
    for (UINT id : ids)
        info->m_arrBarID.Add(reinterpret_cast<void*>(static_cast<uintptr_t>(id)));
}

// An application under a key of its own, removed whole afterwards.
class QZDockStateTest : public ::testing::Test {
protected:
    void SetUp() override { app.SetRegistryKey(kDockCompany); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaQZDockStateTest"); }

    int Read(LPCSTR section, LPCSTR entry, int fallback = -777)
    {
        return CQZRegistryManager(HKEY_CURRENT_USER).GetProfileInt(section, entry, fallback);
    }
    void Write(LPCSTR section, LPCSTR entry, int value)
    {
        ASSERT_TRUE(CQZRegistryManager(HKEY_CURRENT_USER).WriteProfileInt(section, entry, value));
    }

    CWinApp app{"DockLayout"};
};

// The same, with the store in a profile file: its sections keep the order of the writes.
class QZDockStateFileTest : public QZDockStateTest {
protected:
    void SetUp() override
    {
        QZDockStateTest::SetUp();
        char temp[MAX_PATH] = {};
        ::GetTempPathA(sizeof temp, temp);
        file = std::string(temp) + "qz_dock_state_" + std::to_string(::GetCurrentProcessId()) + ".ini";
        saved = qzAfxData.iniFileName;
        qzAfxData.iniFileName = file.c_str();
    }
    void TearDown() override
    {
        qzAfxData.iniFileName = saved;
        ::DeleteFileA(file.c_str());
        QZDockStateTest::TearDown();
    }
    // "name=value" lines of a section, in file order.
    std::vector<std::string> Lines(const std::string& section)
    {
        std::vector<char> text(32768);
        const DWORD length = ::GetPrivateProfileSectionA(section.c_str(), text.data(), static_cast<DWORD>(text.size()),
                                                         file.c_str());
        std::vector<std::string> lines;
        for (DWORD at = 0; at < length && text[at];) {
            lines.emplace_back(&text[at]);
            at += static_cast<DWORD>(lines.back().size()) + 1;
        }
        return lines;
    }

    std::string file;
    CString saved;
};

} // namespace

TEST_F(QZDockStateFileTest, RecordsWriteOnlyWhatDiffersFromTheDefaultsInTheStoredOrder)
{
    CQZDockState state;
    // A visible bar docked at (10, 0) with a drag context and no MRU width.
    CControlBarInfo* docked = NewRecord(0xE800);
    docked->m_pointPos = CPoint(10, 0);
    docked->m_bDocking = TRUE;
    docked->m_uMRUDockID = AFX_IDW_DOCKBAR_TOP;
    docked->m_rectMRUDockPos = CRect(1, 2, 3, 4);
    docked->m_dwMRUFloatStyle = CBRS_ALIGN_TOP;
    docked->m_ptMRUFloatPos = CPoint(5, 6);
    // An empty top dock bar: visible, docked, no place, only its leading row break.
    CControlBarInfo* emptySide = NewRecord(AFX_IDW_DOCKBAR_TOP);
    emptySide->m_bDockBar = TRUE;
    AddIds(emptySide, {0});
    // A hidden floating bar laid out vertically.
    CControlBarInfo* hiddenFloating = NewRecord(0xE801);
    hiddenFloating->m_bVisible = FALSE;
    hiddenFloating->m_bFloating = TRUE;
    hiddenFloating->m_bHorz = FALSE;
    hiddenFloating->m_nMRUWidth = 120;
    // A dock bar holding two bars in two rows.
    CControlBarInfo* side = NewRecord(AFX_IDW_DOCKBAR_LEFT);
    side->m_bDockBar = TRUE;
    AddIds(side, {0, 0xE800, 0, 0x1E801, 0});
    for (CControlBarInfo* info : {docked, emptySide, hiddenFloating, side})
        state.m_arrBarInfo.Add(info);

    state.SaveState(kDockProfile);

    const std::vector<std::string> expected[] = {
        {"BarID=59392", "XPos=10", "YPos=0", "Docking=1", "MRUDockID=59419", "MRUDockLeftPos=1", "MRUDockTopPos=2",
         "MRUDockRightPos=3", "MRUDockBottomPos=4", "MRUFloatStyle=8192", "MRUFloatXPos=5", "MRUFloatYPos=6"},
        {"BarID=59393", "Visible=0", "Horz=0", "Floating=1", "MRUWidth=120"},
        {"BarID=59420", "Bars=5", "Bar#0=0", "Bar#1=59392", "Bar#2=0", "Bar#3=124929", "Bar#4=0"},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i], Lines("Layout-Bar" + std::to_string(i)));
    }
    EXPECT_TRUE(Lines("Layout-Bar3").empty()) << "the empty dock bar takes no number";
    EXPECT_EQ(3, Read("Layout-Summary", "Bars"));
}

TEST_F(QZDockStateFileTest, LongProfileNamesMakeWholeSectionNames)
{
    // Far past the 256 characters a fixed buffer would hold.
    const std::string profile(300, 'p');
    CQZDockState state;
    CControlBarInfo* bar = NewRecord(0xE800);
    bar->m_pointPos = CPoint(30, 0);
    state.m_arrBarInfo.Add(bar);
    state.SaveState(profile.c_str());
    EXPECT_EQ(std::vector<std::string>({"BarID=59392", "XPos=30", "YPos=0"}), Lines(profile + "-Bar0"));

    CQZDockState loaded;
    loaded.LoadState(profile.c_str());
    ASSERT_EQ(1, loaded.m_arrBarInfo.GetSize());
    EXPECT_EQ(0xE800u, loaded.m_arrBarInfo[0]->m_nBarID);
    EXPECT_EQ(CPoint(30, 0), loaded.m_arrBarInfo[0]->m_pointPos);
}

TEST_F(QZDockStateTest, SavingRemovesTheSectionFirstAndStaleHigherSectionsAreNeverRead)
{
    Write("Layout-Bar0", "Foreign", 5);
    Write("Layout-Bar1", "BarID", 0xE805);
    Write("Layout-Bar1", "Foreign", 6);
    Write("Layout-Bar2", "BarID", 0xE806);
    CQZDockState state;
    CControlBarInfo* bar = NewRecord(0xE800);
    state.m_arrBarInfo.Add(bar);
    // Skipped: its section is removed all the same.
    CControlBarInfo* emptySide = NewRecord(AFX_IDW_DOCKBAR_BOTTOM);
    emptySide->m_bDockBar = TRUE;
    AddIds(emptySide, {0});
    state.m_arrBarInfo.Add(emptySide);
    state.SaveState(kDockProfile);

    EXPECT_EQ(-777, Read("Layout-Bar0", "Foreign"));
    EXPECT_EQ(0xE800, Read("Layout-Bar0", "BarID"));
    EXPECT_EQ(-777, Read("Layout-Bar1", "BarID"));
    EXPECT_EQ(-777, Read("Layout-Bar1", "Foreign"));
    EXPECT_EQ(0xE806, Read("Layout-Bar2", "BarID")) << "sections past the new count stay";

    CQZDockState loaded;
    loaded.LoadState(kDockProfile);
    ASSERT_EQ(1, loaded.m_arrBarInfo.GetSize());
    EXPECT_EQ(0xE800u, loaded.m_arrBarInfo[0]->m_nBarID);
}

TEST_F(QZDockStateTest, PlacesAreScaledToTheScreenOfTheLoadAndKeptOnIt)
{
    {
        ScreenSizeScope saveScreen(CSize(1024, 768));
        CQZDockState state;
        CControlBarInfo* floating = NewRecord(AFX_IDW_DOCKBAR_FLOAT);
        floating->m_bFloating = TRUE;
        floating->m_pointPos = CPoint(512, 384);
        floating->m_bDocking = TRUE;
        floating->m_rectMRUDockPos = CRect(256, 192, 356, 222);
        floating->m_ptMRUFloatPos = CPoint(100, 600);
        CControlBarInfo* farRight = NewRecord(0xE800);
        farRight->m_pointPos = CPoint(1000, 760);
        CControlBarInfo* nowhere = NewRecord(0xE801);
        for (CControlBarInfo* info : {floating, farRight, nowhere})
            state.m_arrBarInfo.Add(info);
        state.SaveState(kDockProfile);
    }
    EXPECT_EQ(1024, Read("Layout-Summary", "ScreenCX"));
    EXPECT_EQ(768, Read("Layout-Summary", "ScreenCY"));

    ScreenSizeScope loadScreen(CSize(1280, 1024));
    CQZDockState loaded;
    loaded.LoadState(kDockProfile);
    ASSERT_EQ(3, loaded.m_arrBarInfo.GetSize());
    const CControlBarInfo* floating = loaded.m_arrBarInfo[0];
    EXPECT_EQ(CPoint(640, 512), floating->m_pointPos);
    EXPECT_EQ(CRect(320, 256, 420, 286), floating->m_rectMRUDockPos) << "moved, its size kept";
    EXPECT_EQ(CPoint(125, 800), floating->m_ptMRUFloatPos);
    // 1000 x 760 scales to 1250 x 1013, past the screen less an icon.
    const CPoint clip(1280 - ::GetSystemMetrics(SM_CXICON), 1024 - ::GetSystemMetrics(SM_CYICON));
    EXPECT_EQ(clip, loaded.m_arrBarInfo[1]->m_pointPos);
    EXPECT_EQ(CPoint(-1, -1), loaded.m_arrBarInfo[2]->m_pointPos) << "no place stays no place";
}

TEST_F(QZDockStateTest, DamagedCountsAreCappedAndSectionsWithoutABarAreDropped)
{
    // Three written records, then the summary edited to claim 2000; the second record's
    // section lost its bar id, the third claims 2000 held ids; a stray section lies past
    // the most a layout can hold. The counts lie far past every cap and are still quick
    // to read whole, so a missing cap shows as a wrong result, not as a hang.
    constexpr int kDamagedCount = 2000;
    Write("Layout-Summary", "Bars", kDamagedCount);
    Write("Layout-Summary", "ScreenCX", ::GetSystemMetrics(SM_CXSCREEN));
    Write("Layout-Summary", "ScreenCY", ::GetSystemMetrics(SM_CYSCREEN));
    Write("Layout-Bar0", "BarID", 0xE800);
    Write("Layout-Bar1", "XPos", 10);
    Write("Layout-Bar2", "BarID", AFX_IDW_DOCKBAR_TOP);
    Write("Layout-Bar2", "Bars", kDamagedCount);
    for (int i = 0; i < 40; ++i)
        Write("Layout-Bar2", ("Bar#" + std::to_string(i)).c_str(), i % 2 ? 0xE800 : 0);
    Write("Layout-Bar3", "BarID", 0xE805);
    Write("Layout-Bar5", "BarID", 0xE807);
    Write("Layout-Bar300", "BarID", 0xE809);

    CQZDockState state;
    // A frame of five bars and dock bars: at most five sections, sixteen ids a record.
    state.LoadState(kDockProfile, 5);
    ASSERT_EQ(3, state.m_arrBarInfo.GetSize()) << "sections 0, 2 and 3 of 0 to 4 hold a bar";
    EXPECT_EQ(0xE800u, state.m_arrBarInfo[0]->m_nBarID);
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_TOP), state.m_arrBarInfo[1]->m_nBarID);
    EXPECT_EQ(16, state.m_arrBarInfo[1]->m_arrBarID.GetSize());
    EXPECT_EQ(0xE805u, state.m_arrBarInfo[2]->m_nBarID);

    // A caller that allows more than a layout can hold is held to the most it can: 256
    // sections and 3 x 256 + 1 ids a record.
    CQZDockState unbounded;
    unbounded.LoadState(kDockProfile, 100000);
    ASSERT_EQ(4, unbounded.m_arrBarInfo.GetSize()) << "sections 0 to 255 read, of which 0, 2, 3 and 5 hold a bar";
    EXPECT_EQ(0xE807u, unbounded.m_arrBarInfo[3]->m_nBarID);
    EXPECT_EQ(769, unbounded.m_arrBarInfo[1]->m_arrBarID.GetSize());
}

TEST_F(QZDockStateTest, NoStoredLayoutLoadsNoRecords)
{
    CQZDockState state;
    state.m_arrBarInfo.Add(NewRecord(0xE800));
    state.LoadState(kDockProfile);
    EXPECT_EQ(0, state.m_arrBarInfo.GetSize());
}

TEST(QZDockStateClass, IsRegisteredAndCreatableByName)
{
    CRuntimeClass* found = CRuntimeClass::FromName("CQZDockState");
    ASSERT_EQ(RUNTIME_CLASS(CQZDockState), found);
    EXPECT_EQ(0u, found->m_wSchema);
    CObject* made = found->CreateObject();
    EXPECT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(CDockState)));
    delete made;
}
