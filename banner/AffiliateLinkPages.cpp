// The banner worker's pages: which one comes next, where its text comes from (the cache,
// the server, or the offline page), and the temporary page that hands it to the strip.
#include "banner/AffiliateLink.h"

#include "banner/BannerPages.h"
#include "banner/Cache.h"
#include "banner/InfoXML.h"

#include "database/iDBLock.h"
#include "database/mgErrors.h"
#include "database/mGroveFile.h"

#include "net/iHTTPClient.h"

#include <cstdio>

namespace {

// The keys on "Insert" and "Update" allow no duplicates: a page stored or shown in the same
// second as another collides with it and takes the nearest free second instead, at most
// this far off.
constexpr int kMostSecondsOff = 60;

// A fetch by the worker or at start: bounded by its own wait per line and its total, ended
// early by the stop flag.
[[nodiscard]] int FetchUrl(const iString& url, int port, const std::atomic<bool>& cancel, int lineWaitMs,
                           int totalMs, iString& body)
{
    iHTTPClient client;
    client.SetPort(port);
    client.SetCancelFlag(&cancel);
    client.SetLineWaitTimeOut(lineWaitMs);
    client.SetExchangeTimeOut(totalMs);
    const int result = client.Get(url);
    if (result == 0)
        client.GetBody(body);
    return result;
}

void TraceUncachedPage(long page, int answer)
{
    char text[128];
    snprintf(text, sizeof text, "banner: page %ld was shown but not cached: the cache answered %d\n", page, answer);
    OutputDebugStringA(text);
}

} // namespace

void AffiliateLink::Thread::ShowNextBanner()
{
    m_currentPage = ChooseNextPage(m_currentPage, m_settings, m_seam.random());
    m_bannerCountdown = m_settings.duration;
    const iString pageUrl = MakeBannerPageUrl(m_baseUrl, m_currentPage);
    iString page;
    bool online = IsOnline();
    // A damaged cache is made anew only while the server answers: offline, the cache is
    // left as it is.
    if (online)
        RecreateCacheIfDamaged();
    if (online && m_cacheFile) {
        const int64_t now = m_seam.now();
        if (!TakeFreshPage(now, page)) {
            online = Fetch(pageUrl, page);
            if (online)
                RecreateCacheIfDamaged();
            const int stored = online && m_cacheFile ? StorePage(now, page) : 0;
            if (stored != 0)
                TraceUncachedPage(m_currentPage, stored);
        }
    } else if (online) {
        online = Fetch(pageUrl, page);
    }
    // A page from the server is marked with its origin; the offline page shows only the
    // program's own image and needs no mark.
    WriteTemporaryPage(online ? m_markOfTheWeb + page : MakeOfflinePage(m_seam.moduleDirectory()));
    if (m_receiver)
        ::PostMessageA(m_receiver, kPageWrittenMessage, 0, 0);
}

bool AffiliateLink::Thread::TakeFreshPage(int64_t now, iString& page)
{
    m_cacheRecord->Reset(m_currentPage);
    const int answer = m_cacheFile->FindEqual(m_recordBuffer, Cache::kKeyId);
    if (answer == kMgCorruptIndex)
        MarkCacheDamaged();
    if (answer != 0)
        return false;
    // The age as an unsigned 32-bit difference: a time stored in the future counts as old.
    const uint32_t age = static_cast<uint32_t>(StoredTime(now)) - static_cast<uint32_t>(m_cacheRecord->m_insert.Value());
    const char* text = nullptr;
    unsigned length = 0;
    if (age > static_cast<uint32_t>(m_settings.refresh) || !m_cacheRecord->GetPage(text, length))
        return false;
    page = iString(text, static_cast<int>(length));
    // A failure leaves the record as it was: the page is still shown, and the history
    // then shows it at its earlier time.
    static_cast<void>(WriteRecord(false, now));
    return true;
}

int AffiliateLink::Thread::StorePage(int64_t now, const iString& page)
{
    // A page the record cannot hold whole is shown but not kept: kept cut, it would show
    // as broken HTML every time it came from the cache. A record of it stays as it was,
    // so the page is fetched again next time.
    if (static_cast<unsigned>(page.GetLength()) > Cache::kLongestPage)
        return 0;
    m_cacheRecord->Reset(m_currentPage);
    const int answer = m_cacheFile->FindEqual(m_recordBuffer, Cache::kKeyId);
    const bool found = answer == 0;
    if (!found)
        m_cacheRecord->Reset(m_currentPage);
    static_cast<void>(m_cacheRecord->SetPage(page, static_cast<unsigned>(page.GetLength())));
    const int written = answer == kMgCorruptIndex ? answer : WriteRecord(!found, now);
    if (written == kMgCorruptIndex)
        MarkCacheDamaged();
    return written;
}

void AffiliateLink::Thread::RecreateCacheIfDamaged()
{
    if (!m_cacheDamaged.exchange(false) || !m_cacheFile)
        return;
    ScopedDatabaseLock lock;
    if (m_cacheFile->Recreate() == 0 && m_cacheFile->IsOpen())
        return;
    delete m_cacheFile;
    m_cacheFile = nullptr;
    delete m_cacheRecord;
    m_cacheRecord = nullptr;
}

int AffiliateLink::Thread::WriteRecord(bool isNew, int64_t now)
{
    // "Update" moves on, so that the history still lists the pages in the order shown;
    // "Insert" moves back, since a page stored ahead of the clock would count as old.
    for (int off = 0;; ++off) {
        if (isNew)
            m_cacheRecord->m_insert = StoredTime(now - off);
        m_cacheRecord->m_update = StoredTime(now + off);
        const int answer = isNew ? m_cacheFile->Add(m_recordBuffer, Cache::kSize)
                                 : m_cacheFile->Rewrite(m_recordBuffer, Cache::kSize);
        if (answer != kMgDuplicateKey || off == kMostSecondsOff)
            return answer;
    }
}

bool AffiliateLink::Thread::Fetch(const iString& url, iString& page)
{
    // Any failure, an error status or a cut reply included, shows the offline page: an
    // error page is never shown or kept as a banner.
    return FetchUrl(url, m_port, m_stopRequested, m_seam.fetchLineWaitMs, m_seam.workerFetchMs, page) == 0;
}

void AffiliateLink::Thread::LoadInfo(const iString& baseUrl)
{
    LoadInfoWithin(baseUrl, m_seam.workerFetchMs);
}

void AffiliateLink::Thread::LoadInfoWithin(const iString& baseUrl, int totalMs)
{
    iString body;
    if (FetchUrl(baseUrl + "info.xml", m_port, m_stopRequested, m_seam.fetchLineWaitMs, totalMs, body) != 0)
        return;
    InfoXML description;
    // A document that stops being well-formed still gives what it said up to there.
    static_cast<void>(description.Parse(body, body.GetLength(), 1));
    m_settings = AcceptDescription(m_settings, description.m_settings);
}

bool AffiliateLink::Thread::IsOnline()
{
    if (!m_socketsStarted)
        return false;
    // A client's bounded connect: it gives up after the connect time-out or as soon as the
    // worker is told to stop, where a plain connect could wait for minutes.
    CPJ_WSClient client;
    client.SetCancelFlag(&m_stopRequested);
    char address[32] = {};
    if (client.GetAddressFromName(m_host, address, sizeof address) != 0 || strcmp(address, "255.255.255.255") == 0)
        return false;
    if (client.Connect(m_port, address, AF_INET, SOCK_STREAM) != 0)
        return false;
    static_cast<void>(client.CloseConnection());
    return true;
}

void AffiliateLink::Thread::WriteTemporaryPage(const iString& text)
{
    if (!m_temporaryPage.IsOpen())
        return;
    DWORD written = 0;
    m_temporaryPage.Seek(0, FILE_BEGIN, nullptr);
    m_temporaryPage.Write(static_cast<const char*>(text), static_cast<DWORD>(text.GetLength()), &written);
    m_temporaryPage.SetEndOfFile();
}
