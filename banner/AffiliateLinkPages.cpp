// The banner worker's pages: which one comes next, where its text comes from (the cache,
// the server, or the offline page), and the temporary page that hands it to the strip.
#include "banner/AffiliateLink.h"

#include "banner/BannerPages.h"
#include "banner/Cache.h"
#include "banner/InfoXML.h"

#include "database/iDBLock.h"
#include "database/mGroveFile.h"

#include "net/iHTTPClient.h"

namespace {

// A fetch by the worker or at start: bounded by the client, ended early by the stop flag.
[[nodiscard]] int FetchUrl(const iString& url, int port, const std::atomic<bool>& cancel, iString& body)
{
    iHTTPClient client;
    client.SetPort(port);
    client.SetCancelFlag(&cancel);
    const int result = client.Get(url);
    if (result == 0)
        client.GetBody(body);
    return result;
}

} // namespace

void AffiliateLink::Thread::ShowNextBanner()
{
    m_currentPage = ChooseNextPage(m_currentPage, m_settings, m_seam.random());
    m_bannerCountdown = m_settings.duration;
    const iString pageUrl = MakeBannerPageUrl(m_baseUrl, m_currentPage);
    iString page;
    bool online = IsOnline();
    if (online && m_cacheFile) {
        const int64_t now = m_seam.now();
        if (!TakeFreshPage(now, page)) {
            online = Fetch(pageUrl, page);
            if (online)
                StorePage(now, page);
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
    ScopedDatabaseLock lock;
    m_cacheRecord->Reset(m_currentPage);
    if (m_cacheFile->FindEqual(m_recordBuffer, Cache::kKeyId) != 0)
        return false;
    // The age as an unsigned 32-bit difference: a time stored in the future counts as old.
    const uint32_t age = static_cast<uint32_t>(StoredTime(now)) - static_cast<uint32_t>(m_cacheRecord->m_insert.Value());
    const char* text = nullptr;
    unsigned length = 0;
    if (age > static_cast<uint32_t>(m_settings.refresh) || !m_cacheRecord->GetPage(text, length))
        return false;
    page = iString(text, static_cast<int>(length));
    m_cacheRecord->m_update = StoredTime(now);
    static_cast<void>(m_cacheFile->Rewrite(m_recordBuffer, Cache::kSize));
    return true;
}

void AffiliateLink::Thread::StorePage(int64_t now, const iString& page)
{
    // A page the record cannot hold whole is shown but not kept: kept cut, it would show
    // as broken HTML every time it came from the cache. A record of it stays as it was,
    // so the page is fetched again next time.
    if (static_cast<unsigned>(page.GetLength()) > Cache::kLongestPage)
        return;
    ScopedDatabaseLock lock;
    m_cacheRecord->Reset(m_currentPage);
    const bool found = m_cacheFile->FindEqual(m_recordBuffer, Cache::kKeyId) == 0;
    if (!found) {
        m_cacheRecord->Reset(m_currentPage);
        m_cacheRecord->m_insert = StoredTime(now);
    }
    m_cacheRecord->m_update = StoredTime(now);
    static_cast<void>(m_cacheRecord->SetPage(page, static_cast<unsigned>(page.GetLength())));
    // A failure (two pages stored within one second collide on a time key) only means the
    // page is fetched again next time.
    if (found)
        static_cast<void>(m_cacheFile->Rewrite(m_recordBuffer, Cache::kSize));
    else
        static_cast<void>(m_cacheFile->Add(m_recordBuffer, Cache::kSize));
}

bool AffiliateLink::Thread::Fetch(const iString& url, iString& page)
{
    // Any failure, an error status or a cut reply included, shows the offline page: an
    // error page is never shown or kept as a banner.
    return FetchUrl(url, m_port, m_stopRequested, page) == 0;
}

void AffiliateLink::Thread::LoadInfo(const iString& baseUrl)
{
    iString body;
    if (FetchUrl(baseUrl + "info.xml", m_port, m_stopRequested, body) != 0)
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
