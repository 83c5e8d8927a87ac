// The banner strip: a 468 by 62 pixel browser at the foot of the workspace that shows the
// maker's banner pages one after another. Its worker thread picks each page, takes it from
// the banner cache "Cache.dat" while the cached copy is fresh or fetches it from the banner
// server, writes it into a temporary HTML page and hands that page to the strip, whose
// browser shows it; when the server cannot be reached the strip shows the program's own
// "Banner.gif". The server's "info.xml" says how many pages there are, how long each
// stays, which one is promoted and how often the description and the cache are renewed.
//
// Threads: the worker never touches the strip's windows or browser; it posts a notice to a
// window of the strip's own thread, which then navigates the browser. The worker is the
// cache's only writer; each binding call holds the database lock for its own length, and
// the worker never holds it while it waits for the network. The history holds the lock for
// its whole walk, so it reads the cache as it was before or after a look-up and store.
// Stopping sets the worker's stop flag, which also cancels its network waits; the worker
// then closes its files on its own thread and ends, and the strip waits for that before it
// goes, so the engine the worker used may be deleted afterwards.
#pragma once

#include "banner/BannerSeam.h"
#include "banner/BannerSettings.h"
#include "banner/iBrowserWnd.h"

#include "lib/src/iFile.h"
#include "lib/src/iString.h"
#include "lib/src/iWinThread.h"

#include <atomic>
#include <string>

class Cache;
class iDBEngine;
class iDBFile;

class AffiliateLink : public iBrowserWnd {
public:
    class Thread;

    // How long the strip waits for its worker to end before it gives up on it.
    static constexpr DWORD kStopWaitMs = 5000;

    // The browser control in parent (the workspace: 468 x 62 at (5, 365), id -1).
    AffiliateLink(CWnd* parent, const RECT& rect, DWORD style, LPCSTR windowText, UINT id);
    // A plain child window instead of the browser.
    AffiliateLink(CWnd* parent, const RECT& rect, DWORD style, LPCSTR reserved, UINT id, DWORD exStyle,
                  LPVOID param);
    // Stops the worker and waits for it (see StopAndWait).
    ~AffiliateLink() override;

    // Starts the banner with the banner server's host and port and the engine for its
    // cache (not owned; it must outlive the worker): the description is fetched now, the
    // cache opened or made, and the worker shows its first page at once. Once only.
    void Start(const char* host, iDBEngine* engine, int port = 80);
    // Tells the worker to stop; it ends on its own soon after.
    void StopThread();
    // Tells the worker to stop and waits for it, at most kStopWaitMs: true once it has
    // ended (or there was none), its clean-up done and its thread object deleted. False
    // when it did not end in time: it is then left running and its thread object and the
    // engine it uses must not be deleted.
    bool StopAndWait();
    // Writes the ten banners shown last, newest first, into "Ad_History.html" next to
    // the program and opens a window that shows it.
    void ShowHistory();

    // Shows the page in the strip's browser. The worker's notice of a new page arrives
    // here, on the strip's own thread.
    virtual void NavigateToPage(const char* path);

    iDBEngine* GetEngine() const { return m_engine; }
    Thread* GetThread() const { return m_thread; }

private:
    static LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateReceiver();

    // The window the history opens over; kept, since the browser control may have no
    // window of its own through which to find it.
    CWnd* m_parentWnd;
    iDBEngine* m_engine = nullptr;
    Thread* m_thread = nullptr;
    // A message-only window of the strip's thread that takes the worker's page notices:
    // the browser control may have no window of its own to post to.
    HWND m_receiver = nullptr;
    // A worker that did not end in time is left alone, never waited for again.
    bool m_abandonedThread = false;
    // Where the banner's pages come from, named at the top of the history page.
    iString m_origin;
};

// The worker: a thread object that the strip keeps after its thread has ended, so that the
// strip can wait for it; the strip deletes it.
class AffiliateLink::Thread : public iWinThread {
public:
    // The notice a worker posts to its receiver when the temporary page holds a new page.
    static constexpr UINT kPageWrittenMessage = WM_APP + 1;

    // Copies the banner's surroundings (BannerSeam) and starts the socket library.
    explicit Thread(AffiliateLink* owner);
    // Whatever the worker did not clean up itself (it never ran): the temporary page
    // closed and removed, the cache file and record deleted; the socket library released.
    ~Thread() override;

    // WSAStartup asking for 2.2: 1 when it answered 0.
    int StartSockets();
    // 1 when the socket library was released, 0 when this object had not started it.
    int StopSockets();

    // On the strip's thread, before the worker runs: the base URL from the host, the
    // description fetched (within the bound of a thread that runs windows, after which
    // the banner starts as it does without its server), the cache opened (made anew when it cannot be opened), the
    // temporary page made and opened, and the worker started. Without an engine there
    // is no cache. Notices of new pages go to the owner's receiver (none without owner).
    void Init(const char* host, iDBEngine* engine, int port = 80);
    // Init without starting the worker: for tests and the bench, which then run the
    // worker's steps tick by tick on their own thread.
    void Prepare(const char* host, iDBEngine* engine, int port = 80);
    // The worker's body: the first page, then a tick a second until stopped; then its
    // clean-up. Answers TRUE: the thread ends with the WM_QUIT that Stop posts.
    BOOL InitInstance() override;
    // One second: the next page when its time has come, the description when its time has come.
    void Tick();
    // Chooses, takes or fetches, writes and hands over the next page.
    void ShowNextBanner();
    // Fetches and reads "info.xml" below the base URL; a failed fetch keeps the settings.
    void LoadInfo(const iString& baseUrl);
    // Whether the banner server accepts a connection, within the connect bound.
    bool IsOnline();
    // Tells the worker to leave its loop; network waits in progress end within about
    // 100 ms. Any thread.
    void Stop();

    bool IsRunning() const { return !m_stopRequested.load(); }
    const BannerSettings& GetSettings() const { return m_settings; }
    long GetCurrentPage() const { return m_currentPage; }
    int GetBannerCountdown() const { return m_bannerCountdown; }
    int GetRefreshCountdown() const { return m_refreshCountdown; }
    const iString& GetBaseUrl() const { return m_baseUrl; }
    // Fixed once Init has run; empty when the temporary page could not be made.
    const std::string& GetTemporaryPagePath() const { return m_temporaryPagePath; }
    bool HasCache() const { return m_cacheFile != nullptr; }
    // The cache answered the engine's corrupt-index error: the worker makes it anew, as
    // one that does not open, before it next uses it. Any thread (the history calls it).
    void MarkCacheDamaged() { m_cacheDamaged = true; }

private:
    // The cache's record of the page when it may be shown without a fetch; the record's
    // "Update" is then renewed.
    bool TakeFreshPage(int64_t now, iString& page);
    // Stores a fetched page in the cache: 0, or the cache's answer when it could not.
    [[nodiscard]] int StorePage(int64_t now, const iString& page);
    // Adds the record or rewrites it with the time now ("Insert" too when it is new), or
    // the nearest free seconds: two pages stored or shown within one second would
    // otherwise collide on a time key. The cache's answer.
    [[nodiscard]] int WriteRecord(bool isNew, int64_t now);
    // LoadInfo with the whole fetch bounded by totalMs.
    void LoadInfoWithin(const iString& baseUrl, int totalMs);
    [[nodiscard]] bool Fetch(const iString& url, iString& page);
    void OpenCache(iDBEngine* engine);
    // Makes a cache marked damaged anew from its own definition; when that fails there is
    // no cache from then on. Holds the database lock.
    void RecreateCacheIfDamaged();
    void OpenTemporaryPage();
    void WriteTemporaryPage(const iString& text);
    // Closes and removes the temporary page and deletes the cache file and record.
    void CleanUp();

    // Asked only on the strip's thread, in Init.
    AffiliateLink* m_owner;
    BannerSeam m_seam;
    std::atomic<bool> m_stopRequested{false};
    HANDLE m_stopEvent;
    HWND m_receiver = nullptr;
    iString m_host;
    int m_port = 80;
    iString m_baseUrl;
    iString m_markOfTheWeb;
    BannerSettings m_settings;
    long m_currentPage = -1;
    int m_bannerCountdown = 60000;
    int m_refreshCountdown = 360000;
    // Written once by Init and read by the strip's thread afterwards: never changed again.
    std::string m_temporaryPagePath;
    iFile m_temporaryPage;
    bool m_temporaryPageRemoved = false;
    int m_socketsStarted = 0;
    // The cache record's bytes, which the record lies over.
    alignas(8) unsigned char m_recordBuffer[2060];
    Cache* m_cacheRecord = nullptr;
    iDBFile* m_cacheFile = nullptr;
    std::atomic<bool> m_cacheDamaged{false};
};
