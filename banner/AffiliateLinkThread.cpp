// The banner worker's life: made and started on the strip's thread, ticking on its own,
// stopped from any thread, cleaned up on its own thread.
#include "banner/AffiliateLink.h"

#include "banner/BannerPages.h"
#include "banner/Cache.h"

#include "database/iDBDefinition.h"
#include "database/iDBLock.h"
#include "database/mGroveFile.h"
#include "database/mGrovePlus.h"

#include "lib/src/FilePaths.h"
#include "lib/src/iFileName.h"

#include "net/SocketCalls.h"
#include "net/iHTTPClient.h"

#include <cstring>

namespace {

constexpr char kCacheName[] = "\\Cache.dat";
constexpr char kTemporaryPrefix[] = "TMR";
constexpr WORD kSocketsVersion = MAKEWORD(2, 2);

} // namespace

AffiliateLink::Thread::Thread(AffiliateLink* owner)
    : m_owner(owner), m_seam(GetBannerSeam()), m_stopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    // The strip waits for the thread and deletes this object itself.
    m_bAutoDelete = FALSE;
    memset(m_recordBuffer, 0, sizeof m_recordBuffer);
    StartSockets();
}

AffiliateLink::Thread::~Thread()
{
    CleanUp();
    StopSockets();
    if (m_stopEvent)
        CloseHandle(m_stopEvent);
}

int AffiliateLink::Thread::StartSockets()
{
    WSADATA data;
    if (WSAStartup(kSocketsVersion, &data) == 0)
        m_socketsStarted = 1;
    return m_socketsStarted;
}

int AffiliateLink::Thread::StopSockets()
{
    if (!m_socketsStarted)
        return 0;
    WSACleanup();
    m_socketsStarted = 0;
    return 1;
}

void AffiliateLink::Thread::Init(const char* host, iDBEngine* engine, int port)
{
    Prepare(host, engine, port);
    if (!CreateThread(0, 0, nullptr))
        OutputDebugStringA("banner: the worker thread could not be started\n");
}

void AffiliateLink::Thread::Prepare(const char* host, iDBEngine* engine, int port)
{
    m_host = host ? host : "";
    m_port = port;
    m_baseUrl = MakeBannerBaseUrl(m_host);
    m_markOfTheWeb = MakeMarkOfTheWeb(MakeBannerOrigin(m_host, m_port));
    if (m_owner)
        m_receiver = m_owner->m_receiver;
    // The strip's thread waits for this fetch: the program's window is not answering meanwhile.
    LoadInfoWithin(m_baseUrl, iHTTPClient::kUserInterfaceExchangeMs);
    if (engine)
        OpenCache(engine);
    OpenTemporaryPage();
}

void AffiliateLink::Thread::OpenCache(iDBEngine* engine)
{
    auto* binding = dynamic_cast<mGrovePlus*>(engine);
    if (!binding)
        return;
    const iString path = m_seam.moduleDirectory() + kCacheName;
    ScopedDatabaseLock lock;
    m_cacheRecord = new Cache(m_recordBuffer);
    m_cacheFile = new mGroveFile(binding, "", path, 0, Cache::kSize);
    if (m_cacheFile->IsOpen())
        return;
    delete m_cacheFile;
    m_cacheFile = nullptr;
    iDBDefinition definition;
    definition.Build(m_cacheRecord);
    const int created = engine->CreateFileSet(&definition, path, 0);
    definition.Free();
    if (created == 0) {
        m_cacheFile = new mGroveFile(binding, "", path, 0, Cache::kSize);
        if (m_cacheFile->IsOpen())
            return;
        delete m_cacheFile;
        m_cacheFile = nullptr;
    }
    // No cache: every page is fetched and nothing is kept.
    delete m_cacheRecord;
    m_cacheRecord = nullptr;
}

void AffiliateLink::Thread::OpenTemporaryPage()
{
    const iString made = GetTempFileNameText(m_seam.tempDirectory(), kTemporaryPrefix, 0);
    if (made.IsEmpty())
        return;
    iFileName path = made;
    path.ChangeExtension("html");
    if (!MoveFileExA(made, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        DeleteFileA(made);
    m_temporaryPagePath = static_cast<const char*>(path);
    m_temporaryPage.Create(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY);
}

BOOL AffiliateLink::Thread::InitInstance()
{
    // The C runtime's generator is the thread's own: seeded here, or every run would show
    // the same pages in the same order.
    m_seam.seedRandom(static_cast<unsigned>(m_seam.now()) ^ GetCurrentThreadId() ^ GetTickCount());
    ShowNextBanner();
    while (IsRunning()) {
        Tick();
        if (WaitForSingleObject(m_stopEvent, m_seam.tickMs) == WAIT_OBJECT_0)
            break;
    }
    CleanUp();
    return TRUE;
}

void AffiliateLink::Thread::Tick()
{
    if (CountDown(m_bannerCountdown))
        ShowNextBanner();
    if (CountDown(m_refreshCountdown)) {
        LoadInfo(m_baseUrl);
        m_refreshCountdown = m_settings.refresh;
    }
}

void AffiliateLink::Thread::Stop()
{
    m_stopRequested = true;
    if (m_stopEvent)
        SetEvent(m_stopEvent);
    // Ends the message loop the thread enters once its own loop is done.
    if (m_nThreadID)
        PostThreadMessage(WM_QUIT, 0, 0);
}

void AffiliateLink::Thread::CleanUp()
{
    if (m_temporaryPage.IsOpen())
        m_temporaryPage.Close();
    if (!m_temporaryPagePath.empty() && !m_temporaryPageRemoved) {
        DeleteFileA(m_temporaryPagePath.c_str());
        m_temporaryPageRemoved = true;
    }
    if (m_cacheFile || m_cacheRecord) {
        ScopedDatabaseLock lock;
        delete m_cacheFile;
        m_cacheFile = nullptr;
        delete m_cacheRecord;
        m_cacheRecord = nullptr;
    }
}
