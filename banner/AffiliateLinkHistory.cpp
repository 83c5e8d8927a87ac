// The banner history: the ten banners shown last, newest first, read from the cache into
// "Ad_History.html" next to the program and shown in a window of their own.
#include "banner/AffiliateLink.h"

#include "banner/BannerPages.h"
#include "banner/Cache.h"
#include "banner/CacheFrameWnd.h"

#include "database/iDBLock.h"
#include "database/mgErrors.h"
#include "database/mGroveFile.h"
#include "database/mGrovePlus.h"

#include "lib/src/iTextFile.h"

#include <vector>

namespace {

const RECT kHistoryRect = {40, 40, 560, 520};

// Walks the cache from the banner shown last backwards: a row for each record whose page
// has a body, up to the history's length. The walk's last answer goes to `answer`.
std::vector<BannerHistoryRow> ReadHistoryRows(iDBFile& file, int& answer)
{
    std::vector<BannerHistoryRow> rows;
    Cache record;
    answer = file.Last(record.Bytes(), Cache::kKeyUpdate);
    while (answer == 0 && rows.size() < kHistoryRows) {
        const char* text = nullptr;
        unsigned length = 0;
        unsigned bodyStart = 0;
        unsigned bodyLength = 0;
        if (record.GetPage(text, length) && FindBannerBody(text, length, bodyStart, bodyLength))
            rows.push_back({record.m_id.Value(), StoredTimeSeconds(record.m_update.Value()),
                            iString(text + bodyStart, static_cast<int>(bodyLength))});
        answer = file.Previous(record.Bytes());
    }
    return rows;
}

} // namespace

void AffiliateLink::ShowHistory()
{
    auto* binding = dynamic_cast<mGrovePlus*>(m_engine);
    if (!binding)
        return;
    const iString directory = GetBannerSeam().moduleDirectory();
    std::vector<BannerHistoryRow> rows;
    {
        // The whole walk under the lock: the worker stores pages in the same set.
        ScopedDatabaseLock lock;
        mGroveFile file(binding, "", directory + "\\Cache.dat", 0, Cache::kSize);
        if (!file.IsOpen())
            return;
        int answer = 0;
        rows = ReadHistoryRows(file, answer);
        // The rows read before the damage are shown; the worker makes the cache anew.
        if (answer == kMgCorruptIndex && m_thread)
            m_thread->MarkCacheDamaged();
    }
    const iString path = directory + "\\Ad_History.html";
    {
        iTextFile page(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
        // A page that cannot be written leaves the one written before, which is shown.
        if (page.IsOpen()) {
            const iString text = MakeHistoryPage(MakeMarkOfTheWeb(m_origin), rows);
            static_cast<void>(page.WritePadded(text, 0));
        }
    }
    auto* frame = new CacheFrameWnd(m_parentWnd, kHistoryRect);
    if (!frame->m_hWnd) {
        delete frame;
        return;
    }
    frame->Navigate(path);
    frame->ShowWindow(SW_SHOWNORMAL);
}
